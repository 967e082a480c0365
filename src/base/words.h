#pragma once

#include <QList>
#include <QString>
#include <utility>

namespace kontaro::words {

// Splits off the first word of text (a word may be quoted with "..."); the text keeps the rest.
QString takeWord(QString& text);
// A text argument: the whole text, without one pair of enclosing double quotes if it has them.
// Quotes inside stay as they are, so "Verwende "Druck-Symbol" im Hauptbuch!" keeps its inner quotes.
QString textArgument(const QString& text);
// "Field=Value" words into pairs; values may be quoted. Malformed text throws UserError.
QList<std::pair<QString, QString>> fieldAssignments(QString text);

} // namespace kontaro::words
