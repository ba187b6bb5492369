#include "core/Password.h"

#include <gtest/gtest.h>

#include <QSet>

using core::Desencripta;
using core::Encripta;
using core::ScrambledPasswordMatches;
using core::ScramblePassword;
using core::UnscramblePassword;

namespace {

QString latin1(int code) {
    return QString(QChar(static_cast<char16_t>(code)));
}

bool isUpperCaseText(const QString& text) {
    return text.toUpper() == text;
}

// Every printable ASCII character and the upper-case Spanish letters.
QStringList typableCharacters() {
    QStringList chars;
    for (int code = 0x21; code <= 0x7E; ++code) {
        chars.append(latin1(code));
    }
    for (QChar c : QStringLiteral("ÑÁÉÍÓÚÜ¡¿ºª")) {
        chars.append(QString(c));
    }
    return chars;
}

TEST(ScramblePassword, GivesTheDocumentedTexts) {
    struct Case {
        QString in;
        QString out;
    };
    const Case cases[] = {
        {QStringLiteral("ABC"), QStringLiteral("mlk")},          // first code 67: +42
        {QStringLiteral("  ABC\t\r\n"), QStringLiteral("mlk")},  // trimmed first
        {QStringLiteral("ABd"), QStringLiteral("kIH")},          // first code 100: +7
        {QStringLiteral("Ñ"), QStringLiteral("ß")},              // code 209: +14
        {QStringLiteral("A B"), QStringLiteral("lJk")},          // inner blank kept
        {QStringLiteral("\x01 "), QString()},
        {QString(), QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScramblePassword(c.in), c.out) << c.in.toStdString();
    }
}

TEST(ScramblePassword, WrapsCodesModulo256) {
    // Last character "Z" (90) shifts by 63; "Ñ" (209) becomes 272 - 256 = 16.
    EXPECT_EQ(ScramblePassword(QStringLiteral("ÑZ")), latin1(153) + latin1(16));
}

TEST(UnscramblePassword, RoundTripsEveryTypableText) {
    QStringList texts = typableCharacters();
    texts << typableCharacters().join(QString()) << QStringLiteral("MAÑANA 2024")
          << QStringLiteral("ÁRBOL") << QStringLiteral("PIÑA€") << QStringLiteral("ÑZ");
    for (const QString& text : texts) {
        EXPECT_TRUE(UnscramblePassword(ScramblePassword(text)).contains(text))
            << text.toStdString();
    }
}

TEST(UnscramblePassword, FindsEveryTextOfACollision) {
    EXPECT_EQ(UnscramblePassword(QStringLiteral("mlk")),
              QStringList({QStringLiteral("def"), QStringLiteral("ABC")}));
    EXPECT_EQ(UnscramblePassword(QString()), QStringList({QString()}));
}

// A collision is decided by the last character alone, so checking each upper-case last character
// shows that no two upper-case texts share a scramble.
TEST(UnscramblePassword, NoTwoUpperCaseTextsShareAScramble) {
    for (int code = 0x21; code <= 0xFF; ++code) {
        const QString c = latin1(code);
        if (!c.at(0).isPrint() || c.at(0).isSpace() || !isUpperCaseText(c)) {
            continue;
        }
        QStringList upper = UnscramblePassword(ScramblePassword(c));
        upper.removeIf([](const QString& t) { return !isUpperCaseText(t); });
        EXPECT_EQ(upper, QStringList({c})) << code;
    }
}

TEST(ScrambledPasswordMatches, AcceptsOnlyTheStoredPasswordOfEitherForm) {
    const QString cajero = QStringLiteral("CAJERO");
    for (const QString& stored : {Encripta(cajero), Encripta(cajero, 4)}) {
        EXPECT_TRUE(ScrambledPasswordMatches(stored, ScramblePassword(cajero), 4));
        EXPECT_TRUE(ScrambledPasswordMatches(stored + QStringLiteral("  "),
                                             ScramblePassword(QStringLiteral(" CAJERO ")), 4));
        EXPECT_FALSE(
            ScrambledPasswordMatches(stored, ScramblePassword(QStringLiteral("CAJERA")), 4));
        EXPECT_FALSE(ScrambledPasswordMatches(stored, cajero, 4));
    }
    EXPECT_FALSE(ScrambledPasswordMatches(Encripta(cajero, 4), ScramblePassword(cajero), 5));
    EXPECT_FALSE(ScrambledPasswordMatches(cajero, ScramblePassword(cajero), 4));
}

TEST(Pbkdf2Sha256, MatchesPublishedVectors) {
    const QByteArray password("password");
    const QByteArray salt("salt");
    EXPECT_EQ(core::pbkdf2Sha256(password, salt, 1).toHex(),
              "120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b");
    EXPECT_EQ(core::pbkdf2Sha256(password, salt, 2).toHex(),
              "ae4d0c95af6b46d32d0adff928f06dd02a303f8ef3c251dfd6e2d85a95474c43");
    EXPECT_EQ(core::pbkdf2Sha256(password, salt, 4096).toHex(),
              "c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a");
}

// Stored passwords must stay valid from one version of the program to the next.
TEST(Encripta, KeepsItsStoredForm) {
    EXPECT_EQ(Encripta(QStringLiteral("ABC")),
              QStringLiteral("pbkdf2$25000$3UxnZUiO/oDGhneYnFfBKISen7xkEFWoQevEV5GkdYo="));
}

TEST(Encripta, IsDeterministicAndIgnoresSurroundingBlanks) {
    EXPECT_EQ(Encripta(QStringLiteral("ÑANDÚ")), Encripta(QStringLiteral("ÑANDÚ")));
    EXPECT_EQ(Encripta(QStringLiteral("  ÑANDÚ\t")), Encripta(QStringLiteral("ÑANDÚ")));
}

TEST(Encripta, TellsDifferentPasswordsApart) {
    const QStringList passwords = {
        QStringLiteral("A"),    QStringLiteral("B"),      QStringLiteral("ABC"),
        QStringLiteral("ABCD"), QStringLiteral("CAJERO"), QStringLiteral("cajero"),
        QStringLiteral("A B"),  QStringLiteral("AB"),     QString()};
    QSet<QString> stored;
    for (const QString& p : passwords) {
        stored.insert(Encripta(p));
    }
    EXPECT_EQ(stored.size(), passwords.size());
}

TEST(Encripta, HidesThePasswordAndFitsItsColumn) {
    for (const QString& p :
         {QStringLiteral("MAXIMOS"), QStringLiteral("CAJERO"), QStringLiteral("1234567890")}) {
        const QString stored = Encripta(p);
        EXPECT_FALSE(stored.contains(p, Qt::CaseInsensitive)) << stored.toStdString();
        EXPECT_FALSE(stored.contains(ScramblePassword(p)));
        EXPECT_FALSE(UnscramblePassword(stored).contains(p));
        EXPECT_LE(stored.size(), 200);
    }
}

// Equal passwords of two accounts are stored differently; an account's first-form password still
// verifies, and a form checks only for its own account.
TEST(PasswordMatches, VerifiesBothFormsForTheirAccount) {
    const QString pw = QStringLiteral("CLAVE");
    EXPECT_NE(Encripta(pw, 2), Encripta(pw, 3));
    EXPECT_EQ(Encripta(pw, 2), Encripta(QStringLiteral(" CLAVE "), 2));
    EXPECT_TRUE(core::IsCurrentPasswordForm(Encripta(pw, 2)));
    EXPECT_FALSE(core::IsCurrentPasswordForm(Encripta(pw)));
    struct Case {
        QString stored;
        QString typed;
        int code;
        bool matches;
    };
    const Case cases[] = {
        {Encripta(pw, 2), pw, 2, true},
        {Encripta(pw, 2) + QStringLiteral("  "), pw, 2, true},
        {Encripta(pw, 2), pw, 3, false},
        {Encripta(pw, 2), QStringLiteral("CLAVA"), 2, false},
        {Encripta(pw), pw, 7, true},
        {Encripta(pw), QStringLiteral("clave"), 7, false},
        {pw, pw, 2, false},
        {QString(), QString(), 2, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(core::PasswordMatches(c.stored, c.typed, c.code), c.matches)
            << c.stored.toStdString() << " " << c.code;
}

TEST(Desencripta, GivesTheTypedPasswordBackOnlyWhenItMatches) {
    const QString stored = Encripta(QStringLiteral("QUIMICO"));
    EXPECT_EQ(Desencripta(stored, QStringLiteral("QUIMICO")), QStringLiteral("QUIMICO"));
    EXPECT_EQ(Desencripta(stored, QStringLiteral(" QUIMICO ")).trimmed(),
              QStringLiteral("QUIMICO"));
    EXPECT_EQ(Desencripta(stored + QStringLiteral("   "), QStringLiteral("QUIMICO")),
              QStringLiteral("QUIMICO"));
    EXPECT_EQ(Desencripta(stored, QStringLiteral("quimico")), QString());
    EXPECT_EQ(Desencripta(stored, QStringLiteral("QUIMICA")), QString());
    EXPECT_EQ(Desencripta(stored, stored), QString());
    // A password kept readable is never accepted.
    EXPECT_EQ(Desencripta(QStringLiteral("QUIMICO"), QStringLiteral("QUIMICO")), QString());
}

}  // namespace
