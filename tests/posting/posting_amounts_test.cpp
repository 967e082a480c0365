#include "posting/posting_amounts.h"

#include <gtest/gtest.h>

using namespace kontaro;
using namespace kontaro::posting;

namespace {

Money m(const char* text) {
    return *Money::parse(QString::fromLatin1(text));
}

struct RateCase {
    const char* name;
    const char* amount;
    int ustP;
    const char* gross;         // amount × f to the cent, half to even
    const char* net;           // amount / f to the cent, half to even
    const char* netFourPlaces; // amount / f to four decimals, half to even
};

// The rounding happens once, straight to the cent: 0,0050001 must not first become 0,0050.
constexpr RateCase RateCases[] = {
    {"ten_percent_of_one", "1,00", 10, "1,10", "0,91", "0,9091"},
    {"twenty_percent", "120,00", 20, "144,00", "100,00", "100,0000"},
    {"half_cent_gross_goes_to_even_down", "0,25", 10, "0,28", "0,23", "0,2273"},
    {"half_cent_gross_goes_to_even_up", "0,35", 10, "0,38", "0,32", "0,3182"},
    {"half_cent_without_vat", "0,125", 0, "0,12", "0,12", "0,1250"},
    {"exact_half_cent_odd", "0,135", 0, "0,14", "0,14", "0,1350"},
    {"gross_just_above_half_cent", "0,0042", 20, "0,01", "0,00", "0,0035"},
    {"no_rate_is_factor_one", "7,77", 0, "7,77", "7,77", "7,7700"},
    {"minus_hundred_percent_counts_as_none", "5,00", -100, "5,00", "5,00", "5,0000"},
    {"rate_below_minus_hundred_gives_negative_factor", "0,33", -103, "-0,01", "-11,00", "-11,0000"},
};

class RateTest : public testing::TestWithParam<RateCase> {};

TEST_P(RateTest, RoundsExactlyOnce) {
    const RateCase& c = GetParam();
    EXPECT_EQ(grossToCent(m(c.amount), c.ustP), m(c.gross));
    EXPECT_EQ(netToCent(m(c.amount), c.ustP), m(c.net));
    EXPECT_EQ(netFourDecimals(m(c.amount), c.ustP), m(c.netFourPlaces));
}

INSTANTIATE_TEST_SUITE_P(Cases, RateTest, testing::ValuesIn(RateCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BudgetPercent, RoundsHalfToEvenAlsoForNegativeBudgets) {
    EXPECT_EQ(percentHalfEven(m("50,00"), m("200,00")), 25);
    EXPECT_EQ(percentHalfEven(m("1,25"), m("10,00")), 12); // 12,5 -> 12
    EXPECT_EQ(percentHalfEven(m("1,35"), m("10,00")), 14); // 13,5 -> 14
    EXPECT_EQ(percentHalfEven(m("-90000,00"), m("-120000,00")), 75);
    EXPECT_EQ(percentHalfEven(m("30,00"), m("-120,00")), -25);
}

} // namespace
