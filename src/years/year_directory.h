#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace kontaro::data {
class Session;
}

namespace kontaro::years {

// Tries to take the lock a running program holds on its data directory ("Kontaro.lock"), so that
// no program starts there while another command writes into it, and so that books open elsewhere
// are recognised. Released when the object goes.
class DirectoryLock {
public:
    // `create`: make the lock file when there is none (the directory is going to be written).
    DirectoryLock(const QString& directory, bool create);
    ~DirectoryLock();
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;

    // Another program holds the directory.
    bool isBusy() const { return m_busy; }

private:
    int m_fd = -1;
    bool m_busy = false;
};

// The file of that name in a directory, found without regard to case; empty when there is none.
QString findFileIn(const QString& directory, const QString& name);

// Puts a finished temporary file in place of `target` in one step: the content reaches the disk
// first, so after a crash there is either the old or the new file.
void replaceFile(const QString& temporary, const QString& target);

// Makes the renames inside a directory reach the disk.
void syncDirectory(const QString& directory);

// The books of a year directory, for reading: the program's own session when it is the data
// directory, otherwise a session of its own (which also keeps a program from starting there while
// they are read). None when the directory is missing or another program works in it.
class YearBooks {
public:
    YearBooks(data::Session& own, const QString& directory);
    ~YearBooks();
    YearBooks(const YearBooks&) = delete;
    YearBooks& operator=(const YearBooks&) = delete;

    data::Session* session() const { return m_session; }

private:
    std::unique_ptr<data::Session> m_other;
    data::Session* m_session = nullptr;
};

// Runs the part of a command that must not be inside the session transaction: what came before is
// committed first, and a new transaction takes what follows.
void outsideTransaction(data::Session& session, const std::function<void()>& action);

} // namespace kontaro::years
