// kontaro-neu: creates a new data directory with empty books, the settings file, the posting-text
// templates and the voucher folder; without --leer the chart of accounts comes from the template.
#include "base/date.h"
#include "base/errors.h"
#include "base/text_file.h"
#include "data/cursor.h"
#include "data/new_books.h"
#include "data/session.h"
#include "data/settings.h"
#include "data/transaction.h"
#include "demo_books.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>

namespace {

using namespace kontaro;

void print(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

QString sampleDirectory() {
    const QString fromEnvironment = qEnvironmentVariable("KONTARO_SAMPLE_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral(KONTARO_SAMPLE_DIR) : fromEnvironment;
}

void copySampleFile(const QString& name, const QString& directory) {
    text::writeFile(directory + QLatin1Char('/') + name,
                    text::readFile(sampleDirectory() + QLatin1Char('/') + name));
}

// Fills the chart of accounts from the template's "Knr;Typ;Name;UstKnt;UstP;Budget;Gruppe" lines.
int fillChart(data::Session& session) {
    const QStringList lines = text::readLines(sampleDirectory() + QStringLiteral("/kntplan.csv"));
    const QStringList fields = lines.value(0).split(QLatin1Char(';'));
    data::Cursor chart(session, QStringLiteral("kntplan.DB"));
    chart.open();
    data::Transaction transaction(session);
    int count = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        const QStringList values = lines[i].split(QLatin1Char(';'));
        if (values.size() != fields.size())
            throw FileError(QStringLiteral("Vorlage kntplan.csv, Zeile %1: %2 Felder statt %3.")
                                .arg(i + 1)
                                .arg(values.size())
                                .arg(fields.size()));
        chart.append();
        for (qsizetype f = 0; f < fields.size(); ++f)
            chart.setText(fields[f], values[f]);
        chart.post();
        ++count;
    }
    transaction.commit();
    return count;
}

// Fills a new data directory with everything the books need; demo lines are dated in demoYear.
int fillBooks(const QString& directory, bool empty, bool demo, int demoYear) {
    data::createEmptyBooks(directory);
    if (empty) {
        Settings settings(directory);
        settings.setAutoinsert(true);
        settings.setStrengesDatum(true);
        settings.setMandantName(QString());
    } else {
        copySampleFile(Settings::fileName(), directory);
    }
    copySampleFile(QStringLiteral("vorlagen.txt"), directory);
    if (!QDir(directory).mkpath(QStringLiteral("belege")))
        throw FileError(QStringLiteral("Der Belegordner \"belege\" kann nicht angelegt werden."));
    int accounts = 0;
    if (!empty) {
        data::Session session(directory);
        accounts = fillChart(session);
    }
    if (demo)
        return postDemoBooks(directory, demoYear);
    return accounts;
}

int createBooks(const QString& directory, bool empty, bool demo) {
    if (QDir(directory).exists() && !QDir(directory).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        print(QStringLiteral(
                  "Das Verzeichnis \"%1\" ist nicht leer; neue Bücher werden nur in einem leeren oder "
                  "neuen Verzeichnis angelegt.")
                  .arg(QDir::toNativeSeparators(directory)));
        return 1;
    }
    // The books are made in a hidden sibling and get their name only when complete, so that a
    // missing template or a full disk leaves no half-made books behind.
    const QFileInfo target(directory);
    if (!QDir().mkpath(target.absolutePath()))
        throw FileError(QStringLiteral("Das Verzeichnis \"%1\" kann nicht angelegt werden.")
                            .arg(QDir::toNativeSeparators(target.absolutePath())));
    QTemporaryDir building(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                           QStringLiteral(".neu-XXXXXX"));
    if (!building.isValid())
        throw FileError(QStringLiteral("Neben \"%1\" kann kein Arbeitsverzeichnis angelegt werden.")
                            .arg(QDir::toNativeSeparators(directory)));
    const int count = fillBooks(building.path(), empty, demo, yearOfDataDirectory(directory));
    QFile::setPermissions(building.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                               QFile::ExeOther);
    // An empty directory of that name is replaced.
    if (::rename(QFile::encodeName(building.path()).constData(), QFile::encodeName(directory).constData()) !=
        0)
        throw FileError(QStringLiteral("Das Verzeichnis \"%1\" kann nicht angelegt werden: %2")
                            .arg(QDir::toNativeSeparators(directory), text::systemErrorReason(errno)));
    building.setAutoRemove(false);
    if (demo)
        print(QStringLiteral("Neue Bücher mit %1 Demobuchungen in \"%2\" angelegt.")
                  .arg(count)
                  .arg(QDir::toNativeSeparators(directory)));
    else
        print(QStringLiteral("Neue Bücher in \"%1\" angelegt (%2 Konten).")
                  .arg(QDir::toNativeSeparators(directory))
                  .arg(count));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const bool empty = arguments.removeAll(QStringLiteral("--leer")) > 0;
    const bool demo = arguments.removeAll(QStringLiteral("--demo")) > 0;
    if (arguments.size() != 1 || arguments[0].startsWith(QLatin1Char('-')) || (empty && demo)) {
        print(QStringLiteral("Aufruf: kontaro-neu [--leer | --demo] VERZEICHNIS"));
        print(QStringLiteral("  Legt neue Bücher an; ohne --leer mit dem Musterkontenplan, mit --demo"));
        print(QStringLiteral("  zusätzlich mit drei Monaten Beispielbuchungen."));
        return 2;
    }
    try {
        return createBooks(QDir(arguments[0]).absolutePath(), empty, demo);
    } catch (const UserError& e) {
        print(e.message());
        return 1;
    }
}
