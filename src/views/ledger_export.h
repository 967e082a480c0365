#pragma once

#include "forms/windows.h"
#include "output/line_list.h"

namespace kontaro::views {

// "Hauptbuch&Export": the chart of accounts and every account's ledger lines, most recent first,
// as the tab-separated konten.csv in the data directory, for a spreadsheet. The lines are built in
// `ag`; amounts always carry a decimal comma, whatever the user's setting, which is restored also
// after an error. Text fields a spreadsheet would misread (a leading quote, a tab or line break, a
// leading =, +, - or @) are quoted or marked as text. The ledger-account window keeps its account.
void exportLedger(forms::Windows& windows, output::LineList& ag);

// "Budget mit Saldo überschreiben": after the user agrees, every account's budget becomes its
// balance (empty when the balance is). Each save passes the chart's save rules; a refused save
// ends the walk at that account and keeps what was done before it. The status line tells how many
// budgets were overwritten.
void overwriteBudgets(forms::Windows& windows);

} // namespace kontaro::views
