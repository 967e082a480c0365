#pragma once

#include "forms/windows.h"

#include <QStringList>
#include <vector>

namespace kontaro::years {

// Refills the multi-year archive of the data directory (knt9plan.db, journal9.db) from the charts
// and journals of the seven years before the current calendar year, found beside the data
// directory (KT2019 ... KT2025), and computes per account and year the balance without postings
// that touch an X account (SALDO_X), years up to 2001 converted from schillings to euros.
//
// The other years are only read (a write-protected year too); a year whose directory is missing or
// open in another program is left out, one whose chart or journal is damaged as well, and the
// final message names it. Missing archive tables are created.
class ArchiveRebuild {
public:
    explicit ArchiveRebuild(forms::Windows& windows);
    void run();

private:
    // Year directories: the data directory with its last four characters (its year) replaced.
    QString yearDirectory(int year) const;
    // Empty when both archive tables are there or could be made; otherwise why not.
    QString ensureTables();
    struct Year;
    // The years whose chart (and journal, where it is read) open.
    std::vector<Year> openYears();
    int copyCharts(const std::vector<Year>& years);
    void copyJournals(const std::vector<Year>& years);
    void computeBalances();

    forms::Windows& m_windows;
    QStringList m_skipped; // one line per year left out for a damaged table
    int m_firstYear = 0;
    int m_lastYear = 0;
};

} // namespace kontaro::years
