#include "data/table.h"

#include "data/cursor.h"

#include <algorithm>

namespace kontaro::data {

Table::Table(const TableLayout& layout, QString filePath, std::unique_ptr<TableStorage> storage)
    : m_layout(layout)
    , m_filePath(std::move(filePath))
    , m_storage(std::move(storage))
    , m_columns(layout) {
    m_orders.push_back(std::make_unique<OrderIndex>(OrderKey{}, &m_columns));
    reload();
}

Table::Table(const TableLayout& layout, QString filePath, std::unique_ptr<TableStorage> storage,
             LoadedTable loaded)
    : m_layout(layout)
    , m_filePath(std::move(filePath))
    , m_storage(std::move(storage))
    , m_columns(layout) {
    m_orders.push_back(std::make_unique<OrderIndex>(OrderKey{}, &m_columns));
    adopt(std::move(loaded.columns), std::move(loaded.rows));
}

Table::~Table() = default;

namespace {

std::uint64_t mix(std::uint64_t h) {
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return h;
}

// Equal values (as locate sees them) hash alike: integral floats like the integer.
std::uint64_t valueHash(const FieldValue& v, bool folded) {
    if (const auto* t = std::get_if<QString>(&v))
        return mix(folded ? qHash(t->toCaseFolded()) : qHash(*t));
    if (const auto* n = std::get_if<std::int64_t>(&v))
        return mix(std::uint64_t(*n));
    if (const auto* d = std::get_if<double>(&v)) {
        if (*d >= -9.2e18 && *d <= 9.2e18 && double(std::int64_t(*d)) == *d)
            return mix(std::uint64_t(std::int64_t(*d)));
        return mix(std::hash<double>()(*d) | 1);
    }
    return 0x9e3779b97f4a7c15ULL;
}

bool sameValue(const FieldValue& a, const FieldValue& b, bool folded) {
    const auto* x = std::get_if<QString>(&a);
    const auto* y = std::get_if<QString>(&b);
    if (x && y)
        return folded ? x->toCaseFolded() == y->toCaseFolded() : *x == *y;
    if (x || y)
        return false;
    return compareValues(a, b) == 0;
}

template <typename ValueAt> std::uint64_t keyHash(const std::vector<int>& fields, bool folded, ValueAt at) {
    // `at` may return a value or a reference.
    std::uint64_t h = 0;
    for (std::size_t i = 0; i < fields.size(); ++i)
        h = h * 0x100000001b3ULL + valueHash(at(i), folded);
    return h;
}

std::uint64_t rowHash(const ColumnStore& columns, const std::vector<int>& fields, bool folded, const Row& r) {
    return keyHash(fields, folded, [&](std::size_t i) { return columns.value(r.slot, fields[i]); });
}

} // namespace

Row* Table::row(std::int64_t id) {
    if (id >= m_idBase && std::uint64_t(id - m_idBase) < m_denseIds.size())
        return m_denseIds[std::size_t(id - m_idBase)];
    const auto it = m_sparseIds.find(id);
    return it == m_sparseIds.end() ? nullptr : it->second;
}

void Table::addRowId(Row* r) {
    ++m_liveRows;
    // Ids a little past the dense block (new rows) extend it; others go to the map.
    if (r->id >= m_idBase && std::uint64_t(r->id - m_idBase) < m_denseIds.size() + 4096) {
        const std::size_t at = std::size_t(r->id - m_idBase);
        if (at >= m_denseIds.size())
            m_denseIds.resize(at + 1, nullptr);
        m_denseIds[at] = r;
    } else {
        m_sparseIds[r->id] = r;
    }
}

void Table::resetRowIds() {
    m_liveRows = 0;
    m_denseIds.clear();
    m_sparseIds.clear();
    m_idBase = 1;
    if (m_loaded.empty())
        return;
    const auto [lo, hi] = std::minmax_element(m_loaded.begin(), m_loaded.end(),
                                              [](const Row& a, const Row& b) { return a.id < b.id; });
    m_idBase = lo->id;
    // Dense only while holes stay few; a table of scattered ids keeps them in the map.
    const std::uint64_t span = std::uint64_t(hi->id - lo->id);
    if (span < 2 * m_loaded.size() + 4096)
        m_denseIds.assign(std::size_t(span + 1), nullptr);
    else
        m_sparseIds.reserve(m_loaded.size());
}

Row* Table::storeRow(Row row) {
    m_added.push_back(std::move(row));
    Row* r = &m_added.back();
    addRowId(r);
    return r;
}

void Table::reload() {
    // Into fresh columns, so that a load that fails leaves the table as it was.
    ColumnStore columns(m_layout);
    std::vector<Row> loaded = m_storage->load(columns);
    adopt(std::move(columns), std::move(loaded));
}

void Table::adopt(ColumnStore columns, std::vector<Row> loaded) {
    for (Cursor* cursor : m_cursors)
        cursor->tableResetting();
    m_added.clear();
    m_columns = std::move(columns);
    m_loaded = std::move(loaded);
    resetRowIds();
    std::vector<Row*> all;
    all.reserve(m_loaded.size());
    for (Row& r : m_loaded) {
        if (!m_layout.hasPosition)
            r.pos = r.id;
        addRowId(&r);
        all.push_back(&r);
    }
    rebuildIndexes(std::move(all));
    ++m_version;
    for (Cursor* cursor : m_cursors)
        cursor->tableReset();
    notifyChanged();
}

// `all` in file order, which is usually the natural order already.
void Table::rebuildIndexes(std::vector<Row*> all) {
    natural().build(all);
    for (std::size_t i = 1; i < m_orders.size(); ++i)
        m_orders[i]->build(naturalRows());
    for (auto& hash : m_hashes) {
        hash->rows.clear();
        hash->rows.reserve(m_liveRows);
        for (Row* r : naturalRows())
            hash->rows.emplace(rowHash(m_columns, hash->fields, hash->folded, *r), r);
    }
}

OrderIndex& Table::order(const OrderKey& key) {
    for (auto& order : m_orders)
        if (order->key() == key)
            return *order;
    auto index = std::make_unique<OrderIndex>(key, &m_columns);
    index->build(naturalRows());
    m_orders.push_back(std::move(index));
    return *m_orders.back();
}

OrderIndex& Table::defaultOrder() {
    if (!m_layout.primaryOrdered)
        return natural();
    const IndexDef& primary = m_layout.indexes.front();
    OrderKey key;
    key.fields.assign(primary.fields.begin(), primary.fields.end());
    key.descending.assign(primary.descending.begin(), primary.descending.end());
    return order(key);
}

QList<Row*> Table::lookup(const std::vector<int>& fields, const std::vector<FieldValue>& values,
                          bool caseInsensitive) {
    HashIndex* found = nullptr;
    for (auto& hash : m_hashes)
        if (hash->fields == fields && hash->folded == caseInsensitive)
            found = hash.get();
    if (!found) {
        auto hash = std::make_unique<HashIndex>();
        hash->fields = fields;
        hash->folded = caseInsensitive;
        hash->rows.reserve(m_liveRows);
        for (Row* r : naturalRows())
            hash->rows.emplace(rowHash(m_columns, hash->fields, hash->folded, *r), r);
        m_hashes.push_back(std::move(hash));
        found = m_hashes.back().get();
    }
    const std::uint64_t h =
        keyHash(fields, caseInsensitive, [&](std::size_t i) -> const FieldValue& { return values[i]; });
    QList<Row*> rows;
    const auto [begin, end] = found->rows.equal_range(h);
    for (auto it = begin; it != end; ++it) {
        bool same = true;
        for (std::size_t i = 0; i < fields.size() && same; ++i)
            same = sameValue(m_columns.value(it->second->slot, fields[i]), values[i], caseInsensitive);
        if (same)
            rows.push_back(it->second);
    }
    return rows;
}

void Table::indexRow(Row* r) {
    for (auto& order : m_orders)
        order->insert(r);
    for (auto& hash : m_hashes)
        hash->rows.emplace(rowHash(m_columns, hash->fields, hash->folded, *r), r);
}

void Table::unindexRow(const Row* r, const std::vector<int>* changed) {
    const auto touches = [&](const std::vector<int>& fields) {
        if (!changed)
            return true;
        return std::any_of(fields.begin(), fields.end(), [&](int f) {
            return std::find(changed->begin(), changed->end(), f) != changed->end();
        });
    };
    for (auto& order : m_orders)
        if (!changed || touches(order->key().fields))
            order->erase(r);
    for (auto& hash : m_hashes)
        if (touches(hash->fields)) {
            const auto [begin, end] =
                hash->rows.equal_range(rowHash(m_columns, hash->fields, hash->folded, *r));
            for (auto it = begin; it != end; ++it)
                if (it->second == r) {
                    hash->rows.erase(it);
                    break;
                }
        }
}

void Table::notifyChanged() {
    // A copy: a handler may open or close cursors.
    const std::vector<Cursor*> cursors = m_cursors;
    for (Cursor* cursor : cursors)
        cursor->tableChanged();
}

std::int64_t Table::positionBefore(const Row* before) {
    OrderIndex& nat = natural();
    if (!before)
        return nat.size() == 0 ? PositionGap : nat.at(nat.size() - 1)->pos + PositionGap;
    std::size_t rank = nat.rankOf(before);
    if (rank == 0)
        return before->pos - PositionGap;
    if (before->pos - nat.at(rank - 1)->pos >= 2)
        return nat.at(rank - 1)->pos + (before->pos - nat.at(rank - 1)->pos) / 2;

    // No gap left here: spread all positions out again. Relative order does not change, so
    // no index needs re-sorting.
    std::vector<Row> renumbered;
    std::vector<const Row*> rows;
    renumbered.reserve(nat.size());
    for (std::size_t i = 0; i < nat.size(); ++i) {
        Row copy;
        copy.id = nat.at(i)->id;
        copy.pos = std::int64_t(i + 1) * PositionGap;
        renumbered.push_back(std::move(copy));
    }
    for (const Row& r : renumbered)
        rows.push_back(&r);
    m_storage->writePositions(rows);
    for (std::size_t i = 0; i < nat.size(); ++i)
        nat.at(i)->pos = renumbered[i].pos;
    ++m_version;
    return before->pos - PositionGap / 2;
}

Row* Table::insertRow(std::vector<FieldValue> values, const Row* before) {
    RowRecord record;
    record.values = std::move(values);
    record.pos = m_layout.hasPosition ? positionBefore(before) : 0;
    record.id = m_storage->insert(record);
    Row fresh;
    fresh.id = record.id;
    fresh.pos = m_layout.hasPosition ? record.pos : record.id;
    fresh.slot = m_columns.add(record.values);
    Row* r = storeRow(std::move(fresh));
    indexRow(r);
    ++m_version;
    notifyChanged();
    return r;
}

void Table::updateRow(Row* r, std::vector<FieldValue> values) {
    RowRecord written;
    written.id = r->id;
    written.pos = r->pos;
    written.values = std::move(values);
    m_storage->update(written);
    std::vector<int> changed;
    for (std::size_t i = 0; i < written.values.size(); ++i)
        if (compareValues(written.values[i], m_columns.value(r->slot, int(i))) != 0)
            changed.push_back(int(i));
    if (changed.empty())
        return;
    unindexRow(r, &changed);
    m_columns.set(r->slot, written.values);
    const auto touches = [&](const std::vector<int>& fields) {
        return std::any_of(fields.begin(), fields.end(), [&](int f) {
            return std::find(changed.begin(), changed.end(), f) != changed.end();
        });
    };
    for (auto& order : m_orders)
        if (touches(order->key().fields))
            order->insert(r);
    for (auto& hash : m_hashes)
        if (touches(hash->fields))
            hash->rows.emplace(rowHash(m_columns, hash->fields, hash->folded, *r), r);
    ++m_version;
    notifyChanged();
}

void Table::removeRow(Row* r) {
    m_storage->remove(*r);
    forgetRow(r);
}

// Takes a row that is gone from the file out of memory.
void Table::forgetRow(Row* r) {
    for (Cursor* cursor : m_cursors)
        cursor->rowRemoving(r);
    unindexRow(r);
    if (r->id >= m_idBase && std::uint64_t(r->id - m_idBase) < m_denseIds.size())
        m_denseIds[std::size_t(r->id - m_idBase)] = nullptr;
    else
        m_sparseIds.erase(r->id);
    --m_liveRows;
    ++m_version;
    notifyChanged();
}

void Table::clear() {
    m_storage->clear();
    for (Cursor* cursor : m_cursors)
        cursor->tableResetting();
    m_added.clear();
    m_loaded.clear();
    m_columns.clear();
    resetRowIds();
    rebuildIndexes({});
    ++m_version;
    for (Cursor* cursor : m_cursors)
        cursor->tableReset();
    notifyChanged();
}

void Table::refreshRow(Row* r) {
    RowRecord fresh{r->id, r->pos, {}};
    if (!m_storage->reread(fresh)) {
        forgetRow(r);
        return;
    }
    unindexRow(r);
    m_columns.set(r->slot, fresh.values);
    indexRow(r);
    ++m_version;
    notifyChanged();
}

void Table::attach(Cursor* cursor) {
    m_cursors.push_back(cursor);
}

void Table::detach(Cursor* cursor) {
    m_cursors.erase(std::remove(m_cursors.begin(), m_cursors.end(), cursor), m_cursors.end());
}

} // namespace kontaro::data
