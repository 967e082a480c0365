// kontaro-scenario FILE...: runs plain-text scenarios against the program without a display.
#include "base/errors.h"
#include "base/text_file.h"
#include "scenario_runner.h"
#include "scenario_script.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList files = application.arguments().mid(1);
    if (files.isEmpty()) {
        std::fputs("Aufruf: kontaro-scenario DATEI...\n", stderr);
        return 2;
    }
    int passed = 0;
    int failed = 0;
    for (const QString& file : files) {
        std::vector<kontaro::scenario::Scenario> scenarios;
        try {
            scenarios =
                kontaro::scenario::parseScenarioFile(file, QString::fromUtf8(kontaro::text::readFile(file)));
        } catch (const kontaro::UserError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            ++failed;
            continue;
        }
        for (const auto& scenario : scenarios) {
            QStringList failures;
            kontaro::scenario::ScenarioRunner runner(scenario);
            if (runner.run(failures)) {
                ++passed;
                continue;
            }
            ++failed;
            std::fprintf(stderr, "FEHLER in \"%s\":\n", qPrintable(scenario.name));
            for (const QString& failure : failures)
                std::fprintf(stderr, "  %s\n", qPrintable(failure));
        }
    }
    std::fprintf(stderr, "%d Szenarien bestanden, %d fehlgeschlagen\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
