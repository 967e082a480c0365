#include "reports/u30_return.h"
#include "reports/uva_export.h"

#include <gtest/gtest.h>

using kontaro::Money;
using kontaro::reports::U30Return;
using kontaro::reports::UvaExport;

namespace {

struct ProposalCase {
    const char* name;
    QDate today;
    int fiscalYear;
    bool monthly;
    const char* expected;
};

class ProposedPeriodTest : public testing::TestWithParam<ProposalCase> {};

TEST_P(ProposedPeriodTest, IsTheLastCompletePeriodBeforeToday) {
    const ProposalCase& c = GetParam();
    EXPECT_EQ(UvaExport::proposedPeriod(c.today, c.fiscalYear, c.monthly), QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProposedPeriodTest,
    testing::Values(ProposalCase{"midMayMonthly", QDate(2026, 5, 10), 2026, true, "4"},
                    ProposalCase{"midMayQuarterly", QDate(2026, 5, 10), 2026, false, "Q1"},
                    ProposalCase{"firstOfJulyQuarterly", QDate(2026, 7, 1), 2026, false, "Q2"},
                    ProposalCase{"januaryNothingCompleteMonthly", QDate(2026, 1, 20), 2026, true, "1"},
                    ProposalCase{"februaryNothingCompleteQuarterly", QDate(2026, 2, 20), 2026, false, "Q1"},
                    ProposalCase{"afterTheYearMonthly", QDate(2027, 1, 15), 2026, true, "12"},
                    ProposalCase{"afterTheYearQuarterly", QDate(2027, 3, 1), 2026, false, "Q4"},
                    ProposalCase{"beforeTheYear", QDate(2025, 12, 31), 2026, false, "Q1"}),
    [](const testing::TestParamInfo<ProposalCase>& info) { return info.param.name; });

TEST(UvaExportTest, ParsesMonthsAndQuartersOnly) {
    const auto month = UvaExport::parsePeriod(QStringLiteral(" 3 "));
    ASSERT_TRUE(month);
    EXPECT_EQ(month->firstMonth, 3);
    EXPECT_EQ(month->lastMonth, 3);
    EXPECT_EQ(month->code, QStringLiteral("03"));
    const auto quarter = UvaExport::parsePeriod(QStringLiteral("q4"));
    ASSERT_TRUE(quarter);
    EXPECT_EQ(quarter->firstMonth, 10);
    EXPECT_EQ(quarter->lastMonth, 12);
    EXPECT_EQ(quarter->code, QStringLiteral("Q4"));
    for (const char* bad : {"0", "13", "Q0", "Q5", "", "3a", "Q", "-1", "1.5"})
        EXPECT_FALSE(UvaExport::parsePeriod(QString::fromLatin1(bad))) << bad;
}

TEST(UvaExportTest, PercentRoundsHalfAwayFromZeroToTheCent) {
    struct Case {
        std::int64_t cents;
        int percent;
        std::int64_t expectedCents;
    };
    for (const Case& c : {Case{5, 10, 1}, Case{-5, 10, -1}, Case{4, 10, 0}, Case{10005, 13, 1301},
                          Case{2, 20, 0}, Case{3, 20, 1}, Case{-3, 20, -1}, Case{100000, 20, 20000}})
        EXPECT_EQ(U30Return::percentToCent(Money::fromCents(c.cents), c.percent),
                  Money::fromCents(c.expectedCents))
            << c.cents << " × " << c.percent << " %";
}

TEST(UvaExportTest, AmountsHaveADecimalPointAndNoSeparators) {
    EXPECT_EQ(UvaExport::amountText(Money::fromCents(1234560)), QStringLiteral("12345.60"));
    EXPECT_EQ(UvaExport::amountText(Money::fromCents(-5)), QStringLiteral("-0.05"));
    EXPECT_EQ(UvaExport::amountText(Money()), QStringLiteral("0.00"));
}

} // namespace
