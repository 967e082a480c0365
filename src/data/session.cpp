#include "data/session.h"

#include "base/errors.h"
#include "data/dbf_storage.h"
#include "data/sqlite_storage.h"
#include "data/table.h"
#include "data/table_preload.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

namespace kontaro::data {

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

FileError notFound(const QString& path) {
    return FileError(QStringLiteral("Die Tabelle \"%1\" wurde nicht gefunden.").arg(native(path)));
}

const TableLayout& layoutOf(const QString& path) {
    const TableLayout* layout = layouts::forFileName(path);
    if (!layout)
        throw FileError(
            QStringLiteral("Die Datei \"%1\" ist keine Tabelle dieses Programms.").arg(native(path)));
    return *layout;
}

} // namespace

TableLock::TableLock(Table& table, int fd)
    : m_table(table)
    , m_fd(fd) {
    m_table.setExclusive(true);
}

TableLock::~TableLock() {
    // The descriptor stays open until the session ends: closing it would drop SQLite's own
    // POSIX locks on the same file.
    flock(m_fd, LOCK_UN);
    m_table.setExclusive(false);
}

Session::Session(const QString& directory, Access access) {
    const QFileInfo info(directory);
    m_directory = QDir::cleanPath(info.absoluteFilePath());
    if (!info.isDir())
        throw FileError(
            QStringLiteral("Das Verzeichnis \"%1\" wurde nicht gefunden.").arg(native(m_directory)));
    const QString lockPath = m_directory + QStringLiteral("/Kontaro.lock");
    if (access == Access::ReadOnly) {
        openReadOnly(lockPath);
        return;
    }
    const QByteArray encodedDir = QFile::encodeName(m_directory);
    m_lockFd = ::access(encodedDir.constData(), W_OK) == 0
                   ? ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)
                   : -1;
    if (m_lockFd < 0)
        throw FileError(QStringLiteral("In das Verzeichnis \"%1\" kann nicht geschrieben werden.")
                            .arg(native(m_directory)));
    lockDirectory(LOCK_EX);
    openConnection(lockPath);
    // Attach every table file of the directory now, so that a table first opened inside a
    // transaction still takes part in it. A damaged file is skipped here and reported when
    // it is opened.
    const QStringList entries = QDir(m_directory).entryList(QDir::Files);
    bool unreadable = false;
    for (const QString& entry : entries) {
        const TableLayout* layout = layouts::forFileName(entry);
        if (!layout || layout->format != TableFormat::Sqlite)
            continue;
        try {
            attach(m_directory + QLatin1Char('/') + entry);
        } catch (const FileError&) {
            unreadable = true;
        }
    }
    if (!unreadable)
        removeOrphanedMasterJournals();
}

void Session::openReadOnly(const QString& lockPath) {
    m_lockFd = ::open(QFile::encodeName(lockPath).constData(), O_RDONLY | O_CLOEXEC);
    lockDirectory(LOCK_SH);
    openConnection(QStringLiteral(":memory:"));
}

// Takes the lock file (when there is one) shared or exclusive; throws when another program holds
// the books.
void Session::lockDirectory(int operation) {
    if (m_lockFd < 0 || flock(m_lockFd, operation | LOCK_NB) == 0)
        return;
    ::close(m_lockFd);
    m_lockFd = -1;
    throw FileError(
        QStringLiteral("Die Bücher in \"%1\" sind bereits in einem anderen Kontaro-Programm geöffnet.")
            .arg(native(m_directory)));
}

// The connection, on `mainFile`; the directory lock goes again when it cannot be opened.
void Session::openConnection(const QString& mainFile) {
    try {
        m_db = std::make_unique<SqliteDb>(mainFile);
        m_db->setBusyTimeout(m_busyTimeout);
    } catch (...) {
        if (m_lockFd >= 0)
            ::close(m_lockFd);
        m_lockFd = -1;
        throw;
    }
}

// A kill during the commit of a transaction over several tables can leave SQLite's master
// journal ("Kontaro.lock-mj...") behind. It may only go once no table journal needs it any more:
// reading every table of the directory first rolls back what a crash left half done (a table
// journal still there afterwards is not hot, and SQLite leaves it alone).
void Session::removeOrphanedMasterJournals() {
    QDir directory(m_directory);
    const QStringList masters = directory.entryList({QStringLiteral("Kontaro.lock-mj*")}, QDir::Files);
    if (masters.isEmpty())
        return;
    for (const QString& alias : std::as_const(m_attached)) {
        try {
            m_db->execute(QStringLiteral("SELECT count(*) FROM %1.sqlite_master").arg(alias), m_directory);
        } catch (const FileError&) {
            return; // a table that cannot be read keeps its journal, and the master with it
        }
    }
    for (const QString& master : masters)
        directory.remove(master);
}

QString Session::attach(const QString& path) {
    const QString alias = QStringLiteral("t%1").arg(++m_attachCount);
    SqliteStatement attach(*m_db, QStringLiteral("ATTACH DATABASE ?1 AS %1").arg(alias), path);
    attach.bind(1, path);
    attach.execute();
    try {
        m_db->execute(QStringLiteral("PRAGMA %1.journal_mode=DELETE; PRAGMA %1.synchronous=FULL").arg(alias),
                      path);
    } catch (...) {
        m_db->execute(QStringLiteral("DETACH DATABASE %1").arg(alias));
        throw;
    }
    m_attached.insert(path, alias);
    return alias;
}

Session::~Session() {
    m_preloads.clear(); // waits for a read still running
    m_tables.clear();
    m_sideConnections.clear();
    m_db.reset();
    for (int fd : std::as_const(m_fileLocks))
        ::close(fd);
    if (m_lockFd >= 0)
        ::close(m_lockFd); // releases the directory lock
}

QString Session::absolutePath(const QString& fileName) const {
    return QDir::cleanPath(QDir(m_directory).absoluteFilePath(fileName));
}

QString Session::findFile(const QString& fileName) const {
    const QString path = absolutePath(fileName);
    if (QFileInfo(path).isFile())
        return path;
    const QFileInfo info(path);
    const QDir dir = info.absoluteDir();
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries)
        if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return dir.absoluteFilePath(entry);
    return {};
}

void Session::setBusyTimeout(int milliseconds) {
    m_busyTimeout = milliseconds;
    m_db->setBusyTimeout(milliseconds);
    for (auto& side : m_sideConnections)
        side->setBusyTimeout(milliseconds);
}

std::unique_ptr<TableStorage> Session::openStorage(const QString& path, const TableLayout& layout) {
    if (layout.format == TableFormat::Dbase)
        return std::make_unique<DbfStorage>(path, layout);
    QString alias = m_attached.value(path);
    if (alias.isEmpty() && m_inTransaction) {
        m_sideConnections.push_back(std::make_unique<SqliteDb>(path));
        SqliteDb& side = *m_sideConnections.back();
        side.setBusyTimeout(m_busyTimeout);
        side.execute(QStringLiteral("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL"), path);
        return std::make_unique<SqliteStorage>(side, QStringLiteral("main"), path, layout);
    }
    if (alias.isEmpty())
        alias = attach(path);
    return std::make_unique<SqliteStorage>(*m_db, alias, path, layout);
}

std::shared_ptr<Table> Session::acquire(const QString& fileName, bool exclusive,
                                        std::shared_ptr<TableLock>& lock) {
    const QString path = findFile(fileName);
    if (path.isEmpty())
        throw notFound(absolutePath(fileName));
    std::shared_ptr<Table> table = m_tables.value(path);
    if (table && (table->exclusive() || (exclusive && table->openCount() > 0)))
        throw FileError(
            QStringLiteral(
                "Die Tabelle \"%1\" ist bereits in Verwendung und kann nicht exklusiv geöffnet werden.")
                .arg(native(path)));
    if (exclusive) {
        int fd = m_fileLocks.value(path, -1);
        if (fd < 0) {
            fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                throw notFound(path);
            m_fileLocks.insert(path, fd);
        }
        if (flock(fd, LOCK_EX | LOCK_NB) != 0)
            throw FileError(
                QStringLiteral("Die Tabelle \"%1\" ist von einem anderen Programm exklusiv geöffnet.")
                    .arg(native(path)));
    }
    try {
        if (!table) {
            const TableLayout& layout = layoutOf(path);
            std::optional<LoadedTable> loaded;
            if (const auto preloaded = m_preloads.find(path); preloaded != m_preloads.end()) {
                loaded = preloaded->second->take();
                m_preloads.erase(preloaded);
            }
            std::unique_ptr<TableStorage> storage = openStorage(path, layout);
            table = loaded ? std::make_shared<Table>(layout, path, std::move(storage), std::move(*loaded))
                           : std::make_shared<Table>(layout, path, std::move(storage));
            m_tables.insert(path, table);
        }
    } catch (...) {
        if (exclusive)
            flock(m_fileLocks.value(path), LOCK_UN);
        throw;
    }
    if (exclusive)
        lock = std::make_shared<TableLock>(*table, m_fileLocks.value(path));
    return table;
}

void Session::preload(const QString& fileName) {
    const QString path = findFile(fileName);
    if (path.isEmpty() || m_inTransaction || m_tables.contains(path) || m_preloads.count(path) != 0)
        return;
    const TableLayout& layout = layoutOf(path);
    // A journal left by a crash is recovered by the session's own connection, never beside it.
    if (layout.format != TableFormat::Sqlite || QFileInfo::exists(path + QStringLiteral("-journal")))
        return;
    m_preloads.emplace(path, std::make_unique<TablePreload>(path, layout));
}

void Session::createTable(const QString& fileName, const TableLayout& layout) {
    const QString existing = findFile(fileName);
    if (!existing.isEmpty())
        throw FileError(QStringLiteral("Die Tabelle \"%1\" gibt es bereits.").arg(native(existing)));
    const QString path = absolutePath(fileName);
    if (layout.format == TableFormat::Dbase)
        DbfStorage::createFile(path, layout);
    else
        SqliteStorage::createFile(path, layout);
    if (layout.format == TableFormat::Sqlite && !m_inTransaction)
        attach(path);
}

void Session::createTable(const QString& fileName) {
    createTable(fileName, layoutOf(fileName));
}

void Session::copyTable(const QString& from, const QString& to) {
    const QString source = findFile(from);
    if (source.isEmpty())
        throw notFound(absolutePath(from));
    QString target = findFile(to);
    if (!target.isEmpty()) {
        if (m_attached.contains(target) && !m_tables.contains(target) && !m_inTransaction) {
            m_db->execute(QStringLiteral("DETACH DATABASE %1").arg(m_attached.value(target)), target);
            m_attached.remove(target);
        }
        if (m_attached.contains(target) || m_tables.contains(target))
            throw FileError(QStringLiteral("Die Tabelle \"%1\" ist geöffnet und kann nicht ersetzt werden.")
                                .arg(native(target)));
        if (!QFile::remove(target))
            throw FileError(
                QStringLiteral("Die Tabelle \"%1\" kann nicht ersetzt werden.").arg(native(target)));
    } else {
        target = absolutePath(to);
    }
    const std::shared_ptr<Table> loaded = m_tables.value(source);
    const TableLayout& layout = layoutOf(source);
    if (!loaded || layout.format == TableFormat::Dbase) {
        if (!QFile::copy(source, target))
            throw FileError(QStringLiteral("Die Tabelle \"%1\" kann nicht nach \"%2\" kopiert werden.")
                                .arg(native(source), native(target)));
        QFile(target).setPermissions(QFile(target).permissions() | QFile::WriteOwner);
        return;
    }
    // Copy what the session sees, which includes writes of a transaction not yet committed.
    SqliteStorage::createFile(target, layout);
    SqliteDb db(target);
    db.setBusyTimeout(m_busyTimeout);
    SqliteStorage storage(db, QStringLiteral("main"), target, layout);
    db.execute(QStringLiteral("BEGIN"), target);
    OrderIndex& natural = loaded->natural();
    for (std::size_t i = 0; i < natural.size(); ++i) {
        const Row& row = *natural.at(i);
        storage.insert(RowRecord{row.id, row.pos, loaded->columns().values(row.slot)});
    }
    db.execute(QStringLiteral("COMMIT"), target);
}

void Session::saveTableSnapshot(const QString& fileName, const QString& targetPath) {
    if (m_inTransaction)
        throw std::logic_error("table snapshot inside a transaction");
    const QString source = findFile(fileName);
    if (source.isEmpty())
        throw notFound(absolutePath(fileName));
    if (layoutOf(source).format != TableFormat::Sqlite)
        throw std::logic_error("table snapshot of a dBASE file");
    QString alias = m_attached.value(source);
    if (alias.isEmpty())
        alias = attach(source);
    SqliteStatement vacuum(*m_db, QStringLiteral("VACUUM %1 INTO ?1").arg(alias), source);
    vacuum.bind(1, targetPath);
    vacuum.execute();
}

void Session::begin() {
    if (m_inTransaction)
        return;
    m_db->execute(QStringLiteral("BEGIN"), m_directory);
    m_inTransaction = true;
}

void Session::commit() {
    if (!m_inTransaction)
        return;
    m_db->execute(QStringLiteral("COMMIT"), m_directory);
    m_inTransaction = false;
}

void Session::rollback() {
    m_inTransaction = false;
    // Some errors (a full disk among them) end the transaction inside SQLite already.
    if (!sqlite3_get_autocommit(m_db->handle()))
        m_db->execute(QStringLiteral("ROLLBACK"), m_directory);
    reloadAll();
}

void Session::reloadAll() {
    for (const std::shared_ptr<Table>& table : std::as_const(m_tables))
        table->reload();
}

} // namespace kontaro::data
