#pragma once

#include <QString>
#include <QStringList>

namespace kontaro::data {
class Session;
}

namespace kontaro::years {

// Carries a year's books into the directory of the next year: the opening journal as the new
// journal and opening journal, the chart with its balances, an emptied ledger, the settings, the
// templates, the single-year chart and both archive variants, and the installation files that are
// there.
//
// The files come in chains: inside a chain a file is only carried when the tables and the settings
// file before it were there; other files are carried when present and never stop a chain. Tables
// are written from the session, never by copying the bytes of a file it works on. Every file
// replaces its target in one step; with a backup folder, a file that is replaced is first kept
// there.
class CarryOver {
public:
    CarryOver(data::Session& session, QString targetDirectory);

    // Keep the files that get replaced in this folder (created inside the target directory on
    // first use).
    void keepReplacedFilesIn(const QString& folderName);
    // Carries every chain. Throws FileError when a file that is there cannot be written.
    void run();

    // The backup folder, when a file was kept there; empty otherwise.
    QString usedBackupFolder() const { return m_backupUsed ? m_backupFolder : QString(); }
    // Target names of the files written, in order.
    const QStringList& written() const { return m_written; }

private:
    enum class Kind { Table, EmptiedTable, Settings, Other };
    struct File {
        const char* source;
        const char* target;
        Kind kind;
    };

    // False when the source is missing.
    bool carry(const File& file);
    QString prepareTarget(const QString& name);
    void writeTable(const QString& source, const QString& target);
    void writeEmptyTable(const QString& source, const QString& target);

    data::Session& m_session;
    QString m_target;
    QString m_backupFolder;
    bool m_backupUsed = false;
    QStringList m_written;
};

} // namespace kontaro::years
