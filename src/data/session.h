#pragma once

#include "data/sqlite_db.h"
#include "data/table_layout.h"

#include <QHash>
#include <QString>
#include <map>
#include <memory>
#include <vector>

namespace kontaro::data {

class Table;

// Exclusive use of one table file, held by the cursor that opened it exclusively.
class TableLock {
public:
    TableLock(Table& table, int fd);
    ~TableLock();
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;

private:
    Table& m_table;
    int m_fd;
};

// The books of one data directory, open for the whole run.
//
// The directory is locked (flock on "Kontaro.lock", released by the system when the process
// ends), so a second program on the same books stops before touching anything. SQLite table
// files are attached to one connection in rollback-journal mode with synchronous=FULL; a
// transaction over several of them commits atomically (the lock file serves as the main
// database, which SQLite needs for an atomic commit across attached files). The files present
// at start are attached at once; tables are loaded on first use and shared by all cursors.
//
// Files are found without regard to case. Files of other directories are opened by full path
// through the same calls. A file that is not attached yet and first opened while a transaction
// is running cannot be attached (SQLite forbids it); it gets a connection of its own whose
// writes commit at once.
// dBASE tables take no part in transactions (see DbfStorage).
class Session {
public:
    // ReadOnly: the books of a directory this program cannot write (an old year kept
    // write-protected), only read. No lock file is made; a program working there still keeps the
    // session out.
    enum class Access { ReadWrite, ReadOnly };

    explicit Session(const QString& directory, Access access = Access::ReadWrite);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The data directory, absolute, without a trailing separator.
    const QString& directory() const { return m_directory; }

    // Path of an existing table file (relative names are taken in the data directory; case
    // does not matter); empty if there is none.
    QString findFile(const QString& fileName) const;
    bool tableExists(const QString& fileName) const { return !findFile(fileName).isEmpty(); }

    // The loaded table of a file, loading it on first use. Throws FileError if the file is
    // missing, damaged or locked. With `exclusive`, `lock` receives the exclusive use.
    std::shared_ptr<Table> acquire(const QString& fileName, bool exclusive, std::shared_ptr<TableLock>& lock);
    // Starts reading a SQLite table file in the background, to be taken over when it is first
    // acquired. Only outside a transaction and while the file has no journal to recover.
    void preload(const QString& fileName);

    // Writes a new empty table; fails if the file exists. Without a layout, the file name
    // selects it.
    void createTable(const QString& fileName, const TableLayout& layout);
    void createTable(const QString& fileName);
    // Copies a table file, replacing the target. A loaded source is copied as it stands in
    // memory (so also inside a running transaction). The target must not be open.
    void copyTable(const QString& from, const QString& to);
    // Writes the committed content of a SQLite table file into the new file `targetPath`, through
    // the session's own connection (never by copying the bytes of a file it works on). Only
    // outside a transaction.
    void saveTableSnapshot(const QString& fileName, const QString& targetPath);

    void begin();
    void commit();
    // Takes back everything since begin() and reloads every loaded table from its file.
    void rollback();
    bool inTransaction() const { return m_inTransaction; }
    void reloadAll();

    SqliteDb& database() { return *m_db; }
    // How long a write waits for a table locked by another program.
    void setBusyTimeout(int milliseconds);

private:
    void openReadOnly(const QString& lockPath);
    void lockDirectory(int operation);
    void openConnection(const QString& mainFile);
    void removeOrphanedMasterJournals();
    QString absolutePath(const QString& fileName) const;
    QString attach(const QString& path);
    std::unique_ptr<class TableStorage> openStorage(const QString& path, const TableLayout& layout);

    QString m_directory;
    int m_lockFd = -1;
    std::unique_ptr<SqliteDb> m_db;
    std::vector<std::unique_ptr<SqliteDb>> m_sideConnections;
    QHash<QString, std::shared_ptr<Table>> m_tables; // by absolute path
    QHash<QString, int> m_fileLocks;                 // open descriptors for exclusive use
    QHash<QString, QString> m_attached;              // schema alias by absolute path
    int m_attachCount = 0;
    int m_busyTimeout = 2000;
    bool m_inTransaction = false;
    // Last, so that a running preload ends before the connections and tables go.
    std::map<QString, std::unique_ptr<class TablePreload>> m_preloads; // by absolute path
};

} // namespace kontaro::data
