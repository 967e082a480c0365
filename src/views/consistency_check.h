#pragma once

namespace kontaro::forms {
class Windows;
}
namespace kontaro::output {
class LineList;
}

namespace kontaro::views {

// Checks the whole books: journal against ledger, the acquisition accounts, VAT accounts that are
// not configured, VAT rates and group codes that do not fit the group scheme, and the income and
// expense balances by VAT rate; then the rules between journal, ledger and chart (a finding there is
// an error). The findings go to `ag` and are saved as prüfung.txt in the data directory; errors are
// shown in message boxes and the result in the status line. Changes no table, apart from posting
// the current line when the journal window shows it with another mark.
//
// Returns true when no error box was shown (neither the journal mismatch nor "!! FEHLER !!").
bool checkBooks(forms::Windows& windows, output::LineList& ag);

} // namespace kontaro::views
