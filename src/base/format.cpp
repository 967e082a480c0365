#include "base/format.h"

#include "base/decimal_digits.h"
#include "base/format_settings.h"

#include <charconv>
#include <cmath>
#include <string>

namespace kontaro {

FormatError::FormatError(const QString& message)
    : std::logic_error(message.toStdString()) {}

namespace {

// Generous, but keeps a mistyped width from asking for gigabytes of blanks.
constexpr int MaxWidth = 1000;

struct Directive {
    QString text; // as written, for error messages
    bool leftAlign = false;
    int width = 0;
    std::optional<int> precision;
    QChar type;
};

[[noreturn]] void fail(const QString& pattern, const QString& what) {
    throw FormatError(QStringLiteral("Formatfehler in \"%1\": %2").arg(pattern, what));
}

QString pad(const QString& text, const Directive& d) {
    if (text.size() >= d.width)
        return text;
    const QString blanks(d.width - text.size(), QLatin1Char(' '));
    return d.leftAlign ? text + blanks : blanks + text;
}

QString signedText(bool negative, const QString& digits) {
    return negative ? QLatin1Char('-') + digits : digits;
}

QString nonFinite(long double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString formatNumber(const FormatArg::Value& value, int decimals, bool grouped) {
    DecimalDigits digits;
    if (const auto* amount = std::get_if<Money>(&value)) {
        digits = DecimalDigits::fromScaled(amount->units(), 4);
    } else if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        digits = DecimalDigits::fromScaled(*integer, 0);
    } else {
        const long double real = std::get<long double>(value);
        if (!std::isfinite(real))
            return nonFinite(real);
        digits = DecimalDigits::fromFloat(real);
    }
    digits.roundToDecimals(decimals);
    const FormatSettings& settings = FormatSettings::current();
    return signedText(digits.isNegative(), digits.fixed(decimals, settings.decimalSeparator,
                                                        grouped ? settings.thousandSeparator : QChar()));
}

QString formatInteger(std::int64_t value, std::optional<int> precision) {
    const std::uint64_t magnitude =
        value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    QString digits = QString::number(magnitude);
    if (precision && digits.size() < *precision)
        digits.prepend(QString(*precision - digits.size(), QLatin1Char('0')));
    return signedText(value < 0, digits);
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

QString render(const QString& pattern, const Directive& d, const FormatArg& arg, std::size_t position) {
    const FormatArg::Value& value = arg.value();
    const char type = d.type.toLatin1();
    const bool fits = type == 's'   ? std::holds_alternative<QString>(value)
                      : type == 'd' ? std::holds_alternative<std::int64_t>(value)
                                    : !std::holds_alternative<QString>(value);
    if (!fits)
        fail(pattern, QStringLiteral("Argument %1 (%2) passt nicht zu \"%3\"")
                          .arg(position + 1)
                          .arg(QLatin1String(kindName(value)), d.text));
    switch (type) {
    case 's': {
        const QString& text = std::get<QString>(value);
        return pad(d.precision ? text.left(*d.precision) : text, d);
    }
    case 'd':
        return pad(formatInteger(std::get<std::int64_t>(value), d.precision), d);
    default:
        return pad(formatNumber(value, d.precision.value_or(2), type == 'n'), d);
    }
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
    d.type = pattern[i];
    d.text = pattern.mid(start, i - start + 1);
    if (d.type != QLatin1Char('s') && d.type != QLatin1Char('d') && d.type != QLatin1Char('n') &&
        d.type != QLatin1Char('f'))
        fail(pattern, QStringLiteral("unbekannte Anweisung \"%1\"").arg(d.text));
    return d;
}

} // namespace

QString format(const QString& pattern, std::initializer_list<FormatArg> args) {
    return format(pattern, std::span<const FormatArg>(args.begin(), args.size()));
}

QString format(const QString& pattern, std::span<const FormatArg> args) {
    QString out;
    out.reserve(pattern.size() + 16);
    std::size_t next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != QLatin1Char('%')) {
            out += pattern[i];
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        const Directive d = parseDirective(pattern, i);
        if (next >= args.size())
            fail(pattern, QStringLiteral("Argument %1 für \"%2\" fehlt").arg(next + 1).arg(d.text));
        out += render(pattern, d, args[next], next);
        ++next;
    }
    if (next != args.size())
        fail(pattern, QStringLiteral("%1 Argumente übergeben, %2 verwendet").arg(args.size()).arg(next));
    return out;
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
