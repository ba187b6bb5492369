#include "core/Password.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>

#include <algorithm>
#include <array>

namespace core {

namespace {

// About 35 ms on one core of a 2020s desktop: slow for guessing, unnoticed at login.
constexpr int kIterations = 25000;
// The application's own salt. A form must be deterministic (the login compares it with what an
// account stores), so the account's part of the salt is its code, which the login knows first.
constexpr char kSalt[] = "VELCARIS.USUARIO.v1";
constexpr char kAccountSalt[] = "VELCARIS.USUARIO.v2.";
const QString kCurrentPrefix = QStringLiteral("pbkdf2$2$");
const QString kFirstPrefix = QStringLiteral("pbkdf2$");

constexpr int kShiftStep = 7;

bool isBlankOrControl(QChar c) {
    return c.isSpace() || c.category() == QChar::Other_Control;
}

QString trimBlanksAndControls(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text.at(begin))) {
        ++begin;
    }
    while (end > begin && isBlankOrControl(text.at(end - 1))) {
        --end;
    }
    return text.mid(begin, end - begin);
}

int firstDecimalDigit(int code) {
    while (code >= 10) {
        code /= 10;
    }
    return code;
}

// Adds `delta` to the low byte of the character code, modulo 256.
QChar shifted(QChar c, int delta) {
    const int code = c.unicode();
    return QChar(static_cast<char16_t>((code & ~0xFF) | ((code + delta) & 0xFF)));
}

QString shiftedAll(const QString& text, int delta) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        out.append(shifted(c, delta));
    }
    return out;
}

QString reversed(QString text) {
    std::reverse(text.begin(), text.end());
    return text;
}

QString digest(const QString& plain, const QByteArray& salt) {
    const QByteArray key = pbkdf2Sha256(trimBlanksAndControls(plain).toUtf8(), salt, kIterations);
    return QStringLiteral("%1$%2").arg(kIterations).arg(QString::fromLatin1(key.toBase64()));
}

bool isPasswordOf(const QString& stored, const QString& plain) {
    return Encripta(plain) == stored.trimmed();
}

}  // namespace

QByteArray pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations) {
    static constexpr std::array<char, 4> kFirstBlock = {0, 0, 0, 1};
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    mac.addData(salt);
    mac.addData(kFirstBlock.data(), kFirstBlock.size());
    QByteArray u = mac.result();
    QByteArray key = u;
    char* out = key.data();
    for (int i = 1; i < iterations; ++i) {
        mac.reset();
        mac.addData(u);
        u = mac.result();
        const char* next = u.constData();
        for (qsizetype j = 0; j < key.size(); ++j) {
            out[j] = static_cast<char>(out[j] ^ next[j]);
        }
    }
    return key;
}

QString Encripta(const QString& plain, int userCode) {
    return kCurrentPrefix + digest(plain, QByteArray(kAccountSalt) + QByteArray::number(userCode));
}

QString Encripta(const QString& plain) {
    return kFirstPrefix + digest(plain, QByteArray(kSalt));
}

bool IsCurrentPasswordForm(const QString& stored) {
    return stored.startsWith(kCurrentPrefix);
}

bool PasswordMatches(const QString& stored, const QString& typed, int userCode) {
    const QString form = stored.trimmed();
    if (IsCurrentPasswordForm(form))
        return Encripta(typed, userCode) == form;
    return form.startsWith(kFirstPrefix) && Encripta(typed) == form;
}

bool TypedPassword::isEmpty() const {
    return trimBlanksAndControls(typed_).isEmpty();
}

QString Desencripta(const QString& stored, const QString& typed) {
    return isPasswordOf(stored, typed) ? typed : QString();
}

QString ScramblePassword(const QString& password) {
    const QString r = reversed(trimBlanksAndControls(password));
    if (r.isEmpty()) {
        return r;
    }
    return shiftedAll(r, kShiftStep * firstDecimalDigit(r.at(0).unicode()));
}

QStringList UnscramblePassword(const QString& scrambled) {
    if (scrambled.isEmpty()) {
        return {QString()};
    }
    QStringList texts;
    for (int digit = 0; digit <= 9; ++digit) {
        const QString candidate = reversed(shiftedAll(scrambled, -kShiftStep * digit));
        if (ScramblePassword(candidate) == scrambled && !texts.contains(candidate)) {
            texts.append(candidate);
        }
    }
    return texts;
}

bool ScrambledPasswordMatches(const QString& stored, const QString& scrambled, int userCode) {
    const QStringList texts = UnscramblePassword(scrambled);
    return std::any_of(texts.cbegin(), texts.cend(), [&](const QString& plain) {
        return PasswordMatches(stored, plain, userCode);
    });
}

}  // namespace core
