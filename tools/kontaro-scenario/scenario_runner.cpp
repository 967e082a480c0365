#include "scenario_runner.h"

#include "app/main_menu.h"
#include "app/t_kontaro.h"
#include "base/clock.h"
#include "base/date.h"
#include "base/errors.h"
#include "base/format_settings.h"
#include "base/text_file.h"
#include "data/books_builder.h"
#include "forms/form.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTime>

namespace kontaro::scenario {

using forms::Answer;

namespace {

Answer answerFromWord(const QString& word) {
    static const QList<std::pair<const char*, Answer>> answers = {
        {"yes", Answer::Yes},          {"ja", Answer::Yes}, {"no", Answer::No},
        {"nein", Answer::No},          {"ok", Answer::Ok},  {"cancel", Answer::Cancel},
        {"abbrechen", Answer::Cancel},
    };
    for (const auto& [name, answer] : answers)
        if (word.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return answer;
    throw StepFailure(QStringLiteral("unbekannte Antwort \"%1\" (yes, no, ok, cancel)").arg(word));
}

forms::WindowState stateFromWord(const QString& word) {
    if (word == QLatin1String("normal"))
        return forms::WindowState::Normal;
    if (word == QLatin1String("minimized"))
        return forms::WindowState::Minimized;
    if (word == QLatin1String("maximized"))
        return forms::WindowState::Maximized;
    throw StepFailure(QStringLiteral("unbekannter Fensterzustand \"%1\"").arg(word));
}

QDateTime clockValue(QString text) {
    const QString dateText = takeWord(text);
    const std::optional<QDate> date = parseShortDate(dateText);
    if (!date)
        throw StepFailure(QStringLiteral("Datum tt.mm.jjjj erwartet: %1").arg(dateText));
    QTime time(12, 0, 0);
    if (!text.isEmpty()) {
        time = QTime::fromString(text.trimmed(), QStringLiteral("hh:mm:ss"));
        if (!time.isValid())
            throw StepFailure(QStringLiteral("Uhrzeit hh:mm:ss erwartet: %1").arg(text));
    }
    return QDateTime(*date, time);
}

} // namespace

ScenarioRunner::ScenarioRunner(const Scenario& scenario)
    : m_scenario(scenario) {}

ScenarioRunner::~ScenarioRunner() {
    m_app.reset();
    Clock::reset();
    FormatSettings::resetToGerman();
}

bool ScenarioRunner::run(QStringList& failures) {
    if (!m_root.isValid()) {
        failures << QStringLiteral("%1: kein temporäres Verzeichnis").arg(m_scenario.file);
        return false;
    }
    // Results must not depend on the day the tests run: until a `clock` step says otherwise, today
    // is the day these scenarios were written.
    Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
    for (const Step& step : m_scenario.steps) {
        try {
            execute(step);
        } catch (const StepFailure& e) {
            failures << QStringLiteral("%1:%2: %3").arg(m_scenario.file).arg(step.line).arg(e.message);
            return false;
        } catch (const UserError& e) {
            failures
                << QStringLiteral("%1:%2: Fehler: %3").arg(m_scenario.file).arg(step.line).arg(e.message());
            return false;
        } catch (const std::exception& e) {
            failures << QStringLiteral("%1:%2: %3")
                            .arg(m_scenario.file)
                            .arg(step.line)
                            .arg(QString::fromUtf8(e.what()));
            return false;
        }
    }
    try {
        expectNoUncheckedErrors();
    } catch (const StepFailure& e) {
        failures << QStringLiteral("%1: am Ende: %2").arg(m_scenario.file, e.message);
        return false;
    }
    return true;
}

app::T_Kontaro& ScenarioRunner::app() {
    if (!m_app)
        throw StepFailure(QStringLiteral("das Programm läuft nicht (\"start\" fehlt)"));
    return *m_app;
}

forms::Form& ScenarioRunner::form(const QString& name) {
    QString componentName = name;
    if (componentName.startsWith(QLatin1String("T_")))
        componentName = componentName.mid(1);
    else if (!componentName.startsWith(QLatin1Char('_')))
        componentName.prepend(QLatin1Char('_'));
    forms::Form* found = app().child(componentName);
    if (!found)
        throw StepFailure(QStringLiteral("kein Fenster \"%1\"").arg(name));
    return *found;
}

std::pair<forms::Form*, QString> ScenarioRunner::target(const QString& word) {
    const qsizetype dot = word.indexOf(QLatin1Char('.'));
    if (dot <= 0)
        return {&form(word), QString()};
    forms::Form& f = form(word.left(dot));
    const QString control = word.mid(dot + 1);
    if (!f.hasControl(control))
        throw StepFailure(
            QStringLiteral("kein Element \"%1\" im Fenster %2").arg(control, f.componentName()));
    return {&f, control};
}

void ScenarioRunner::execute(const Step& step) {
    if (step.verb == QLatin1String("expect"))
        expect(step);
    else
        act(step);
}

void ScenarioRunner::act(const Step& step) {
    QString rest = step.arguments;
    const QString& verb = step.verb;
    if (verb == QLatin1String("books")) {
        buildBooks(step);
    } else if (verb == QLatin1String("clock")) {
        Clock::setFixed(clockValue(rest));
    } else if (verb == QLatin1String("start")) {
        if (rest == QLatin1String("another"))
            startSecondProgram();
        else
            startProgram(textArgument(rest));
    } else if (verb == QLatin1String("format")) {
        // format decimal , | . : the user's decimal separator, as the desktop's regional settings set it.
        const QString separator = rest.mid(rest.indexOf(QLatin1Char(' ')) + 1).trimmed();
        if (!rest.startsWith(QLatin1String("decimal ")) || separator.size() != 1)
            throw StepFailure(QStringLiteral("\"format decimal ,\" oder \"format decimal .\" erwartet"));
        FormatSettings::setDecimalSeparator(separator.front());
    } else if (verb == QLatin1String("answer")) {
        m_ui.answerQuestion(answerFromWord(rest));
    } else if (verb == QLatin1String("input")) {
        m_ui.answerInput(rest == QLatin1String("cancel") ? std::nullopt
                                                         : std::optional<QString>(textArgument(rest)));
    } else if (verb == QLatin1String("filedialog")) {
        m_ui.answerFile(rest == QLatin1String("cancel") ? std::nullopt
                                                        : std::optional<QString>(textArgument(rest)));
    } else if (verb == QLatin1String("shellopen")) {
        m_ui.setShellOpenResult(rest != QLatin1String("fails"));
    } else if (verb == QLatin1String("printer")) {
        m_ui.setPrinterFails(rest == QLatin1String("fails"));
    } else if (verb == QLatin1String("menu")) {
        const app::MenuEntry* entry = app::findMenuEntry(textArgument(rest));
        if (!entry || entry->command == app::Command::None)
            throw StepFailure(QStringLiteral("kein Menüeintrag \"%1\"").arg(textArgument(rest)));
        app().command(entry->command);
    } else if (verb == QLatin1String("close")) {
        app().closeMainWindow();
    } else if (verb == QLatin1String("activate")) {
        app().activateWindow(form(rest).componentName());
    } else if (verb == QLatin1String("window")) {
        // window FORM normal|minimized|maximized   or   window FORM TOP LEFT HEIGHT WIDTH
        forms::Form& f = form(takeWord(rest));
        const QStringList numbers = rest.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (numbers.size() == 4)
            f.geometry = {numbers[0].toInt(), numbers[1].toInt(), numbers[2].toInt(), numbers[3].toInt()};
        else
            f.windowState = stateFromWord(rest);
    } else {
        const auto [f, control] = target(takeWord(rest));
        if (control.isEmpty())
            throw StepFailure(QStringLiteral("FENSTER.ELEMENT erwartet"));
        if (verb == QLatin1String("focus"))
            f->focus(control);
        else if (verb == QLatin1String("type"))
            f->type(control, textArgument(rest));
        else if (verb == QLatin1String("key"))
            f->key(control, textArgument(rest));
        else if (verb == QLatin1String("click"))
            f->click(control);
        else if (verb == QLatin1String("doubleclick"))
            f->doubleClick(control);
        else if (verb == QLatin1String("drop"))
            f->drop(control, textArgument(rest));
        else if (verb == QLatin1String("select")) {
            forms::Control& c = f->control(control);
            const QString item = textArgument(rest);
            if (c.kind() == forms::ControlKind::Grid && c.grid) {
                // A grid row by its number, counted from 1, as a press on it makes it current.
                bool isNumber = false;
                const int row = item.toInt(&isNumber);
                if (!isNumber || row < 1 || row > c.grid->rowCount())
                    throw StepFailure(QStringLiteral("keine Zeile \"%1\" in %2").arg(item, control));
                // Leaving a row in edit saves it, so this is a user action like any other.
                app().run([&] { c.grid->setCurrentRow(row - 1); });
                return;
            }
            c.selected = static_cast<int>(c.items.indexOf(item));
            if (c.selected < 0)
                throw StepFailure(QStringLiteral("\"%1\" steht nicht in der Liste %2").arg(item, control));
        } else if (verb == QLatin1String("cell")) {
            typeIntoCell(*f, control, rest);
        } else
            throw StepFailure(QStringLiteral("unbekannter Befehl \"%1\"").arg(verb));
    }
}

// cell FORM.GRID COLUMN TEXT: focuses the grid and types TEXT into COLUMN of its current row. A
// text the column does not take is shown as a message, as a grid does.
void ScenarioRunner::typeIntoCell(forms::Form& f, const QString& control, QString arguments) {
    forms::Control& c = f.control(control);
    if (!c.grid)
        throw StepFailure(QStringLiteral("%1 ist keine Tabelle").arg(control));
    const QString column = takeWord(arguments);
    const auto index = static_cast<int>(c.items.indexOf(column));
    if (index < 0)
        throw StepFailure(QStringLiteral("keine Spalte \"%1\" in %2").arg(column, control));
    const QString text = textArgument(arguments);
    f.focus(control);
    app().run([&] {
        try {
            c.grid->setCell(c.grid->currentRow(), index, text);
        } catch (const UserError& e) {
            m_ui.message(e.message());
        }
    });
}

void ScenarioRunner::buildBooks(const Step& step) {
    if (m_app)
        throw StepFailure(QStringLiteral("\"books\" nach \"start\""));
    QString name = textArgument(step.arguments);
    if (name.startsWith(QLatin1String("kopie "))) {
        copyBooks(name.mid(6).trimmed());
        return;
    }
    // "books in PATH": existing books used where they are (scripts that check the files after).
    if (name.startsWith(QLatin1String("in "))) {
        m_directory = QDir(name.mid(3).trimmed()).absolutePath();
        if (!QDir(m_directory).exists())
            throw StepFailure(QStringLiteral("keine Bücher in \"%1\"").arg(m_directory));
        return;
    }
    if (name.isEmpty())
        name = QStringLiteral("KT%1").arg(Clock::currentYear());
    m_directory = m_root.path() + QLatin1Char('/') + name;
    QStringList lines;
    for (const Step& line : step.children)
        if (line.verb != QLatin1String("datei"))
            lines << line.verb + QLatin1Char(' ') + line.arguments;
    data::buildBooks(m_directory, lines);
    // "datei NAME" with "| ..." lines below: a text file of the data directory.
    // "datei belege/4711.pdf": the folders of the path are made first.
    for (const Step& line : step.children)
        if (line.verb == QLatin1String("datei")) {
            const QString path = m_directory + QLatin1Char('/') + textArgument(line.arguments);
            QDir().mkpath(QFileInfo(path).path());
            text::writeLines(path, blockTexts(line.block));
        }
}

// "books kopie PATH": a copy of existing books; "$NAME" stands for an environment variable.
void ScenarioRunner::copyBooks(QString source) {
    if (source.startsWith(QLatin1Char('$')))
        source = qEnvironmentVariable(source.mid(1).toLocal8Bit().constData());
    const QDir from(source);
    if (source.isEmpty() || !from.exists())
        throw StepFailure(QStringLiteral("keine Bücher in \"%1\"").arg(source));
    m_directory = m_root.path() + QLatin1Char('/') + from.dirName();
    QDir().mkpath(m_directory);
    for (const QString& file : from.entryList(QDir::Files))
        if (!QFile::copy(from.filePath(file), m_directory + QLatin1Char('/') + file))
            throw StepFailure(QStringLiteral("%1 kann nicht kopiert werden").arg(file));
}

// "start" runs the program in the books built last, "start NAME" in the directory NAME beside them
// (books built earlier, or a directory the program made). One program at a time.
void ScenarioRunner::startProgram(const QString& directoryName) {
    if (m_directory.isEmpty())
        throw StepFailure(QStringLiteral("\"start\" ohne \"books\""));
    if (m_app && m_app->isRunning())
        throw StepFailure(QStringLiteral("\"start\", während das Programm noch läuft"));
    m_app.reset();
    if (!directoryName.isEmpty()) {
        const QString directory = m_root.path() + QLatin1Char('/') + directoryName;
        if (!QFileInfo(directory).isDir())
            throw StepFailure(QStringLiteral("kein Verzeichnis \"%1\" für \"start\"").arg(directoryName));
        m_directory = directory;
    }
    m_app = std::make_unique<app::T_Kontaro>(m_ui, m_directory);
    if (!m_app->start())
        m_app.reset();
}

void ScenarioRunner::startSecondProgram() {
    app::T_Kontaro second(m_ui, m_directory);
    if (second.start())
        throw StepFailure(QStringLiteral("ein zweites Programm auf denselben Büchern wurde gestartet"));
}

} // namespace kontaro::scenario
