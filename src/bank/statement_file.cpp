#include "bank/statement_file.h"

#include "bank/camt_reader.h"
#include "base/errors.h"
#include "base/text_file.h"

#include <QFileInfo>

namespace kontaro::bank {

namespace {

bool isZip(const QByteArray& bytes) {
    // A local file header, or the end record of an empty archive.
    return bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06");
}

} // namespace

std::vector<CamtDocument> readStatementFile(const QString& path) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (!info.isFile())
        throw UserError(QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(path));
    if (info.size() > MaxStatementBytes)
        throw UserError(
            QStringLiteral("Die Datei \"%1\" ist größer als 200 MB und wird nicht eingelesen.").arg(name));
    const QByteArray bytes = text::readFile(path);

    std::vector<XmlPart> parts;
    if (isZip(bytes)) {
        parts = unpackXmlEntries(bytes, name);
        if (parts.empty())
            throw UserError(
                QStringLiteral("Die ZIP-Datei \"%1\" enthält keine XML-Datei; es wurde nichts eingelesen.")
                    .arg(name));
    } else {
        parts.push_back({name, bytes});
    }
    std::vector<CamtDocument> documents;
    documents.reserve(parts.size());
    for (const XmlPart& part : parts)
        documents.push_back(readCamt(part.bytes, part.name));
    return documents;
}

} // namespace kontaro::bank
