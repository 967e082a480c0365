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
// replaces its target in one step.
class CarryOver {
public:
    // `shownDirectory`: the directory a write failure names (the target when empty), for a target
    // that is a temporary stand-in for it.
    CarryOver(data::Session& session, QString targetDirectory, QString shownDirectory = {});

    // Carries every chain. Throws FileError when a file that is there cannot be read, or naming the
    // shown directory when one cannot be written.
    void run();

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
    QString targetPath(const QString& name) const;
    void writeTable(const QString& source, const QString& target);
    void writeEmptyTable(const QString& source, const QString& target);

    data::Session& m_session;
    QString m_target;
    QString m_shownTarget;
    QStringList m_written;
};

} // namespace kontaro::years
