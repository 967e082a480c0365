#pragma once

#include "base/money.h"
#include "data/column_store.h"
#include "data/field_value.h"
#include "data/table_layout.h"

#include <QDate>

namespace kontaro::data {

// Read access to the fields of one row by name (names match without regard to case).
// Filters get one; cursors use it for their current row.
class RecordView {
public:
    RecordView(const TableLayout& layout, const std::vector<FieldValue>* values, const QString& table)
        : m_layout(layout)
        , m_values(values)
        , m_table(table) {}
    // A row of a loaded table: each value read is kept in `cache` (one entry per field, owned by
    // the caller), so that references to it stay valid while the caller reads.
    RecordView(const TableLayout& layout, const ColumnStore& columns, std::uint32_t slot,
               std::vector<FieldValue>& cache, const QString& table)
        : m_layout(layout)
        , m_columns(&columns)
        , m_slot(slot)
        , m_cache(&cache)
        , m_table(table) {}

    // Index of the field; throws UserError naming the table if there is none.
    int fieldIndex(const QString& name) const;
    const FieldValue& value(const QString& name) const;
    const FieldValue& value(int index) const;

    bool isNull(const QString& name) const { return isNullValue(value(name)); }
    QString asText(const QString& name) const;
    // Null counts as 0 (integers, money, floats); a null date is a null QDate.
    std::int64_t asInteger(const QString& name) const;
    Money asMoney(const QString& name) const;
    QDate asDate(const QString& name) const;
    double asDouble(const QString& name) const;

private:
    const TableLayout& m_layout;
    const std::vector<FieldValue>* m_values = nullptr; // neither this nor m_columns: every field null
    const ColumnStore* m_columns = nullptr;
    std::uint32_t m_slot = 0;
    std::vector<FieldValue>* m_cache = nullptr;
    const QString& m_table;
};

} // namespace kontaro::data
