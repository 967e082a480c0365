#include "data/table.h"

#include "data/cursor.h"

#include <algorithm>

namespace kontaro::data {

Table::Table(const TableLayout& layout, QString filePath, std::unique_ptr<TableStorage> storage)
    : m_layout(layout)
    , m_filePath(std::move(filePath))
    , m_storage(std::move(storage)) {
    m_orders.push_back(std::make_unique<OrderIndex>(OrderKey{}));
    reload();
}

Table::~Table() = default;

Row* Table::row(std::int64_t id) {
    const auto it = m_rows.find(id);
    return it == m_rows.end() ? nullptr : &it->second;
}

void Table::reload() {
    std::vector<Row> loaded = m_storage->load();
    for (Cursor* cursor : m_cursors)
        cursor->tableResetting();
    m_rows.clear();
    m_rows.reserve(loaded.size());
    std::vector<Row*> all;
    all.reserve(loaded.size());
    for (Row& r : loaded) {
        if (!m_layout.hasPosition)
            r.pos = r.id;
        const std::int64_t id = r.id;
        all.push_back(&m_rows.emplace(id, std::move(r)).first->second);
    }
    rebuildIndexes(std::move(all));
    ++m_version;
    for (Cursor* cursor : m_cursors)
        cursor->tableReset();
    notifyChanged();
}

// `all` in file order, which is usually the natural order already.
void Table::rebuildIndexes(std::vector<Row*> all) {
    natural().build(std::move(all));
    for (std::size_t i = 1; i < m_orders.size(); ++i)
        m_orders[i]->build(naturalRows());
    for (auto& hash : m_hashes) {
        hash->rows.clear();
        for (auto& [id, r] : m_rows)
            hash->rows.insert(hashKey(*hash, r.values), &r);
    }
}

std::vector<Row*> Table::naturalRows() {
    std::vector<Row*> rows;
    rows.reserve(natural().size());
    for (std::size_t i = 0; i < natural().size(); ++i)
        rows.push_back(natural().at(i));
    return rows;
}

OrderIndex& Table::order(const OrderKey& key) {
    for (auto& order : m_orders)
        if (order->key() == key)
            return *order;
    auto index = std::make_unique<OrderIndex>(key);
    index->build(naturalRows());
    m_orders.push_back(std::move(index));
    return *m_orders.back();
}

QString Table::hashKey(const HashIndex& index, const std::vector<FieldValue>& values) const {
    QString key;
    for (int field : index.fields) {
        const FieldValue& v = values[std::size_t(field)];
        if (!key.isEmpty() || field != index.fields.front())
            key += QChar(0x1f);
        if (const auto* d = std::get_if<double>(&v))
            key += QString::number(*d, 'g', 17);
        else if (const auto* n = std::get_if<std::int64_t>(&v))
            key += QString::number(*n);
        else if (const auto* t = std::get_if<QString>(&v))
            key += index.folded ? t->toCaseFolded() : *t;
    }
    return key;
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
        hash->rows.reserve(qsizetype(m_rows.size()));
        for (auto& [id, r] : m_rows)
            hash->rows.insert(hashKey(*hash, r.values), &r);
        m_hashes.push_back(std::move(hash));
        found = m_hashes.back().get();
    }
    std::vector<FieldValue> probe(std::size_t(m_layout.fields.size()));
    for (std::size_t i = 0; i < fields.size(); ++i)
        probe[std::size_t(fields[i])] = values[i];
    return found->rows.values(hashKey(*found, probe));
}

void Table::indexRow(Row* r) {
    for (auto& order : m_orders)
        order->insert(r);
    for (auto& hash : m_hashes)
        hash->rows.insert(hashKey(*hash, r->values), r);
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
        if (touches(hash->fields))
            hash->rows.remove(hashKey(*hash, r->values), const_cast<Row*>(r));
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
    Row fresh;
    fresh.values = std::move(values);
    fresh.pos = m_layout.hasPosition ? positionBefore(before) : 0;
    fresh.id = m_storage->insert(fresh);
    if (!m_layout.hasPosition)
        fresh.pos = fresh.id;
    const std::int64_t id = fresh.id;
    Row* r = &m_rows.emplace(id, std::move(fresh)).first->second;
    indexRow(r);
    ++m_version;
    notifyChanged();
    return r;
}

void Table::updateRow(Row* r, std::vector<FieldValue> values) {
    Row written;
    written.id = r->id;
    written.pos = r->pos;
    written.values = std::move(values);
    m_storage->update(written);
    std::vector<int> changed;
    for (std::size_t i = 0; i < written.values.size(); ++i)
        if (compareValues(written.values[i], r->values[i]) != 0)
            changed.push_back(int(i));
    if (changed.empty())
        return;
    unindexRow(r, &changed);
    r->values = std::move(written.values);
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
            hash->rows.insert(hashKey(*hash, r->values), r);
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
    m_rows.erase(r->id);
    ++m_version;
    notifyChanged();
}

void Table::clear() {
    m_storage->clear();
    for (Cursor* cursor : m_cursors)
        cursor->tableResetting();
    m_rows.clear();
    rebuildIndexes({});
    ++m_version;
    for (Cursor* cursor : m_cursors)
        cursor->tableReset();
    notifyChanged();
}

void Table::refreshRow(Row* r) {
    Row fresh = *r;
    if (!m_storage->reread(fresh)) {
        forgetRow(r);
        return;
    }
    unindexRow(r);
    r->values = std::move(fresh.values);
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
