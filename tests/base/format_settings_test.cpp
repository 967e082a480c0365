#include "base/clock.h"
#include "base/format_settings.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>
#include <stdexcept>

using kontaro::FormatSettings;
using kontaro::FormatSettingsGuard;

TEST(FormatSettings, GermanByDefault) {
    const FormatSettings german = FormatSettings::german();
    EXPECT_EQ(german.decimalSeparator, QLatin1Char(','));
    EXPECT_EQ(german.thousandSeparator, QLatin1Char('.'));
    EXPECT_EQ(FormatSettings::current(), german);
}

TEST(FormatSettings, GuardRestoresDecimalSeparatorAlsoAfterAnError) {
    try {
        FormatSettingsGuard guard(QLatin1Char('.'));
        EXPECT_EQ(FormatSettings::current().decimalSeparator, QLatin1Char('.'));
        throw std::runtime_error("export failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(FormatSettings::current().decimalSeparator, QLatin1Char(','));
}

TEST(FormatSettings, FooterDateAndTimeComeFromTheClock) {
    kontaro::FixedClock clock(QDateTime(QDate(2026, 3, 5), QTime(7, 8, 9)));
    EXPECT_EQ(kontaro::currentDateText(), QStringLiteral("05.03.2026"));
    EXPECT_EQ(kontaro::currentTimeText(), QStringLiteral("07:08:09"));
    EXPECT_EQ(kontaro::formatShortDate(QDate()), QString());
}
