#pragma once

#include "forms/form.h"
#include "forms/windows.h"

#include <QStringList>

namespace kontaro::views {

// The chart-of-accounts window: every account record in account-number order, edited only through
// its commands. Its search word `Suchwort` is how the other windows select an account; every move
// of its cursor makes the ledger and previous-years windows follow. It prints the chart and the
// group sums.
class T_Kontoplan : public forms::Form {
public:
    explicit T_Kontoplan(forms::Windows& windows);

    // The type letters the grid's `Typ` column offers, in order (nine rows visible); a lower-case
    // letter marks a protected account.
    static QStringList typAuswahl();

private:
    forms::Windows& m_windows;
};

} // namespace kontaro::views
