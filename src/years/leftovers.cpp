#include "years/leftovers.h"

#include "base/text_file.h"
#include "years/year_replacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kontaro::years {

void removeLeftovers(const QString& dataDirectory) {
    QDir data(dataDirectory);
    // Files are written under a temporary name and renamed when complete.
    for (const QString& name : data.entryList({text::temporaryFilePattern()}, QDir::Files | QDir::Hidden))
        data.remove(name);
    const QDir parent(QFileInfo(dataDirectory).absolutePath());
    for (const QString& name : parent.entryList({QStringLiteral(".KT*-neu")}, QDir::Dirs | QDir::Hidden))
        removeInterruptedYear(parent.filePath(name));
}

} // namespace kontaro::years
