#include "posting/posting_amounts.h"

namespace kontaro::posting {

namespace {

// A rate of -100 % would divide by zero; such a rate is treated as no VAT at all.
std::int64_t factorPercent(int ustP) {
    return 100 + ustP == 0 ? 100 : 100 + ustP;
}

// value × numerator / denominator rounded once, straight to whole cents: a result in units of
// 1/10000 of (denominator × 100) is a count of cents.
Money toCents(Money value, std::int64_t numerator, std::int64_t denominator) {
    return Money::fromCents(value.mulDiv(numerator, denominator * 100, Rounding::HalfEven).units());
}

} // namespace

Money grossToCent(Money net, int ustP) {
    return toCents(net, factorPercent(ustP), 100);
}

Money netToCent(Money gross, int ustP) {
    return toCents(gross, 100, factorPercent(ustP));
}

Money netFourDecimals(Money gross, int ustP) {
    return gross.mulDiv(100, factorPercent(ustP), Rounding::HalfEven);
}

std::int64_t percentHalfEven(Money part, Money whole) {
    return part.mulDiv(100, whole.units(), Rounding::HalfEven).units();
}

} // namespace kontaro::posting
