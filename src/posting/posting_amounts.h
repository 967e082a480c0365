#pragma once

#include "base/money.h"
#include "data/book_codes.h"

#include <QString>
#include <cstdint>

namespace kontaro::posting {

// The arithmetic of a posting line, exact in units of 1/10000.

// amount × (100 + ustP) / 100, rounded to the cent, a half cent to the even cent: the gross amount
// of a net amount.
Money grossToCent(Money net, int ustP);
// amount × 100 / (100 + ustP), rounded to the cent the same way: the net amount of a gross amount.
Money netToCent(Money gross, int ustP);
// amount × 100 / (100 + ustP) to four decimals, a half to the even digit; storing cuts it to cents.
Money netFourDecimals(Money gross, int ustP);
// part / whole × 100 as a whole number, a half to the even number; whole must not be 0.
std::int64_t percentHalfEven(Money part, Money whole);

// Type letters as the posting window reads them: a protected account cannot be posted to, so it has
// no kind here.
inline bool isIncomeOrExpense(const QString& typ) {
    const data::AccountKind kind = data::AccountKind::parse(typ);
    return kind.isUsable() && kind.isIncomeOrExpense();
}
inline bool isBalanceSheet(const QString& typ) {
    const data::AccountKind kind = data::AccountKind::parse(typ);
    return kind.isUsable() && kind.isBalanceSheet();
}
inline bool isUsableType(const QString& typ) {
    return data::AccountKind::parse(typ).isUsable();
}

} // namespace kontaro::posting
