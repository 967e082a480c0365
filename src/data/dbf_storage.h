#pragma once

#include "data/table_layout.h"
#include "data/table_storage.h"

namespace kontaro::data {

// A dBASE III table written through shapelib, texts in Windows-1252. dBASE files take no part
// in the session transaction: every call opens the file, writes and closes it, so a rollback
// cannot take a dBASE write back (the tables are reloaded like all others afterwards).
// Deleting a record rewrites the file without it; emptying rewrites it with no records.
class DbfStorage : public TableStorage {
public:
    DbfStorage(QString filePath, const TableLayout& layout);

    static void createFile(const QString& filePath, const TableLayout& layout);

    std::vector<Row> load(ColumnStore& columns) override;
    std::int64_t insert(const RowRecord& row) override;
    void update(const RowRecord& row) override;
    void remove(const Row& row) override;
    void clear() override;
    void writePositions(const std::vector<const Row*>& rows) override;
    bool reread(RowRecord& row) override;

private:
    static void createFileAs(const QString& filePath, const TableLayout& layout);
    int recordOf(std::int64_t id) const;
    void rewriteWithout(int record);

    QString m_file;
    const TableLayout& m_layout;
    std::vector<int> m_columns;      // file field of each layout field
    std::vector<std::int64_t> m_ids; // id of each record, in file order
    std::int64_t m_nextId = 1;
};

} // namespace kontaro::data
