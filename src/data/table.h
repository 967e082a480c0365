#pragma once

#include "data/column_store.h"
#include "data/field_value.h"
#include "data/order_index.h"
#include "data/table_layout.h"
#include "data/table_storage.h"

#include <QList>
#include <deque>
#include <memory>
#include <unordered_map>
#include <vector>

namespace kontaro::data {

class Cursor;

// A table held in memory and shared by every cursor on it. Each change goes to the file first
// and then into memory, so a failed write leaves memory as it was; other cursors hear of it.
class Table {
public:
    // Gap left between natural-order positions; an insert takes the middle of a gap.
    static constexpr std::int64_t PositionGap = std::int64_t(1) << 20;

    Table(const TableLayout& layout, QString filePath, std::unique_ptr<TableStorage> storage);
    // The same with contents read already (by a preload over another connection).
    Table(const TableLayout& layout, QString filePath, std::unique_ptr<TableStorage> storage,
          LoadedTable loaded);
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    const TableLayout& layout() const { return m_layout; }
    const QString& filePath() const { return m_filePath; }
    std::size_t size() const { return m_liveRows; }
    Row* row(std::int64_t id);

    // Reads by field index for walks over many rows. Null reads as 0 or empty text; money in
    // cents, dates as Julian day numbers.
    bool isNull(const Row* row, int field) const { return m_columns.isNull(row->slot, field); }
    std::int64_t integer(const Row* row, int field) const { return m_columns.integer(row->slot, field); }
    const QString& text(const Row* row, int field) const { return m_columns.text(row->slot, field); }
    FieldValue value(const Row* row, int field) const { return m_columns.value(row->slot, field); }
    const ColumnStore& columns() const { return m_columns; }

    // Loads (again) from the file; cursors keep their row if it is still there.
    void reload();
    // Takes freshly read contents in place of the current ones.
    void adopt(ColumnStore columns, std::vector<Row> loaded);

    // Writes a new row. With `before`, it takes the natural-order place before that row, else
    // the last place.
    Row* insertRow(std::vector<FieldValue> values, const Row* before);
    void updateRow(Row* row, std::vector<FieldValue> values);
    void removeRow(Row* row);
    void clear();
    // Reads one row from the file again.
    void refreshRow(Row* row);

    OrderIndex& natural() { return *m_orders.front(); }
    OrderIndex& order(const OrderKey& key);
    // The order a cursor opens in: the primary order if the table has one, else the natural one.
    OrderIndex& defaultOrder();
    // Rows whose `fields` equal `values` (as texts, optionally case-folded); kept up to date.
    QList<Row*> lookup(const std::vector<int>& fields, const std::vector<FieldValue>& values,
                       bool caseInsensitive);

    // Counts a change to the rows; cursors compare it to reuse cached ranks.
    std::uint64_t version() const { return m_version; }

    // Exclusive use, see Session.
    int openCount() const { return int(m_cursors.size()); }
    bool exclusive() const { return m_exclusive; }
    void setExclusive(bool exclusive) { m_exclusive = exclusive; }

private:
    friend class Cursor;
    // Rows by a hash of their values in `fields`; lookups compare the candidates again.
    struct HashIndex {
        std::vector<int> fields;
        bool folded = false;
        std::unordered_multimap<std::uint64_t, Row*> rows;
    };

    void attach(Cursor* cursor);
    void detach(Cursor* cursor);
    void rebuildIndexes(std::vector<Row*> all);
    const std::vector<Row*>& naturalRows() { return natural().rows(); }
    void indexRow(Row* row);
    void unindexRow(const Row* row, const std::vector<int>* changedFields = nullptr);
    void notifyChanged();
    void forgetRow(Row* row);
    std::int64_t positionBefore(const Row* before);
    void addRowId(Row* row);
    void resetRowIds();
    Row* storeRow(Row row);

    const TableLayout& m_layout;
    QString m_filePath;
    std::unique_ptr<TableStorage> m_storage;
    ColumnStore m_columns;
    // Rows as loaded stay in one block (never resized, so addresses stay valid); rows written
    // later go to a deque. Removed rows stay behind as empty husks until the next load.
    std::vector<Row> m_loaded;
    std::deque<Row> m_added;
    std::size_t m_liveRows = 0;
    // Row ids are mostly dense (SQLite row ids, dBASE record sequence): a vector indexed by
    // `id - m_idBase`, with a map for the odd id far outside it.
    std::vector<Row*> m_denseIds;
    std::int64_t m_idBase = 1;
    std::unordered_map<std::int64_t, Row*> m_sparseIds;
    std::vector<std::unique_ptr<OrderIndex>> m_orders; // [0] is the natural order
    std::vector<std::unique_ptr<HashIndex>> m_hashes;
    std::vector<Cursor*> m_cursors;
    std::uint64_t m_version = 0;
    bool m_exclusive = false;
};

} // namespace kontaro::data
