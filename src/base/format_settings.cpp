#include "base/format_settings.h"

#include "base/clock.h"

namespace kontaro {

namespace {

FormatSettings& settings() {
    static FormatSettings value;
    return value;
}

} // namespace

const FormatSettings& FormatSettings::current() {
    return settings();
}

void FormatSettings::setCurrent(const FormatSettings& newSettings) {
    settings() = newSettings;
}

void FormatSettings::setDecimalSeparator(QChar separator) {
    settings().decimalSeparator = separator;
}

void FormatSettings::resetToGerman() {
    settings() = german();
}

FormatSettingsGuard::FormatSettingsGuard()
    : m_saved(FormatSettings::current()) {}

FormatSettingsGuard::FormatSettingsGuard(QChar decimalSeparator)
    : FormatSettingsGuard() {
    FormatSettings::setDecimalSeparator(decimalSeparator);
}

FormatSettingsGuard::~FormatSettingsGuard() {
    FormatSettings::setCurrent(m_saved);
}

QString formatShortDate(const QDate& date) {
    if (!date.isValid())
        return {};
    return date.toString(FormatSettings::current().shortDateFormat);
}

QString formatLongTime(const QTime& time) {
    if (!time.isValid())
        return {};
    return time.toString(FormatSettings::current().longTimeFormat);
}

QString currentDateText() {
    return formatShortDate(Clock::today());
}

QString currentTimeText() {
    return formatLongTime(Clock::now().time());
}

} // namespace kontaro
