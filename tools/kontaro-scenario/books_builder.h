#pragma once

#include "scenario_script.h"

#include <QString>

namespace kontaro::scenario {

// Builds a data directory from the lines of a "books" block: empty books, then the settings,
// accounts, journal lines, ledger lines and files the lines name.
void buildBooksDirectory(const QString& directory, const std::vector<Step>& lines);

// "Field=Value" words of a line into pairs; values may be quoted.
QList<std::pair<QString, QString>> fieldAssignments(QString text);

} // namespace kontaro::scenario
