#pragma once

#include "forms/form.h"
#include "forms/windows.h"

#include <QStringList>
#include <memory>

namespace kontaro::data {
class Cursor;
}

namespace kontaro::views {

// The chart-of-accounts window: every account record in account-number order, edited only through
// its commands. Its search word `Suchwort` is how the other windows select an account; every move
// of its cursor makes the ledger and previous-years windows follow. It prints the chart and the
// group sums.
class T_Kontoplan : public forms::Form {
public:
    explicit T_Kontoplan(forms::Windows& windows);
    ~T_Kontoplan() override;

    // Account selection by the other windows: sets the search word and runs the search, so the
    // chart's cursor (and through it the ledger window) moves to the account.
    void setSuchwort(const QString& word);
    // The chart's table in account-number order; its current record is the selected account.
    data::Cursor& table() const { return *m_table; }
    QString currentKnr() const;

    // The type letters the grid's `Typ` column offers, in order (nine rows visible); a lower-case
    // letter marks a protected account.
    static QStringList typAuswahl();

private:
    // Account selection (search word and cursor move).
    void search();
    void cursorMoved();

    forms::Windows& m_windows;
    std::unique_ptr<data::Cursor> m_table;
};

} // namespace kontaro::views
