#include "years/carry_over.h"

#include "base/errors.h"
#include "base/text_file.h"
#include "data/session.h"
#include "data/sqlite_storage.h"
#include "data/table_layout.h"
#include "years/year_directory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <initializer_list>
#include <vector>

namespace kontaro::years {

CarryOver::CarryOver(data::Session& session, QString targetDirectory)
    : m_session(session)
    , m_target(std::move(targetDirectory)) {}

void CarryOver::keepReplacedFilesIn(const QString& folderName) {
    m_backupFolder = folderName;
}

void CarryOver::run() {
    using enum Kind;
    // The companion files of other table engines (primary and secondary indexes, memo files) do
    // not exist here: a chain goes on over them. The program file and its shortcut belong to the
    // installation, not to a data directory.
    const std::vector<std::vector<File>> chains = {
        {{"journal1.DB", "journal.DB", Table},
         {"journal1.DB", "journal1.DB", Table},
         {"kntplan.DB", "kntplan.DB", Table}},
        {{"konten.DB", "konten.DB", EmptiedTable},
         {"Kontaro.Ini", "Kontaro.Ini", Settings},
         {"vorlagen.txt", "vorlagen.txt", Other}},
        {{"KtInfo.doc", "KtInfo.doc", Other}, {"knt1plan.DBF", "knt1plan.DBF", Table}},
        {{"journal9.db", "journal9.db", Table}},
        {{"knt9plan.db", "knt9plan.db", Table}},
        {{"KtExport.exe", "KtExport.exe", Other}},
        {{"KtExport.lnk", "KtExport.lnk", Other}},
        {{"Kontaro.hlp", "Kontaro.hlp", Other}},
        {{"KtEd_.lnk", "KtEd_.lnk", Other}},
        {{"journal9.DBF", "journal9.DBF", Table}, {"knt9plan.DBF", "knt9plan.DBF", Table}},
    };
    for (const std::vector<File>& chain : chains)
        for (const File& file : chain)
            if (!carry(file) && file.kind != Other)
                break;
}

bool CarryOver::carry(const File& file) {
    const QString source = m_session.findFile(QString::fromLatin1(file.source));
    if (source.isEmpty())
        return false;
    const QString target = prepareTarget(QString::fromLatin1(file.target));
    switch (file.kind) {
    case Kind::Table:
        if (data::layouts::forFileName(source)->format == data::TableFormat::Sqlite)
            writeTable(source, target);
        else
            text::writeFile(target, text::readFile(source)); // dBASE files are written through at once
        break;
    case Kind::EmptiedTable:
        writeEmptyTable(source, target);
        break;
    case Kind::Settings:
    case Kind::Other:
        text::writeFile(target, text::readFile(source));
        break;
    }
    m_written << QFileInfo(target).fileName();
    return true;
}

// The path a file is written to: an existing file of that name (any case) is replaced under its
// own name, after it was kept in the backup folder.
QString CarryOver::prepareTarget(const QString& name) {
    const QString existing = findFileIn(m_target, name);
    if (existing.isEmpty())
        return m_target + QLatin1Char('/') + name;
    if (!m_backupFolder.isEmpty()) {
        const QString folder = m_target + QLatin1Char('/') + m_backupFolder;
        const QString kept = folder + QLatin1Char('/') + QFileInfo(existing).fileName();
        QFile::remove(kept);
        if (!QDir().mkpath(folder) || !QFile::copy(existing, kept))
            throw FileError(QStringLiteral("Die Datei \"%1\" kann nicht nach \"%2\" gesichert werden.")
                                .arg(QDir::toNativeSeparators(existing), QDir::toNativeSeparators(folder)));
        m_backupUsed = true;
    }
    return existing;
}

void CarryOver::writeTable(const QString& source, const QString& target) {
    const QString temporary = target + QStringLiteral(".neu");
    QFile::remove(temporary);
    try {
        m_session.saveTableSnapshot(source, temporary);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    replaceFile(temporary, target);
}

// The new year starts without ledger lines: an empty table of the same kind.
void CarryOver::writeEmptyTable(const QString& source, const QString& target) {
    const QString temporary = target + QStringLiteral(".neu");
    QFile::remove(temporary);
    try {
        data::SqliteStorage::createFile(temporary, *data::layouts::forFileName(source));
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    replaceFile(temporary, target);
}

} // namespace kontaro::years
