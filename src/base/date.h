#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace kontaro {

// Day 0 of the date arithmetic the books use (30.12.1899); also the value of an unset date setting.
QDate zeroDate();

// "dd.mm.yyyy"; a null date gives an empty text.
QString formatDate(const QDate& date);

// Strict short date text "dd.mm.yyyy" (one-digit day and month accepted), as stored in files.
std::optional<QDate> parseShortDate(const QString& text);

} // namespace kontaro
