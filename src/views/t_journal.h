#pragma once

#include "forms/form.h"
#include "forms/windows.h"

namespace kontaro::views {

// The journal window: every posting line of the journal, read-only, one panel per line. It finds
// lines by amount, text or posting number, hands the accounts of a posted line to the chart and
// ledger windows, and prints the journal. Its posting-number field `sucheBnr` is where the other
// windows say which line to show.
class T_Journal : public forms::Form {
public:
    explicit T_Journal(forms::Windows& windows);

private:
    forms::Windows& m_windows;
};

} // namespace kontaro::views
