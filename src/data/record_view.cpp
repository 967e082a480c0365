#include "data/record_view.h"

#include "base/errors.h"

#include <QDir>

namespace kontaro::data {

int RecordView::fieldIndex(const QString& name) const {
    const int index = m_layout.fieldIndex(name);
    if (index < 0)
        throw UserError(QStringLiteral("Die Tabelle \"%1\" hat kein Feld \"%2\".")
                            .arg(QDir::toNativeSeparators(m_table), name));
    return index;
}

const FieldValue& RecordView::value(int index) const {
    static const FieldValue null;
    if (m_values)
        return (*m_values)[std::size_t(index)];
    if (!m_columns)
        return null;
    if (m_cache->size() <= std::size_t(index))
        m_cache->resize(std::size_t(m_layout.fields.size()));
    FieldValue& kept = (*m_cache)[std::size_t(index)];
    kept = m_columns->value(m_slot, index);
    return kept;
}

const FieldValue& RecordView::value(const QString& name) const {
    return value(fieldIndex(name));
}

QString RecordView::asText(const QString& name) const {
    const int index = fieldIndex(name);
    return valueText(m_layout.fields[index], value(index));
}

std::int64_t RecordView::asInteger(const QString& name) const {
    const FieldValue& v = value(name);
    if (const auto* n = std::get_if<std::int64_t>(&v))
        return m_layout.fields[fieldIndex(name)].type == FieldType::Money ? *n / 100 : *n;
    if (const auto* d = std::get_if<double>(&v))
        return std::int64_t(*d);
    if (const auto* t = std::get_if<QString>(&v))
        return t->trimmed().toLongLong();
    return 0;
}

Money RecordView::asMoney(const QString& name) const {
    const FieldValue& v = value(name);
    if (const auto* n = std::get_if<std::int64_t>(&v)) {
        const FieldType type = m_layout.fields[fieldIndex(name)].type;
        return type == FieldType::Money ? Money::fromCents(*n) : Money::fromInteger(*n);
    }
    if (const auto* d = std::get_if<double>(&v))
        return Money::fromDouble(*d);
    if (const auto* t = std::get_if<QString>(&v))
        return Money::parse(*t).value_or(Money());
    return Money();
}

QDate RecordView::asDate(const QString& name) const {
    const int index = fieldIndex(name);
    const FieldValue& v = value(index);
    if (m_layout.fields[index].type == FieldType::Date && std::holds_alternative<std::int64_t>(v))
        return QDate::fromJulianDay(std::get<std::int64_t>(v));
    return {};
}

double RecordView::asDouble(const QString& name) const {
    const FieldValue& v = value(name);
    if (const auto* d = std::get_if<double>(&v))
        return *d;
    if (const auto* n = std::get_if<std::int64_t>(&v))
        return m_layout.fields[fieldIndex(name)].type == FieldType::Money ? double(*n) / 100.0 : double(*n);
    return 0.0;
}

} // namespace kontaro::data
