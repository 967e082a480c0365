#include "base/format.h"
#include "base/format_settings.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

using kontaro::format;
using kontaro::FormatArg;
using kontaro::FormatError;
using kontaro::FormatSettingsGuard;
using kontaro::generalNumber;
using kontaro::Money;

namespace {

Money money(const char* text) {
    return Money::parse(QString::fromUtf8(text)).value();
}

struct FormatCase {
    const char* name;
    const char* pattern;
    std::vector<FormatArg> args;
    const char* expected;
};

void PrintTo(const FormatCase& c, std::ostream* out) {
    *out << c.pattern;
}

class FormatTest : public ::testing::TestWithParam<FormatCase> {
protected:
    FormatSettingsGuard m_settings{QLatin1Char(',')};
};

} // namespace

TEST_P(FormatTest, Formats) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(format(QString::fromUtf8(c.pattern), c.args), QString::fromUtf8(c.expected));
}

const std::int64_t Int64Min = std::numeric_limits<std::int64_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Directives, FormatTest,
    ::testing::Values(
        // Text
        FormatCase{"PrecisionCutsText", "%-11.11s|", {"ABCDEFGHIJKL"}, "ABCDEFGHIJK|"},
        FormatCase{"PrecisionTextPaddedLeft", "%6.6s", {"ab"}, "    ab"},
        FormatCase{"PrecisionTextPaddedRight", "%-6.6s|", {"ab"}, "ab    |"},
        FormatCase{"WidthNeverCutsText", "%4s", {"abcdef"}, "abcdef"},
        FormatCase{"LeftAlignedText", "%-4s|", {"ab"}, "ab  |"},
        FormatCase{"PlainTextWithUmlauts", "Konto %s:", {"Bank Überweisung"}, "Konto Bank Überweisung:"},
        FormatCase{"EmptyTextFillsWidth", "[%3s]", {""}, "[   ]"},
        // Integers
        FormatCase{"ZeroWithPrecisionZero", "%2.0d", {0}, " 0"},
        FormatCase{"ZeroPaddedDigits", "%5.3d", {7}, "  007"},
        FormatCase{"ZeroPaddedNegative", "%5.3d", {-7}, " -007"},
        FormatCase{"PrecisionBelowLength", "%.4d", {12345}, "12345"},
        FormatCase{"WidthNeverCutsInteger", "%3d", {12345}, "12345"},
        FormatCase{"LeftAlignedInteger", "%-5d|", {42}, "42   |"},
        FormatCase{"SmallestInteger", "%d", {Int64Min}, "-9223372036854775808"},
        // Numbers with thousands separators
        FormatCase{"NegativeRealWithGroups", "%13.2n", {-1234.5}, "    -1.234,50"},
        FormatCase{"NegativeMoneyWithGroups", "%13.2n", {money("-1234,5")}, "    -1.234,50"},
        FormatCase{"PlainNDefaultsToTwoDecimals", "%n", {money("1234567,891")}, "1.234.567,89"},
        FormatCase{"WidthWithoutPrecision", "%8n", {money("1,5")}, "    1,50"},
        FormatCase{"ZeroMoney", "%n", {Money()}, "0,00"}, FormatCase{"NoDecimals", "%.0n", {1234.5}, "1.235"},
        FormatCase{"NegativeHalfAwayFromZero", "%.0n", {-0.5}, "-1"},
        FormatCase{"MoneyTieAwayFromZero", "%.2n", {money("0,125")}, "0,13"},
        FormatCase{"NegativeMoneyTie", "%.2n", {money("-0,125")}, "-0,13"},
        FormatCase{"RoundedToZeroHasNoSign", "%.2n", {money("-0,0049")}, "0,00"},
        FormatCase{"CarryIntoNewGroup", "%10.2n", {999.999}, "  1.000,00"},
        FormatCase{"AllFourDecimals", "%.4n", {money("0,0001")}, "0,0001"},
        FormatCase{"IntegerAsNumber", "%n", {1234}, "1.234,00"},
        FormatCase{"WidthNeverCutsNumber", "%5.2n", {money("-123456,78")}, "-123.456,78"},
        FormatCase{"LargeRealGrouped", "%.0n", {1e20L}, "100.000.000.000.000.000.000"},
        FormatCase{"LeftAlignedNumber", "%-10.1n|", {money("1000")}, "1.000,0   |"},
        // Numbers without thousands separators
        FormatCase{"FixedRightAligned", "%15.2f", {money("-1234567,5")}, "    -1234567,50"},
        FormatCase{"FixedLeftAligned", "%-10.2f|", {3.5}, "3,50      |"},
        FormatCase{"FixedMorePrecisionThanMoneyHas", "%.6f", {money("1,5")}, "1,500000"},
        // Money is exact; a double is rounded as its binary value lies (2.675 is 2.67499...).
        FormatCase{"MoneyRoundsExactDecimal", "%.2f", {money("2,675")}, "2,68"},
        FormatCase{"DoubleRoundsItsBinaryValue", "%.2f", {2.675}, "2,67"},
        FormatCase{"DoubleSumNoiseDisappears", "%.2f", {0.1 + 0.2}, "0,30"},
        FormatCase{"Infinity", "%6.2f", {std::numeric_limits<double>::infinity()}, "   INF"},
        // Literal percent and several directives
        FormatCase{"PercentSign", "%%", {}, "%"},
        FormatCase{"PercentInText", "%d%% von %s", {20, "Netto"}, "20% von Netto"},
        FormatCase{
            "Columns", "%-10.10s%5d%12.2n", {"Kassa", 2700, money("-15,5")}, "Kassa      2700      -15,50"},
        FormatCase{"NoDirectives", "Summe", {}, "Summe"}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(Format, NumbersFollowTheSeparatorSettings) {
    FormatSettingsGuard guard;
    kontaro::FormatSettings english;
    english.decimalSeparator = QLatin1Char('.');
    english.thousandSeparator = QLatin1Char(',');
    kontaro::FormatSettings::setCurrent(english);
    EXPECT_EQ(format(QStringLiteral("%n|%.2f|%d"), {money("-1234,5"), money("-1234,5"), 1234}),
              QStringLiteral("-1,234.50|-1234.50|1234"));
    EXPECT_EQ(generalNumber(1234.5L), QStringLiteral("1234.5"));
}

// Appended to a line already begun, the fields are aligned as in a line of their own.
TEST(Format, AppendsToALineBegunAlready) {
    FormatSettingsGuard comma(QLatin1Char(','));
    const kontaro::Format amounts(QStringLiteral("%15.2f|%-4s|%6d"));
    QString line = QStringLiteral("2800\t");
    amounts.appendTo(line, {money("-1234,5"), "ab", 42});
    EXPECT_EQ(line, QStringLiteral("2800\t") + amounts({money("-1234,5"), "ab", 42}));
    EXPECT_EQ(line, QStringLiteral("2800\t       -1234,50|ab  |    42"));
}

// Lines longer than the formatter's own buffer come out as short ones do, also where a right-aligned
// field is longer than the buffer or starts just before it is handed on.
TEST(Format, LongLinesAlignAsShortOnes) {
    FormatSettingsGuard comma(QLatin1Char(','));
    const QString line =
        format(QStringLiteral("%-500s|%10d|%-300s|%20.2n|%600d"), {"a", 42, "b", money("1234,5"), 7});
    const QString expected = QStringLiteral("a").leftJustified(500) + QLatin1Char('|') +
                             QStringLiteral("42").rightJustified(10) + QLatin1Char('|') +
                             QStringLiteral("b").leftJustified(300) + QLatin1Char('|') +
                             QStringLiteral("1.234,50").rightJustified(20) + QLatin1Char('|') +
                             QStringLiteral("7").rightJustified(600);
    EXPECT_EQ(line, expected);
}

TEST(Format, MismatchedArgumentsThrow) {
    struct Case {
        const char* pattern;
        std::vector<FormatArg> args;
    };
    const Case cases[] = {
        {"%d", {}},    {"%s %s", {"a"}}, {"%s", {"a", "b"}},   {"%d", {"12"}},   {"%d", {money("1")}},
        {"%d", {1.0}}, {"%s", {5}},      {"%s", {money("1")}}, {"%n", {"1,00"}}, {"%f", {"1,00"}},
        {"%x", {5}},   {"%5", {5}},      {"Summe %", {}},      {"%-", {"a"}},
    };
    for (const Case& c : cases)
        EXPECT_THROW(format(QString::fromUtf8(c.pattern), c.args), FormatError) << c.pattern;
}

TEST(Format, ErrorNamesThePattern) {
    try {
        format(QStringLiteral("Saldo %13.2n"), {"x"});
        FAIL() << "no FormatError";
    } catch (const FormatError& error) {
        EXPECT_NE(std::string(error.what()).find("Saldo %13.2n"), std::string::npos) << error.what();
    }
}

TEST(GeneralNumber, ShortestFormWithFifteenDigits) {
    struct Case {
        long double value;
        const char* expected;
    };
    const Case cases[] = {
        {74074.0L / 12, "6172,83333333333"},
        {-1234.5L, "-1234,5"},
        {0.0L, "0"},
        {-0.0L, "0"},
        {100.0L, "100"},
        {0.1 + 0.2, "0,3"},
        {1.0 / 3, "0,333333333333333"},
        {2.0L / 3, "0,666666666666667"},
        {0.99999999999999999L, "1"},
        {999999999999999.0L, "999999999999999"},
        {1e15L, "1E15"},
        {-123456789012345678.0L, "-1,23456789012346E17"},
        {0.00001L, "0,00001"},
        {0.000001L, "1E-6"},
        {1.5e-7L, "1,5E-7"},
        {std::numeric_limits<long double>::infinity(), "INF"},
        {-std::numeric_limits<long double>::infinity(), "-INF"},
        {std::numeric_limits<long double>::quiet_NaN(), "NAN"},
    };
    FormatSettingsGuard german(QLatin1Char(','));
    for (const Case& c : cases)
        EXPECT_EQ(generalNumber(c.value), QString::fromUtf8(c.expected)) << c.expected;
}

TEST(ParseNumber, ReadsLocaleNumbers) {
    FormatSettingsGuard german(QLatin1Char(','));
    struct Case {
        const char* text;
        std::optional<long double> value;
    };
    const Case cases[] = {
        {"  -1234,5 ", -1234.5L},
        {"1,5E3", 1500.0L},
        {"2e-2", 0.02L},
        {",5", 0.5L},
        {"+7", 7.0L},
        {"0012", 12.0L},
        {"1.234,5", std::nullopt},
        {"1.5", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"1,2,3", std::nullopt},
        {",", std::nullopt},
        {"1e", std::nullopt},
        {"1e+", std::nullopt},
        {"- 1", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kontaro::parseNumber(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(ParseNumber, ReadsBackGeneralNumbers) {
    FormatSettingsGuard german(QLatin1Char(','));
    for (const long double value : {6172.83333333333L, -1234.5L, 1e15L, 1.5e-7L, 0.0L})
        EXPECT_EQ(kontaro::parseNumber(generalNumber(value)), value) << static_cast<double>(value);
}
