#include "base/money.h"

#include <gtest/gtest.h>

using kontaro::Money;
using kontaro::Rounding;

TEST(Money, StoringCutsTowardZeroToCents)
{
    struct Case {
        const char* typed;
        const char* stored;
    };
    const Case cases[] = {{"12,0167", "12,01"}, {"-0,0099", "0"}, {"0,9091", "0,9"}, {"12,345", "12,34"}};
    for (const Case& c : cases)
        EXPECT_EQ(Money::parse(QString::fromUtf8(c.typed))->stored().toPlainString(), QString::fromUtf8(c.stored))
            << c.typed;
}
