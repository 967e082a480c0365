// The "expect" steps of a scenario.
#include "app/t_kontaro.h"
#include "base/format_settings.h"
#include "base/text_file.h"
#include "base/words.h"
#include "data/cursor.h"
#include "data/ini_file.h"
#include "data/invariant_checker.h"
#include "data/session.h"
#include "forms/form.h"
#include "scenario_runner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kontaro::scenario {

namespace {

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

void compare(const QString& what, const QString& expected, const QString& actual) {
    if (expected != actual)
        throw StepFailure(
            QStringLiteral("%1: erwartet %2, ist %3").arg(what, quoted(expected), quoted(actual)));
}

void compareFlag(const QString& what, bool expected, bool actual) {
    if (expected != actual)
        throw StepFailure(QStringLiteral("%1: erwartet %2, ist %3")
                              .arg(what, expected ? QStringLiteral("ja") : QStringLiteral("nein"),
                                   actual ? QStringLiteral("ja") : QStringLiteral("nein")));
}

QString stateName(forms::WindowState state) {
    switch (state) {
    case forms::WindowState::Normal:
        return QStringLiteral("normal");
    case forms::WindowState::Minimized:
        return QStringLiteral("minimized");
    case forms::WindowState::Maximized:
        return QStringLiteral("maximized");
    }
    return {};
}

// A text given either on the step's line or as "| ..." lines below it (joined with line breaks).
QString expectedText(const QString& arguments, const Step& step) {
    if (!step.block.isEmpty() && arguments.trimmed().isEmpty())
        return blockTexts(step.block).join(QLatin1Char('\n'));
    return textArgument(arguments);
}

// A table named relative to the data directory. Tables of another directory (another year) are
// read through a session of their own, so they are read as they are on disk now.
class TableReader {
public:
    TableReader(data::Session& session, const QString& table) {
        const QFileInfo file(QDir(session.directory()).absoluteFilePath(table));
        if (QDir::cleanPath(file.absolutePath()) != session.directory()) {
            m_other = std::make_unique<data::Session>(file.absolutePath());
            m_cursor = std::make_unique<data::Cursor>(*m_other, file.fileName());
        } else {
            m_cursor = std::make_unique<data::Cursor>(session, file.fileName());
        }
        m_cursor->open();
    }
    data::Cursor& cursor() { return *m_cursor; }

private:
    std::unique_ptr<data::Session> m_other;
    std::unique_ptr<data::Cursor> m_cursor; // closed before its session goes
};

} // namespace

void ScenarioRunner::expect(const Step& written) {
    // "{Verzeichnis}" stands for the data directory, which lies in a temporary place, and "{Eltern}"
    // for the directory that holds it and the other years; on the line and in its block.
    Step step = written;
    const QString directory = QDir::toNativeSeparators(m_directory);
    const QString parent = QDir::toNativeSeparators(QFileInfo(m_directory).absolutePath());
    const auto substitute = [&](QString& text) {
        text.replace(QStringLiteral("{Verzeichnis}"), directory);
        text.replace(QStringLiteral("{Eltern}"), parent);
    };
    substitute(step.arguments);
    for (QString& line : step.block)
        substitute(line);
    QString rest = step.arguments;
    const QString subject = takeWord(rest);
    static const QStringList shownKinds = {QStringLiteral("message"), QStringLiteral("question"),
                                           QStringLiteral("error"),   QStringLiteral("open"),
                                           QStringLiteral("input"),   QStringLiteral("filedialog")};
    if (shownKinds.contains(subject)) {
        // "expect message containing TEXT": a part of the text is enough (messages that name a
        // file of the temporary data directory).
        QString partial = rest;
        const bool containing = takeWord(partial) == QLatin1String("containing");
        if (containing)
            expectShown(subject, expectedText(partial, step), true);
        else
            expectShown(subject, expectedText(rest, step));
    } else if (subject == QLatin1String("nothing")) {
        expectShown(QString(), QString());
    } else if (subject == QLatin1String("printed")) {
        expectPrinted(rest, step);
    } else if (subject == QLatin1String("arrange")) {
        const QStringList arranged = m_ui.shownTexts(QStringLiteral("arrange"));
        compare(QStringLiteral("Anordnung"), textArgument(rest),
                arranged.isEmpty() ? QString() : arranged.last());
    } else if (subject == QLatin1String("format")) {
        if (takeWord(rest) != QLatin1String("decimal"))
            throw StepFailure(QStringLiteral("\"expect format decimal ZEICHEN\" erwartet"));
        compare(QStringLiteral("Dezimaltrennzeichen"), rest.trimmed(),
                QString(FormatSettings::current().decimalSeparator));
    } else if (subject == QLatin1String("status")) {
        compare(QStringLiteral("Statuszeile"), textArgument(rest), m_ui.statusText());
    } else if (subject == QLatin1String("caption")) {
        compare(QStringLiteral("Titel des Hauptfensters"), textArgument(rest), app().caption);
    } else if (subject == QLatin1String("running")) {
        compareFlag(QStringLiteral("Programm läuft"), true, m_app && m_app->isRunning());
    } else if (subject == QLatin1String("ended")) {
        compareFlag(QStringLiteral("Programm beendet"), true, !m_app || !m_app->isRunning());
    } else if (subject == QLatin1String("active")) {
        compare(QStringLiteral("aktives Fenster"), form(rest).componentName(), app().activeWindow());
    } else if (subject == QLatin1String("windows")) {
        QStringList names;
        for (const forms::Form* f : app().children())
            names << f->componentName();
        compare(QStringLiteral("Fensterliste"), expectedText(rest, step), names.join(QLatin1Char(' ')));
    } else if (subject == QLatin1String("file") || subject == QLatin1String("nofile")) {
        expectFile(subject, rest, step);
    } else if (subject == QLatin1String("xml")) {
        expectXml(rest, step);
    } else if (subject == QLatin1String("folder") || subject == QLatin1String("nofolder")) {
        const QString name = textArgument(rest);
        compareFlag(QStringLiteral("Ordner %1 vorhanden").arg(name), subject == QLatin1String("folder"),
                    QFileInfo(m_directory + QLatin1Char('/') + name).isDir());
    } else if (subject == QLatin1String("ini")) {
        const QString section = takeWord(rest);
        const QString key = takeWord(rest);
        const IniFile ini(m_directory + QStringLiteral("/Kontaro.Ini"));
        if (key.isEmpty())
            compare(QStringLiteral("Schlüssel in [%1]").arg(section),
                    blockTexts(step.block).join(QLatin1Char('\n')),
                    ini.keys(section).join(QLatin1Char('\n')));
        else
            compare(QStringLiteral("[%1] %2").arg(section, key), textArgument(rest),
                    ini.readString(section, key));
    } else if (subject == QLatin1String("row") || subject == QLatin1String("rows")) {
        if (subject == QLatin1String("rows")) {
            const QString table = takeWord(rest);
            TableReader reader(app().session(), table);
            data::Cursor& cursor = reader.cursor();
            compare(QStringLiteral("Zeilen in %1").arg(table), rest.trimmed(),
                    QString::number(cursor.recordCount()));
        } else {
            expectRow(rest);
        }
    } else if (subject == QLatin1String("books")) {
        const QStringList findings = findingLines(checkInvariants(app().session()));
        if (textArgument(rest) != QLatin1String("consistent"))
            throw StepFailure(QStringLiteral("\"expect books consistent\" erwartet"));
        if (!findings.isEmpty())
            throw StepFailure(QStringLiteral("die Bücher sind nicht stimmig:\n  ") +
                              findings.join(QStringLiteral("\n  ")));
    } else {
        const auto [f, control] = target(subject);
        if (control.isEmpty())
            expectForm(*f, rest);
        else
            expectControl(*f, control, rest, step);
    }
}

void ScenarioRunner::expectControl(forms::Form& f, const QString& controlName, QString arguments,
                                   const Step& step) {
    const forms::Control& c = f.control(controlName);
    const QString what = f.componentName() + QLatin1Char('.') + controlName;
    QString rest = arguments;
    const QString property = takeWord(rest);
    if (property == QLatin1String("color") || property == QLatin1String("fontcolor")) {
        const forms::Color actual = property == QLatin1String("color") ? c.color : c.fontColor;
        compare(what + QLatin1Char(' ') + property, rest.trimmed(), forms::colorName(actual));
    } else if (property == QLatin1String("enabled") || property == QLatin1String("disabled")) {
        compareFlag(what + QStringLiteral(" bedienbar"), property == QLatin1String("enabled"),
                    f.isUsable(controlName));
    } else if (property == QLatin1String("checked") || property == QLatin1String("unchecked")) {
        compareFlag(what + QStringLiteral(" angehakt"), property == QLatin1String("checked"), c.checked);
    } else if (property == QLatin1String("visible") || property == QLatin1String("hidden")) {
        compareFlag(what + QStringLiteral(" sichtbar"), property == QLatin1String("visible"), c.visible);
    } else if (property == QLatin1String("focused")) {
        compare(QStringLiteral("Fokus"), controlName, f.focusedControl());
    } else if (property == QLatin1String("caption")) {
        compare(what + QStringLiteral(" Beschriftung"), textArgument(rest), c.caption);
    } else if (property == QLatin1String("hint")) {
        compare(what + QStringLiteral(" Hinweis"), textArgument(rest), c.hint);
    } else if (property == QLatin1String("row")) {
        // The current row of a grid, counted from 1 (0: none).
        compare(what + QStringLiteral(" Zeile"), rest.trimmed(),
                QString::number(c.grid ? c.grid->currentRow() + 1 : 0));
    } else if (property == QLatin1String("items")) {
        compare(what + QStringLiteral(" Einträge"), blockTexts(step.block).join(QLatin1Char('\n')),
                c.items.join(QLatin1Char('\n')));
    } else {
        compare(what, expectedText(arguments, step), c.text());
    }
}

void ScenarioRunner::expectForm(forms::Form& f, QString arguments) {
    const QString property = takeWord(arguments);
    if (property == QLatin1String("state")) {
        compare(f.componentName() + QStringLiteral(" Zustand"), arguments.trimmed(),
                stateName(f.windowState));
    } else if (property == QLatin1String("geometry")) {
        const forms::Geometry& g = f.geometry;
        compare(f.componentName() + QStringLiteral(" Lage (oben links Höhe Breite)"), arguments.simplified(),
                QStringLiteral("%1 %2 %3 %4").arg(g.top).arg(g.left).arg(g.height).arg(g.width));
    } else if (property == QLatin1String("caption")) {
        compare(f.componentName() + QStringLiteral(" Titel"), textArgument(arguments), f.caption);
    } else if (property == QLatin1String("color")) {
        compare(f.componentName() + QStringLiteral(" Farbe"), arguments.trimmed(), forms::colorName(f.color));
    } else {
        throw StepFailure(QStringLiteral("unbekannte Fenstereigenschaft \"%1\"").arg(property));
    }
}

// Messages, questions, errors and shell-opens are expected in the order they were shown; "nothing"
// expects that nothing more was shown.
void ScenarioRunner::expectShown(const QString& kind, const QString& expected, bool containing) {
    static const QStringList ordered = {QStringLiteral("message"), QStringLiteral("question"),
                                        QStringLiteral("error"),   QStringLiteral("open"),
                                        QStringLiteral("input"),   QStringLiteral("filedialog")};
    const auto& shown = m_ui.shown();
    while (m_checked < shown.size() && !ordered.contains(shown[m_checked].kind))
        ++m_checked;
    if (kind.isEmpty()) {
        if (m_checked < shown.size())
            throw StepFailure(QStringLiteral("nichts mehr erwartet, aber %1 %2")
                                  .arg(shown[m_checked].kind, quoted(shown[m_checked].text)));
        return;
    }
    if (m_checked >= shown.size())
        throw StepFailure(
            QStringLiteral("%1 %2 erwartet, aber nichts mehr angezeigt").arg(kind, quoted(expected)));
    const forms::ScriptedUi::Shown& next = shown[m_checked++];
    if (containing && next.kind == kind && next.text.contains(expected))
        return;
    compare(kind, kind + (containing ? QStringLiteral(" containing ") : QStringLiteral(" ")) + expected,
            next.kind + QLatin1Char(' ') + next.text);
}

void ScenarioRunner::expectNoUncheckedErrors() {
    const auto& shown = m_ui.shown();
    for (std::size_t i = m_checked; i < shown.size(); ++i)
        if (shown[i].kind == QLatin1String("error"))
            throw StepFailure(QStringLiteral("unerwarteter Fehler: %1").arg(shown[i].text));
}

void ScenarioRunner::expectFile(const QString& kind, QString arguments, const Step& step) {
    const QString name = takeWord(arguments);
    const QString path = m_directory + QLatin1Char('/') + name;
    if (kind == QLatin1String("nofile")) {
        compareFlag(QStringLiteral("Datei %1 vorhanden").arg(name), false, QFile::exists(path));
        return;
    }
    if (!QFile::exists(path))
        throw StepFailure(QStringLiteral("Datei %1 fehlt").arg(name));
    const QByteArray actual = text::readFile(path);
    // Reports are Windows-1252 with CR LF; "utf8" files are UTF-8 with LF.
    const QString option = arguments.trimmed();
    const bool utf8 = option == QLatin1String("utf8");
    QByteArray expected;
    if (option != QLatin1String("empty"))
        for (const QString& line : blockTexts(step.block))
            expected += utf8 ? line.toUtf8() + "\n" : text::encodeWindows1252(line) + "\r\n";
    if (actual != expected)
        throw StepFailure(QStringLiteral("Datei %1 weicht ab:\n--- erwartet\n%2--- ist\n%3")
                              .arg(name, QString::fromLatin1(expected.toPercentEncoding(" \r\n", "")),
                                   QString::fromLatin1(actual.toPercentEncoding(" \r\n", ""))));
}

// expect printed TITLE with "| ..." lines: the next print job not yet expected has this document
// title and exactly these lines. "expect printed nothing": no job was printed since the last one
// expected.
void ScenarioRunner::expectPrinted(const QString& arguments, const Step& step) {
    const std::vector<forms::PrintJob>& jobs = m_ui.printed();
    const QString title = textArgument(arguments);
    if (title == QLatin1String("nothing")) {
        if (m_printedChecked < jobs.size())
            throw StepFailure(QStringLiteral("kein Druck erwartet, aber %1 gedruckt")
                                  .arg(quoted(jobs[m_printedChecked].title)));
        return;
    }
    if (m_printedChecked >= jobs.size())
        throw StepFailure(
            QStringLiteral("Druck %1 erwartet, aber nichts (mehr) gedruckt").arg(quoted(title)));
    const forms::PrintJob& job = jobs[m_printedChecked++];
    compare(QStringLiteral("Drucktitel"), title, job.title);
    const QStringList expected = blockTexts(step.block);
    QStringList actual;
    for (const forms::PrintJob::Line& line : job.lines)
        actual << line.text;
    for (qsizetype i = 0; i < std::max(expected.size(), actual.size()); ++i)
        if (expected.value(i) != actual.value(i) || i >= expected.size() || i >= actual.size())
            throw StepFailure(QStringLiteral("Druck %1, Zeile %2 (von %3, erwartet %4): erwartet %5, ist %6")
                                  .arg(quoted(title))
                                  .arg(i + 1)
                                  .arg(actual.size())
                                  .arg(expected.size())
                                  .arg(i < expected.size() ? quoted(expected[i]) : QStringLiteral("nichts"),
                                       i < actual.size() ? quoted(actual[i]) : QStringLiteral("nichts")));
}

// expect row TABLE N Field=Value ...: record N (1-based) in the table's own order.
void ScenarioRunner::expectRow(QString arguments) {
    const QString table = takeWord(arguments);
    const int number = takeWord(arguments).toInt();
    TableReader reader(app().session(), table);
    data::Cursor& cursor = reader.cursor();
    if (number < 1 || number > cursor.recordCount())
        throw StepFailure(QStringLiteral("%1 hat keine Zeile %2 (%3 Zeilen)")
                              .arg(table)
                              .arg(number)
                              .arg(cursor.recordCount()));
    cursor.setRecNo(number);
    for (const auto& [field, value] : words::fieldAssignments(arguments))
        compare(QStringLiteral("%1 Zeile %2 %3").arg(table).arg(number).arg(field), value,
                cursor.asText(field));
}

} // namespace kontaro::scenario
