#pragma once

#include "core/Money.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>
#include <optional>

// The program's text formats, in namespace core::fmt. Numbers use "." as the decimal mark and
// "," as the thousands separator. Every rounding is decimal, half away from zero: a double is
// taken as the value it displays with 15 significant digits (2.675 rounds to 2.68), a Money is
// exact. A non-finite double is written "INF", "-INF" or "NAN". Negative results that round to
// zero carry no sign.
namespace core::fmt {

// "%8.2f": two decimals, right-aligned in 8 characters, never cut: "   25.00", "12345678.90".
QString printf8_2(double value);
QString printf8_2(Money value);

// Exactly two decimals, no thousands separator: "2.68", "-1.50", "0.00". This is also what
// "%8.2f" gives once trimmed. For a computed quotient of money (T / 1.18) pass the double, so
// that it is rounded once.
QString twoDecimals(double value);
QString twoDecimals(Money value);

// Shortest general form, up to 15 significant digits, no thousands separator: "0", "25.5",
// "30", "0.3" for 0.1 + 0.2, "0.00001"; beyond that range "1E15", "1.5E-6".
QString shortest(double value);
// The amount text of money: up to four decimals, no trailing zeros: "59", "10.62", "4.5918".
QString shortest(Money value);
// The amount text of a binary amount, rounded to four decimals first: 4.59184 gives "4.5918".
QString amountText(double value);

// "#,##0.00": "1,234.50", "0.05", "-1,000,000.00".
QString thousands(double value);
QString thousands(Money value);

// "######.##": up to two decimals, no trailing zeros, no leading zero before the point and
// nothing at all for zero: "25.5", "30", ".5", "".
QString upToTwoDecimals(double value);

// Dates and times.
QString shortDate(const QDate& date);                // "07/03/2026"
QString longTime(const QTime& time);                 // "9:05:07", "14:10:03"
QString shortDateLongTime(const QDateTime& moment);  // "07/03/2026 9:05:07"
QString isoDate(const QDate& date);                  // "2026-03-07"
QString unpaddedIsoDate(const QDate& date);          // "2026-3-7"
QString compactDate(const QDate& date);              // "20260307"
QString dashedDate(const QDate& date);               // "05-03-2024"
// A typed day/month/year date, day and month with one or two digits: "7/3/2026", "07/03/2026".
std::optional<QDate> parseShortDate(const QString& typed);

// The shop's locale (Spanish, Peru): dates the screens spell out, such as the status bar's.
QLocale shopLocale();

}  // namespace core::fmt
