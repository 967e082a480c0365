#include "base/field_text.h"

#include "base/decimal_digits.h"
#include "base/format_settings.h"

namespace kontaro {

namespace {

QString storedText(Money amount, bool grouped, bool leadingZero) {
    const FormatSettings& settings = FormatSettings::current();
    const DecimalDigits digits = DecimalDigits::fromScaled(amount.stored().cents(), 2);
    QString text = digits.fixed(2, settings.decimalSeparator, grouped ? settings.thousandSeparator : QChar());
    if (!leadingZero && digits.pointPosition() <= 0)
        text.remove(0, 1); // the "0" before the separator
    return digits.isNegative() ? QLatin1Char('-') + text : text;
}

} // namespace

QString moneyEditText(std::optional<Money> amount) {
    return amount ? storedText(*amount, false, false) : QString();
}

QString moneyDisplayText(std::optional<Money> amount) {
    return amount ? storedText(*amount, true, true) : QString();
}

QString dateFieldText(const QDate& date) {
    return formatShortDate(date);
}

QString integerFieldText(std::optional<std::int64_t> value) {
    return value ? QString::number(*value) : QString();
}

std::optional<Money> parseMoneyText(const QString& text) {
    const FormatSettings& settings = FormatSettings::current();
    return Money::parse(text, settings.decimalSeparator, settings.thousandSeparator);
}

QString withoutControlCharacters(QString text, bool keepLineBreaks) {
    text.removeIf([keepLineBreaks](QChar ch) {
        return ch.category() == QChar::Other_Control &&
               !(keepLineBreaks && (ch == QLatin1Char('\n') || ch == QLatin1Char('\r')));
    });
    return text;
}

QString cutText(const QString& text, qsizetype width) {
    if (width < 0 || text.size() <= width)
        return text;
    if (width > 0 && text[width - 1].isHighSurrogate())
        --width;
    return text.left(width);
}

} // namespace kontaro
