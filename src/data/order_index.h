#pragma once

#include "data/column_store.h"
#include "data/field_value.h"

#include <cstddef>
#include <vector>

namespace kontaro::data {

// Fields of an ordering; empty means the natural order. Ties are broken by the natural order
// (`pos`, then `id`), so every ordering is total and a row has exactly one rank.
struct OrderKey {
    std::vector<int> fields;
    std::vector<bool> descending;
    bool operator==(const OrderKey&) const = default;
};

// The rows of a table sorted by one key, kept up to date as rows come and go. Rows are read
// from `columns`, the loaded table's.
class OrderIndex {
public:
    OrderIndex(OrderKey key, const ColumnStore* columns);

    const OrderKey& key() const { return m_key; }
    // Sorts `rows`, which come in natural order (the natural index takes them as they are).
    void build(const std::vector<Row*>& rows);
    const std::vector<Row*>& rows() const { return m_rows; }
    void insert(Row* row);
    // Must be called while the row still has the values it was sorted by.
    void erase(const Row* row);

    std::size_t size() const { return m_rows.size(); }
    Row* at(std::size_t rank) const { return m_rows[rank]; }
    // 0-based rank of a row of this index; `hint` is tried first.
    std::size_t rankOf(const Row* row, std::size_t hint = SIZE_MAX) const;
    // Ranks [begin, end) of the rows whose first key fields equal `prefix`.
    std::pair<std::size_t, std::size_t> range(const std::vector<FieldValue>& prefix) const;

    bool less(const Row* a, const Row* b) const;

    struct FlatItem;

private:
    class KeyReader;
    static bool inKeyOrder(const std::vector<Row*>& rows, const std::vector<KeyReader>& readers);
    bool bucketByFirstField(const std::vector<Row*>& rows, const std::vector<KeyReader>& readers);
    int comparePrefix(const Row* row, const std::vector<FieldValue>& prefix) const;
    int compareField(const Row* a, const Row* b, int field) const;
    FieldValue valueOf(const Row* row, int field) const;
    std::vector<std::uint64_t> fieldOrdinals(int field) const;

    OrderKey m_key;
    const ColumnStore* m_columns;
    std::vector<Row*> m_rows;
};

} // namespace kontaro::data
