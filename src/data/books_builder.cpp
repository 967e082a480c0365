#include "data/books_builder.h"

#include "base/errors.h"
#include "base/words.h"
#include "data/cursor.h"
#include "data/ini_file.h"
#include "data/new_books.h"
#include "data/session.h"
#include "data/settings.h"
#include "data/transaction.h"

#include <QFile>

namespace kontaro::data {

namespace {

using Fields = QList<std::pair<QString, QString>>;

void appendRow(Session& session, const QString& table, const Fields& fields) {
    Cursor cursor(session, table);
    cursor.open();
    cursor.append();
    for (const auto& [field, value] : fields)
        cursor.setText(field, value);
    cursor.post();
}

Fields accountFields(QString rest) {
    Fields fields = {{QStringLiteral("Knr"), words::takeWord(rest)},
                     {QStringLiteral("Typ"), words::takeWord(rest)}};
    QString probe = rest;
    if (!rest.isEmpty() && !words::takeWord(probe).contains(QLatin1Char('=')))
        fields.append({QStringLiteral("Name"), words::takeWord(rest)});
    return fields + words::fieldAssignments(rest);
}

} // namespace

void buildBooks(const QString& directory, const QStringList& lines) {
    createEmptyBooks(directory);
    Session session(directory);
    IniFile ini(directory + QLatin1Char('/') + Settings::fileName());
    QStringList removed;
    Transaction transaction(session);
    for (const QString& line : lines) {
        QString rest = line.trimmed();
        const QString verb = words::takeWord(rest);
        if (verb.isEmpty() || verb.startsWith(QLatin1Char('#'))) {
            continue;
        } else if (verb == QLatin1String("ini")) {
            const QString section = words::takeWord(rest);
            const qsizetype equals = rest.indexOf(QLatin1Char('='));
            if (section.isEmpty() || equals <= 0)
                throw UserError(QStringLiteral("\"ini SEKTION SCHLÜSSEL=WERT\" erwartet: %1").arg(line));
            ini.writeString(section, rest.left(equals).trimmed(), words::textArgument(rest.mid(equals + 1)));
        } else if (verb == QLatin1String("konto")) {
            appendRow(session, QStringLiteral("kntplan.DB"), accountFields(rest));
        } else if (verb == QLatin1String("zeile")) {
            const QString mark = words::takeWord(rest);
            const Fields fields = {{QStringLiteral("Ok"), mark == QLatin1String("-") ? QString() : mark}};
            appendRow(session, QStringLiteral("journal.DB"), fields + words::fieldAssignments(rest));
        } else if (verb == QLatin1String("hauptbuch")) {
            appendRow(session, QStringLiteral("konten.DB"), words::fieldAssignments(rest));
        } else if (verb == QLatin1String("ohne")) {
            removed << words::textArgument(rest);
        } else {
            throw UserError(QStringLiteral("Unbekannte Zeile: %1").arg(line));
        }
    }
    transaction.commit();
    for (const QString& file : removed) {
        const QString path = session.findFile(file);
        if (path.isEmpty() || !QFile::remove(path))
            throw UserError(QStringLiteral("Datei nicht gefunden: %1").arg(file));
    }
}

} // namespace kontaro::data
