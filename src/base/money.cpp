#include "base/money.h"

#include <cmath>
#include <limits>

namespace kontaro {

namespace {

__extension__ typedef __int128 Wide; // exact intermediates for products of two amounts

std::int64_t checked(Wide value) {
    if (value > std::numeric_limits<std::int64_t>::max() || value < std::numeric_limits<std::int64_t>::min())
        throw MoneyOverflow();
    return static_cast<std::int64_t>(value);
}

// Divides exactly and rounds the quotient as asked.
Wide divide(Wide numerator, Wide denominator, Rounding rounding) {
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    Wide quotient = numerator / denominator; // truncates toward zero
    const Wide remainder = numerator % denominator;
    if (rounding == Rounding::HalfEven && remainder != 0) {
        const Wide twice = (remainder < 0 ? -remainder : remainder) * 2;
        const int direction = numerator < 0 ? -1 : 1;
        if (twice > denominator || (twice == denominator && quotient % 2 != 0))
            quotient += direction;
    }
    return quotient;
}

} // namespace

MoneyOverflow::MoneyOverflow()
    : std::overflow_error("Betrag außerhalb des darstellbaren Bereichs") {}

Money Money::fromCents(std::int64_t cents) {
    return Money(checked(Wide(cents) * UnitsPerCent));
}

Money Money::fromInteger(std::int64_t whole) {
    return Money(checked(Wide(whole) * Scale));
}

Money Money::fromDouble(double value) {
    // In extended precision the product keeps the digits the double carries; only then round.
    const long double scaled = static_cast<long double>(value) * Scale;
    constexpr long double Limit = 9.2e18L;
    if (!std::isfinite(scaled) || scaled >= Limit || scaled <= -Limit)
        throw MoneyOverflow();
    return Money(std::llroundl(scaled));
}

Money Money::roundedToCents(Rounding rounding) const {
    return Money(checked(divide(m_units, UnitsPerCent, rounding) * UnitsPerCent));
}

Money Money::mulDiv(std::int64_t numerator, std::int64_t denominator, Rounding rounding) const {
    if (denominator == 0)
        throw std::domain_error("Division durch null");
    return Money(checked(divide(Wide(m_units) * numerator, denominator, rounding)));
}

Money Money::operator*(std::int64_t factor) const {
    return Money(checked(Wide(m_units) * factor));
}

Money Money::operator+(Money other) const {
    return Money(checked(Wide(m_units) + other.m_units));
}

Money Money::operator-(Money other) const {
    return Money(checked(Wide(m_units) - other.m_units));
}

Money Money::operator-() const {
    return Money(checked(-Wide(m_units)));
}

QString Money::toPlainString(QChar decimalSeparator) const {
    const bool negative = m_units < 0;
    const Wide magnitude = negative ? -Wide(m_units) : Wide(m_units);
    const auto whole = static_cast<unsigned long long>(magnitude / Scale);
    auto fraction = static_cast<int>(magnitude % Scale);
    QString text = negative ? QStringLiteral("-") : QString();
    text += QString::number(whole);
    if (fraction != 0) {
        QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += decimalSeparator + digits;
    }
    return text;
}

std::optional<Money> Money::parse(const QString& input, QChar decimalSeparator, QChar groupSeparator) {
    const QString text = input.trimmed();
    int i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    Wide whole = 0;
    Wide fraction = 0;
    int fractionDigits = 0;
    bool anyDigit = false;
    bool inFraction = false;
    bool grouped = false;
    int groupDigits = 0; // digits of the whole part since the last group separator
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            const int digit = c.unicode() - '0';
            anyDigit = true;
            if (inFraction) {
                if (fractionDigits < 4) {
                    fraction = fraction * 10 + digit;
                    ++fractionDigits;
                }
            } else {
                ++groupDigits;
                whole = whole * 10 + digit;
                if (whole > Wide(std::numeric_limits<std::int64_t>::max()))
                    return std::nullopt;
            }
        } else if (c == decimalSeparator && !inFraction) {
            if (grouped && groupDigits != 3)
                return std::nullopt;
            inFraction = true;
        } else if (c == groupSeparator && !inFraction) {
            if (groupDigits == 0 || groupDigits > 3 || (grouped && groupDigits != 3))
                return std::nullopt;
            grouped = true;
            groupDigits = 0;
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit || (grouped && !inFraction && groupDigits != 3))
        return std::nullopt;
    while (fractionDigits < 4) {
        fraction *= 10;
        ++fractionDigits;
    }
    const Wide units = whole * Scale + fraction;
    if (units > Wide(std::numeric_limits<std::int64_t>::max()))
        return std::nullopt;
    return Money(static_cast<std::int64_t>(negative ? -units : units));
}

} // namespace kontaro
