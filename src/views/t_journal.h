#pragma once

#include "forms/form.h"
#include "forms/windows.h"

#include <memory>

namespace kontaro::data {
class Cursor;
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

private:
    void goToNumber();

    forms::Windows& m_windows;
    std::unique_ptr<data::Cursor> m_lines;
};

} // namespace kontaro::views
