#include "core/Clock.h"
#include "core/DayWindow.h"
#include "core/InputRules.h"

#include <gtest/gtest.h>

#include <QTimeZone>
#include <ctime>
#include <vector>

using core::DateTimeRange;

namespace {

QDateTime at(int y, int m, int d, int h, int min, int s) {
    return QDateTime(QDate(y, m, d), QTime(h, min, s));
}

struct Membership {
    QDateTime moment;
    bool inside;
};

void expectMembership(const DateTimeRange& range, std::initializer_list<Membership> cases) {
    for (const Membership& c : cases) {
        EXPECT_EQ(range.contains(c.moment), c.inside)
            << c.moment.toString(Qt::ISODate).toStdString();
    }
}

}  // namespace

TEST(DayWindow, SaleDayRunsFromOneSecondPastMidnightToTheLastSecond) {
    const DateTimeRange day = core::saleDay(QDate(2026, 3, 7));
    EXPECT_EQ(day.start, at(2026, 3, 7, 0, 0, 1));
    EXPECT_EQ(day.end, at(2026, 3, 7, 23, 59, 59));
    expectMembership(day, {{at(2026, 3, 7, 0, 0, 0), false},
                           {at(2026, 3, 7, 0, 0, 1), true},
                           {at(2026, 3, 7, 12, 0, 0), true},
                           {at(2026, 3, 7, 23, 59, 59), true},
                           {at(2026, 3, 8, 0, 0, 0), false}});
}

TEST(DayWindow, CalendarDayIncludesTheNextMidnight) {
    const DateTimeRange day = core::calendarDay(QDate(2026, 12, 31));
    EXPECT_EQ(day.start, at(2026, 12, 31, 0, 0, 0));
    EXPECT_EQ(day.end, at(2027, 1, 1, 0, 0, 0));
    expectMembership(day, {{at(2026, 12, 30, 23, 59, 59), false},
                           {at(2026, 12, 31, 0, 0, 0), true},
                           {at(2027, 1, 1, 0, 0, 0), true},
                           {at(2027, 1, 1, 0, 0, 1), false}});
}

TEST(DayWindow, PickerRangeCoversTheDaysStrictlyBetweenItsDates) {
    const DateTimeRange range = core::pickerRange(QDate(2026, 3, 6), QDate(2026, 3, 9));
    EXPECT_EQ(range.start, at(2026, 3, 6, 23, 59, 59));
    EXPECT_EQ(range.end, at(2026, 3, 9, 0, 0, 1));
    expectMembership(range, {{at(2026, 3, 6, 23, 59, 58), false},
                             {at(2026, 3, 7, 0, 0, 0), true},
                             {at(2026, 3, 8, 23, 59, 59), true},
                             {at(2026, 3, 9, 0, 0, 2), false}});
    EXPECT_EQ(core::todayPickerRange(QDate(2026, 3, 1)),
              core::pickerRange(QDate(2026, 2, 28), QDate(2026, 3, 2)));
}

TEST(DayWindow, EnterInTheStartPickerSelectsTheFollowingDay) {
    struct Case {
        QDateTime start;
        QDateTime end;
    };
    const Case cases[] = {
        {at(2026, 3, 6, 23, 59, 59), at(2026, 3, 8, 0, 0, 1)},
        {at(2026, 3, 6, 14, 30, 0), at(2026, 3, 8, 0, 0, 1)},  // only the date counts
        {at(2026, 3, 30, 23, 59, 59), at(2026, 4, 1, 0, 0, 1)},
        {at(2026, 12, 31, 23, 59, 59), at(2027, 1, 2, 0, 0, 1)},
        {at(2024, 2, 28, 23, 59, 59), at(2024, 3, 1, 0, 0, 1)},  // leap year
    };
    for (const Case& c : cases) {
        const DateTimeRange range = core::afterStartEnter(c.start);
        EXPECT_EQ(range.start, c.start);
        EXPECT_EQ(range.end, c.end);
    }
}

TEST(DayWindow, SalesMonitorCoversTheSaleDayOfTheChosenDayOnly) {
    const QDate today(2026, 3, 7);
    struct Case {
        int offset;
        QDateTime first;
        QDateTime second;
    };
    const Case cases[] = {
        {0, at(2026, 3, 7, 0, 0, 1), at(2026, 3, 7, 23, 59, 59)},
        {-1, at(2026, 3, 6, 0, 0, 1), at(2026, 3, 6, 23, 59, 59)},
        {-6, at(2026, 3, 1, 0, 0, 1), at(2026, 3, 1, 23, 59, 59)},
        {-10, at(2026, 2, 25, 0, 0, 1), at(2026, 2, 25, 23, 59, 59)},
    };
    for (const Case& c : cases) {
        const DateTimeRange range = core::salesMonitorDay(today, c.offset);
        EXPECT_EQ(range.start, c.first) << c.offset;
        EXPECT_EQ(range.end, c.second) << c.offset;
    }
}

TEST(DayWindow, DayAfterStartRangeRunsBetweenMidnights) {
    const DateTimeRange range = core::dayAfterStartRange(QDate(2026, 3, 6), QDate(2026, 3, 8));
    EXPECT_EQ(range.start, at(2026, 3, 7, 0, 0, 0));
    EXPECT_EQ(range.end, at(2026, 3, 8, 0, 0, 0));
    expectMembership(range, {{at(2026, 3, 6, 23, 59, 59), false},
                             {at(2026, 3, 7, 23, 59, 59), true},
                             {at(2026, 3, 8, 0, 0, 1), false}});
}

TEST(DayWindow, ARangeEndingBeforeItStartsIsNotOrdered) {
    EXPECT_TRUE(core::todayPickerRange(QDate(2026, 3, 7)).isOrdered());
    EXPECT_FALSE(core::pickerRange(QDate(2026, 3, 7), QDate(2026, 3, 7)).isOrdered());
    EXPECT_TRUE(core::saleDay(QDate(2026, 3, 7)).isOrdered());
    EXPECT_FALSE(core::pickerRange(QDate(2026, 3, 9), QDate(2026, 3, 7)).isOrdered());
}

TEST(Clock, FixedClockMovesOnlyWhenTold) {
    core::FixedClock clock(at(2026, 3, 7, 23, 59, 59));
    EXPECT_EQ(clock.now(), at(2026, 3, 7, 23, 59, 59));
    EXPECT_EQ(clock.today(), QDate(2026, 3, 7));
    clock.advanceSeconds(1);
    EXPECT_EQ(clock.today(), QDate(2026, 3, 8));
    clock.set(at(2025, 1, 1, 9, 0, 0));
    EXPECT_EQ(clock.now(), at(2025, 1, 1, 9, 0, 0));
}

TEST(Clock, SystemClockAddsTheServerOffset) {
    const qint64 offset = 3 * 24 * 3600 + 5;
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime shifted = core::SystemClock(offset).now();
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_LE(before.addSecs(offset), shifted);
    EXPECT_GE(after.addSecs(offset), shifted);
}

// main has fixed the zone for the run; Qt still finds the system's zone by its name, and a zone
// set before the run is the one local times follow.
TEST(Clock, LocalTimesFollowTheZoneTheRunStartedWith) {
    EXPECT_TRUE(QTimeZone::systemTimeZone().isValid()) << QTimeZone::systemTimeZoneId().data();
    const QByteArray fixed = qgetenv("TZ");
    qputenv("TZ", "<-05>5");
    tzset();
    core::readTimeZoneOnce();
    EXPECT_EQ(qgetenv("TZ"), QByteArray("<-05>5"));
    const QDateTime noon(QDate(2026, 3, 7), QTime(12, 0));
    EXPECT_EQ(noon.offsetFromUtc(), -5 * 3600);
    EXPECT_EQ(noon.toUTC().time(), QTime(17, 0));
    qputenv("TZ", fixed);
    tzset();
}

TEST(InputRules, EachRuleAcceptsOnlyItsCharacters) {
    struct Case {
        core::InputRule rule;
        const char* name;
        std::vector<const char*> accepted;
        std::vector<const char*> refused;
    };
    const Case cases[] = {
        // Only the last character counts; "١" is a non-ASCII digit.
        {core::endsWithDigit,
         "endsWithDigit",
         {"123", " 12 ", "12A3"},
         {"12A", "12.", "", "   ", "١"}},
        {core::endsWithDigitOrPoint, "endsWithDigitOrPoint", {"12.", "12.5"}, {"12,", ""}},
        {core::isDigitsOnly, "isDigitsOnly", {"0123", "", " 42 "}, {"4 2", "1A2", "-1"}},
        {core::isPriceText, "isPriceText", {"12,50", "12.50", ""}, {"12.5a", "-1"}},
        {core::isAmountText, "isAmountText", {"100", "12,50", "12.5", ""}, {"1.2.3", "1,2.", "1a"}},
        {core::endsWithNameChar,
         "endsWithNameChar",
         {"PEREZ", "JUAN PEREZ ", "MUÑOZ", "NUÑ", "JOSÉ"},
         {"PEREZ1", "perez", ""}},
        {core::isAddressText,
         "isAddressText",
         {"", "AV. LIMA 123", "S.A.", "CALLE N°", "MZ-"},
         {"AV. LIMA *", "LOTE |"}},
        {core::endsWithDocumentChar,
         "endsWithDocumentChar",
         {"F001-", "12/", "B001-25", "NE"},
         {"12.", "12a", ""}},
    };
    for (const Case& c : cases) {
        for (const char* text : c.accepted) {
            EXPECT_TRUE(c.rule(QString::fromUtf8(text))) << c.name << "(\"" << text << "\")";
        }
        for (const char* text : c.refused) {
            EXPECT_FALSE(c.rule(QString::fromUtf8(text))) << c.name << "(\"" << text << "\")";
        }
    }
}

TEST(InputRules, CommasBecomeDecimalPoints) {
    EXPECT_EQ(core::withDecimalPoints("12,50"), "12.50");
    EXPECT_EQ(core::withDecimalPoints("1,2,3"), "1.2.3");
    EXPECT_EQ(core::withDecimalPoints("7"), "7");
}
