#pragma once

#include "bank/camt_statement.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace kontaro::bank {

// The largest statement file (and the largest entry of a ZIP file, and all its entries together)
// that is read; anything bigger is refused before it is read.
constexpr qint64 MaxStatementBytes = qint64(200) * 1024 * 1024;

// One XML file to read: from the disk, or an entry of a ZIP file.
struct XmlPart {
    QString name; // "auszug.xml", or "auszuege.zip/mai.xml"
    QByteArray bytes;
};

// The ".xml" entries of a ZIP archive held in memory, in archive order. A damaged or encrypted
// archive, an entry that does not unpack completely or an archive that unpacks beyond
// MaxStatementBytes throws UserError naming `zipName`. An archive without XML entries gives none.
std::vector<XmlPart> unpackXmlEntries(const QByteArray& zip, const QString& zipName);

// Every statement document of a file chosen by the user: a camt.053 XML file, or a ZIP file with
// such files. Throws UserError (naming the file) when it is missing, too large, unreadable or not
// a statement; nothing is returned half read.
std::vector<CamtDocument> readStatementFile(const QString& path);

} // namespace kontaro::bank
