#include "data/field_value.h"

#include "base/date.h"
#include "base/errors.h"
#include "base/field_text.h"
#include "base/money.h"

#include <QDate>

namespace kontaro::data {

int compareValues(const FieldValue& a, const FieldValue& b) {
    // Fast paths for the common same-type cases; sorting large tables spends its time here.
    if (a.index() == b.index()) {
        if (const auto* x = std::get_if<QString>(&a)) {
            const QString& y = std::get<QString>(b);
            if (x->constData() == y.constData() && x->size() == y.size())
                return 0; // shared copies of one text (account numbers are shared on load)
            const int c = QtPrivate::compareStrings(*x, y, Qt::CaseSensitive);
            return c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
        if (const auto* x = std::get_if<std::int64_t>(&a)) {
            const std::int64_t y = std::get<std::int64_t>(b);
            return *x < y ? -1 : (*x > y ? 1 : 0);
        }
    }
    const bool aNull = isNullValue(a);
    const bool bNull = isNullValue(b);
    if (aNull || bNull)
        return int(bNull) - int(aNull);
    if (const auto* x = std::get_if<std::int64_t>(&a)) {
        if (const auto* y = std::get_if<std::int64_t>(&b))
            return *x < *y ? -1 : (*x > *y ? 1 : 0);
        const double yd = std::get<double>(b);
        return double(*x) < yd ? -1 : (double(*x) > yd ? 1 : 0);
    }
    if (const auto* x = std::get_if<double>(&a)) {
        const double y =
            std::holds_alternative<double>(b) ? std::get<double>(b) : double(std::get<std::int64_t>(b));
        return *x < y ? -1 : (*x > y ? 1 : 0);
    }
    const int c = std::get<QString>(a).compare(std::get<QString>(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

FieldValue normalized(const FieldDef& field, FieldValue value) {
    if (isNullValue(value))
        return value;
    switch (field.type) {
    case FieldType::Text: {
        if (!std::holds_alternative<QString>(value))
            return normalized(field, valueText({field.name, FieldType::Float, 0, 0}, value));
        QString& text = std::get<QString>(value);
        if (text.isEmpty())
            return {};
        if (field.width > 0 && text.size() > field.width)
            text = cutText(text, field.width);
        return value;
    }
    case FieldType::Float:
        if (const auto* i = std::get_if<std::int64_t>(&value))
            return double(*i);
        if (std::holds_alternative<QString>(value))
            return valueFromText(field, std::get<QString>(value));
        return value;
    case FieldType::Money:
        if (const auto* d = std::get_if<double>(&value))
            return Money::fromDouble(*d).cents();
        if (std::holds_alternative<QString>(value))
            return valueFromText(field, std::get<QString>(value));
        return value;
    default:
        if (const auto* d = std::get_if<double>(&value))
            return std::int64_t(*d);
        if (std::holds_alternative<QString>(value))
            return valueFromText(field, std::get<QString>(value));
        return value;
    }
}

QString valueText(const FieldDef& field, const FieldValue& value) {
    if (isNullValue(value))
        return {};
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    if (const auto* d = std::get_if<double>(&value)) {
        QString s = QString::number(*d, 'g', 15);
        s.replace(QLatin1Char('.'), QLatin1Char(','));
        return s;
    }
    const std::int64_t i = std::get<std::int64_t>(value);
    switch (field.type) {
    case FieldType::Money: {
        QString s = Money::fromCents(i).toPlainString();
        const qsizetype comma = s.indexOf(QLatin1Char(','));
        if (comma < 0)
            return s + QStringLiteral(",00");
        return comma + 2 == s.size() ? s + QLatin1Char('0') : s;
    }
    case FieldType::Date:
        return formatDate(QDate::fromJulianDay(i));
    default:
        return QString::number(i);
    }
}

FieldValue valueFromText(const FieldDef& field, const QString& input) {
    const QString text = field.type == FieldType::Text ? input : input.trimmed();
    if (text.isEmpty())
        return {};
    const auto invalid = [&] {
        return UserError(
            QStringLiteral("\"%1\" ist kein gültiger Wert für das Feld %2.").arg(text, field.name));
    };
    switch (field.type) {
    case FieldType::Text:
        return normalized(field, text);
    case FieldType::Integer:
    case FieldType::SmallInt: {
        bool ok = false;
        const qlonglong n = text.toLongLong(&ok);
        const qlonglong limit = field.type == FieldType::SmallInt ? 32767 : 2147483647;
        if (!ok || n > limit || n < -limit - 1)
            throw invalid();
        return std::int64_t(n);
    }
    case FieldType::Money: {
        const auto money = Money::parse(text);
        if (!money)
            throw invalid();
        return std::int64_t(money->cents());
    }
    case FieldType::Date: {
        const auto date = parseShortDate(text);
        if (!date)
            throw invalid();
        return std::int64_t(date->toJulianDay());
    }
    case FieldType::Float: {
        QString plain = text;
        plain.remove(QLatin1Char('.'));
        plain.replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        const double d = plain.toDouble(&ok);
        if (!ok)
            throw invalid();
        return d;
    }
    }
    throw invalid();
}

} // namespace kontaro::data
