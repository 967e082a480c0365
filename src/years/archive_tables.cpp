#include "years/archive_tables.h"

#include "data/session.h"

#include <QDir>
#include <QFileInfo>

namespace kontaro::years {

QString archiveTableInTheWay(const data::Session& session, const QString& fileName) {
    if (session.tableExists(fileName))
        return {};
    const QDir directory(session.directory());
    const QStringList entries =
        directory.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return (QFileInfo(directory.filePath(entry)).isDir()
                        ? QStringLiteral("Die Archivtabelle \"%1\" ist ein Verzeichnis und keine Datei.")
                        : QStringLiteral("Die Archivtabelle \"%1\" ist keine Datei."))
                .arg(QDir::toNativeSeparators(directory.filePath(entry)));
    return {};
}

} // namespace kontaro::years
