#pragma once

#include "base/words.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kontaro::scenario {

using words::takeWord;
using words::textArgument;

// One line of a scenario with the lines indented below it.
struct Step {
    int line = 0;               // 1-based line number in the file
    QString verb;               // first word
    QString arguments;          // the rest of the line, trimmed
    QStringList block;          // indented lines below the step, without their indentation
    std::vector<Step> children; // the block parsed as steps (for "books")
};

struct Scenario {
    QString file;
    QString name;
    int line = 0;
    std::vector<Step> steps;
};

// Reads a scenario file: "#" starts a comment line, blank lines are skipped, "scenario NAME" starts
// a new scenario (a file without it holds one scenario named after the file). Lines indented below a
// step belong to its block. Texts are UTF-8.
std::vector<Scenario> parseScenarioFile(const QString& path, const QString& text);

// Block lines of the form "| text" give "text" exactly (blanks kept); other lines are taken trimmed.
QStringList blockTexts(const QStringList& block);

} // namespace kontaro::scenario
