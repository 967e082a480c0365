#pragma once

#include "data/table_layout.h"

#include <QString>
#include <cstdint>
#include <variant>
#include <vector>

namespace kontaro::data {

// One stored field value. Integers hold integer fields, money as whole cents and dates as the
// Julian day number; floats hold floating-point fields; text holds text fields. Null is empty.
using FieldValue = std::variant<std::monostate, std::int64_t, double, QString>;

inline bool isNullValue(const FieldValue& value) {
    return std::holds_alternative<std::monostate>(value);
}

// One row of a loaded table. `id` is the row's identity in its file (SQLite row id, or the load
// sequence of a dBASE record); `pos` orders the journal's natural order; its values are in the
// table's columns under `slot`.
struct Row {
    std::int64_t id = 0;
    std::int64_t pos = 0;
    std::uint32_t slot = 0;
};

// A row with its values, on its way to or from a table file.
struct RowRecord {
    std::int64_t id = 0;
    std::int64_t pos = 0;
    std::vector<FieldValue> values;
};

// Orders two values of the same field: null first, texts by code unit.
int compareValues(const FieldValue& a, const FieldValue& b);

// The value as it is stored: texts cut to the field width (empty text is null), numbers
// converted to the field's type, money already in cents.
FieldValue normalized(const FieldDef& field, FieldValue value);

// Text of a value: empty for null; money "1234,56"; dates "dd.mm.yyyy"; floats in the
// shortest general form with a decimal comma.
QString valueText(const FieldDef& field, const FieldValue& value);

// Parses text typed for a field; empty text gives null. Money keeps two decimals, cut toward
// zero. Throws UserError for text that is not a value of the field's type.
FieldValue valueFromText(const FieldDef& field, const QString& text);

} // namespace kontaro::data
