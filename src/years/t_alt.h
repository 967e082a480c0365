#pragma once

#include "forms/form.h"
#include "forms/windows.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace kontaro::data {
class Cursor;
}

namespace kontaro::years {

// The previous-years window ("Vorjahre"): one account's balance in the current year and the seven
// years before, as figures and as a bar chart, the balance extrapolated to the end of the year, and
// a search through the old journals of the multi-year archive. It only reads.
class T_alt : public forms::Form {
public:
    explicit T_alt(forms::Windows& windows);
    ~T_alt() override;

    // The archive tables (knt9plan, journal9): closed while the archive is rebuilt and opened
    // again afterwards. Opening shows the warning ALT_INFO when they cannot be opened.
    void closeArchive();
    void openArchive();
    bool hasArchive() const { return m_journal != nullptr; }

    // The account selection for the account number in kntNr (each change of kntNr runs it).
    void selectAccount();
    // The search button: the previous row of the archive journal that holds the search term.
    void searchPrevious();

    // The archive journal as the grid shows it (nullptr without archive).
    data::Cursor* journal() const { return m_journal.get(); }

private:
    void applyFilter();
    void addBar(double value);
    bool rowHoldsAmount(std::optional<std::int64_t> units) const;
    bool rowHoldsText(const QString& term) const;

    forms::Windows& m_windows;
    std::unique_ptr<data::Cursor> m_chart;   // the current year's chart of accounts
    std::unique_ptr<data::Cursor> m_journal; // journal9, the grid's cursor
    std::unique_ptr<data::Cursor> m_years;   // knt9plan
    data::Cursor* m_gridReader = nullptr;    // the grid's reading cursor on journal9
    QString m_filterKnr;
    QString m_missingNotice; // ALT_INFO's text for archive tables that are not there
};

} // namespace kontaro::years
