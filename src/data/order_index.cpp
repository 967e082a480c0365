#include "data/order_index.h"

#include <QHashFunctions>
#include <algorithm>
#include <limits>
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

// A key field's ordinal read from the columns when asked, for integer and text fields: the
// integer biased, a text its rank among the texts the rows use. Descending fields are flipped.
class OrderIndex::KeyReader {
public:
    KeyReader(const ColumnStore& columns, int field, bool descending, const std::vector<Row*>& rows)
        : m_columns(columns)
        , m_field(field)
        , m_flip(descending ? ~std::uint64_t(0) : 0) {
        if (!columns.isTextField(field))
            return;
        const std::size_t textCount = columns.textCount(field);
        std::vector<std::uint32_t> used;
        std::vector<bool> seen(textCount, false);
        for (const Row* r : rows) {
            const std::uint32_t id = columns.textId(r->slot, field);
            if (!seen[id]) {
                seen[id] = true;
                used.push_back(id);
            }
        }
        std::vector<FieldValue> distinct;
        distinct.reserve(used.size());
        for (const std::uint32_t id : used)
            distinct.push_back(id == 0 ? FieldValue() : FieldValue(columns.textOf(field, id)));
        const std::vector<std::uint64_t> ranks = denseRanks(distinct);
        m_rankOfText.assign(textCount, 0);
        for (std::size_t i = 0; i < used.size(); ++i)
            m_rankOfText[used[i]] = ranks[i];
    }

    // Integer and text fields can be read so; others take the materialized way.
    static bool reads(const ColumnStore& columns, int field) {
        return columns.isIntegerField(field) || columns.isTextField(field);
    }

    std::uint64_t operator()(const Row* row) const { return ordinal(row) ^ m_flip; }

    // The lowest integer would collide with null.
    bool collides(const Row* row) const {
        return m_rankOfText.empty() && !m_columns.isNull(row->slot, m_field) &&
               m_columns.integer(row->slot, m_field) == std::numeric_limits<std::int64_t>::min();
    }

private:
    std::uint64_t ordinal(const Row* row) const {
        if (!m_rankOfText.empty())
            return m_rankOfText[m_columns.textId(row->slot, m_field)];
        if (m_columns.isNull(row->slot, m_field))
            return 0;
        return std::uint64_t(m_columns.integer(row->slot, m_field)) ^ (std::uint64_t(1) << 63);
    }

    const ColumnStore& m_columns;
    const int m_field;
    const std::uint64_t m_flip;
    std::vector<std::uint64_t> m_rankOfText; // empty for an integer field
};

// Ordinals of one field for the rows in m_rows: integers map straight to their biased value,
// texts to their rank among the texts used; other values get their dense rank among the field's
// distinct values.
std::vector<std::uint64_t> OrderIndex::fieldOrdinals(int field) const {
    const std::vector<Row*>& rows = m_rows;
    std::vector<std::uint64_t> ordinals(rows.size());
    if (KeyReader::reads(*m_columns, field)) {
        const KeyReader read(*m_columns, field, false, rows);
        bool collides = false;
        for (std::size_t i = 0; i < rows.size() && !collides; ++i) {
            collides = read.collides(rows[i]);
            ordinals[i] = read(rows[i]);
        }
        if (!collides)
            return ordinals;
    }

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

void OrderIndex::build(const std::vector<Row*>& rows) {
    const auto natural = [](const Row* a, const Row* b) {
        return a->pos != b->pos ? a->pos < b->pos : a->id < b->id;
    };
    const bool inNaturalOrder = std::is_sorted(rows.begin(), rows.end(), natural);
    if (m_key.fields.empty() && inNaturalOrder) {
        m_rows = rows;
        return;
    }
    bool readable = inNaturalOrder && m_key.fields.size() <= FlatKeyFields;
    for (const int field : m_key.fields)
        readable = readable && KeyReader::reads(*m_columns, field);
    if (readable) {
        std::vector<KeyReader> readers;
        readers.reserve(m_key.fields.size());
        for (std::size_t k = 0; k < m_key.fields.size(); ++k)
            readers.emplace_back(*m_columns, m_key.fields[k], m_key.descending[k], rows);
        if (inKeyOrder(rows, readers)) {
            m_rows = rows;
            return;
        }
        if (bucketByFirstField(rows, readers))
            return;
    }
    m_rows = rows;
    if (m_key.fields.size() > FlatKeyFields) {
        std::sort(m_rows.begin(), m_rows.end(), [this](const Row* a, const Row* b) { return less(a, b); });
        return;
    }
    // Sorting by comparing Row values chases pointers per comparison: the rows are sorted as flat
    // records of integers instead.
    std::vector<FlatItem> items(m_rows.size());
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        FlatItem& item = items[i];
        std::fill(std::begin(item.ordinal), std::end(item.ordinal), 0);
        item.pos = m_rows[i]->pos;
        item.id = m_rows[i]->id;
        item.row = m_rows[i];
    }
    for (std::size_t k = 0; k < m_key.fields.size(); ++k) {
        const std::vector<std::uint64_t> ordinals = fieldOrdinals(m_key.fields[k]);
        for (std::size_t i = 0; i < items.size(); ++i)
            items[i].ordinal[k] = m_key.descending[k] ? ~ordinals[i] : ordinals[i];
    }
    if (std::is_sorted(items.begin(), items.end(), flatLess))
        return;
    std::sort(items.begin(), items.end(), flatLess);
    for (std::size_t i = 0; i < items.size(); ++i)
        m_rows[i] = items[i].row;
}

// Whether rows that arrive in natural order are in key order already.
bool OrderIndex::inKeyOrder(const std::vector<Row*>& rows, const std::vector<KeyReader>& readers) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (const KeyReader& read : readers)
            if (read.collides(rows[i]))
                return false;
        if (i == 0)
            continue;
        for (const KeyReader& read : readers) {
            const std::uint64_t a = read(rows[i - 1]);
            const std::uint64_t b = read(rows[i]);
            if (a != b) {
                if (a > b)
                    return false;
                break;
            }
        }
    }
    return true;
}

// Rows that arrive in natural order sorted by all but the first key field need only a split by
// the first field: linear when that field has few distinct values, as account numbers have. The
// ledger in posting order is sorted by Bnr, so both of its orders (Knr;Bnr and Knr with Bnr
// descending) are split this way: the second from the last row back. Every pass reads the rows
// front to back and the ordinals straight from the columns, so the split stays linear on tables
// larger than the caches. Fills m_rows; false when the rows do not fit.
bool OrderIndex::bucketByFirstField(const std::vector<Row*>& rows, const std::vector<KeyReader>& readers) {
    if (rows.empty() || readers.size() < 2 || m_key.descending[0])
        return false;
    const auto compareRest = [&](const Row* a, const Row* b) {
        for (std::size_t k = 1; k < readers.size(); ++k) {
            const std::uint64_t x = readers[k](a);
            const std::uint64_t y = readers[k](b);
            if (x != y)
                return x < y ? -1 : 1;
        }
        return 0;
    };
    // The first field's ordinals, kept small: a dense rank, at most one per row.
    std::vector<std::uint32_t> first(rows.size());
    bool rising = true;  // the rows come in key order, ties in natural order
    bool falling = true; // they come in reverse key order
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::uint64_t ordinal = readers[0](rows[i]);
        if (ordinal > rows.size() + 1 || ordinal > std::numeric_limits<std::uint32_t>::max() - 1)
            return false; // not a dense rank
        first[i] = std::uint32_t(ordinal);
        for (const KeyReader& read : readers)
            if (read.collides(rows[i]))
                return false;
        if (i > 0) {
            const int c = compareRest(rows[i - 1], rows[i]);
            rising = rising && c <= 0;
            falling = falling && c >= 0;
            if (!rising && !falling)
                return false;
        }
    }
    std::vector<std::size_t> start(std::size_t(*std::max_element(first.begin(), first.end())) + 2, 0);
    for (const std::uint32_t ordinal : first)
        ++start[ordinal + 1];
    for (std::size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    m_rows.assign(rows.size(), nullptr);
    const auto place = [&](std::size_t i) { m_rows[start[first[i]]++] = rows[i]; };
    if (rising) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            place(i);
        return true;
    }
    // From the last run of rows equal in the other fields back to the first; within a run
    // forward, so that rows equal in every key field stay in natural order.
    for (std::size_t end = rows.size(); end > 0;) {
        std::size_t begin = end - 1;
        while (begin > 0 && compareRest(rows[begin - 1], rows[begin]) == 0)
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
