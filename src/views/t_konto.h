#pragma once

#include "forms/form.h"
#include "forms/windows.h"

namespace kontaro::views {

// The ledger-account window ("Hauptbuch"): one account's master data in a header strip and its
// ledger lines, most recent first. The account follows the chart window's cursor unless the manual
// choice is ticked. It prints accounts and re-derives every account balance from the ledger.
class T_Konto : public forms::Form {
public:
    explicit T_Konto(forms::Windows& windows);

private:
    forms::Windows& m_windows;
};

} // namespace kontaro::views
