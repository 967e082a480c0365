#include "base/clock.h"
#include "base/date.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>

using kontaro::parseShortDate;
using kontaro::parseUserDate;

namespace {

struct DateCase {
    const char* name;
    const char* typed;
    QDate expected; // null: refused
};

void PrintTo(const DateCase& c, std::ostream* out) {
    *out << c.name;
}

class UserDateTest : public ::testing::TestWithParam<DateCase> {
protected:
    kontaro::FixedClock m_clock{QDate(2026, 6, 15)};
};

} // namespace

TEST_P(UserDateTest, Parses) {
    const DateCase& c = GetParam();
    const std::optional<QDate> date = parseUserDate(QString::fromUtf8(c.typed));
    if (c.expected.isValid()) {
        ASSERT_TRUE(date.has_value()) << c.typed;
        EXPECT_EQ(*date, c.expected) << c.typed;
    } else {
        EXPECT_FALSE(date.has_value()) << c.typed << " gave " << date->toString().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dates, UserDateTest,
    ::testing::Values(DateCase{"DayAndMonthTakeTheClocksYear", "1.1", QDate(2026, 1, 1)},
                      DateCase{"TrailingDotAfterMonth", "31.12.", QDate(2026, 12, 31)},
                      DateCase{"TwoDigitYear", "1.1.26", QDate(2026, 1, 1)},
                      DateCase{"TwoDigitYearLastOfWindow", "1.1.49", QDate(2049, 1, 1)},
                      DateCase{"TwoDigitYearFirstOfLastCentury", "1.1.50", QDate(1950, 1, 1)},
                      DateCase{"TwoDigitYear99", "31.12.99", QDate(1999, 12, 31)},
                      DateCase{"OneDigitYear", "1.1.7", QDate(2007, 1, 1)},
                      DateCase{"FullDate", "01.01.2026", QDate(2026, 1, 1)},
                      DateCase{"SurroundingBlanks", "  5.3.2025 ", QDate(2025, 3, 5)},
                      DateCase{"LeapDayInLeapYear", "29.2.2024", QDate(2024, 2, 29)},
                      DateCase{"LeapDayInClocksYearIsNoDate", "29.2", QDate()},
                      DateCase{"February31", "31.02.2026", QDate()},
                      DateCase{"Month13", "1.13.2026", QDate()}, DateCase{"DayZero", "0.1.2026", QDate()},
                      DateCase{"Letters", "abc", QDate()}, DateCase{"LettersAfterDate", "1.1.2026x", QDate()},
                      DateCase{"Empty", "", QDate()}, DateCase{"Blanks", "   ", QDate()},
                      DateCase{"DayOnly", "1", QDate()}, DateCase{"ThreeDigitYear", "1.1.202", QDate()},
                      DateCase{"OtherSeparator", "1-1-2026", QDate()},
                      DateCase{"ThreeDigitDay", "001.1.2026", QDate()}),
    [](const ::testing::TestParamInfo<DateCase>& info) { return std::string(info.param.name); });

TEST(UserDate, DayAndMonthFollowTheClock) {
    kontaro::FixedClock clock(QDate(2024, 12, 31));
    EXPECT_EQ(parseUserDate(QStringLiteral("29.2")), QDate(2024, 2, 29));
}

TEST(ShortDate, StaysStrict) {
    EXPECT_EQ(parseShortDate(QStringLiteral("01.01.2026")), QDate(2026, 1, 1));
    EXPECT_EQ(parseShortDate(QStringLiteral("1.2.2026")), QDate(2026, 2, 1));
    EXPECT_FALSE(parseShortDate(QStringLiteral("1.1")).has_value());
    EXPECT_FALSE(parseShortDate(QStringLiteral("1.1.26")).has_value());
    EXPECT_FALSE(parseShortDate(QStringLiteral("31.02.2026")).has_value());
}

TEST(ShortDate, FormatsWithLeadingZeros) {
    EXPECT_EQ(kontaro::formatDate(QDate(2026, 3, 5)), QStringLiteral("05.03.2026"));
    EXPECT_EQ(kontaro::formatDate(QDate()), QString());
    EXPECT_EQ(kontaro::formatDate(kontaro::zeroDate()), QStringLiteral("30.12.1899"));
}
