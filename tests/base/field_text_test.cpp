#include "base/field_text.h"
#include "base/format_settings.h"
#include "qstring_printer.h"

#include <gtest/gtest.h>

using kontaro::FormatSettingsGuard;
using kontaro::Money;

namespace {

std::optional<Money> money(const char* text) {
    return Money::parse(QString::fromUtf8(text)).value();
}

class FieldTextTest : public ::testing::Test {
protected:
    FormatSettingsGuard m_settings{QLatin1Char(',')};
};

} // namespace

TEST_F(FieldTextTest, MoneyEditForm) {
    struct Case {
        std::optional<Money> amount;
        const char* expected;
    };
    const Case cases[] = {
        {std::nullopt, ""},          {money("0"), ",00"},          {money("0,5"), ",50"},
        {money("-0,5"), "-,50"},     {money("1234,5"), "1234,50"}, {money("1"), "1,00"},
        {money("12,0167"), "12,01"}, {money("-0,0099"), ",00"},    {money("-1234567,89"), "-1234567,89"},
        {money("0,999"), ",99"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kontaro::moneyEditText(c.amount), QString::fromUtf8(c.expected)) << c.expected;
}

TEST_F(FieldTextTest, MoneyDisplayForm) {
    struct Case {
        std::optional<Money> amount;
        const char* expected;
    };
    const Case cases[] = {
        {std::nullopt, ""},
        {money("1234,56"), "1.234,56"},
        {money("0"), "0,00"},
        {money("-1234,56"), "-1.234,56"},
        {money("-0,5"), "-0,50"},
        {money("999,999"), "999,99"},
        {money("1000000"), "1.000.000,00"},
        {money("-0,0099"), "0,00"},
        {money("123456,7"), "123.456,70"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kontaro::moneyDisplayText(c.amount), QString::fromUtf8(c.expected)) << c.expected;
}

TEST_F(FieldTextTest, DateAndIntegerFields) {
    EXPECT_EQ(kontaro::dateFieldText(QDate()), QString());
    EXPECT_EQ(kontaro::dateFieldText(QDate(2026, 3, 5)), QStringLiteral("05.03.2026"));
    EXPECT_EQ(kontaro::integerFieldText(std::nullopt), QString());
    EXPECT_EQ(kontaro::integerFieldText(0), QStringLiteral("0"));
    EXPECT_EQ(kontaro::integerFieldText(-42), QStringLiteral("-42"));
}

TEST_F(FieldTextTest, MoneyFollowsTheSeparatorSettings) {
    kontaro::FormatSettings english;
    english.decimalSeparator = QLatin1Char('.');
    english.thousandSeparator = QLatin1Char(',');
    kontaro::FormatSettings::setCurrent(english);
    EXPECT_EQ(kontaro::moneyDisplayText(money("-1234,5")), QStringLiteral("-1,234.50"));
    EXPECT_EQ(kontaro::moneyEditText(money("0,5")), QStringLiteral(".50"));
    EXPECT_EQ(kontaro::parseMoneyText(QStringLiteral("1,234.56")), money("1234,56"));
}

TEST(CutText, NeverHalvesACharacterOutsideTheBasicPlane) {
    const QString emoji = QStringLiteral("😀"); // two UTF-16 units
    struct Case {
        QString text;
        qsizetype width;
        QString cut;
    };
    const Case cases[] = {
        {QStringLiteral("abc"), 5, QStringLiteral("abc")},
        {QStringLiteral("abcdef"), 3, QStringLiteral("abc")},
        {QStringLiteral("ab") + emoji, 3, QStringLiteral("ab")},
        {QStringLiteral("ab") + emoji, 4, QStringLiteral("ab") + emoji},
        {QStringLiteral("ab") + emoji + QStringLiteral("c"), 4, QStringLiteral("ab") + emoji},
        {emoji, 1, QString()},
        {QStringLiteral("Grüße"), 4, QStringLiteral("Grüß")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kontaro::cutText(c.text, c.width), c.cut) << c.text.toStdString() << " / " << c.width;
}
