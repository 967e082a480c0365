#pragma once

#include <QDate>
#include <QString>
#include <ostream>

// Lets GoogleTest show QString and QDate values as text in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QDate& date, std::ostream* out) {
    *out << (date.isValid() ? date.toString(Qt::ISODate).toStdString() : std::string("null date"));
}
