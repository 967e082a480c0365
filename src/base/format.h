#pragma once

#include "base/money.h"

#include <QChar>
#include <QString>
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <span>
#include <stdexcept>
#include <type_traits>
#include <variant>
#include <vector>

namespace kontaro {

// A format string and its arguments do not fit together: a programming error, never user input.
class FormatError : public std::logic_error {
public:
    explicit FormatError(const QString& message);
};

// One argument of format(): a text, an integer, an exact amount or a floating value.
class FormatArg {
public:
    using Value = std::variant<QString, std::int64_t, Money, long double>;

    FormatArg(const QString& text)
        : m_value(text) {}
    FormatArg(const char* utf8)
        : m_value(QString::fromUtf8(utf8)) {}
    FormatArg(QChar c)
        : m_value(QString(c)) {}
    FormatArg(Money amount)
        : m_value(amount) {}
    FormatArg(double value)
        : m_value(static_cast<long double>(value)) {}
    FormatArg(long double value)
        : m_value(value) {}
    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>) FormatArg(T value)
        : m_value(toInt64(value)) {}
    FormatArg(bool) = delete;
    FormatArg(char) = delete;

    const Value& value() const { return m_value; }

private:
    template <std::integral T> static std::int64_t toInt64(T value) {
        if constexpr (std::is_unsigned_v<T> && sizeof(T) >= sizeof(std::int64_t)) {
            if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
                throw FormatError(QStringLiteral("Ganzzahl zu groß für die Ausgabe"));
        }
        return static_cast<std::int64_t>(value);
    }

    Value m_value;
};

// Builds a report line. Directives, each taking the next argument:
//   %[-][W][.P]s  text, cut to P characters when P is given, padded to W columns
//   %[-][W][.P]d  integer, at least P digits (zero-padded), padded to W columns
//   %[-][W][.P]n  money, integer or floating value with P decimals (default 2) and thousands
//                 separators; %[-][W][.P]f the same without thousands separators
//   %%            a single "%"
// "-" aligns left, otherwise values are right-aligned; numbers are never cut to W. Separators come
// from FormatSettings. Money is rounded exactly in decimal; all values round half away from zero
// (0,125 -> "0,13"), as number formatters print. Floating values are first taken to 18 significant
// digits. A value that rounds to zero prints without a minus sign.
// Missing, surplus or mismatched arguments throw FormatError.
QString format(const QString& pattern, std::initializer_list<FormatArg> args);
QString format(const QString& pattern, std::span<const FormatArg> args);

// A pattern of format() read once, for reports that build many lines with it; format() reads its
// pattern anew on every call. A faulty pattern throws when a line is built, with the message and
// at the point format() throws it. Separators are taken from FormatSettings per line.
class Format {
public:
    explicit Format(QString pattern);

    QString operator()(std::initializer_list<FormatArg> args) const;
    QString operator()(std::span<const FormatArg> args) const;
    // The same appended to a text being built (a line of an export).
    void appendTo(QString& out, std::initializer_list<FormatArg> args) const;

    const QString& pattern() const { return m_pattern; }

    struct Directive {
        QString text; // as written, for error messages
        bool leftAlign = false;
        int width = 0;
        std::optional<int> precision;
        char type = 0;
    };

private:
    // The literal text before a directive; the last piece may have no directive.
    struct Piece {
        QString literal;
        std::optional<Directive> directive;
    };

    void append(QString& out, std::span<const FormatArg> args) const;

    QString m_pattern;
    std::vector<Piece> m_pieces;
    std::optional<FormatError> m_error; // a fault in the pattern after the last piece
    qsizetype m_sizeHint = 0;
};

// The shortest general form of a number with 15 significant digits: no thousands separator, no
// trailing zeros, the current decimal separator ("6172,83333333333", "-1234,5", "0"). Numbers with
// more than 15 integer digits or below 0,00001 are written as mantissa, "E" and exponent without
// a plus sign ("1E15", "1,5E-7"). Infinite and undefined values give "INF", "-INF" and "NAN".
QString generalNumber(long double value);

// Reads a number as a user or a report line writes it: optional blanks around it, optional sign,
// digits with the current decimal separator, optional exponent ("1,5E3"); no thousands separators.
std::optional<long double> parseNumber(const QString& text);

} // namespace kontaro
