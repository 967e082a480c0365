#include "base/money_text.h"

#include "base/format.h"

#include <cstdint>

namespace kontaro {

QString moneyGroupedText(Money amount) {
    return format(QStringLiteral("%n"), {amount});
}

QString moneyTwoDecimalsText(Money amount) {
    return format(QStringLiteral("%.2f"), {amount});
}

QString moneyExactCommaText(Money amount) {
    const std::int64_t units = amount.units();
    const std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : units;
    const std::uint64_t scale = Money::Scale;
    const std::uint64_t fraction = magnitude % scale;
    // Cents as stored; the two extra digits only when a value carries them.
    const QString decimals =
        fraction % Money::UnitsPerCent == 0
            ? QStringLiteral("%1").arg(fraction / Money::UnitsPerCent, 2, 10, QLatin1Char('0'))
            : QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
    return QStringLiteral("%1%2,%3")
        .arg(units < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / scale)
        .arg(decimals);
}

QString moneyPointCentsText(Money amount) {
    const std::int64_t cents = amount.roundedToCents(Rounding::HalfEven).cents();
    const std::int64_t magnitude = cents < 0 ? -cents : cents;
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

} // namespace kontaro
