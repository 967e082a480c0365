#pragma once

#include "forms/form.h"
#include "forms/windows.h"

namespace kontaro::posting {

// The posting window. It shows the current line of the journal with its accounts, VAT and the
// balances before and after posting, colours the entry fields, and carries the message line whose
// first letter decides whether the line may be posted. Its buttons post, undo, insert, delete and
// protect lines, close the VAT accounts, and fill the entry fields (templates, voucher and statement
// numbers, date steps, currency conversion, account search).
class T_Buchen : public forms::Form {
public:
    explicit T_Buchen(forms::Windows& windows);

private:
    forms::Windows& m_windows;
};

} // namespace kontaro::posting
