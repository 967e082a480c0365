#pragma once

#include <QString>
#include <QStringList>

namespace kontaro::data {

// Every table file of a data directory, in the program's spelling.
QStringList bookTableFiles();

// Creates the directory if needed and every table of the books in it, empty. A table that already
// exists is an error (FileError); nothing is overwritten.
void createEmptyBooks(const QString& directory);

} // namespace kontaro::data
