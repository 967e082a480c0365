#pragma once

#include <QString>
#include <QStringList>

namespace kontaro::years {

// Lets SQLite recover every table of a directory that a crashed program left with a rollback
// journal or a write-ahead log beside it, so that the table holds its last committed state and no
// such file applies old pages to whatever later takes the table's place. Throws FileError naming
// the table that cannot be recovered.
void recoverTableJournals(const QString& directory);

// Removes the temporary directory of a new year that did not finish, after taking back a
// replacement it interrupted. False when a program is still building it or it cannot be taken
// back (it then stays).
bool removeInterruptedYear(const QString& built);

// Puts a year built completely in a temporary directory in place of an existing year directory:
// the old year's files move into a backup folder inside it and the new files take their places.
// Only names change hands, so nothing can fail for want of space; a step that fails takes back
// every step before it, and a plan written first lets the next start take them back after a
// crash. Subfolders of the old year stay where they are (the voucher folder among them).
class YearReplacement {
public:
    YearReplacement(QString built, QString target, QString backupFolder);

    // Throws FileError naming the directory that could not be written; the old year is then as it
    // was.
    void run();

    // Takes back a replacement that was interrupted in the temporary directory `built`, if it left
    // a plan there. False when it could not be taken back completely (the plan stays for another
    // try).
    static bool rollBackInterrupted(const QString& built);
    // A replacement in `built` was interrupted and not yet taken back.
    static bool hasPlan(const QString& built);

private:
    struct Plan {
        QString target;
        QString backupFolder;
        QStringList oldFiles; // names in the target directory
        QStringList newFiles; // names in the built directory
    };
    static QString planPath(const QString& built);
    void writePlan(const Plan& plan) const;
    static bool readPlan(const QString& built, Plan& plan);
    // Moves every file that already moved back to where it was; false if one cannot be moved.
    static bool rollBack(const QString& built, const Plan& plan);

    QString m_built;
    QString m_target;
    QString m_backupFolder;
};

} // namespace kontaro::years
