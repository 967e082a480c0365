#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kontaro::text {

// Windows-1252, the 8-bit code page of every text file the program writes. Characters the code page
// cannot hold become "?".
QByteArray encodeWindows1252(const QString& text);
QString decodeWindows1252(const QByteArray& bytes);

// Reads text that is UTF-16 with byte-order mark, UTF-8 (with or without byte-order mark) when it is
// valid UTF-8, else Windows-1252.
QString decodeText(const QByteArray& bytes);

// Splits on CR LF, LF or CR; a final line break does not start another line.
QStringList splitLines(const QString& text);

// Whole-file access. Errors throw FileError with a German message that names the file and says why
// ("Die Datei "konten.csv" kann nicht geschrieben werden: der Datenträger ist voll.").
QByteArray readFile(const QString& path);
// Every text file of the program is written through here. The bytes go to a temporary file beside
// the target, are flushed and synced, and only then replace the target; when any step fails (a full
// disk above all) the old file stays exactly as it was and FileError is thrown. A directory that
// allows writing the file but not creating another one beside it is written in place, and on failure
// the old bytes are put back.
void writeFile(const QString& path, const QByteArray& bytes);
// The name pattern of writeFile's temporary files ("NAME.tmp-" and six characters), for finding the
// ones a crash left behind.
QString temporaryFilePattern();

// The German reason for a failed system call, in lower case as the end of a sentence
// ("der Datenträger ist voll.").
QString systemErrorReason(int errorNumber);

QStringList readLines(const QString& path);
// Every line followed by CR LF, the last one included; Windows-1252, no byte-order mark.
void writeLines(const QString& path, const QStringList& lines);

} // namespace kontaro::text
