#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <utility>

namespace core {

// PBKDF2 (RFC 8018) over HMAC-SHA256, the first 32-byte block of the derived key.
QByteArray pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations);

// The form a password is stored in (USUARIO.UsuPassword): a PBKDF2-HMAC-SHA256 digest salted
// with the application's salt and the account's code, "pbkdf2$2$<iterations>$<base64>". One-way
// and deterministic for one account, and different for two accounts with one password. Leading
// and trailing blanks and control characters are not part of a password.
QString Encripta(const QString& plain, int userCode);

// The first stored form, "pbkdf2$<iterations>$<base64>", salted with the application's salt
// alone. Accounts may still hold it until their next login or password change.
QString Encripta(const QString& plain);

// True when `stored` (either form) was made from `typed` for the account.
bool PasswordMatches(const QString& stored, const QString& typed, int userCode);
// True when `stored` is in the current form, so nothing needs replacing.
bool IsCurrentPasswordForm(const QString& stored);

// A password as typed, for the procedures that store or check one: it gives out only its stored
// forms, never its text, so the password itself cannot reach the database.
class TypedPassword {
public:
    explicit TypedPassword(QString typed) : typed_(std::move(typed)) {}
    bool isEmpty() const;
    QString storedForm(int userCode) const { return Encripta(typed_, userCode); }
    bool matches(const QString& stored, int userCode) const {
        return PasswordMatches(stored, typed_, userCode);
    }

private:
    QString typed_;
};

// The password-change check: gives `typed` back when it is the password `stored` was made from,
// otherwise an empty text. Nothing is ever decrypted.
QString Desencripta(const QString& stored, const QString& typed);

// The transport scramble of the re-authentication window: the trimmed text reversed, every
// character code shifted by 7 times the first decimal digit of the code of the first reversed
// character, modulo 256 ("ABC" gives "mlk"). Codes are Latin-1; beyond Latin-1 only a
// character's low byte is shifted. The result may begin or end with a blank or a control
// character: pass it on untrimmed. Not a protection: the stored form is Encripta's.
QString ScramblePassword(const QString& password);

// Every text that ScramblePassword turns into `scrambled`. The scramble is not one-to-one
// ("ABC" and "def" both give "mlk"), so there may be two; no two upper-case Latin-1 texts share
// a scramble.
QStringList UnscramblePassword(const QString& scrambled);

// True when one of the texts `scrambled` may come from is the password `stored` was made from
// for the account.
bool ScrambledPasswordMatches(const QString& stored, const QString& scrambled, int userCode);

}  // namespace core
