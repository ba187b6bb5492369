#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

// The date-time bounds that queries take. Every bound is included (SQL BETWEEN); all are local
// times built from dates, so they never depend on the moment they are computed.
namespace core {

struct DateTimeRange {
    QDateTime start;
    QDateTime end;

    bool contains(const QDateTime& moment) const { return start <= moment && moment <= end; }
    // A range whose start is later than its end is refused before any query.
    bool isOrdered() const { return start <= end; }
    bool operator==(const DateTimeRange&) const = default;
};

// The times of day that date pickers keep while only their dates change.
inline const QTime kDayFirstSecond{0, 0, 1};
inline const QTime kDayLastSecond{23, 59, 59};

// The sale-day window of a day: 00:00:01 to 23:59:59 of that day.
DateTimeRange saleDay(const QDate& day);

// From midnight starting `first` to midnight starting `last`, both included.
DateTimeRange midnights(const QDate& first, const QDate& last);
// A calendar day as the server-side "today" queries count it: midnight to the next midnight.
DateTimeRange calendarDay(const QDate& day);

// A pair of range pickers showing the dates D1 and D2: D1 at 23:59:59 to D2 at 00:00:01, so
// the whole days strictly between D1 and D2.
DateTimeRange pickerRange(const QDate& startDate, const QDate& endDate);
// The pickers' default: yesterday to tomorrow, which is today.
DateTimeRange todayPickerRange(const QDate& today);
// Enter in the start picker: the end becomes the start plus two days at 00:00:01, so the range
// is the single day after the start's date.
DateTimeRange afterStartEnter(const QDateTime& start);

// The sales monitor's day today + dayOffset (0 for today, -1 to -10 for the days before): that
// day's sale-day window, so the neighbouring days' sales, whose numbers repeat, stay out.
DateTimeRange salesMonitorDay(const QDate& today, int dayOffset);

// The listings whose range starts "the day after the start date": midnight after D1 to
// midnight starting D2.
DateTimeRange dayAfterStartRange(const QDate& startDate, const QDate& endDate);

}  // namespace core
