#pragma once

#include "forms/form.h"
#include "forms/windows.h"

#include <QStringList>
#include <memory>
#include <optional>

namespace kontaro::data {
class Cursor;
}
namespace kontaro::output {
class LineList;
class PageBuffer;
} // namespace kontaro::output

namespace kontaro::views {

class KontoplanGrid;
class KontoplanRules;

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

    // Prints the chart of accounts (mode 0 every account, 1 only those with a group) and writes
    // every account to kontoplan.csv. The print button and the main menu's "Druck" entries.
    void printChart(int mode);
    // Prints the budgets and balances summed by group code (the main menu's "Gruppensummen").
    void printGroupSums();
    // The window's report page buffer and its sorted line list (the chart and the group sums).
    output::PageBuffer& re() const { return *m_re; }
    output::LineList& gru() const { return *m_gru; }

    // A record left in edit or insert is saved under the save rules; when a rule refuses it, it
    // is cancelled and a message names the account (program end, new year).
    void finishPendingEdit();

    // The grid's rows and entry rules, with EDIT's field locks.
    KontoplanGrid& grid() const { return *m_grid; }
    // True while the protection toggle runs.
    bool schutzwechsel() const;

    // The type letters the grid's `Typ` column offers, in order (nine rows visible); a lower-case
    // letter marks a protected account.
    static QStringList typAuswahl();

private:
    // Account selection (search word and cursor move).
    void search();
    void cursorMoved();

    // Commands.
    void einfuegen();
    void editieren();
    void schutz();
    void loeschen();
    void abbrechen();
    void speichern();
    void gridKey(const QString& key);
    void gridExit();
    // Deletes the current record under the delete rules; an emptied chart gets a placeholder.
    void deleteCurrent();
    // After every save and cancel: locks lifted, back to the account of the search word.
    void afterSaveOrCancel();
    void stateChanged();

    void onDeactivate() override;

    forms::Windows& m_windows;
    std::unique_ptr<data::Cursor> m_table;
    std::shared_ptr<KontoplanGrid> m_grid;
    std::unique_ptr<KontoplanRules> m_rules;
    std::unique_ptr<output::PageBuffer> m_re;
    std::unique_ptr<output::LineList> m_gru;
    // What the last save wrote, for the warnings of OK (the cursor may have moved on since);
    // empty when nothing was saved since (an untouched new record is dropped, not saved).
    struct Saved {
        QString knr;
        QString ustKnt;
        QString gruppe;
    };
    std::optional<Saved> m_saved;
};

} // namespace kontaro::views
