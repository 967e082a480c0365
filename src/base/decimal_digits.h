#pragma once

#include <QChar>
#include <QString>
#include <cstdint>
#include <string>

namespace kontaro {

// A decimal number as a digit string, for printing exact amounts and floating values the same way:
// value = sign * 0.d1 d2 d3 ... * 10^pointPosition. Rounding works on the digits, so it is exact
// decimal rounding whatever the source was.
class DecimalDigits {
public:
    // value / 10^decimals, exactly (Money passes its units with 4 decimals, integers with 0).
    static DecimalDigits fromScaled(std::int64_t value, int decimals);
    // A finite floating value with 18 significant digits, the precision of the x87 extended type.
    static DecimalDigits fromFloat(long double value);

    bool isZero() const { return m_digits.empty(); }
    bool isNegative() const { return m_negative && !isZero(); }
    // Digits before the decimal point (may be zero or negative for values below 0.1).
    int pointPosition() const { return m_point; }
    int significantDigits() const { return static_cast<int>(m_digits.size()); }

    // Half away from zero, the way number formatters print.
    void roundToDecimals(int decimals);
    void roundToSignificant(int digits);

    // Fixed notation without sign: "1234,50"; a null groupSeparator inserts none.
    QString fixed(int decimals, QChar decimalSeparator, QChar groupSeparator = QChar()) const;
    // Mantissa digits of scientific notation, "d" or "d,ddd", without sign and exponent.
    QString mantissa(QChar decimalSeparator) const;

private:
    void roundAt(int keep);
    void normalize();
    char digitAt(int index) const;

    bool m_negative = false;
    std::string m_digits; // no leading or trailing zeros; empty means zero
    int m_point = 0;
};

} // namespace kontaro
