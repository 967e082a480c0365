#include "base/text_file.h"

#include "base/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kontaro::text {

namespace {

// Appended to a file's name while writeFile writes it, followed by six random characters.
constexpr char TemporarySuffix[] = ".tmp-";

// Windows-1252 holds one byte per character. The table is read off Qt's decoder, so that a file
// written here reads back as it was written; a character it cannot hold becomes "?".
struct Windows1252Table {
    std::array<char, 0x100> first{}; // U+0000 to U+00FF
    QHash<char16_t, char> others;    // the typographic characters (€, „, “, …) in 0x80 to 0x9F

    Windows1252Table() {
        for (int c = 0; c < 0x100; ++c)
            first[std::size_t(c)] = c < 0x80 ? char(c) : '?';
        QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
        for (int b = 0x80; b < 0x100; ++b) {
            const char byte = char(b);
            const QString decoded = decoder.decode(QByteArrayView(&byte, 1));
            if (decoded.size() != 1 || decoded.front() == QChar::ReplacementCharacter)
                continue;
            const char16_t c = decoded.front().unicode();
            if (c < 0x100)
                first[c] = byte;
            else
                others.insert(c, byte);
        }
    }

    char byteOf(char16_t c) const { return c < 0x100 ? first[c] : others.value(c, '?'); }
};

// Appends the text in Windows-1252 to `out`, so that a whole file is encoded into one buffer.
void appendWindows1252(QByteArray& out, const QString& text) {
    static const Windows1252Table table;
    // At most one byte per UTF-16 unit: written into room made beforehand, then cut to size.
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char* to = out.data() + start;
    const QChar* from = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (from[i].isHighSurrogate() && i + 1 < text.size() && from[i + 1].isLowSurrogate()) {
            *to++ = '?'; // a character outside the Basic Plane, two units: one "?"
            ++i;
            continue;
        }
        *to++ = table.byteOf(from[i].unicode());
    }
    out.truncate(to - out.constData());
}

} // namespace

QByteArray encodeWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    appendWindows1252(out, text);
    return out;
}

QString decodeWindows1252(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1252");
    return decoder.decode(bytes);
}

QString decodeText(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    // Editors save "Unicode" as UTF-16 with a byte-order mark; neither mark is Windows-1252 text.
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2));
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

namespace {

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

[[noreturn]] void throwReadError(const QString& path, int errorNumber) {
    throw FileError(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2")
                        .arg(fileName(path), systemErrorReason(errorNumber)));
}

[[noreturn]] void throwWriteError(const QString& path, int errorNumber) {
    throw FileError(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2")
                        .arg(fileName(path), systemErrorReason(errorNumber)));
}

// Closes the descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now; a failed close is a failed write on some file systems. Returns 0 or an errno.
    int close() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// Writes every byte and syncs them to the disk. Returns 0 or the errno of the failing call.
int writeAllAndSync(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : ENOSPC;
        data += written;
        left -= written;
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

// Appends everything the descriptor still delivers. Returns 0 or the errno of the failing call.
int readAll(int fd, QByteArray& bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        bytes.append(buffer, n);
    }
}

// The directory does not let us create the temporary file: write the target in place. A failure
// puts the old bytes back, which fit where the new ones were refused.
void writeInPlace(const QByteArray& target, const QString& path, const QByteArray& bytes) {
    QByteArray old;
    {
        Descriptor in(::open(target.constData(), O_RDONLY | O_CLOEXEC));
        if (in.get() < 0)
            throwWriteError(path, errno);
        if (const int error = readAll(in.get(), old))
            throwWriteError(path, error);
    }
    Descriptor out(::open(target.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (out.get() < 0)
        throwWriteError(path, errno);
    if (const int error = writeAllAndSync(out.get(), bytes)) {
        if (::ftruncate(out.get(), 0) == 0 && ::lseek(out.get(), 0, SEEK_SET) == 0)
            writeAllAndSync(out.get(), old);
        throwWriteError(path, error);
    }
    if (const int error = out.close())
        throwWriteError(path, error);
}

} // namespace

QString systemErrorReason(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("der Datenträger ist voll.");
    case EROFS:
        return QStringLiteral("der Datenträger ist schreibgeschützt.");
    case EACCES:
    case EPERM:
        return QStringLiteral("der Zugriff wurde verweigert.");
    case ENOENT:
        return QStringLiteral("die Datei oder ihr Verzeichnis fehlt.");
    case ENOTDIR:
        return QStringLiteral("ein Teil des Pfads ist kein Verzeichnis.");
    case EISDIR:
        return QStringLiteral("unter diesem Namen steht ein Verzeichnis.");
    case EIO:
        return QStringLiteral("der Datenträger meldet einen Ein-/Ausgabefehler.");
    case ENAMETOOLONG:
        return QStringLiteral("der Pfad ist zu lang.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("es sind zu viele Dateien geöffnet.");
    default:
        return QStringLiteral("Systemfehler %1.").arg(errorNumber);
    }
}

QByteArray readFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    Descriptor in(::open(name.constData(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        throwReadError(path, errno);
    QByteArray bytes;
    if (const int error = readAll(in.get(), bytes))
        throwReadError(path, error);
    return bytes;
}

QString temporaryFilePattern() {
    return QStringLiteral("*") + QLatin1String(TemporarySuffix) + QStringLiteral("??????");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    // A link is followed, so that the file it points to gets the new content.
    const QFileInfo info(path);
    const QString resolved = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
    const QByteArray target = QFile::encodeName(resolved);
    if (QFileInfo(resolved).isDir())
        throwWriteError(path, EISDIR);

    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    QByteArray temporary = target + TemporarySuffix + "XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        const int error = errno;
        if (exists && (error == EACCES || error == EPERM)) {
            writeInPlace(target, path, bytes);
            return;
        }
        throwWriteError(path, error);
    }
    Descriptor out(fd);
    // mkstemp makes the file private; the new file gets the old one's mode, or the usual one.
    mode_t mode = 0;
    if (exists) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int error = ::fchmod(fd, mode) == 0 ? 0 : errno;
    if (!error)
        error = writeAllAndSync(fd, bytes);
    if (const int closeError = out.close(); !error)
        error = closeError;
    if (!error && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(temporary.constData());
        throwWriteError(path, error);
    }
}

QStringList readLines(const QString& path) {
    return splitLines(decodeText(readFile(path)));
}

void writeLines(const QString& path, const QStringList& lines) {
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    QByteArray bytes;
    bytes.reserve(size);
    for (const QString& line : lines) {
        appendWindows1252(bytes, line);
        bytes += "\r\n";
    }
    writeFile(path, bytes);
}

} // namespace kontaro::text
