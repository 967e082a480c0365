#include "years/year_directory.h"

#include "base/errors.h"
#include "data/session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kontaro::years {

namespace {

void syncPath(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

DirectoryLock::DirectoryLock(const QString& directory, bool create) {
    const QByteArray path = QFile::encodeName(directory + QStringLiteral("/Kontaro.lock"));
    m_fd = ::open(path.constData(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0644);
    if (m_fd < 0)
        m_fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return; // no lock file: no program has the books open
    if (flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        m_busy = true;
        ::close(m_fd);
        m_fd = -1;
    }
}

DirectoryLock::~DirectoryLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}

QString findFileIn(const QString& directory, const QString& name) {
    const QDir dir(directory);
    if (QFileInfo(dir.filePath(name)).isFile())
        return dir.filePath(name);
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}

void replaceFile(const QString& temporary, const QString& target) {
    syncPath(temporary, O_RDONLY);
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temporary);
        throw FileError(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden.")
                            .arg(QDir::toNativeSeparators(target)));
    }
    syncDirectory(QFileInfo(target).absolutePath());
}

void syncDirectory(const QString& directory) {
    syncPath(directory, O_RDONLY | O_DIRECTORY);
}

YearBooks::YearBooks(data::Session& own, const QString& directory) {
    const QString path = QDir::cleanPath(QFileInfo(directory).absoluteFilePath());
    if (path == own.directory()) {
        m_session = &own;
        return;
    }
    if (!QFileInfo(path).isDir())
        return;
    // A year kept write-protected is read without a lock of its own.
    const bool writable = ::access(QFile::encodeName(path).constData(), W_OK) == 0;
    try {
        m_other = std::make_unique<data::Session>(path, writable ? data::Session::Access::ReadWrite
                                                                 : data::Session::Access::ReadOnly);
        m_session = m_other.get();
    } catch (const FileError&) {
        // In use by another program, or not readable: the year is left out.
    }
}

YearBooks::~YearBooks() = default;

void outsideTransaction(data::Session& session, const std::function<void()>& action) {
    const bool inTransaction = session.inTransaction();
    if (inTransaction)
        session.commit();
    action();
    if (inTransaction)
        session.begin();
}

} // namespace kontaro::years
