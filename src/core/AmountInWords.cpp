#include "core/AmountInWords.h"

#include <QStringList>
#include <optional>

namespace core {

namespace {

constexpr qint64 kLimit = 1000000000;  // a billion soles: beyond what a receipt carries

// Units before a noun ("MIL", "MILLONES") lose their final O: "UN MIL"... "VEINTIUN MIL".
enum class Apocope { No, Yes };

const char* const kUpToTwentyNine[] = {
    "",
    "UNO",
    "DOS",
    "TRES",
    "CUATRO",
    "CINCO",
    "SEIS",
    "SIETE",
    "OCHO",
    "NUEVE",
    "DIEZ",
    "ONCE",
    "DOCE",
    "TRECE",
    "CATORCE",
    "QUINCE",
    "DIECISEIS",
    "DIECISIETE",
    "DIECIOCHO",
    "DIECINUEVE",
    "VEINTE",
    "VEINTIUNO",
    "VEINTIDOS",
    "VEINTITRES",
    "VEINTICUATRO",
    "VEINTICINCO",
    "VEINTISEIS",
    "VEINTISIETE",
    "VEINTIOCHO",
    "VEINTINUEVE",
};

const char* const kTens[] = {"",          "",        "",        "TREINTA", "CUARENTA",
                             "CINCUENTA", "SESENTA", "SETENTA", "OCHENTA", "NOVENTA"};

const char* const kHundreds[] = {
    "",           "CIENTO",      "DOSCIENTOS",  "TRESCIENTOS", "CUATROCIENTOS",
    "QUINIENTOS", "SEISCIENTOS", "SETECIENTOS", "OCHOCIENTOS", "NOVECIENTOS"};

QString upToTwentyNine(int n, Apocope apocope) {
    if (apocope == Apocope::Yes && n == 1)
        return QStringLiteral("UN");
    if (apocope == Apocope::Yes && n == 21)
        return QStringLiteral("VEINTIUN");
    return QString::fromLatin1(kUpToTwentyNine[n]);
}

// 1 to 99.
QString belowHundred(int n, Apocope apocope) {
    if (n < 30)
        return upToTwentyNine(n, apocope);
    QString words = QString::fromLatin1(kTens[n / 10]);
    if (n % 10 != 0)
        words += QStringLiteral(" Y ") + upToTwentyNine(n % 10, apocope);
    return words;
}

// 1 to 999.
QString belowThousand(int n, Apocope apocope) {
    const int hundreds = n / 100;
    const int rest = n % 100;
    QStringList words;
    if (hundreds == 1 && rest == 0)
        words << QStringLiteral("CIEN");
    else if (hundreds > 0)
        words << QString::fromLatin1(kHundreds[hundreds]);
    if (rest > 0)
        words << belowHundred(rest, apocope);
    return words.join(QLatin1Char(' '));
}

// 1 to 999 999.
QString belowMillion(int n, Apocope apocope) {
    const int thousands = n / 1000;
    const int rest = n % 1000;
    QStringList words;
    if (thousands == 1)
        words << QStringLiteral("MIL");
    else if (thousands > 1)
        words << belowThousand(thousands, Apocope::Yes) + QStringLiteral(" MIL");
    if (rest > 0)
        words << belowThousand(rest, apocope);
    return words.join(QLatin1Char(' '));
}

// 0 to 999 999 999, as a whole amount ("UNO", not "UN").
QString wholeInWords(qint64 n) {
    if (n == 0)
        return QStringLiteral("CERO");
    const int millions = int(n / 1000000);
    const int rest = int(n % 1000000);
    QStringList words;
    if (millions == 1)
        words << QStringLiteral("UN MILLON");
    else if (millions > 1)
        words << belowMillion(millions, Apocope::Yes) + QStringLiteral(" MILLONES");
    if (rest > 0)
        words << belowMillion(rest, Apocope::No);
    return words.join(QLatin1Char(' '));
}

struct Cents {
    bool negative = false;
    qint64 magnitude = 0;
};

// "[-]digits[.digits]" rounded to whole cents, ties away from zero; nullopt when malformed or
// not below the limit.
std::optional<Cents> parseCents(const QString& amount) {
    QString text = amount.trimmed();
    Cents cents;
    if (text.startsWith(QLatin1Char('-'))) {
        cents.negative = true;
        text.remove(0, 1);
    }
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? text : text.left(point);
    const QString decimals = point < 0 ? QString() : text.mid(point + 1);
    if (whole.isEmpty() && decimals.isEmpty())
        return std::nullopt;
    for (const QString& part : {whole, decimals})
        for (QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
    qint64 units = 0;
    for (QChar c : whole) {
        units = units * 10 + c.digitValue();
        if (units >= kLimit)
            return std::nullopt;
    }
    const QString padded = (decimals + QStringLiteral("000")).left(3);
    cents.magnitude =
        units * 100 + padded.left(2).toInt() + (padded[2] >= QLatin1Char('5') ? 1 : 0);
    if (cents.magnitude >= kLimit * 100)
        return std::nullopt;
    return cents;
}

}  // namespace

QString Imprime_Soles(const QString& amount) {
    const std::optional<Cents> cents = parseCents(amount);
    if (!cents)
        return {};
    const QString sign =
        cents->negative && cents->magnitude > 0 ? QStringLiteral("MENOS ") : QString();
    return sign + wholeInWords(cents->magnitude / 100) + QStringLiteral(" CON ") +
           QStringLiteral("%1/100 SOLES").arg(cents->magnitude % 100, 2, 10, QLatin1Char('0'));
}

}  // namespace core
