#include "base/decimal_digits.h"
#include "base/format.h"
#include "base/format_settings.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

using kontaro::DecimalDigits;
using kontaro::Format;
using kontaro::FormatArg;
using kontaro::FormatError;
using kontaro::FormatSettingsGuard;
using kontaro::Money;

namespace {

// The exact decimal rounding that floating values go through, as the reference for the integer
// arithmetic that amounts and integers take.
QString viaDigits(std::int64_t value, int scale, int decimals, QChar group) {
    DecimalDigits digits = DecimalDigits::fromScaled(value, scale);
    digits.roundToDecimals(decimals);
    const QString text = digits.fixed(decimals, QLatin1Char(','), group);
    return digits.isNegative() ? QLatin1Char('-') + text : text;
}

std::vector<std::int64_t> sampleValues() {
    constexpr std::int64_t Max = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t Min = std::numeric_limits<std::int64_t>::min();
    std::vector<std::int64_t> values = {Max, Min, Max - 4999, Min + 5000, 999999995000, -999999995000};
    // Every tie, carry and group boundary of the low digits, on both signs.
    for (std::int64_t v = -10050; v <= 10050; ++v)
        values.push_back(v);
    for (std::int64_t power = 10; power < Max / 10; power *= 10) {
        for (const std::int64_t near : {power - 1, power, power + 5, power * 5 - 50})
            values.insert(values.end(), {near, -near});
    }
    return values;
}

} // namespace

TEST(FormatPattern, AmountsAndIntegersRoundLikeExactDecimalDigits) {
    FormatSettingsGuard guard;
    kontaro::FormatSettings::setCurrent(kontaro::FormatSettings{});
    const std::vector<std::int64_t> values = sampleValues();
    for (const int decimals : {0, 1, 2, 3, 4, 6}) {
        const Format grouped(QStringLiteral("%.%1n").arg(decimals));
        const Format plain(QStringLiteral("%.%1f").arg(decimals));
        for (const std::int64_t v : values) {
            ASSERT_EQ(grouped({Money::fromUnits(v)}), viaDigits(v, 4, decimals, QLatin1Char('.')))
                << v << " units, " << decimals << " decimals";
            ASSERT_EQ(plain({Money::fromUnits(v)}), viaDigits(v, 4, decimals, QChar())) << v;
            ASSERT_EQ(grouped({v}), viaDigits(v, 0, decimals, QLatin1Char('.'))) << v;
        }
    }
}

TEST(FormatPattern, ReusedPatternGivesTheLinesOfFormat) {
    FormatSettingsGuard settings{QLatin1Char(',')};
    const QString pattern = QStringLiteral("%4d%1.1s %10.10s %12.2n %-8.8s%% %-25s|");
    const Format line(pattern);
    const std::vector<std::vector<FormatArg>> rows = {
        {1, "#", "2702", Money::fromCents(12000), "R-1", "Tageslosung"},
        {12345, "", "", Money::fromCents(-1), "Beleg-Nummer-lang", ""},
        {-7, "=", "Überweisung Bank", Money(), "", QString(30, QLatin1Char('x'))},
    };
    for (const std::vector<FormatArg>& row : rows)
        EXPECT_EQ(line(row), kontaro::format(pattern, row));
}

TEST(FormatPattern, SeparatorsAreReadPerLine) {
    const Format line(QStringLiteral("%n"));
    FormatSettingsGuard guard;
    kontaro::FormatSettings english;
    english.decimalSeparator = QLatin1Char('.');
    english.thousandSeparator = QLatin1Char(',');
    kontaro::FormatSettings::setCurrent(english);
    EXPECT_EQ(line({Money::fromCents(-123456)}), QStringLiteral("-1,234.56"));
}

// Faults surface in the order format() meets them: an argument before a bad directive first.
TEST(FormatPattern, FaultsComeInPatternOrder) {
    struct Case {
        const char* pattern;
        std::vector<FormatArg> args;
        const char* fault;
    };
    const Case cases[] = {
        {"%d %q", {"x"}, "passt nicht"},        {"%d %q", {}, "fehlt"},
        {"%d %q", {1}, "unbekannte Anweisung"}, {"%s %5", {"a", 1}, "unvollständige Anweisung"},
        {"%s %1001s", {"a"}, "über 1000"},      {"%s", {"a", "b"}, "2 Argumente übergeben, 1 verwendet"},
    };
    for (const Case& c : cases) {
        const Format format(QString::fromUtf8(c.pattern)); // never throws itself
        try {
            format(c.args);
            ADD_FAILURE() << c.pattern << ": no FormatError";
        } catch (const FormatError& error) {
            EXPECT_NE(std::string(error.what()).find(c.fault), std::string::npos) << error.what();
        }
    }
}
