#include "base/decimal_digits.h"

#include <charconv>
#include <cmath>

namespace kontaro {

DecimalDigits DecimalDigits::fromScaled(std::int64_t value, int decimals) {
    DecimalDigits result;
    result.m_negative = value < 0;
    // Through unsigned so that the smallest int64 keeps its magnitude.
    const std::uint64_t magnitude =
        value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    result.m_digits = std::to_string(magnitude);
    result.m_point = static_cast<int>(result.m_digits.size()) - decimals;
    result.normalize();
    return result;
}

DecimalDigits DecimalDigits::fromFloat(long double value) {
    DecimalDigits result;
    result.m_negative = std::signbit(value);
    // to_chars does not depend on the C locale, which Qt sets from the environment.
    char buffer[64];
    const auto converted =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 17);
    const std::string text(buffer, converted.ptr);
    const std::size_t e = text.find('e');
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] != '.')
            result.m_digits += text[i];
    }
    result.m_point = std::stoi(text.substr(e + 1)) + 1;
    result.normalize();
    return result;
}

void DecimalDigits::normalize() {
    std::size_t leading = 0;
    while (leading < m_digits.size() && m_digits[leading] == '0')
        ++leading;
    m_digits.erase(0, leading);
    m_point -= static_cast<int>(leading);
    while (!m_digits.empty() && m_digits.back() == '0')
        m_digits.pop_back();
    if (m_digits.empty())
        m_point = 0;
}

void DecimalDigits::roundToDecimals(int decimals) {
    roundAt(m_point + decimals);
}

void DecimalDigits::roundToSignificant(int digits) {
    roundAt(digits);
}

// Keeps the first `keep` digits and rounds half away from zero on the first dropped one.
void DecimalDigits::roundAt(int keep) {
    if (isZero() || keep >= significantDigits())
        return;
    const bool up = keep >= 0 && m_digits[static_cast<std::size_t>(keep)] >= '5';
    m_digits.resize(static_cast<std::size_t>(keep < 0 ? 0 : keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && m_digits[static_cast<std::size_t>(i)] == '9') {
            m_digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++m_digits[static_cast<std::size_t>(i)];
        } else {
            m_digits.insert(m_digits.begin(), '1');
            ++m_point;
        }
    }
    normalize();
}

char DecimalDigits::digitAt(int index) const {
    if (index < 0 || index >= significantDigits())
        return '0';
    return m_digits[static_cast<std::size_t>(index)];
}

QString DecimalDigits::fixed(int decimals, QChar decimalSeparator, QChar groupSeparator) const {
    QString text;
    const int wholeDigits = m_point > 0 ? m_point : 1;
    const int firstIndex = m_point > 0 ? 0 : m_point - 1; // a single "0" before the point
    text.reserve(wholeDigits + wholeDigits / 3 + decimals + 1);
    for (int i = 0; i < wholeDigits; ++i) {
        if (i > 0 && !groupSeparator.isNull() && (wholeDigits - i) % 3 == 0)
            text += groupSeparator;
        text += QLatin1Char(digitAt(firstIndex + i));
    }
    if (decimals > 0) {
        text += decimalSeparator;
        for (int i = 0; i < decimals; ++i)
            text += QLatin1Char(digitAt(m_point + i));
    }
    return text;
}

QString DecimalDigits::mantissa(QChar decimalSeparator) const {
    QString text(QLatin1Char(digitAt(0)));
    if (significantDigits() > 1) {
        text += decimalSeparator;
        text += QString::fromLatin1(m_digits.data() + 1, significantDigits() - 1);
    }
    return text;
}

} // namespace kontaro
