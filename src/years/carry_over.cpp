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

CarryOver::CarryOver(data::Session& session, QString targetDirectory, QString shownDirectory)
    : m_session(session)
    , m_target(std::move(targetDirectory))
    , m_shownTarget(shownDirectory.isEmpty() ? m_target : std::move(shownDirectory)) {}

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
    const QString target = targetPath(QString::fromLatin1(file.target));
    const bool sqliteTable =
        file.kind == Kind::Table && data::layouts::forFileName(source)->format == data::TableFormat::Sqlite;
    // dBASE tables are written through at once: their bytes are the table.
    const QByteArray bytes =
        file.kind == Kind::EmptiedTable || sqliteTable ? QByteArray() : text::readFile(source);
    try {
        if (sqliteTable)
            writeTable(source, target);
        else if (file.kind == Kind::EmptiedTable)
            writeEmptyTable(source, target);
        else
            text::writeFile(target, bytes);
    } catch (const FileError&) {
        throw FileError(QStringLiteral("In das Verzeichnis \"%1\" kann nicht geschrieben werden.")
                            .arg(QDir::toNativeSeparators(m_shownTarget)));
    }
    m_written << QFileInfo(target).fileName();
    return true;
}

// An existing file of that name (any case) is replaced under its own name.
QString CarryOver::targetPath(const QString& name) const {
    const QString existing = findFileIn(m_target, name);
    return existing.isEmpty() ? m_target + QLatin1Char('/') + name : existing;
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
