#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace kontaro {

// Day 0 of the date arithmetic the books use (30.12.1899); also the value of an unset date setting.
QDate zeroDate();

// "dd.mm.yyyy"; a null date gives an empty text.
QString formatDate(const QDate& date);
// The same appended to a text being built.
void appendDate(QString& out, const QDate& date);

// Strict short date text "dd.mm.yyyy" (one-digit day and month accepted), as stored in files.
std::optional<QDate> parseShortDate(const QString& text);

// A date as a user types it: "1.1" (the current year of Clock), "1.1.26", "01.01.2026", blanks
// around it allowed; a trailing dot after the month is accepted ("1.1."). Day and month take one or
// two digits, the year one, two or four. One- and two-digit years fall in a fixed window:
// 00-49 -> 2000-2049, 50-99 -> 1950-1999. Anything else, or a date that does not exist: nullopt.
std::optional<QDate> parseUserDate(const QString& text);

// The fiscal year a data directory is named after ("KT2026"), else the current year of Clock.
int yearOfDataDirectory(const QString& directory);

} // namespace kontaro
