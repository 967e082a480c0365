#pragma once

#include "forms/form.h"
#include "forms/windows.h"

#include <memory>

namespace kontaro::data {
class Cursor;
}
namespace kontaro::output {
class PageBuffer;
}

namespace kontaro::views {

// The journal window: every posting line of the journal, read-only, one panel per line. It finds
// lines by amount, text or posting number, hands the accounts of a posted line to the chart and
// ledger windows, and prints the journal. Its posting-number field `sucheBnr` is where the other
// windows say which line to show.
class T_Journal : public forms::Form {
public:
    explicit T_Journal(forms::Windows& windows);
    ~T_Journal() override;

    // Every posting line in line order; the current one is the line shown.
    data::Cursor& lines() const { return *m_lines; }
    // Shows the posting line with this posting number (empty: the last line), as when the text of
    // `sucheBnr` changes. The posting window calls it after every change of its current line.
    void gotoBnr(const QString& bnr);
    // Re-reads the journal after the posting window changed lines.
    void refreshLines();

    // Searches for `SucheText` (an amount when it reads as a number, else a text) backwards from
    // the line before the current one, or from the line before the last; the line found becomes
    // the shown posting number and its account the chart's.
    void sucheAelter();
    void sucheNeueste();
    // On a posted line: selects its debit account in the chart, or its credit account when the
    // debit account is already selected; the ledger window follows to the line's ledger line.
    void selectAccounts();
    // Journal printout. Mode 0: posted lines; 1: "=" lines; 2: "~" lines; 3 or more: lines from
    // that posting number on.
    void printJournal(int mode);
    // "Journal gesamt oder ab BNR": asks for the posting number to print from (0: nothing).
    void printJournalFromNumber();

private:
    void goToNumber();
    void searchKey(const QString& key);
    void searchBackwards();
    void showFoundLine();
    void writeFirstDate();

    forms::Windows& m_windows;
    std::unique_ptr<data::Cursor> m_lines;
    std::unique_ptr<output::PageBuffer> m_re;
    // The last search ran out without a match; going to the first line's number afterwards moves
    // the cursor there again and so loses the table's at-start flag, which this keeps. Any other
    // go-to-number clears it.
    bool m_searchRanOut = false;
};

} // namespace kontaro::views
