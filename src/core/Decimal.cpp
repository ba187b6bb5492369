#include "core/Decimal.h"

#include <cstdio>

namespace core::decimal {

namespace {

QString withoutLeadingZeros(const QString& digits) {
    qsizetype first = 0;
    while (first < digits.size() - 1 && digits[first] == u'0') {
        ++first;
    }
    return digits.isEmpty() ? QStringLiteral("0") : digits.mid(first);
}

// Adds one to a string of digits: "199" gives "200", "99" gives "100".
QString incremented(QString digits) {
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != u'9') {
            digits[i] = QChar(digits[i].unicode() + 1);
            return digits;
        }
        digits[i] = u'0';
    }
    return u'1' + digits;
}

}  // namespace

Digits ofDouble(double value) {
    // "%.14e" gives d.dddddddddddddde±x: 15 significant digits, correctly rounded.
    char text[32];
    std::snprintf(text, sizeof text, "%.14e", value);
    const QString s = QString::fromLatin1(text);
    Digits d;
    d.negative = s.startsWith(u'-');
    const qsizetype start = d.negative ? 1 : 0;
    const qsizetype e = s.indexOf(u'e');
    d.digits = s.mid(start, 1) + s.mid(start + 2, e - start - 2);
    d.point = s.mid(e + 1).toInt() + 1;
    return d;
}

Digits ofScaled(qint64 units, int scale) {
    Digits d;
    d.negative = units < 0;
    d.digits = QString::number(static_cast<quint64>(units < 0 ? -static_cast<quint64>(units)
                                                              : static_cast<quint64>(units)));
    d.point = static_cast<int>(d.digits.size()) - scale;
    return d;
}

QString scaledMagnitude(const Digits& value, int places) {
    const qsizetype kept = value.point + places;  // digits at or above 10^-places
    if (kept < 0) {
        return QStringLiteral("0");
    }
    QString whole = value.digits.left(kept);
    if (kept > value.digits.size()) {
        whole += QString(kept - value.digits.size(), u'0');
    }
    const bool roundUp = kept < value.digits.size() && value.digits[kept] >= u'5';
    return withoutLeadingZeros(roundUp ? incremented(whole) : whole);
}

}  // namespace core::decimal
