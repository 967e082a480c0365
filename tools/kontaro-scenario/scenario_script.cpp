#include "scenario_script.h"

#include <QFileInfo>

namespace kontaro::scenario {

namespace {

int indentation(const QString& line) {
    int n = 0;
    while (n < line.size() && (line[n] == QLatin1Char(' ') || line[n] == QLatin1Char('\t')))
        ++n;
    return n;
}

bool isSkipped(const QString& line) {
    const QString trimmed = line.trimmed();
    return trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#'));
}

Step makeStep(int lineNumber, const QString& text) {
    Step step;
    step.line = lineNumber;
    step.arguments = text.trimmed();
    step.verb = takeWord(step.arguments);
    return step;
}

// Parses lines [from, to) at one indentation level into steps with their blocks.
std::vector<Step> parseSteps(const QStringList& lines, int from, int to) {
    std::vector<Step> steps;
    int i = from;
    while (i < to) {
        if (isSkipped(lines[i])) {
            ++i;
            continue;
        }
        const int level = indentation(lines[i]);
        Step step = makeStep(i + 1, lines[i]);
        int j = i + 1;
        while (j < to && (lines[j].trimmed().isEmpty() || indentation(lines[j]) > level))
            ++j;
        int blockEnd = j;
        while (blockEnd > i + 1 && lines[blockEnd - 1].trimmed().isEmpty())
            --blockEnd;
        if (blockEnd > i + 1) {
            const int blockIndent = indentation(lines[i + 1]);
            for (int k = i + 1; k < blockEnd; ++k)
                step.block << lines[k].mid(std::min(blockIndent, indentation(lines[k])));
            step.children = parseSteps(lines, i + 1, blockEnd);
        }
        steps.push_back(std::move(step));
        i = j;
    }
    return steps;
}

} // namespace

QStringList blockTexts(const QStringList& block) {
    QStringList texts;
    for (const QString& line : block) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('|'))) {
            const qsizetype bar = line.indexOf(QLatin1Char('|'));
            QString rest = line.mid(bar + 1);
            if (rest.startsWith(QLatin1Char(' ')))
                rest.remove(0, 1); // "| text": the one blank after the bar is a separator
            texts << rest;
        } else if (!trimmed.isEmpty() && !trimmed.startsWith(QLatin1Char('#'))) {
            texts << trimmed;
        }
    }
    return texts;
}

std::vector<Scenario> parseScenarioFile(const QString& path, const QString& text) {
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = normalized.split(QLatin1Char('\n'));
    std::vector<Step> steps = parseSteps(lines, 0, static_cast<int>(lines.size()));

    std::vector<Scenario> scenarios;
    for (Step& step : steps) {
        if (step.verb == QLatin1String("scenario")) {
            scenarios.push_back({path, textArgument(step.arguments), step.line, std::move(step.children)});
            continue;
        }
        if (scenarios.empty())
            scenarios.push_back({path, QFileInfo(path).completeBaseName(), 1, {}});
        scenarios.back().steps.push_back(std::move(step));
    }
    return scenarios;
}

} // namespace kontaro::scenario
