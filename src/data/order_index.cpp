#include "data/order_index.h"

#include <algorithm>

namespace kontaro::data {

OrderIndex::OrderIndex(OrderKey key)
    : m_key(std::move(key)) {}

bool OrderIndex::less(const Row* a, const Row* b) const {
    for (std::size_t i = 0; i < m_key.fields.size(); ++i) {
        const int field = m_key.fields[i];
        int c = compareValues(a->values[field], b->values[field]);
        if (c != 0)
            return m_key.descending[i] ? c > 0 : c < 0;
    }
    if (a->pos != b->pos)
        return a->pos < b->pos;
    return a->id < b->id;
}

void OrderIndex::build(std::vector<Row*> rows) {
    m_rows = std::move(rows);
    if (m_key.fields.empty()) {
        const auto natural = [](const Row* a, const Row* b) {
            return a->pos != b->pos ? a->pos < b->pos : a->id < b->id;
        };
        if (!std::is_sorted(m_rows.begin(), m_rows.end(), natural))
            std::sort(m_rows.begin(), m_rows.end(), natural);
        return;
    }
    std::sort(m_rows.begin(), m_rows.end(), [this](const Row* a, const Row* b) { return less(a, b); });
}

void OrderIndex::insert(Row* row) {
    auto it = std::upper_bound(m_rows.begin(), m_rows.end(), row,
                               [this](const Row* a, const Row* b) { return less(a, b); });
    m_rows.insert(it, row);
}

void OrderIndex::erase(const Row* row) {
    m_rows.erase(m_rows.begin() + std::ptrdiff_t(rankOf(row)));
}

std::size_t OrderIndex::rankOf(const Row* row, std::size_t hint) const {
    if (hint < m_rows.size() && m_rows[hint] == row)
        return hint;
    auto it = std::lower_bound(m_rows.begin(), m_rows.end(), row,
                               [this](const Row* a, const Row* b) { return less(a, b); });
    if (it == m_rows.end() || *it != row) {
        // The row's key changed without re-sorting: fall back to a scan rather than fail.
        it = std::find(m_rows.begin(), m_rows.end(), row);
        if (it == m_rows.end())
            return SIZE_MAX;
    }
    return std::size_t(it - m_rows.begin());
}

int OrderIndex::comparePrefix(const Row* row, const std::vector<FieldValue>& prefix) const {
    for (std::size_t i = 0; i < prefix.size() && i < m_key.fields.size(); ++i) {
        const int c = compareValues(row->values[m_key.fields[i]], prefix[i]);
        if (c != 0)
            return m_key.descending[i] ? -c : c;
    }
    return 0;
}

std::pair<std::size_t, std::size_t> OrderIndex::range(const std::vector<FieldValue>& prefix) const {
    auto lo = std::partition_point(m_rows.begin(), m_rows.end(),
                                   [&](const Row* r) { return comparePrefix(r, prefix) < 0; });
    auto hi =
        std::partition_point(lo, m_rows.end(), [&](const Row* r) { return comparePrefix(r, prefix) == 0; });
    return {std::size_t(lo - m_rows.begin()), std::size_t(hi - m_rows.begin())};
}

} // namespace kontaro::data
