#pragma once

#include "forms/form.h"
#include "forms/windows.h"

namespace kontaro::years {

// The previous-years window ("Vorjahre"): one account's balance in the current year and the seven
// years before, as figures and as a bar chart, the balance extrapolated to the end of the year, and
// a search through the old journals of the multi-year archive. It only reads.
class T_alt : public forms::Form {
public:
    explicit T_alt(forms::Windows& windows);

private:
    forms::Windows& m_windows;
};

} // namespace kontaro::years
