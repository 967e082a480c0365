#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kontaro::text {

// Windows-1252, the 8-bit code page of every text file the program writes. Characters the code page
// cannot hold become "?".
QByteArray encodeWindows1252(const QString& text);
QString decodeWindows1252(const QByteArray& bytes);

// Reads text that is UTF-8 (with or without byte-order mark) when it is valid UTF-8, else Windows-1252.
QString decodeText(const QByteArray& bytes);

// Splits on CR LF, LF or CR; a final line break does not start another line.
QStringList splitLines(const QString& text);

// Whole-file access. Errors throw FileError with a German message that names the file.
QByteArray readFile(const QString& path);
// Writes in one piece: the new content replaces the file only when it is complete on disk.
void writeFile(const QString& path, const QByteArray& bytes);

QStringList readLines(const QString& path);
// Every line followed by CR LF, the last one included; Windows-1252, no byte-order mark.
void writeLines(const QString& path, const QStringList& lines);

} // namespace kontaro::text
