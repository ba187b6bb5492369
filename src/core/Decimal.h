#pragma once

#include <QString>
#include <QtGlobal>

// Decimal rounding shared by Money and the text formats: a value is taken as the decimal it
// displays as, then rounded half away from zero. No binary rounding is ever involved.
namespace core::decimal {

// value = (negative ? -1 : 1) * 0.digits * 10^point; `digits` holds ASCII digits only and may
// carry leading or trailing zeros (an empty or all-zero string is zero).
struct Digits {
    bool negative = false;
    QString digits;
    int point = 0;
};

// A finite double read with 15 significant digits: 2.675 is 2.675, 0.1 + 0.2 is 0.3.
Digits ofDouble(double value);
// A count of 10^-scale units: ofScaled(26750, 4) is 2.675.
Digits ofScaled(qint64 units, int scale);

// |value| * 10^places rounded to an integer, half away from zero, as digits without leading
// zeros ("0" for zero).
QString scaledMagnitude(const Digits& value, int places);

}  // namespace core::decimal
