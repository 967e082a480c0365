#include "books_builder.h"

#include "base/errors.h"
#include "base/text_file.h"
#include "data/cursor.h"
#include "data/ini_file.h"
#include "data/new_books.h"
#include "data/session.h"
#include "data/transaction.h"
#include "scenario_runner.h"

#include <QDir>
#include <QFile>

namespace kontaro::scenario {

namespace {

void setFields(data::Cursor& cursor, const QList<std::pair<QString, QString>>& fields) {
    for (const auto& [field, value] : fields)
        cursor.setText(field, value);
}

void appendRow(data::Session& session, const QString& table,
               const QList<std::pair<QString, QString>>& fields) {
    data::Cursor cursor(session, table);
    cursor.open();
    cursor.append();
    setFields(cursor, fields);
    cursor.post();
}

} // namespace

QList<std::pair<QString, QString>> fieldAssignments(QString text) {
    QList<std::pair<QString, QString>> result;
    while (!text.trimmed().isEmpty()) {
        text = text.trimmed();
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        if (equals <= 0)
            throw StepFailure(QStringLiteral("\"Feld=Wert\" erwartet bei: %1").arg(text));
        const QString field = text.left(equals);
        text = text.mid(equals + 1);
        QString value;
        if (text.startsWith(QLatin1Char('"'))) {
            value = takeWord(text);
        } else {
            qsizetype end = 0;
            while (end < text.size() && !text[end].isSpace())
                ++end;
            value = text.left(end);
            text = text.mid(end);
        }
        result.append({field, value});
    }
    return result;
}

void buildBooksDirectory(const QString& directory, const std::vector<Step>& lines) {
    data::createEmptyBooks(directory);
    data::Session session(directory);
    data::Transaction transaction(session);
    IniFile ini(directory + QStringLiteral("/Kontaro.Ini"));
    for (const Step& line : lines) {
        QString rest = line.arguments;
        if (line.verb == QLatin1String("ini")) {
            const QString section = takeWord(rest);
            const qsizetype equals = rest.indexOf(QLatin1Char('='));
            if (section.isEmpty() || equals <= 0)
                throw StepFailure(QStringLiteral("ini SEKTION SCHLÜSSEL=WERT erwartet"));
            ini.writeString(section, rest.left(equals).trimmed(), textArgument(rest.mid(equals + 1)));
        } else if (line.verb == QLatin1String("konto")) {
            const QString knr = takeWord(rest);
            const QString typ = takeWord(rest);
            QList<std::pair<QString, QString>> fields = {{QStringLiteral("Knr"), knr},
                                                         {QStringLiteral("Typ"), typ}};
            if (!rest.isEmpty() && !rest.section(QLatin1Char(' '), 0, 0).contains(QLatin1Char('=')))
                fields.append({QStringLiteral("Name"), takeWord(rest)});
            fields += fieldAssignments(rest);
            appendRow(session, QStringLiteral("kntplan.DB"), fields);
        } else if (line.verb == QLatin1String("zeile")) {
            const QString mark = takeWord(rest);
            QList<std::pair<QString, QString>> fields = {
                {QStringLiteral("Ok"), mark == QLatin1String("-") ? QString() : mark}};
            fields += fieldAssignments(rest);
            appendRow(session, QStringLiteral("journal.DB"), fields);
        } else if (line.verb == QLatin1String("hauptbuch")) {
            appendRow(session, QStringLiteral("konten.DB"), fieldAssignments(rest));
        } else if (line.verb == QLatin1String("datei")) {
            const QStringList texts = blockTexts(line.block);
            text::writeLines(directory + QLatin1Char('/') + textArgument(rest), texts);
        } else if (line.verb != QLatin1String("ohne")) {
            throw StepFailure(QStringLiteral("unbekannte Zeile im books-Block: %1").arg(line.verb));
        }
    }
    transaction.commit();
    // Files are removed last, after the session no longer needs them.
    for (const Step& line : lines) {
        if (line.verb != QLatin1String("ohne"))
            continue;
        const QString path = session.findFile(textArgument(line.arguments));
        if (path.isEmpty() || !QFile::remove(path))
            throw StepFailure(QStringLiteral("Datei nicht gefunden: %1").arg(line.arguments));
    }
}

} // namespace kontaro::scenario
