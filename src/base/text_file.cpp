#include "base/text_file.h"

#include "base/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace kontaro::text {

QByteArray encodeWindows1252(const QString& text) {
    QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    QByteArray out;
    out.reserve(text.size());
    // Encode per character so that an unmappable one becomes exactly one "?".
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        qsizetype length = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            length = 2;
        const QByteArray piece = encoder.encode(QStringView(text).mid(i, length));
        if (encoder.hasError() || piece.size() != 1) {
            out += '?';
            encoder.resetState();
        } else {
            out += piece;
        }
        i += length - 1;
    }
    return out;
}

QString decodeWindows1252(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1252");
    return decoder.decode(bytes);
}

QString decodeText(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = utf8.decode(bytes);
    if (!utf8.hasError())
        return decoded;
    return decodeWindows1252(bytes);
}

QStringList splitLines(const QString& text) {
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (normalized.isEmpty())
        return {};
    if (normalized.endsWith(QLatin1Char('\n')))
        normalized.chop(1);
    return normalized.split(QLatin1Char('\n'));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2")
                            .arg(QFileInfo(path).fileName(), file.errorString()));
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // Some directories allow writing a file but not creating the temporary beside it.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw FileError(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2")
                            .arg(QFileInfo(path).fileName(), file.errorString()));
}

QStringList readLines(const QString& path) {
    return splitLines(decodeText(readFile(path)));
}

void writeLines(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += encodeWindows1252(line);
        bytes += "\r\n";
    }
    writeFile(path, bytes);
}

} // namespace kontaro::text
