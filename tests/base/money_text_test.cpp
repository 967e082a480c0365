#include "base/format_settings.h"
#include "base/money_text.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>

namespace kontaro {
namespace {

Money money(const char* text) {
    return Money::parse(QString::fromUtf8(text)).value();
}

TEST(MoneyText, EachFormatAsItsNameSays) {
    struct Case {
        const char* amount;
        const char* grouped;
        const char* twoDecimals;
        const char* exactComma;
        const char* pointCents;
    };
    const Case cases[] = {
        {"0", "0,00", "0,00", "0,00", "0.00"},
        {"-0,05", "-0,05", "-0,05", "-0,05", "-0.05"},
        {"12345,6", "12.345,60", "12345,60", "12345,60", "12345.60"},
        {"-1234567,89", "-1.234.567,89", "-1234567,89", "-1234567,89", "-1234567.89"},
    };
    FormatSettingsGuard german;
    FormatSettings::setCurrent(FormatSettings::german());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount);
        const Money amount = money(c.amount);
        EXPECT_EQ(moneyGroupedText(amount), QString::fromUtf8(c.grouped));
        EXPECT_EQ(moneyTwoDecimalsText(amount), QString::fromUtf8(c.twoDecimals));
        EXPECT_EQ(moneyExactCommaText(amount), QString::fromUtf8(c.exactComma));
        EXPECT_EQ(moneyPointCentsText(amount), QString::fromUtf8(c.pointCents));
    }
}

// Below the cent: the exact text keeps every digit, the point text rounds a half cent to the even cent.
TEST(MoneyText, DigitsBelowTheCent) {
    struct Case {
        const char* amount;
        const char* exactComma;
        const char* pointCents;
    };
    const Case cases[] = {
        {"0,005", "0,0050", "0.00"},  {"0,015", "0,0150", "0.02"},  {"-0,015", "-0,0150", "-0.02"},
        {"2,0049", "2,0049", "2.00"}, {"2,0051", "2,0051", "2.01"}, {"-7,1", "-7,10", "-7.10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount);
        EXPECT_EQ(moneyExactCommaText(money(c.amount)), QString::fromUtf8(c.exactComma));
        EXPECT_EQ(moneyPointCentsText(money(c.amount)), QString::fromUtf8(c.pointCents));
    }
}

// Only the first two follow the separator settings; the others are read by people comparing
// figures and by machines, whatever the settings say.
TEST(MoneyText, OnlyTheSettingsFormatsFollowTheSeparators) {
    FormatSettingsGuard guard;
    FormatSettings english;
    english.decimalSeparator = QLatin1Char('.');
    english.thousandSeparator = QLatin1Char(',');
    FormatSettings::setCurrent(english);
    const Money amount = money("-1234,5");
    EXPECT_EQ(moneyGroupedText(amount), QStringLiteral("-1,234.50"));
    EXPECT_EQ(moneyTwoDecimalsText(amount), QStringLiteral("-1234.50"));
    EXPECT_EQ(moneyExactCommaText(amount), QStringLiteral("-1234,50"));
    EXPECT_EQ(moneyPointCentsText(amount), QStringLiteral("-1234.50"));
}

} // namespace
} // namespace kontaro
