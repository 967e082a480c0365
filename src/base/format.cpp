#include "base/format.h"

#include "base/decimal_digits.h"
#include "base/format_settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace kontaro {

FormatError::FormatError(const QString& message)
    : std::logic_error(message.toStdString()) {}

namespace {

// Generous, but keeps a mistyped width from asking for gigabytes of blanks.
constexpr int MaxWidth = 1000;

using Directive = Format::Directive;

[[noreturn]] void fail(const QString& pattern, const QString& what) {
    throw FormatError(QStringLiteral("Formatfehler in \"%1\": %2").arg(pattern, what));
}

// Blanks and zeros to append by count, without a temporary string per value.
const QChar* repeated(char c) {
    static const QString blanks(MaxWidth, QLatin1Char(' '));
    static const QString zeros(MaxWidth, QLatin1Char('0'));
    return (c == ' ' ? blanks : zeros).constData();
}

// Collects a line's pieces in a buffer of its own and hands them to the text in few appends: a
// report line is made of many short pieces, and each QString::append has a cost of its own.
class LineWriter {
public:
    explicit LineWriter(QString& out)
        : m_out(out) {}
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;
    ~LineWriter() { flush(); }

    qsizetype size() const { return m_out.size() + m_used; }

    void append(const QChar* text, qsizetype length) {
        if (!makeRoom(length)) {
            m_out.append(text, length);
            return;
        }
        std::copy_n(reinterpret_cast<const char16_t*>(text), length, m_buffer + m_used);
        m_used += length;
    }
    void append(QLatin1StringView text) {
        if (!makeRoom(text.size())) {
            m_out.append(text);
            return;
        }
        for (const char c : text)
            m_buffer[m_used++] = static_cast<unsigned char>(c);
    }
    LineWriter& operator+=(QChar c) {
        append(&c, 1);
        return *this;
    }
    LineWriter& operator+=(const QString& text) {
        append(text.constData(), text.size());
        return *this;
    }

    // Moves what was written since `start` (an earlier size()) right by `count`, blanks before it.
    void shiftRight(qsizetype start, qsizetype count) {
        if (start >= m_out.size() && m_used + count <= Capacity) { // all of it still in the buffer
            char16_t* from = m_buffer + (start - m_out.size());
            std::memmove(from + count, from, std::size_t(m_buffer + m_used - from) * sizeof(char16_t));
            std::fill_n(from, count, u' ');
            m_used += count;
            return;
        }
        // Shifted in place rather than by QString::insert, whose general path cost reports with
        // many right-aligned columns a tenth of their time.
        flush();
        const qsizetype length = m_out.size() - start;
        m_out.resize(m_out.size() + count);
        QChar* data = m_out.data();
        std::memmove(data + start + count, data + start, std::size_t(length) * sizeof(QChar));
        std::fill_n(data + start, count, QLatin1Char(' '));
    }

private:
    static constexpr qsizetype Capacity = 512;

    // Whether `length` more units fit the buffer, once what it holds is handed on if need be.
    bool makeRoom(qsizetype length) {
        if (m_used + length <= Capacity)
            return true;
        flush();
        return length <= Capacity;
    }
    void flush() {
        if (m_used == 0)
            return;
        m_out.append(reinterpret_cast<const QChar*>(m_buffer), m_used);
        m_used = 0;
    }

    QString& m_out;
    char16_t m_buffer[Capacity]; // not cleared: only m_used units are ever read
    qsizetype m_used = 0;
};

// Pads what was appended to `out` since `start` to the directive's width.
void pad(LineWriter& out, qsizetype start, const Directive& d) {
    const qsizetype missing = d.width - (out.size() - start);
    if (missing <= 0)
        return;
    if (d.leftAlign)
        out.append(repeated(' '), missing);
    else
        out.shiftRight(start, missing);
}

QString signedText(bool negative, const QString& digits) {
    return negative ? QLatin1Char('-') + digits : digits;
}

QString nonFinite(long double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

std::uint64_t magnitudeOf(std::int64_t value) {
    // Through unsigned so that the smallest int64 keeps its magnitude.
    return value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
}

constexpr std::uint64_t powerOfTen(int exponent) {
    std::uint64_t result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}

// value / 10^scale (scale 0 or 4) with the given decimals, in integer arithmetic: the same digits
// DecimalDigits gives, without building them as a string first.
void appendScaled(LineWriter& out, std::int64_t value, int scale, int decimals, QChar point, QChar group) {
    const std::uint64_t magnitude = magnitudeOf(value);
    std::uint64_t whole = 0;
    std::uint64_t fraction = 0;
    int fractionDigits = 0;
    if (decimals >= scale) {
        whole = magnitude / powerOfTen(scale);
        fraction = magnitude % powerOfTen(scale);
        fractionDigits = scale;
    } else {
        const std::uint64_t unit = powerOfTen(scale - decimals);
        std::uint64_t rounded = magnitude / unit;
        if (magnitude % unit * 2 >= unit)
            ++rounded;
        whole = rounded / powerOfTen(decimals);
        fraction = rounded % powerOfTen(decimals);
        fractionDigits = decimals;
    }
    if (value < 0 && (whole != 0 || fraction != 0))
        out += QLatin1Char('-');

    char digits[24];
    const int count = static_cast<int>(std::to_chars(digits, digits + sizeof digits, whole).ptr - digits);
    QChar text[40];
    int length = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !group.isNull() && (count - i) % 3 == 0)
            text[length++] = group;
        text[length++] = QLatin1Char(digits[i]);
    }
    if (decimals > 0) {
        text[length++] = point;
        for (int i = fractionDigits - 1; i >= 0; --i) {
            text[length + i] = QLatin1Char(static_cast<char>('0' + fraction % 10));
            fraction /= 10;
        }
        length += fractionDigits;
    }
    out.append(text, length);
    if (decimals > fractionDigits)
        out.append(repeated('0'), decimals - fractionDigits);
}

void appendNumber(LineWriter& out, const FormatArg::Value& value, int decimals, bool grouped) {
    const FormatSettings& settings = FormatSettings::current();
    const QChar group = grouped ? settings.thousandSeparator : QChar();
    if (const auto* amount = std::get_if<Money>(&value))
        return appendScaled(out, amount->units(), 4, decimals, settings.decimalSeparator, group);
    if (const auto* integer = std::get_if<std::int64_t>(&value))
        return appendScaled(out, *integer, 0, decimals, settings.decimalSeparator, group);
    const long double real = std::get<long double>(value);
    if (!std::isfinite(real)) {
        out += nonFinite(real);
        return;
    }
    DecimalDigits digits = DecimalDigits::fromFloat(real);
    digits.roundToDecimals(decimals);
    out += signedText(digits.isNegative(), digits.fixed(decimals, settings.decimalSeparator, group));
}

void appendInteger(LineWriter& out, std::int64_t value, std::optional<int> precision) {
    char digits[24];
    const int count =
        static_cast<int>(std::to_chars(digits, digits + sizeof digits, magnitudeOf(value)).ptr - digits);
    if (value < 0)
        out += QLatin1Char('-');
    if (precision && count < *precision)
        out.append(repeated('0'), *precision - count);
    out.append(QLatin1StringView(digits, count));
}

const char* kindName(const FormatArg::Value& value) {
    switch (value.index()) {
    case 0:
        return "Text";
    case 1:
        return "Ganzzahl";
    case 2:
        return "Betrag";
    default:
        return "Gleitkommazahl";
    }
}

void render(LineWriter& out, const QString& pattern, const Directive& d, const FormatArg& arg,
            std::size_t position) {
    const FormatArg::Value& value = arg.value();
    const bool fits = d.type == 's'   ? std::holds_alternative<QString>(value)
                      : d.type == 'd' ? std::holds_alternative<std::int64_t>(value)
                                      : !std::holds_alternative<QString>(value);
    if (!fits)
        fail(pattern, QStringLiteral("Argument %1 (%2) passt nicht zu \"%3\"")
                          .arg(position + 1)
                          .arg(QLatin1String(kindName(value)), d.text));
    const qsizetype start = out.size();
    switch (d.type) {
    case 's': {
        const QString& text = std::get<QString>(value);
        out.append(text.constData(),
                   d.precision ? std::min<qsizetype>(text.size(), *d.precision) : text.size());
        break;
    }
    case 'd':
        appendInteger(out, std::get<std::int64_t>(value), d.precision);
        break;
    default:
        appendNumber(out, value, d.precision.value_or(2), d.type == 'n');
        break;
    }
    pad(out, start, d);
}

// Reads digits at i; nullopt when there are none.
std::optional<int> readNumber(const QString& pattern, qsizetype& i) {
    std::optional<int> number;
    while (i < pattern.size() && pattern[i] >= QLatin1Char('0') && pattern[i] <= QLatin1Char('9')) {
        number = number.value_or(0) * 10 + (pattern[i].unicode() - '0');
        if (*number > MaxWidth)
            fail(pattern, QStringLiteral("Breite oder Genauigkeit über %1").arg(MaxWidth));
        ++i;
    }
    return number;
}

// Parses the directive that starts with the "%" at i and leaves i on its type letter.
Directive parseDirective(const QString& pattern, qsizetype& i) {
    const qsizetype start = i++;
    Directive d;
    if (i < pattern.size() && pattern[i] == QLatin1Char('-')) {
        d.leftAlign = true;
        ++i;
    }
    d.width = readNumber(pattern, i).value_or(0);
    if (i < pattern.size() && pattern[i] == QLatin1Char('.')) {
        ++i;
        d.precision = readNumber(pattern, i).value_or(0);
    }
    if (i >= pattern.size())
        fail(pattern, QStringLiteral("unvollständige Anweisung \"%1\"").arg(pattern.mid(start)));
    const QChar type = pattern[i];
    d.text = pattern.mid(start, i - start + 1);
    if (type != QLatin1Char('s') && type != QLatin1Char('d') && type != QLatin1Char('n') &&
        type != QLatin1Char('f'))
        fail(pattern, QStringLiteral("unbekannte Anweisung \"%1\"").arg(d.text));
    d.type = type.toLatin1();
    return d;
}

} // namespace

Format::Format(QString pattern)
    : m_pattern(std::move(pattern)) {
    Piece piece;
    try {
        for (qsizetype i = 0; i < m_pattern.size(); ++i) {
            if (m_pattern[i] != QLatin1Char('%')) {
                piece.literal += m_pattern[i];
                continue;
            }
            if (i + 1 < m_pattern.size() && m_pattern[i + 1] == QLatin1Char('%')) {
                piece.literal += QLatin1Char('%');
                ++i;
                continue;
            }
            piece.directive = parseDirective(m_pattern, i);
            m_sizeHint += piece.literal.size() + piece.directive->width;
            m_pieces.push_back(std::move(piece));
            piece = {};
        }
    } catch (const FormatError& error) {
        // Kept for the line that reaches it, so that earlier argument faults still come first.
        m_error = error;
    }
    if (!m_error && !piece.literal.isEmpty()) {
        m_sizeHint += piece.literal.size();
        m_pieces.push_back(std::move(piece));
    }
}

QString Format::operator()(std::initializer_list<FormatArg> args) const {
    return (*this)(std::span<const FormatArg>(args.begin(), args.size()));
}

QString Format::operator()(std::span<const FormatArg> args) const {
    QString out;
    out.reserve(m_sizeHint + 16);
    append(out, args);
    return out;
}

void Format::appendTo(QString& out, std::initializer_list<FormatArg> args) const {
    append(out, std::span<const FormatArg>(args.begin(), args.size()));
}

void Format::append(QString& text, std::span<const FormatArg> args) const {
    LineWriter out(text);
    std::size_t next = 0;
    for (const Piece& piece : m_pieces) {
        out += piece.literal;
        if (!piece.directive)
            continue;
        const Directive& d = *piece.directive;
        if (next >= args.size())
            fail(m_pattern, QStringLiteral("Argument %1 für \"%2\" fehlt").arg(next + 1).arg(d.text));
        render(out, m_pattern, d, args[next], next);
        ++next;
    }
    if (m_error)
        throw *m_error;
    if (next != args.size())
        fail(m_pattern, QStringLiteral("%1 Argumente übergeben, %2 verwendet").arg(args.size()).arg(next));
}

QString format(const QString& pattern, std::initializer_list<FormatArg> args) {
    return Format(pattern)(args);
}

QString format(const QString& pattern, std::span<const FormatArg> args) {
    return Format(pattern)(args);
}

QString generalNumber(long double value) {
    constexpr int Precision = 15;
    if (!std::isfinite(value))
        return nonFinite(value);
    DecimalDigits digits = DecimalDigits::fromFloat(value);
    digits.roundToSignificant(Precision);
    if (digits.isZero())
        return QStringLiteral("0");
    const QChar separator = FormatSettings::current().decimalSeparator;
    const int exponent = digits.pointPosition() - 1; // of the form d,ddd * 10^exponent
    QString text;
    if (exponent < Precision && exponent >= -5) {
        const int decimals = std::max(0, digits.significantDigits() - digits.pointPosition());
        text = digits.fixed(decimals, separator);
    } else {
        text = digits.mantissa(separator) + QLatin1Char('E') + QString::number(exponent);
    }
    return signedText(digits.isNegative(), text);
}

std::optional<long double> parseNumber(const QString& input) {
    const QString text = input.trimmed();
    const QChar separator = FormatSettings::current().decimalSeparator;
    // Rebuilt in the form from_chars reads, which does not depend on the C locale.
    std::string plain;
    plain.reserve(static_cast<std::size_t>(text.size()));
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    bool digits = false;
    bool point = false;
    bool exponent = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            plain += c.toLatin1();
            digits = true;
        } else if (c == separator && !point && !exponent) {
            plain += '.';
            point = true;
        } else if ((c == QLatin1Char('e') || c == QLatin1Char('E')) && digits && !exponent) {
            plain += 'e';
            exponent = true;
            if (i + 1 < text.size() && (text[i + 1] == QLatin1Char('-') || text[i + 1] == QLatin1Char('+')))
                plain += text[++i].toLatin1();
            if (i + 1 >= text.size())
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (!digits || plain.back() == 'e' || plain.back() == '-' || plain.back() == '+')
        return std::nullopt;
    long double value = 0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec != std::errc() || result.ptr != plain.data() + plain.size())
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace kontaro
