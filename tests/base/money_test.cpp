#include "base/money.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

using kontaro::Money;
using kontaro::MoneyOverflow;
using kontaro::Rounding;

namespace {

Money units(std::int64_t value) {
    return Money::fromUnits(value);
}

Money parsed(const char* text) {
    const std::optional<Money> amount = Money::parse(QString::fromUtf8(text));
    if (!amount)
        ADD_FAILURE() << "not a valid amount: " << text;
    return amount.value_or(Money());
}

constexpr std::int64_t Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t Min = std::numeric_limits<std::int64_t>::min();

} // namespace

TEST(Money, StoringCutsTowardZeroToCents) {
    struct Case {
        const char* typed;
        std::int64_t storedCents;
    };
    const Case cases[] = {
        {"12,0167", 1201},   {"-0,0099", 0},     {"0,9091", 90},       {"12,345", 1234},
        {"-12,0167", -1201}, {"-12,345", -1234}, {"12,3456789", 1234}, {"0,01", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parsed(c.typed).stored(), Money::fromCents(c.storedCents)) << c.typed;
}

TEST(Money, RoundsToCentsHalfToEven) {
    struct Case {
        const char* amount;
        std::int64_t halfEvenCents;
    };
    const Case cases[] = {
        {"0,125", 12},  {"0,135", 14},  {"-0,125", -12}, {"-0,135", -14},
        {"0,1251", 13}, {"0,1249", 12}, {"0,005", 0},    {"0,015", 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parsed(c.amount).roundedToCents(Rounding::HalfEven), Money::fromCents(c.halfEvenCents))
            << c.amount;
    }
    EXPECT_EQ(parsed("0,129").roundedToCents(Rounding::TowardZero), Money::fromCents(12));
}

TEST(Money, MulDivIsExactBeforeRounding) {
    const Money one = Money::fromInteger(1);
    EXPECT_EQ(one.mulDiv(100, 110, Rounding::HalfEven), units(9091));
    EXPECT_EQ(one.mulDiv(100, 110, Rounding::TowardZero), units(9090));
    EXPECT_EQ((-one).mulDiv(100, 110, Rounding::HalfEven), units(-9091));
    EXPECT_EQ(one.mulDiv(-100, 110, Rounding::HalfEven), units(-9091));
    // Exact ties go to the even unit.
    EXPECT_EQ(units(5).mulDiv(1, 2, Rounding::HalfEven), units(2));
    EXPECT_EQ(units(15).mulDiv(1, 2, Rounding::HalfEven), units(8));
    EXPECT_EQ(units(-15).mulDiv(1, 2, Rounding::HalfEven), units(-8));
    // The product may leave 64 bits as long as the result fits.
    EXPECT_EQ(units(Max).mulDiv(3, 3, Rounding::HalfEven), units(Max));
    EXPECT_EQ(one.dividedBy(3, Rounding::HalfEven), units(3333));
    EXPECT_EQ(Money::fromInteger(2).dividedBy(3, Rounding::HalfEven), units(6667));
    EXPECT_THROW(one.dividedBy(0, Rounding::HalfEven), std::domain_error);
}

TEST(Money, FromDoubleRoundsOnceToTheUnitThenStoringCuts) {
    struct Case {
        double value;
        std::int64_t storedCents;
    };
    const Case cases[] = {
        {0.29, 29},     // binary 0.28999...: a plain cut would give 0,28
        {1.005, 100},   // 1,0050 after rounding to the unit, cut to 1,00 when stored
        {-2.675, -267}, // -2,6750, cut toward zero
        {1e12, 100000000000000},
        {0.1 + 0.2, 30},
        {-0.29, -29},
        {123456.78, 12345678},
        {0.0, 0},
        {-0.004999, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Money::fromDouble(c.value).stored(), Money::fromCents(c.storedCents)) << c.value;
    EXPECT_EQ(Money::fromDouble(-1.23456), units(-12346));
    for (const double bad :
         {1e16, -1e16, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()})
        EXPECT_THROW(Money::fromDouble(bad), MoneyOverflow) << bad;
}

TEST(Money, OverflowThrowsInsteadOfWrapping) {
    EXPECT_THROW(units(Max) + units(1), MoneyOverflow);
    EXPECT_THROW(units(Min) - units(1), MoneyOverflow);
    EXPECT_THROW(-units(Min), MoneyOverflow);
    EXPECT_THROW(units(Max / 2 + 1) * 2, MoneyOverflow);
    EXPECT_THROW(units(Max).mulDiv(3, 2, Rounding::HalfEven), MoneyOverflow);
    EXPECT_THROW(Money::fromInteger(Max / Money::Scale + 1), MoneyOverflow);
    const std::vector<Money> nearMax{units(Max - 10), units(6), units(5)};
    EXPECT_THROW(Money::sum(nearMax), MoneyOverflow);
    Money total = units(Max);
    EXPECT_THROW(total += units(1), MoneyOverflow);
    EXPECT_EQ(total, units(Max)); // a failed addition leaves the amount as it was
}

TEST(Money, ParsesGermanAmounts) {
    struct Case {
        const char* text;
        std::int64_t units;
    };
    const Case cases[] = {
        {"1234,56", 12345600},
        {"1.234,56", 12345600},
        {"1.234.567,8", 12345678000},
        {"-0,5", -5000},
        {"+3", 30000},
        {",5", 5000},
        {"  7 ", 70000},
        {"12,34567", 123456},
        {"1.000", 10000000},
        {"-1.000,01", -10000100},
        {"0", 0},
        {"5,", 50000},
    };
    for (const Case& c : cases) {
        const std::optional<Money> amount = Money::parse(QString::fromUtf8(c.text));
        ASSERT_TRUE(amount.has_value()) << c.text;
        EXPECT_EQ(*amount, units(c.units)) << c.text;
    }
}

TEST(Money, RefusesMalformedAmounts) {
    const char* const cases[] = {
        "1,2,3",    "abc",    "",   "  ",    "1..000", "-",   ",",   "1.23",
        "1234.567", "1.234.", ".5", "12 34", "1,5-",   "--1", "1e3", "99999999999999999999",
        "1.2345,6",
    };
    for (const char* text : cases)
        EXPECT_FALSE(Money::parse(QString::fromUtf8(text)).has_value()) << text;
}

TEST(Money, ParsesWithOtherSeparators) {
    EXPECT_EQ(Money::parse(QStringLiteral("1,234.56"), QLatin1Char('.'), QLatin1Char(',')), units(12345600));
    EXPECT_FALSE(Money::parse(QStringLiteral("1.234,56"), QLatin1Char('.'), QLatin1Char(',')).has_value());
}

TEST(Money, SignHelpersAndSum) {
    EXPECT_EQ(parsed("-2,5").abs(), parsed("2,5"));
    EXPECT_EQ(parsed("-2,5").sign(), -1);
    EXPECT_EQ(Money().sign(), 0);
    EXPECT_TRUE(parsed("0,0001").isPositive());
    EXPECT_FALSE(Money().isPositive());
    const std::vector<Money> amounts{parsed("10,10"), parsed("-0,1"), parsed("0,0001")};
    EXPECT_EQ(Money::sum(amounts), parsed("10,0001"));
    EXPECT_EQ(parsed("-1234,5").toPlainString(), QStringLiteral("-1234,5"));
    EXPECT_EQ(parsed("-1234,5").toLongDouble(), -1234.5L);
}
