#include "core/Format.h"
#include "core/Money.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

using core::Money;
namespace fmt = core::fmt;

namespace {

constexpr qint64 kMaxRaw = std::numeric_limits<qint64>::max();

Money raw(qint64 units) {
    return Money::fromRaw(units);
}

}  // namespace

TEST(MoneyParse, ReadsTypedAmounts) {
    struct Case {
        const char* typed;
        qint64 raw;
    };
    const Case cases[] = {
        {"12.5", 125000},
        {" 12,5 ", 125000},  // a comma typed as the decimal mark
        {"0", 0},
        {"007", 70000},
        {"-3.25", -32500},
        {"+4", 40000},
        {".5", 5000},
        {"5.", 50000},
        {"4.5918", 45918},
        {"1.23454", 12345},
        {"1.23455", 12346},  // tie goes away from zero
        {"-1.23455", -12346},
        {"0.00005", 1},
        {"-0.00004", 0},
        {"2.99999", 30000},
        {"922337203685477.5807", kMaxRaw},
    };
    for (const Case& c : cases) {
        const std::optional<Money> m = Money::parse(QString::fromUtf8(c.typed));
        ASSERT_TRUE(m.has_value()) << c.typed;
        EXPECT_EQ(m->raw(), c.raw) << c.typed;
    }
}

TEST(MoneyParse, RefusesMalformedTextInsteadOfReadingZero) {
    const char* const cases[] = {"",
                                 "   ",
                                 "abc",
                                 "1.2.3",
                                 "1,234.5",
                                 "12a",
                                 "-",
                                 ".",
                                 "1 2",
                                 "--1",
                                 "1e3",
                                 "١٢",
                                 "½",
                                 "+-1",
                                 "0x1F",
                                 "922337203685477.5808",
                                 "99999999999999999999"};
    for (const char* typed : cases) {
        EXPECT_FALSE(Money::parse(QString::fromUtf8(typed)).has_value()) << typed;
    }
}

TEST(MoneyFromDouble, RoundsTheDisplayedDecimalNotTheBinaryValue) {
    struct Case {
        double value;
        qint64 raw;
    };
    const Case cases[] = {
        {0.0, 0},         {2.675, 26750},     {0.00015, 2},  // binary 0.000149999...
        {2.00005, 20001}, {-2.00005, -20001}, {4.59185, 45919},
        {-2.5, -25000},   {0.1 + 0.2, 3000},  {1e14, 1000000000000000000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Money::fromDouble(c.value).raw(), c.raw) << c.value;
    }
}

TEST(MoneyFromDouble, ThrowsOnValuesMoneyCannotHold) {
    EXPECT_THROW(Money::fromDouble(std::numeric_limits<double>::quiet_NaN()), std::range_error);
    EXPECT_THROW(Money::fromDouble(std::numeric_limits<double>::infinity()), std::range_error);
    EXPECT_THROW(Money::fromDouble(1e20), std::overflow_error);
}

TEST(MoneyArithmetic, RoundsToCentsAwayFromZero) {
    struct Case {
        qint64 raw;
        qint64 cents;
    };
    const Case cases[] = {
        {10050, 10100}, {10049, 10000}, {-10050, -10100}, {-10049, -10000}, {50, 100},
        {49, 0},        {0, 0},         {45918, 45900},   {99950, 100000},  {kMaxRaw, kMaxRaw - 7}};
    for (const Case& c : cases) {
        EXPECT_EQ(raw(c.raw).roundedToCents().raw(), c.cents) << c.raw;
    }
}

TEST(MoneyArithmetic, MultipliesByTheFactorAsWritten) {
    struct Case {
        qint64 raw;
        double factor;
        qint64 result;
    };
    const Case cases[] = {
        {100000, 1.18, 118000},
        {25000, 0.1524, 3810},
        {590000, 0.18, 106200},
        {10, 1.15, 12},  // 11.5 units: binary 1.15 is below 1.15 and would give 11
        {1, 0.5, 1},
        {-1, 0.5, -1},
        {12345, 0.0, 0},
        {12345, -2.0, -24690},
        {3, 1e-20, 0},
        {1, 1e10, 10000000000},
        {45918, 1.0, 45918},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(raw(c.raw).times(c.factor).raw(), c.result) << c.raw << " x " << c.factor;
    }
}

TEST(MoneyArithmetic, DividesWithRoundingToTheNearestTenThousandth) {
    struct Case {
        qint64 raw;
        double divisor;
        qint64 result;
    };
    const Case cases[] = {
        {118000, 1.18, 100000}, {100000, 3.0, 33333},
        {200000, 3.0, 66667},   {-200000, 3.0, -66667},
        {100000, -4.0, -25000}, {1, 2.0, 1},
        {-1, 2.0, -1},          {0, 1e-300, 0},
        {kMaxRaw, 1e30, 0},     {100000, 0.001, 100000000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(raw(c.raw).dividedBy(c.divisor).raw(), c.result) << c.raw << " / " << c.divisor;
    }
}

TEST(MoneyArithmetic, FailsLoudlyInsteadOfOverflowing) {
    EXPECT_THROW(raw(10000).dividedBy(0.0), std::domain_error);
    EXPECT_THROW(raw(10000).dividedBy(1e-30), std::overflow_error);
    EXPECT_THROW(raw(kMaxRaw).times(2.0), std::overflow_error);
    EXPECT_THROW(raw(kMaxRaw).times(1e300), std::overflow_error);
    EXPECT_THROW(raw(1).times(std::numeric_limits<double>::quiet_NaN()), std::range_error);
}

TEST(MoneyArithmetic, SumsStayExact) {
    Money total;
    for (int i = 0; i < 10; ++i) {
        total += *Money::parse("0.1");
    }
    EXPECT_EQ(total, *Money::parse("1"));
    EXPECT_EQ((*Money::parse("4.5918") * 3 - *Money::parse("0.0004")).raw(), 137750);
}

TEST(Format, Printf8_2IsRightAlignedAndNotTrimmed) {
    const double cost = 10.00;
    const double sale = 12.50;
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {(sale / cost - 1) * 100, "   25.00"},
        {0.0, "    0.00"},
        {-3.14159, "   -3.14"},
        {2.675, "    2.68"},
        {-0.001, "    0.00"},
        {123456789.5, "123456789.50"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fmt::printf8_2(c.value), QString::fromUtf8(c.text)) << c.value;
    }
    EXPECT_EQ(fmt::printf8_2(*Money::parse("10")), "   10.00");
    EXPECT_EQ(fmt::printf8_2(*Money::parse("-0.005")), "   -0.01");
}

TEST(Format, TwoDecimalsRoundsInDecimal) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {2.675, "2.68"},
        {2.665, "2.67"},
        {1.005, "1.01"},
        {-2.675, "-2.68"},
        {0.0, "0.00"},
        {-0.0, "0.00"},
        {9.995, "10.00"},
        {0.994999, "0.99"},
        {1e6, "1000000.00"},
        {11.8 / 1.18, "10.00"},
        {10 / 1.18, "8.47"},
        {-0.004, "0.00"},
        {1e20, "100000000000000000000.00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fmt::twoDecimals(c.value), QString::fromUtf8(c.text)) << c.value;
    }
    EXPECT_EQ(fmt::twoDecimals(*Money::parse("4.5918")), "4.59");
    EXPECT_EQ(fmt::twoDecimals(*Money::parse("-0.005")), "-0.01");
    EXPECT_EQ(fmt::twoDecimals(*Money::parse("-0.0049")), "0.00");
    EXPECT_EQ(fmt::twoDecimals(raw(kMaxRaw)), "922337203685477.58");
    EXPECT_EQ(fmt::twoDecimals(raw(std::numeric_limits<qint64>::min())), "-922337203685477.58");
}

TEST(Format, ShortestGeneralFormOfADouble) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {25.5, "25.5"},
        {30.0, "30"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {-12.5, "-12.5"},
        {25.000000000000004, "25"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {0.00001, "0.00001"},
        {0.000001, "1E-6"},
        {-1.5e-7, "-1.5E-7"},
        {1e300, "1E300"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fmt::shortest(c.value), QString::fromUtf8(c.text)) << c.value;
    }
}

TEST(Format, AmountTextHasUpToFourDecimals) {
    struct Case {
        const char* money;
        const char* text;
    };
    const Case cases[] = {{"59", "59"},
                          {"10.62", "10.62"},
                          {"4.5918", "4.5918"},
                          {"0", "0"},
                          {"-0.5", "-0.5"},
                          {"30.1000", "30.1"},
                          {"1000000", "1000000"},
                          {"0.0001", "0.0001"},
                          {"922337203685477.5807", "922337203685477.5807"}};
    for (const Case& c : cases) {
        EXPECT_EQ(fmt::shortest(*Money::parse(c.money)), QString::fromUtf8(c.text)) << c.money;
    }
    struct DoubleCase {
        double value;
        const char* text;
    };
    const DoubleCase doubles[] = {{4.59184, "4.5918"},  {4.59185, "4.5919"}, {11.8, "11.8"},
                                  {59 * 0.18, "10.62"}, {30.0, "30"},        {0.00004, "0"},
                                  {-0.00004, "0"},      {-25.5, "-25.5"}};
    for (const DoubleCase& c : doubles) {
        EXPECT_EQ(fmt::amountText(c.value), QString::fromUtf8(c.text)) << c.value;
    }
}

TEST(Format, ThousandsWithTwoDecimals) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {1234.5, "1,234.50"},
        {0.05, "0.05"},
        {0.0, "0.00"},
        {-1e6, "-1,000,000.00"},
        {999.995, "1,000.00"},
        {100.0, "100.00"},
        {123456.789, "123,456.79"},
        {11.8 - 11.8 / 1.18, "1.80"},
        {-0.001, "0.00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fmt::thousands(c.value), QString::fromUtf8(c.text)) << c.value;
    }
    EXPECT_EQ(fmt::thousands(*Money::parse("1234567.895")), "1,234,567.90");
    EXPECT_EQ(fmt::thousands(*Money::parse("-999.99")), "-999.99");
}

TEST(Format, UpToTwoDecimalsLikeHashPlaceholders) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {25.5, "25.5"},  {30.0, "30"},      {0.5, ".5"},   {0.0, ""},
        {0.004, ""},     {12.345, "12.35"}, {-0.5, "-.5"}, {1234567.891, "1234567.89"},
        {10.10, "10.1"}, {0.995, "1"},      {-0.004, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fmt::upToTwoDecimals(c.value), QString::fromUtf8(c.text)) << c.value;
    }
}

TEST(Format, DatesAndTimes) {
    const QDateTime morning(QDate(2026, 3, 7), QTime(9, 5, 7));
    EXPECT_EQ(fmt::shortDate(morning.date()), "07/03/2026");
    EXPECT_EQ(fmt::longTime(morning.time()), "9:05:07");
    EXPECT_EQ(fmt::longTime(QTime(14, 10, 3)), "14:10:03");
    EXPECT_EQ(fmt::longTime(QTime(0, 0, 0)), "0:00:00");
    EXPECT_EQ(fmt::shortDateLongTime(morning), "07/03/2026 9:05:07");
    EXPECT_EQ(fmt::isoDate(morning.date()), "2026-03-07");
    EXPECT_EQ(fmt::unpaddedIsoDate(morning.date()), "2026-3-7");
    EXPECT_EQ(fmt::unpaddedIsoDate(QDate(2026, 12, 25)), "2026-12-25");
    EXPECT_EQ(fmt::compactDate(morning.date()), "20260307");
    EXPECT_EQ(fmt::dashedDate(QDate(2024, 3, 5)), "05-03-2024");
}

TEST(Format, ParsesDayMonthYear) {
    EXPECT_EQ(fmt::parseShortDate("7/3/2026"), QDate(2026, 3, 7));
    EXPECT_EQ(fmt::parseShortDate("07/03/2026"), QDate(2026, 3, 7));
    EXPECT_EQ(fmt::parseShortDate(" 31/12/1999 "), QDate(1999, 12, 31));
    EXPECT_EQ(fmt::parseShortDate("29/02/2024"), QDate(2024, 2, 29));
    const char* const bad[] = {"31/02/2026", "29/02/2026",  "2026-03-07", "7/3/26",
                               "",           "07/03/2026x", "3/7",        "13/13/2026"};
    for (const char* text : bad) {
        EXPECT_FALSE(fmt::parseShortDate(QString::fromUtf8(text)).has_value()) << text;
    }
}
