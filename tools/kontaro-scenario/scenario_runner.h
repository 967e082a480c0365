#pragma once

#include "forms/scripted_ui.h"
#include "scenario_script.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>

namespace kontaro::app {
class T_Kontaro;
}
namespace kontaro::forms {
class Form;
class Control;
} // namespace kontaro::forms

namespace kontaro::scenario {

// A step that did not do what the scenario expected.
class StepFailure : public std::runtime_error {
public:
    explicit StepFailure(const QString& text)
        : std::runtime_error(text.toStdString())
        , message(text) {}
    QString message;
};

// Runs one scenario against the real program in a fresh temporary directory.
class ScenarioRunner {
public:
    explicit ScenarioRunner(const Scenario& scenario);
    ~ScenarioRunner();

    // True when every step passed; failures are "file:line: text".
    bool run(QStringList& failures);

private:
    void execute(const Step& step);
    void act(const Step& step);
    void expect(const Step& step);
    void expectControl(forms::Form& form, const QString& controlName, QString arguments, const Step& step);
    void expectForm(forms::Form& form, QString arguments);
    // With `containing`, the shown text only has to contain `expected`.
    void expectShown(const QString& kind, const QString& expected, bool containing = false);
    void expectFile(const QString& name, QString arguments, const Step& step);
    void expectXml(QString arguments, const Step& step);
    void expectRow(QString arguments);
    void expectPrinted(const QString& arguments, const Step& step);
    void expectNoUncheckedErrors();
    void typeIntoCell(forms::Form& form, const QString& control, QString arguments);
    void buildBooks(const Step& step);
    void copyBooks(QString source);
    void startProgram(const QString& directoryName);
    void startSecondProgram();

    app::T_Kontaro& app();
    forms::Form& form(const QString& name);
    // "form.control" split at the first dot.
    std::pair<forms::Form*, QString> target(const QString& word);

    const Scenario& m_scenario;
    QTemporaryDir m_root;
    QString m_directory;
    forms::ScriptedUi m_ui;
    std::unique_ptr<app::T_Kontaro> m_app;
    std::size_t m_checked = 0;        // shown entries already matched by expectations
    std::size_t m_printedChecked = 0; // printed jobs already matched by expectations
};

} // namespace kontaro::scenario
