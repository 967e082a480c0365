#pragma once

#include "data/column_store.h"
#include "data/sqlite_db.h"
#include "data/table_layout.h"
#include "data/table_storage.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

namespace kontaro::data {

// A table in a SQLite file: one table named after the layout, a hidden row id `id` and, for
// the journal, the hidden natural-order column `pos`. Money is stored in cents, dates as
// "YYYY-MM-DD" text.
class SqliteStorage : public TableStorage {
public:
    static constexpr int SchemaVersion = 1;

    // `schema` is the name under which the file is attached to `db` ("main" for a file of its own).
    SqliteStorage(SqliteDb& db, QString schema, QString filePath, const TableLayout& layout);
    ~SqliteStorage() override;

    // Writes the empty table into a new file.
    static void createFile(const QString& filePath, const TableLayout& layout);

    std::vector<Row> load(ColumnStore& columns) override;
    // A large table is read in parts side by side: checkReadable() once, then the rows with ids
    // from `first` to `last` appended to a store. idBounds() gives the smallest and the largest id,
    // nullopt for an empty table.
    void checkReadable();
    void appendIds(ColumnStore& columns, std::vector<Row>& rows, std::int64_t first, std::int64_t last);
    std::optional<std::pair<std::int64_t, std::int64_t>> idBounds();
    std::int64_t insert(const RowRecord& row) override;
    void update(const RowRecord& row) override;
    void remove(const Row& row) override;
    void clear() override;
    void writePositions(const std::vector<const Row*>& rows) override;
    bool reread(RowRecord& row) override;

private:
    void checkColumns();
    void loadRows(SqliteStatement& st, ColumnStore& columns, std::vector<Row>& rows);
    QString selectAll() const;
    QString qualified() const;
    QString columnList() const;
    void bindValues(SqliteStatement& st, const RowRecord& row, int first) const;
    std::uint32_t loadRow(SqliteStatement& st, int first, ColumnStore& columns) const;
    SqliteStatement& cached(std::unique_ptr<SqliteStatement>& slot, const std::function<QString()>& sql);

    SqliteDb& m_db;
    QString m_schema;
    QString m_file;
    const TableLayout& m_layout;
    std::unique_ptr<SqliteStatement> m_insert;
    std::unique_ptr<SqliteStatement> m_update;
    std::unique_ptr<SqliteStatement> m_delete;
    std::unique_ptr<SqliteStatement> m_idRange;
};

} // namespace kontaro::data
