#pragma once

#include "base/money.h"

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

// Type letters of the chart.
inline bool isIncomeOrExpense(const QString& typ) {
    return typ == QLatin1String("A") || typ == QLatin1String("E");
}
inline bool isBalanceSheet(const QString& typ) {
    return typ == QLatin1String("B") || typ == QLatin1String("K") || typ == QLatin1String("U");
}
// Only an upper-case letter marks a usable account; lower case, ":" and empty are protected.
inline bool isUsableType(const QString& typ) {
    return !typ.isEmpty() && typ[0] >= QLatin1Char('A') && typ[0] <= QLatin1Char('Z');
}

} // namespace kontaro::posting
