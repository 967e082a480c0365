#include "base/clock.h"
#include "qstring_printer.h"

#include <cstdlib>
#include <gtest/gtest.h>

using kontaro::Clock;
using kontaro::FixedClock;

TEST(Clock, FixedValueDrivesTodayNowAndYear) {
    const QDateTime pinned(QDate(2025, 12, 31), QTime(23, 59, 58));
    FixedClock clock(pinned);
    EXPECT_EQ(Clock::now(), pinned);
    EXPECT_EQ(Clock::today(), QDate(2025, 12, 31));
    EXPECT_EQ(Clock::currentYear(), 2025);
}

TEST(Clock, GuardsNestAndRestoreTheSystemClock) {
    {
        FixedClock outer(QDate(2020, 1, 1));
        {
            FixedClock inner(QDate(2030, 1, 1));
            EXPECT_EQ(Clock::currentYear(), 2030);
        }
        EXPECT_EQ(Clock::currentYear(), 2020);
    }
    EXPECT_FALSE(Clock::isFixed());
    EXPECT_LT(std::abs(Clock::now().secsTo(QDateTime::currentDateTime())), 5);
}

TEST(Clock, ResetEndsSetFixed) {
    Clock::setFixed(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
    EXPECT_EQ(Clock::today(), QDate(2001, 2, 3));
    Clock::reset();
    EXPECT_FALSE(Clock::isFixed());
    EXPECT_NE(Clock::today(), QDate(2001, 2, 3));
}
