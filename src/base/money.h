#pragma once

#include <QString>
#include <compare>
#include <cstdint>
#include <optional>
#include <ranges>
#include <stdexcept>

namespace kontaro {

// Thrown when an amount leaves the range of Money; never a wrapped value.
class MoneyOverflow : public std::overflow_error {
public:
    MoneyOverflow();
};

enum class Rounding {
    TowardZero, // how every amount is cut when it is stored
    HalfEven,   // where a rule asks for rounding ("banker's rounding")
};

// An exact amount in units of 1/10000. Money fields of the tables keep two decimals:
// storing cuts toward zero (12,0167 -> 12,01; -0,0099 -> 0,00), it never rounds.
class Money {
public:
    static constexpr std::int64_t Scale = 10000;
    static constexpr std::int64_t UnitsPerCent = 100;

    constexpr Money() = default;
    static constexpr Money fromUnits(std::int64_t units) { return Money(units); }
    static Money fromCents(std::int64_t cents);
    static Money fromInteger(std::int64_t whole);
    // A floating-point amount (archive tables, dBASE fields) rounded once to the nearest 1/10000,
    // so that 0.29, whose binary value lies just below, stays 0,29. Storing then cuts to cents.
    // Throws MoneyOverflow for values out of range, infinities and NaN.
    static Money fromDouble(double value);

    constexpr std::int64_t units() const { return m_units; }
    // Whole cents after cutting toward zero: what a money field holds.
    constexpr std::int64_t cents() const { return m_units / UnitsPerCent; }
    constexpr bool isZero() const { return m_units == 0; }
    constexpr bool isNegative() const { return m_units < 0; }
    constexpr bool isPositive() const { return m_units > 0; }
    // -1, 0 or 1.
    constexpr int sign() const { return (m_units > 0) - (m_units < 0); }
    Money abs() const { return isNegative() ? -*this : *this; }

    // The value a money field keeps: cut toward zero to cents.
    constexpr Money stored() const { return Money(cents() * UnitsPerCent); }
    Money roundedToCents(Rounding rounding) const;

    // this * numerator / denominator, exact in between, rounded to 1/10000.
    Money mulDiv(std::int64_t numerator, std::int64_t denominator, Rounding rounding) const;
    Money operator*(std::int64_t factor) const;
    // this / divisor, rounded to 1/10000 as asked.
    Money dividedBy(std::int64_t divisor, Rounding rounding) const { return mulDiv(1, divisor, rounding); }

    Money operator+(Money other) const;
    Money operator-(Money other) const;
    Money operator-() const;
    Money& operator+=(Money other) { return *this = *this + other; }
    Money& operator-=(Money other) { return *this = *this - other; }

    constexpr auto operator<=>(const Money&) const = default;

    // For the reports that sum in floating point; exact up to the 64-bit mantissa of long double.
    long double toLongDouble() const { return static_cast<long double>(m_units) / Scale; }

    // Exact sum of a range of amounts; throws MoneyOverflow like operator+.
    template <std::ranges::input_range Range> static Money sum(const Range& amounts) {
        Money total;
        for (const Money& amount : amounts)
            total += amount;
        return total;
    }

    // Plain decimal text with up to four decimals and the given separator, e.g. "-1234,5";
    // no thousands separator. Meant for tests and logs; reports use the format directives.
    QString toPlainString(QChar decimalSeparator = QLatin1Char(',')) const;

    // Reads "1234,56", "-0,5", "1.234,56", "+3", ",5". Group separators are optional, but where
    // they stand they must split the whole part into groups of three ("1.23" and "1..000" are
    // refused rather than misread). More than four decimals are cut toward zero. Blanks around the
    // text are ignored. Empty or malformed text: nullopt.
    static std::optional<Money> parse(const QString& text, QChar decimalSeparator = QLatin1Char(','),
                                      QChar groupSeparator = QLatin1Char('.'));

private:
    constexpr explicit Money(std::int64_t units)
        : m_units(units) {}
    std::int64_t m_units = 0;
};

} // namespace kontaro
