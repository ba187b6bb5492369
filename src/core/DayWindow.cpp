#include "core/DayWindow.h"

namespace core {

DateTimeRange saleDay(const QDate& day) {
    return {QDateTime(day, kDayFirstSecond), QDateTime(day, kDayLastSecond)};
}

DateTimeRange midnights(const QDate& first, const QDate& last) {
    return {first.startOfDay(), last.startOfDay()};
}

DateTimeRange calendarDay(const QDate& day) {
    return midnights(day, day.addDays(1));
}

DateTimeRange pickerRange(const QDate& startDate, const QDate& endDate) {
    return {QDateTime(startDate, kDayLastSecond), QDateTime(endDate, kDayFirstSecond)};
}

DateTimeRange todayPickerRange(const QDate& today) {
    return pickerRange(today.addDays(-1), today.addDays(1));
}

DateTimeRange afterStartEnter(const QDateTime& start) {
    return {start, QDateTime(start.date().addDays(2), kDayFirstSecond)};
}

DateTimeRange salesMonitorDay(const QDate& today, int dayOffset) {
    return saleDay(today.addDays(dayOffset));
}

DateTimeRange dayAfterStartRange(const QDate& startDate, const QDate& endDate) {
    return midnights(startDate.addDays(1), endDate);
}

}  // namespace core
