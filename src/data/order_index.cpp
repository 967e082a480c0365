#include "data/order_index.h"

#include <QHashFunctions>
#include <algorithm>
#include <unordered_map>

namespace kontaro::data {

OrderIndex::OrderIndex(OrderKey key, const ColumnStore* columns)
    : m_key(std::move(key))
    , m_columns(columns) {}

FieldValue OrderIndex::valueOf(const Row* row, int field) const {
    return m_columns->value(row->slot, field);
}

// compareValues of the two rows' values, without building them for integer and text columns.
int OrderIndex::compareField(const Row* a, const Row* b, int field) const {
    const ColumnStore& c = *m_columns;
    const bool aNull = c.isNull(a->slot, field);
    const bool bNull = c.isNull(b->slot, field);
    if (aNull || bNull)
        return int(bNull) - int(aNull);
    if (c.isIntegerField(field)) {
        const std::int64_t x = c.integer(a->slot, field);
        const std::int64_t y = c.integer(b->slot, field);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (c.isTextField(field)) {
        if (c.textId(a->slot, field) == c.textId(b->slot, field))
            return 0;
        const int r =
            QtPrivate::compareStrings(c.text(a->slot, field), c.text(b->slot, field), Qt::CaseSensitive);
        return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    return compareValues(c.value(a->slot, field), c.value(b->slot, field));
}

bool OrderIndex::less(const Row* a, const Row* b) const {
    for (std::size_t i = 0; i < m_key.fields.size(); ++i) {
        const int field = m_key.fields[i];
        int c = compareField(a, b, field);
        if (c != 0)
            return m_key.descending[i] ? c > 0 : c < 0;
    }
    if (a->pos != b->pos)
        return a->pos < b->pos;
    return a->id < b->id;
}

// Sorting large tables by comparing Row values chases three pointers per comparison and
// spends its time in cache misses. Instead, each key field is turned into one unsigned
// ordinal per row whose order is the order of compareValues (null lowest), and the rows are
// sorted as flat records of integers. Keys longer than this fall back to the plain sort.
constexpr std::size_t FlatKeyFields = 3;

struct OrderIndex::FlatItem {
    std::uint64_t ordinal[FlatKeyFields];
    std::int64_t pos;
    std::int64_t id;
    Row* row;
};

namespace {

using FlatItem = OrderIndex::FlatItem;

bool flatLess(const FlatItem& a, const FlatItem& b) {
    for (std::size_t i = 0; i < FlatKeyFields; ++i)
        if (a.ordinal[i] != b.ordinal[i])
            return a.ordinal[i] < b.ordinal[i];
    if (a.pos != b.pos)
        return a.pos < b.pos;
    return a.id < b.id;
}

// Dense ranks (from 1) of `values` by compareValues: equal values, equal rank; null, if
// present, sorts first and gets rank 1.
std::vector<std::uint64_t> denseRanks(const std::vector<FieldValue>& values) {
    std::vector<std::size_t> byValue(values.size());
    for (std::size_t i = 0; i < byValue.size(); ++i)
        byValue[i] = i;
    std::sort(byValue.begin(), byValue.end(),
              [&](std::size_t a, std::size_t b) { return compareValues(values[a], values[b]) < 0; });
    std::vector<std::uint64_t> rank(values.size());
    std::uint64_t next = 0;
    for (std::size_t i = 0; i < byValue.size(); ++i) {
        if (i == 0 || compareValues(values[byValue[i - 1]], values[byValue[i]]) != 0)
            ++next;
        rank[byValue[i]] = next;
    }
    return rank;
}

} // namespace

// Ordinals of one field for the rows in m_rows: integers map straight to their biased value;
// other values get their dense rank among the field's distinct values. Texts of a loaded table
// are ranked by their text numbers, so only the distinct texts are sorted.
std::vector<std::uint64_t> OrderIndex::fieldOrdinals(int field) const {
    constexpr std::uint64_t bias = std::uint64_t(1) << 63;
    const std::vector<Row*>& rows = m_rows;
    std::vector<std::uint64_t> ordinals(rows.size());
    if (m_columns->isTextField(field)) {
        const std::size_t textCount = m_columns->textCount(field);
        std::vector<std::uint32_t> used;
        std::vector<bool> seen(textCount, false);
        for (const Row* r : rows) {
            const std::uint32_t id = m_columns->textId(r->slot, field);
            if (!seen[id]) {
                seen[id] = true;
                used.push_back(id);
            }
        }
        std::vector<FieldValue> distinct;
        distinct.reserve(used.size());
        for (const std::uint32_t id : used)
            distinct.push_back(id == 0 ? FieldValue() : FieldValue(m_columns->textOf(field, id)));
        const std::vector<std::uint64_t> ranks = denseRanks(distinct);
        std::vector<std::uint64_t> rankOfId(textCount, 0);
        for (std::size_t i = 0; i < used.size(); ++i)
            rankOfId[used[i]] = ranks[i];
        for (std::size_t i = 0; i < rows.size(); ++i)
            ordinals[i] = rankOfId[m_columns->textId(rows[i]->slot, field)];
        return ordinals;
    }
    bool integers = true;
    for (std::size_t i = 0; i < rows.size() && integers; ++i) {
        if (!m_columns->isIntegerField(field)) {
            integers = false;
        } else if (m_columns->isNull(rows[i]->slot, field)) {
            ordinals[i] = 0;
        } else {
            ordinals[i] = std::uint64_t(m_columns->integer(rows[i]->slot, field)) ^ bias;
            integers = ordinals[i] != 0; // the lowest integer would collide with null
        }
    }
    if (integers)
        return ordinals;

    // Distinct values by exact identity, then ranked.
    struct Hash {
        std::size_t operator()(const FieldValue& v) const {
            if (const auto* t = std::get_if<QString>(&v))
                return qHash(*t);
            if (const auto* n = std::get_if<std::int64_t>(&v))
                return std::hash<std::int64_t>()(*n);
            if (const auto* d = std::get_if<double>(&v))
                return std::hash<double>()(*d);
            return 0;
        }
    };
    std::unordered_map<FieldValue, std::uint64_t, Hash> distinct;
    std::vector<FieldValue> values;
    std::vector<std::uint64_t> slot(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        FieldValue v = valueOf(rows[i], field);
        const auto [it, added] = distinct.try_emplace(v, values.size());
        if (added)
            values.push_back(std::move(v));
        slot[i] = it->second;
    }
    const std::vector<std::uint64_t> rank = denseRanks(values);
    for (std::size_t i = 0; i < rows.size(); ++i)
        ordinals[i] = rank[slot[i]];
    return ordinals;
}

void OrderIndex::build(std::vector<Row*> rows) {
    m_rows = std::move(rows);
    const auto natural = [](const Row* a, const Row* b) {
        return a->pos != b->pos ? a->pos < b->pos : a->id < b->id;
    };
    if (m_key.fields.empty() && std::is_sorted(m_rows.begin(), m_rows.end(), natural))
        return;
    if (m_key.fields.size() > FlatKeyFields) {
        std::sort(m_rows.begin(), m_rows.end(), [this](const Row* a, const Row* b) { return less(a, b); });
        return;
    }
    // One ordinal per key field and row, descending fields flipped: the key order is then the
    // rising order of the ordinals, field by field.
    std::vector<std::vector<std::uint64_t>> ordinals;
    for (std::size_t k = 0; k < m_key.fields.size(); ++k) {
        ordinals.push_back(fieldOrdinals(m_key.fields[k]));
        if (m_key.descending[k])
            for (std::uint64_t& ordinal : ordinals.back())
                ordinal = ~ordinal;
    }
    if (std::is_sorted(m_rows.begin(), m_rows.end(), natural)) {
        if (inKeyOrder(ordinals) || bucketByFirstField(ordinals))
            return;
    }
    std::vector<FlatItem> items(m_rows.size());
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        FlatItem& item = items[i];
        std::fill(std::begin(item.ordinal), std::end(item.ordinal), 0);
        for (std::size_t k = 0; k < ordinals.size(); ++k)
            item.ordinal[k] = ordinals[k][i];
        item.pos = m_rows[i]->pos;
        item.id = m_rows[i]->id;
        item.row = m_rows[i];
    }
    ordinals.clear();
    // Items are in the order of m_rows: already sorted, nothing to do.
    if (std::is_sorted(items.begin(), items.end(), flatLess))
        return;
    std::sort(items.begin(), items.end(), flatLess);
    for (std::size_t i = 0; i < items.size(); ++i)
        m_rows[i] = items[i].row;
}

// Whether rows that arrive in natural order are in key order already.
bool OrderIndex::inKeyOrder(const std::vector<std::vector<std::uint64_t>>& ordinals) const {
    for (std::size_t i = 1; i < m_rows.size(); ++i) {
        for (const std::vector<std::uint64_t>& field : ordinals) {
            if (field[i - 1] != field[i]) {
                if (field[i - 1] > field[i])
                    return false;
                break;
            }
        }
    }
    return true;
}

// Rows that arrive (in natural order) sorted by all but the first key field need only a split by
// the first field: linear when that field has few distinct values, as account numbers have. The
// ledger in posting order is sorted by Bnr, so both of its orders (Knr;Bnr and Knr with Bnr
// descending) are split this way: the second from the last row back. Every pass reads the rows
// in order, so the split stays linear on tables larger than the caches. Fills m_rows; false
// when the rows do not fit.
bool OrderIndex::bucketByFirstField(const std::vector<std::vector<std::uint64_t>>& ordinals) {
    if (m_rows.empty() || ordinals.size() < 2 || m_key.descending[0])
        return false;
    const std::vector<std::uint64_t>& first = ordinals[0];
    const std::uint64_t highest = *std::max_element(first.begin(), first.end());
    if (highest > first.size() + 1) // not a dense rank
        return false;
    const auto compareRest = [&](std::size_t a, std::size_t b) {
        for (std::size_t k = 1; k < ordinals.size(); ++k)
            if (ordinals[k][a] != ordinals[k][b])
                return ordinals[k][a] < ordinals[k][b] ? -1 : 1;
        return 0;
    };
    bool rising = true;  // the rows come in key order, ties in natural order
    bool falling = true; // they come in reverse key order
    for (std::size_t i = 1; i < m_rows.size() && (rising || falling); ++i) {
        const int c = compareRest(i - 1, i);
        rising = rising && c <= 0;
        falling = falling && c >= 0;
    }
    if (!rising && !falling)
        return false;
    std::vector<std::size_t> start(std::size_t(highest) + 2, 0);
    for (const std::uint64_t ordinal : first)
        ++start[std::size_t(ordinal) + 1];
    for (std::size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    const std::vector<Row*> input = m_rows;
    const auto place = [&](std::size_t i) { m_rows[start[std::size_t(first[i])]++] = input[i]; };
    if (rising) {
        for (std::size_t i = 0; i < input.size(); ++i)
            place(i);
        return true;
    }
    // From the last run of rows equal in the other fields back to the first; within a run
    // forward, so that rows equal in every key field stay in natural order.
    for (std::size_t end = input.size(); end > 0;) {
        std::size_t begin = end - 1;
        while (begin > 0 && compareRest(begin - 1, begin) == 0)
            --begin;
        for (std::size_t i = begin; i < end; ++i)
            place(i);
        end = begin;
    }
    return true;
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
        const int c = compareValues(valueOf(row, m_key.fields[i]), prefix[i]);
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
