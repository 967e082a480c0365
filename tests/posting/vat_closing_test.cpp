#include "posting/vat_closing.h"

#include <gtest/gtest.h>
#include <limits>

using namespace kontaro;
using namespace kontaro::posting;

namespace {

Money m(const char* text) {
    return *Money::parse(QString::fromUtf8(text));
}

const QString Indent(16, QLatin1Char(' '));

// Payable 3520, surplus 3530, tax office 3540; the VAT accounts and the income and expense
// accounts that name them come from each case.
std::vector<VatChartAccount> chartWith(std::vector<VatChartAccount> accounts) {
    accounts.insert(accounts.begin(),
                    {{"3520", m("0"), {}, 0}, {"3530", m("0"), {}, 0}, {"3540", m("0"), {}, 0}});
    return accounts;
}

VatClosingAccounts settingsWith(const QStringList& ustKonten) {
    return {ustKonten, "3520", "3530", "3540"};
}

struct ClosingCase {
    const char* name;
    std::vector<VatChartAccount> chart;
    QStringList ustKonten;
    ClosingLine taxOffice;
    std::vector<std::optional<ClosingLine>> accountLines;
    QStringList reportBody; // the page from the tax-office line on, without the indent
    int rateErrors;
};

class VatClosingTest : public testing::TestWithParam<ClosingCase> {};

TEST_P(VatClosingTest, GivesTheClosingLinesAndTheReturnPage) {
    const ClosingCase& c = GetParam();
    const VatClosing closing = VatClosing::compute(chartWith(c.chart), settingsWith(c.ustKonten));
    ASSERT_EQ(closing.refusal, QString());
    EXPECT_EQ(closing.taxOfficeLine, c.taxOffice);
    ASSERT_EQ(closing.accounts.size(), c.accountLines.size());
    for (std::size_t i = 0; i < c.accountLines.size(); ++i)
        EXPECT_EQ(closing.accounts[i].line, c.accountLines[i]) << i;
    EXPECT_EQ(closing.rateErrors, c.rateErrors);

    const QStringList page = closing.reportLines({"UVA", "Q1", QDate(2026, 3, 31)}, "Musterfirma");
    QStringList body;
    for (const QString& line : page.mid(7))
        body << (line.startsWith(Indent) ? line.mid(Indent.size()) : line);
    EXPECT_EQ(body, c.reportBody);
}

const ClosingCase Cases[] = {
    {"payable_output_and_input_tax_at_20",
     {{"4000", m("-15000"), "UST20", 20},
      {"7600", m("5000"), "VST20", 20},
      {"UST20", m("-3000"), {}, 0},
      {"VST20", m("1000"), {}, 0}},
     {"UST20", "VST20"},
     {"3520", "3540", m("2000")},
     {ClosingLine{"UST20", "3520", m("3000")}, ClosingLine{"3520", "VST20", m("1000")}},
     {"Vorauszahlung(-): -2.000,00", "", "UST20 = -15000   -->    -3.000,00",
      "VST20 = 5000    -+>    1.000,00"},
     0},
    {"surplus_goes_from_the_tax_office_to_the_surplus_account",
     {{"7600", m("1000"), "VST20", 20}, {"UST20", m("0"), {}, 0}, {"VST20", m("200"), {}, 0}},
     {"UST20", "VST20"},
     {"3540", "3530", m("200")},
     {ClosingLine{"3530", "UST20", m("0")}, ClosingLine{"3530", "VST20", m("200")}},
     {"Überschuß    : 200,00", "", "UST20 =  . . . . . . . . . . 0", "VST20 = 1000    -+>    200,00"},
     0},
    {"zero_sum_is_payable",
     {{"UST20", m("-50"), {}, 0}, {"VST20", m("50"), {}, 0}},
     {"UST20", "VST20"},
     {"3520", "3540", m("0")},
     {ClosingLine{"UST20", "3520", m("50")}, ClosingLine{"3520", "VST20", m("50")}},
     {"Vorauszahlung(-): 0,00", "", "UST20 =  . . . . . . . . . . -50", "VST20 =  . . . . . . . . . . 50"},
     0},
    {"two_rates_on_one_vat_account_print_the_dotted_line_and_one_rate_error",
     {{"4000", m("-100"), "UST20", 20}, {"4010", m("-100"), "UST20", 10}, {"UST20", m("-20"), {}, 0}},
     {"UST20"},
     {"3520", "3540", m("20")},
     {ClosingLine{"UST20", "3520", m("20")}},
     {"Vorauszahlung(-): -20,00", "", "UST20 =  . . . . . . . . . . -20"},
     1},
    {"list_in_lower_case_prints_its_spelling_and_posts_the_charts",
     {{"4000", m("-100"), "UST10", 10}, {"UST10", m("-1234,56"), {}, 0}},
     {"ust10"},
     {"3520", "3540", m("1234,56")},
     {ClosingLine{"UST10", "3520", m("1234,56")}},
     {"Vorauszahlung(-): -1.234,56", "", "ust10 = -12345,6   -->    -1.234,56"},
     0},
    {"a_balance_that_cannot_be_made_positive_fails_alone",
     {{"UST20", Money::fromUnits(std::numeric_limits<std::int64_t>::min()), {}, 0},
      {"VST20", Money::fromUnits(1), {}, 0}},
     {"UST20", "VST20"},
     {"3520", "3540", -Money::fromUnits(std::numeric_limits<std::int64_t>::min() + 1)},
     {std::nullopt, ClosingLine{"3520", "VST20", Money::fromUnits(1)}},
     {"Vorauszahlung(-): -922.337.203.685.477,58", "", "VST20 =  . . . . . . . . . . 0,0001"},
     0},
};

INSTANTIATE_TEST_SUITE_P(Cases, VatClosingTest, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<ClosingCase>& info) { return info.param.name; });

TEST(VatClosingRefusal, NamesTheSettingThatIsMissing) {
    const QString clearing = "Bitte Zahllast-, Überschuß- und Finanzamtkonto RICHTIG einrichten !";
    const QString vat = "Bitte UST-Konten im Fenster EINSTELLUNGEN richtig einrichten !";
    const std::vector<VatChartAccount> chart = chartWith({{"UST20", m("-10"), {}, 0}});
    struct Case {
        VatClosingAccounts settings;
        QString refusal;
    };
    for (const Case& c :
         {Case{{{"UST20"}, "3520", "3530", "9999"}, clearing},
          Case{{{"UST20"}, "3520", "", "3540"}, clearing},
          Case{{{"UST20"}, "3520", "3530", "3540"}, QString()},
          Case{{{"UST20", "UST10"}, "3520", "3530", "3540"}, vat}, Case{{{}, "3520", "3530", "3540"}, vat}}) {
        const VatClosing closing = VatClosing::compute(chart, c.settings);
        EXPECT_EQ(closing.refusal, c.refusal) << c.settings.ustKonten.join(",").toStdString();
        EXPECT_EQ(closing.accounts.empty(), !c.refusal.isEmpty());
    }
    // The clearing accounts are looked up exactly as they are spelled, the VAT accounts in any case.
    const std::vector<VatChartAccount> named = {
        {"ZL", m("0"), {}, 0}, {"FA", m("0"), {}, 0}, {"UST20", m("0"), {}, 0}};
    EXPECT_EQ(VatClosing::compute(named, {{"ust20"}, "zl", "ZL", "FA"}).refusal, clearing);
    EXPECT_EQ(VatClosing::compute(named, {{"ust20"}, "ZL", "ZL", "FA"}).refusal, QString());
}

TEST(VatClosingRefusal, ASumBeyondTheRangeOfMoneyThrows) {
    const Money max = Money::fromUnits(std::numeric_limits<std::int64_t>::max());
    const std::vector<VatChartAccount> chart = chartWith({{"VST20", max, {}, 0}, {"VST10", max, {}, 0}});
    EXPECT_THROW(VatClosing::compute(chart, settingsWith({"VST20", "VST10"})), MoneyOverflow);
}

TEST(VatClosingPage, StartsWithTheHeadingAndLeavesOutFailedAccounts) {
    VatClosing closing = VatClosing::compute(
        chartWith({{"UST20", m("-10"), {}, 0}, {"VST20", m("4"), {}, 0}}), settingsWith({"UST20", "VST20"}));
    closing.accounts[0].line.reset();
    EXPECT_EQ(
        closing.reportLines({"Umsatzsteuervoranmeldung ", "", QDate(2026, 4, 30)}, ""),
        (QStringList{Indent + "U M S A T Z S T E U E R   V O R A N M E L D U N G", "",
                     Indent + "Mandant      : ", Indent + "Buchungstext : Umsatzsteuervoranmeldung ",
                     Indent + "Belegnummer  : ", Indent + "Datum        : 30.04.2026", "",
                     Indent + "Vorauszahlung(-): -6,00", "", Indent + "VST20 =  . . . . . . . . . . 4"}));
}

} // namespace
