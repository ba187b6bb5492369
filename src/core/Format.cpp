#include "core/Format.h"

#include "core/Decimal.h"

#include <QRegularExpression>
#include <cmath>

namespace core::fmt {

namespace {

// A value rounded to a fixed number of decimals, split into its parts.
struct Fixed {
    bool negative = false;
    QString whole;     // at least one digit
    QString fraction;  // exactly `places` digits
};

Fixed fixed(const decimal::Digits& value, int places) {
    QString magnitude = decimal::scaledMagnitude(value, places);
    if (magnitude.size() <= places) {
        magnitude = QString(places + 1 - magnitude.size(), u'0') + magnitude;
    }
    Fixed f;
    f.whole = magnitude.left(magnitude.size() - places);
    f.fraction = magnitude.right(places);
    f.negative = value.negative && magnitude.count(u'0') != magnitude.size();
    return f;
}

QString sign(const Fixed& f) {
    return f.negative ? QStringLiteral("-") : QString();
}

QString withoutTrailingZeros(QString digits) {
    while (digits.endsWith(u'0')) {
        digits.chop(1);
    }
    return digits;
}

QString pointAndFraction(const QString& fraction) {
    return fraction.isEmpty() ? QString() : u'.' + fraction;
}

QString grouped(const QString& whole) {
    QString out;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) {
            out += u',';
        }
        out += whole[i];
    }
    return out;
}

QString twoDecimalsOf(const decimal::Digits& value) {
    const Fixed f = fixed(value, 2);
    return sign(f) + f.whole + u'.' + f.fraction;
}

QString thousandsOf(const decimal::Digits& value) {
    const Fixed f = fixed(value, 2);
    return sign(f) + grouped(f.whole) + u'.' + f.fraction;
}

QString amountOf(const decimal::Digits& value) {
    const Fixed f = fixed(value, 4);
    return sign(f) + f.whole + pointAndFraction(withoutTrailingZeros(f.fraction));
}

QString shortestOf(const decimal::Digits& value) {
    decimal::Digits d = value;
    d.digits = withoutTrailingZeros(d.digits);
    if (d.digits.isEmpty()) {
        return QStringLiteral("0");
    }
    const QString minus = d.negative ? QStringLiteral("-") : QString();
    if (d.point > 15 || d.point < -4) {
        return minus + d.digits.left(1) + pointAndFraction(d.digits.mid(1)) + u'E' +
               QString::number(d.point - 1);
    }
    if (d.point <= 0) {
        return minus + QStringLiteral("0.") + QString(-d.point, u'0') + d.digits;
    }
    const QString whole = d.digits.left(d.point).leftJustified(d.point, u'0');
    return minus + whole + pointAndFraction(d.digits.mid(d.point));
}

QString upToTwoDecimalsOf(const decimal::Digits& value) {
    const Fixed f = fixed(value, 2);
    const QString whole = f.whole == u"0" ? QString() : f.whole;
    return sign(f) + whole + pointAndFraction(withoutTrailingZeros(f.fraction));
}

decimal::Digits ofMoney(Money value) {
    return decimal::ofScaled(value.raw(), 4);
}

// A double through one of the formats above; non-finite values have fixed texts.
QString ofDouble(double value, QString (*format)(const decimal::Digits&)) {
    if (std::isnan(value)) {
        return QStringLiteral("NAN");
    }
    if (std::isinf(value)) {
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    }
    return format(decimal::ofDouble(value));
}

}  // namespace

QString printf8_2(double value) {
    return twoDecimals(value).rightJustified(8, u' ');
}

QString printf8_2(Money value) {
    return twoDecimals(value).rightJustified(8, u' ');
}

QString twoDecimals(double value) {
    return ofDouble(value, twoDecimalsOf);
}

QString twoDecimals(Money value) {
    return twoDecimalsOf(ofMoney(value));
}

QString shortest(double value) {
    return ofDouble(value, shortestOf);
}

QString shortest(Money value) {
    return amountOf(ofMoney(value));
}

QString amountText(double value) {
    return ofDouble(value, amountOf);
}

QString thousands(double value) {
    return ofDouble(value, thousandsOf);
}

QString thousands(Money value) {
    return thousandsOf(ofMoney(value));
}

QString upToTwoDecimals(double value) {
    return ofDouble(value, upToTwoDecimalsOf);
}

QString shortDate(const QDate& date) {
    return date.toString(u"dd/MM/yyyy");
}

QString longTime(const QTime& time) {
    return time.toString(u"H:mm:ss");
}

QString shortDateLongTime(const QDateTime& moment) {
    return shortDate(moment.date()) + u' ' + longTime(moment.time());
}

QString isoDate(const QDate& date) {
    return date.toString(u"yyyy-MM-dd");
}

QString unpaddedIsoDate(const QDate& date) {
    return date.toString(u"yyyy-M-d");
}

QString compactDate(const QDate& date) {
    return date.toString(u"yyyyMMdd");
}

QString dashedDate(const QDate& date) {
    return date.toString(u"dd-MM-yyyy");
}

std::optional<QDate> parseShortDate(const QString& typed) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    const QRegularExpressionMatch m = pattern.match(typed.trimmed());
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    const QDate date(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    return date.isValid() ? std::optional(date) : std::nullopt;
}

QLocale shopLocale() {
    return QLocale(QLocale::Spanish, QLocale::Peru);
}

}  // namespace core::fmt
