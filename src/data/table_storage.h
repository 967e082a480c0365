#pragma once

#include "data/column_store.h"
#include "data/field_value.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace kontaro::data {

// A table file's contents as read: the values and one row per record.
struct LoadedTable {
    ColumnStore columns;
    std::vector<Row> rows;
};

// Where a table's rows live on disk. Every call writes through at once; on failure it throws
// FileError and the file is unchanged (or the session transaction rolls it back).
class TableStorage {
public:
    virtual ~TableStorage() = default;

    // Reads every row: the values into `columns`, and one row per record with its id, position
    // and slot (its values left empty).
    virtual std::vector<Row> load(ColumnStore& columns) = 0;
    // Writes a new row and returns its id.
    virtual std::int64_t insert(const RowRecord& row) = 0;
    virtual void update(const RowRecord& row) = 0;
    virtual void remove(const Row& row) = 0;
    virtual void clear() = 0;
    // Stores new `pos` values (natural order renumbering).
    virtual void writePositions(const std::vector<const Row*>& rows) = 0;
    // Reads one row again; false if it is gone.
    virtual bool reread(RowRecord& row) = 0;
};

// Refuses a table file whose columns do not fit the program's layout: a field is missing (no
// types given) or has another type. Throws FileError.
[[noreturn]] void refuseTableLayout(const QString& filePath, const QString& field,
                                    const QString& actualType = QString(),
                                    const QString& expectedType = QString());

} // namespace kontaro::data
