#pragma once

#include <QChar>
#include <QDate>
#include <QString>
#include <QTime>

namespace kontaro {

// The user's number, date and time conventions. The program runs with the German ones; tests and
// the ledger export switch the decimal separator for a while and restore it (FormatSettingsGuard).
// Date and time patterns use Qt's notation ("dd.MM.yyyy", "hh:mm:ss").
struct FormatSettings {
    QChar decimalSeparator = QLatin1Char(',');
    QChar thousandSeparator = QLatin1Char('.');
    QString shortDateFormat = QStringLiteral("dd.MM.yyyy");
    QString longTimeFormat = QStringLiteral("hh:mm:ss");

    static FormatSettings german() { return {}; }

    // The process-wide settings every formatting function reads (user-interface thread only).
    static const FormatSettings& current();
    static void setCurrent(const FormatSettings& settings);
    static void setDecimalSeparator(QChar separator);
    static void resetToGerman();

    bool operator==(const FormatSettings&) const = default;
};

// Restores the settings that were in force when it was made, also when an exception leaves the scope.
class FormatSettingsGuard {
public:
    FormatSettingsGuard();
    // Switches the decimal separator for the guard's lifetime.
    explicit FormatSettingsGuard(QChar decimalSeparator);
    ~FormatSettingsGuard();
    FormatSettingsGuard(const FormatSettingsGuard&) = delete;
    FormatSettingsGuard& operator=(const FormatSettingsGuard&) = delete;

private:
    FormatSettings m_saved;
};

// In the current settings' short date / long time format; a null value gives an empty text.
QString formatShortDate(const QDate& date);
QString formatLongTime(const QTime& time);

// Today's date and the current time from Clock, as report footers print them
// ("gedruckt am <date> um <time>").
QString currentDateText();
QString currentTimeText();

} // namespace kontaro
