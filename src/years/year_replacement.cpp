#include "years/year_replacement.h"

#include "base/errors.h"
#include "base/text_file.h"
#include "data/sqlite_db.h"
#include "data/table_layout.h"
#include "years/year_directory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <sys/stat.h>

namespace kontaro::years {

namespace {

const QString PlanName = QStringLiteral(".kontaro-tausch");
const QString LockName = QStringLiteral("Kontaro.lock");

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

FileError cannotWrite(const QString& directory) {
    return FileError(
        QStringLiteral("In das Verzeichnis \"%1\" kann nicht geschrieben werden.").arg(native(directory)));
}

// Also a link whose target is gone counts.
bool present(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

bool move(const QString& from, const QString& to) {
    if (present(to))
        return false; // never replace: every name has exactly one place to go back to
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

void recoverTable(const QString& table) {
    try {
        data::SqliteDb db(table);
        // The first read rolls a hot journal back; a log is written into the table and removed when
        // the connection closes.
        db.execute(QStringLiteral("SELECT count(*) FROM sqlite_master"), table);
        if (present(table + QStringLiteral("-wal")))
            db.execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"), table);
    } catch (const FileError& e) {
        throw FileError(QStringLiteral("Die Tabelle \"%1\" kann nach einem Absturz nicht wiederhergestellt "
                                       "werden:\n%2")
                            .arg(native(table), e.message()));
    }
}

} // namespace

bool removeInterruptedYear(const QString& built) {
    if (!QFileInfo(built).isDir())
        return true;
    const DirectoryLock lock(built, false);
    if (lock.isBusy() || !YearReplacement::rollBackInterrupted(built))
        return false;
    return QDir(built).removeRecursively();
}

void recoverTableJournals(const QString& directory) {
    const QDir dir(directory);
    const QStringList leftovers = dir.entryList({QStringLiteral("*-journal"), QStringLiteral("*-wal")},
                                                QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& leftover : leftovers) {
        const QString table = dir.filePath(leftover.left(leftover.lastIndexOf(QLatin1Char('-'))));
        const data::TableLayout* layout = data::layouts::forFileName(table);
        if (QFileInfo(table).isFile() && layout && layout->format == data::TableFormat::Sqlite)
            recoverTable(table);
    }
}

YearReplacement::YearReplacement(QString built, QString target, QString backupFolder)
    : m_built(std::move(built))
    , m_target(std::move(target))
    , m_backupFolder(std::move(backupFolder)) {}

QString YearReplacement::planPath(const QString& built) {
    return built + QLatin1Char('/') + PlanName;
}

void YearReplacement::run() {
    Plan plan{m_target, m_backupFolder, {}, {}};
    const QDir target(m_target);
    for (const QString& name : target.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (name != LockName)
            plan.oldFiles << name;
    const QDir built(m_built);
    for (const QString& name :
         built.entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (name == LockName || name == PlanName)
            continue;
        // A folder the old year has keeps its content (vouchers belong to their year).
        if (QFileInfo(built.filePath(name)).isDir() && QFileInfo(target.filePath(name)).isDir())
            continue;
        plan.newFiles << name;
    }

    const QString backup = target.filePath(m_backupFolder);
    if (!QDir().mkdir(backup))
        throw cannotWrite(m_target);
    try {
        writePlan(plan);
    } catch (const FileError&) {
        QDir().rmdir(backup);
        throw cannotWrite(m_built);
    }
    bool moved = true;
    for (const QString& name : std::as_const(plan.oldFiles))
        if (!(moved = move(target.filePath(name), backup + QLatin1Char('/') + name)))
            break;
    if (moved)
        for (const QString& name : std::as_const(plan.newFiles))
            if (!(moved = move(built.filePath(name), target.filePath(name))))
                break;
    if (!moved) {
        if (rollBack(m_built, plan))
            QFile::remove(planPath(m_built));
        throw cannotWrite(m_target);
    }
    syncDirectory(backup);
    syncDirectory(m_target);
    // The plan is gone: from here on the new year stands.
    QFile::remove(planPath(m_built));
    syncDirectory(m_built);
}

void YearReplacement::writePlan(const Plan& plan) const {
    QStringList lines = {QStringLiteral("target=") + plan.target,
                         QStringLiteral("backup=") + plan.backupFolder};
    for (const QString& name : plan.oldFiles)
        lines << QStringLiteral("old=") + name;
    for (const QString& name : plan.newFiles)
        lines << QStringLiteral("new=") + name;
    text::writeFile(planPath(m_built), (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

bool YearReplacement::readPlan(const QString& built, Plan& plan) {
    if (!present(planPath(built)))
        return false;
    const QStringList lines = QString::fromUtf8(text::readFile(planPath(built))).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = line.left(equals);
        const QString value = line.mid(equals + 1);
        if (key == QLatin1String("target"))
            plan.target = value;
        else if (key == QLatin1String("backup"))
            plan.backupFolder = value;
        else if (key == QLatin1String("old"))
            plan.oldFiles << value;
        else if (key == QLatin1String("new"))
            plan.newFiles << value;
    }
    return !plan.target.isEmpty() && !plan.backupFolder.isEmpty();
}

// A new file that left the built directory stands in the target; an old file that is in the backup
// folder and not in the target moved there. Both go back, whatever step the replacement reached.
bool YearReplacement::rollBack(const QString& built, const Plan& plan) {
    const QDir target(plan.target);
    const QDir builtDir(built);
    bool complete = true;
    for (const QString& name : plan.newFiles)
        if (!present(builtDir.filePath(name)) && present(target.filePath(name)))
            complete = move(target.filePath(name), builtDir.filePath(name)) && complete;
    const QString backup = target.filePath(plan.backupFolder);
    for (const QString& name : plan.oldFiles)
        if (present(backup + QLatin1Char('/') + name) && !present(target.filePath(name)))
            complete = move(backup + QLatin1Char('/') + name, target.filePath(name)) && complete;
    QDir().rmdir(backup); // only when empty
    syncDirectory(plan.target);
    return complete;
}

bool YearReplacement::hasPlan(const QString& built) {
    return present(planPath(built));
}

bool YearReplacement::rollBackInterrupted(const QString& built) {
    Plan plan;
    try {
        if (!readPlan(built, plan))
            return true;
    } catch (const FileError&) {
        return false;
    }
    if (!rollBack(built, plan))
        return false;
    QFile::remove(planPath(built));
    return true;
}

} // namespace kontaro::years
