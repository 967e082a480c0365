#include "data/cursor.h"

#include "base/date.h"
#include "base/errors.h"
#include "base/text_append.h"
#include "data/session.h"
#include "data/table.h"

#include <QDir>
#include <algorithm>

namespace kontaro::data {

Cursor::Cursor(Session& session)
    : m_session(session) {}

Cursor::Cursor(Session& session, const QString& fileName, bool exclusive)
    : m_session(session)
    , m_fileName(fileName)
    , m_exclusive(exclusive) {
    open();
}

Cursor::~Cursor() {
    if (m_state == CursorState::Edit || m_state == CursorState::Insert)
        m_state = CursorState::Browse; // no writes from a destructor
    clearMaster();
    for (Cursor* detail : m_details) {
        detail->m_master = nullptr;
        detail->m_masterSynced = false;
    }
    if (m_table)
        m_table->detach(this);
}

Table& Cursor::table() const {
    requireOpen();
    return *m_table;
}

const QString& Cursor::filePath() const {
    return table().filePath();
}

const FieldValue& Cursor::value(int field) const {
    static const FieldValue null;
    requireOpen();
    if (m_state == CursorState::Edit || m_state == CursorState::Insert)
        return m_buffer[std::size_t(field)];
    if (!m_row)
        return null;
    // Kept per field, so that a reference to one value stays valid while others are read.
    if (m_values.size() <= std::size_t(field))
        m_values.resize(std::size_t(m_table->layout().fields.size()));
    m_values[std::size_t(field)] = m_table->value(m_row, field);
    return m_values[std::size_t(field)];
}

// A row shown as it is stored (not being edited): its values are read from the table's columns.
bool Cursor::showsStoredRow() const {
    return m_table && m_row && m_state != CursorState::Edit && m_state != CursorState::Insert;
}

QString Cursor::asText(int field) const {
    // A shown row's text field is its column's shared copy.
    if (showsStoredRow() && m_table->columns().isTextField(field))
        return m_table->columns().text(m_row->slot, field);
    return valueText(m_table->layout().fields[field], value(field));
}

void Cursor::appendText(QString& out, int field) const {
    if (!showsStoredRow()) {
        out += asText(field);
        return;
    }
    const ColumnStore& columns = m_table->columns();
    if (columns.isTextField(field)) {
        if (const std::optional<std::string_view> bytes = columns.storedBytes(m_row->slot, field))
            appendUtf8(out, *bytes);
        else
            out += columns.text(m_row->slot, field);
    } else if (const FieldType type = m_table->layout().fields[field].type;
               (type == FieldType::Integer || type == FieldType::SmallInt) && columns.isIntegerField(field)) {
        if (!columns.isNull(m_row->slot, field))
            appendInteger(out, columns.integer(m_row->slot, field));
    } else if (type == FieldType::Date && columns.isIntegerField(field)) {
        if (!columns.isNull(m_row->slot, field))
            appendDate(out, QDate::fromJulianDay(columns.integer(m_row->slot, field)));
    } else {
        out += asText(field);
    }
}

// A shown row's field held as an integer (0 for null), read from its column without a value
// copy; nullopt when the field must take the general way.
std::optional<std::int64_t> Cursor::storedInteger(int field, bool money) const {
    if (!showsStoredRow())
        return std::nullopt;
    const ColumnStore& columns = m_table->columns();
    if ((m_table->layout().fields[field].type == FieldType::Money) != money || !columns.isIntegerField(field))
        return std::nullopt;
    return columns.isNull(m_row->slot, field) ? 0 : columns.integer(m_row->slot, field);
}

// Integer and money fields hold integers; anything else takes the conversions of the named read.
std::int64_t Cursor::asInteger(int field) const {
    if (const std::optional<std::int64_t> stored = storedInteger(field, false))
        return *stored;
    const FieldValue& v = value(field);
    const FieldDef& def = m_table->layout().fields[field];
    if (const auto* n = std::get_if<std::int64_t>(&v); n && def.type != FieldType::Money)
        return *n;
    return isNullValue(v) ? 0 : record().asInteger(def.name);
}

Money Cursor::asMoney(int field) const {
    if (const std::optional<std::int64_t> stored = storedInteger(field, true))
        return Money::fromCents(*stored);
    const FieldValue& v = value(field);
    const FieldDef& def = m_table->layout().fields[field];
    if (const auto* n = std::get_if<std::int64_t>(&v); n && def.type == FieldType::Money)
        return Money::fromCents(*n);
    return isNullValue(v) ? Money() : record().asMoney(def.name);
}

void Cursor::setFileName(const QString& fileName) {
    if (isOpen())
        throw UserError(QStringLiteral("Die Tabelle \"%1\" ist bereits geöffnet.").arg(m_fileName));
    m_fileName = fileName;
}

void Cursor::requireOpen() const {
    if (!m_table)
        throw UserError(QStringLiteral("Die Tabelle \"%1\" ist nicht geöffnet.").arg(m_fileName));
}

void Cursor::open() {
    if (isOpen())
        return;
    m_table = m_session.acquire(m_fileName, m_exclusive, m_lock);
    m_table->attach(this);
    m_state = CursorState::Browse;
    applyOrder();
    first();
}

void Cursor::close() {
    if (!isOpen())
        return;
    checkBrowse();
    m_table->detach(this);
    m_table.reset();
    m_lock.reset();
    m_order = nullptr;
    m_masterRange = {};
    m_row = nullptr;
    m_bof = m_eof = true;
    setState(CursorState::Inactive);
}

void Cursor::applyOrder() {
    if (!m_table)
        return;
    const TableLayout& layout = m_table->layout();
    OrderKey key;
    const auto fromIndex = [&](const IndexDef& def) {
        key.fields.assign(def.fields.begin(), def.fields.end());
        key.descending.assign(def.descending.begin(), def.descending.end());
    };
    switch (m_orderKind) {
    case OrderKind::Default:
        if (layout.primaryOrdered)
            fromIndex(layout.indexes.front());
        break;
    case OrderKind::Natural:
        break;
    case OrderKind::Fields:
        for (const QString& name : m_orderSpec.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            key.fields.push_back(record().fieldIndex(name.trimmed()));
            key.descending.push_back(false);
        }
        break;
    case OrderKind::Index: {
        const IndexDef* def = layout.index(m_orderSpec);
        if (!def)
            throw UserError(QStringLiteral("Die Tabelle \"%1\" hat keinen Index \"%2\".")
                                .arg(QDir::toNativeSeparators(m_table->filePath()), m_orderSpec));
        fromIndex(*def);
        break;
    }
    }
    m_order = &m_table->order(key);
    m_rankHint = SIZE_MAX;
    m_masterRange = {}; // a table opened anew may reuse an old order's address
}

void Cursor::setNaturalOrder() {
    checkBrowse();
    m_orderKind = OrderKind::Natural;
    applyOrder();
}

void Cursor::setOrderFields(const QString& fields) {
    checkBrowse();
    m_orderKind = OrderKind::Fields;
    m_orderSpec = fields;
    applyOrder();
}

void Cursor::setIndexName(const QString& name) {
    checkBrowse();
    m_orderKind = OrderKind::Index;
    m_orderSpec = name;
    applyOrder();
}

void Cursor::setMaster(Cursor& master, const QString& masterField) {
    requireOpen();
    master.record().fieldIndex(masterField); // fails early on a wrong name
    if (m_order->key().fields.empty())
        throw UserError(QStringLiteral("Die Tabelle \"%1\" braucht eine Sortierung für die Verknüpfung.")
                            .arg(QDir::toNativeSeparators(m_table->filePath())));
    clearMaster();
    m_master = &master;
    m_masterFieldName = masterField;
    master.m_details.push_back(this);
    masterChanged(true);
}

void Cursor::clearMaster() {
    if (!m_master)
        return;
    auto& list = m_master->m_details;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    m_master = nullptr;
    m_masterSynced = false;
}

void Cursor::setFilter(Filter filter) {
    m_filter = std::move(filter);
    if (m_filtered && isOpen())
        first();
}

void Cursor::setFiltered(bool filtered) {
    checkBrowse();
    m_filtered = filtered;
    if (isOpen())
        first();
}

std::pair<std::size_t, std::size_t> Cursor::bounds() const {
    if (!m_masterSynced)
        return {0, m_order->size()};
    MasterRange& cached = m_masterRange;
    if (cached.order != m_order || cached.version != m_table->version() || cached.value != m_masterValue) {
        cached.ranks = m_order->range({m_masterValue});
        cached.order = m_order;
        cached.version = m_table->version();
        cached.value = m_masterValue;
    }
    return cached.ranks;
}

bool Cursor::visible(const Row* row) const {
    if (!m_filtered || !m_filter)
        return true;
    return m_filter(
        RecordView(m_table->layout(), m_table->columns(), row->slot, m_filterValues, m_table->filePath()));
}

std::size_t Cursor::rankOf(const Row* row) const {
    m_rankHint = m_order->rankOf(row, m_rankHint);
    return m_rankHint;
}

// First visible row walking from `from` towards `to` (exclusive) by `step` (+1 or -1).
Row* Cursor::scan(std::size_t from, std::size_t to, int step) const {
    for (std::size_t i = from; i != to; i += std::size_t(step)) {
        Row* row = m_order->at(i);
        if (visible(row)) {
            m_rankHint = i;
            return row;
        }
    }
    return nullptr;
}

void Cursor::moveTo(Row* row) {
    m_row = row;
    m_bof = m_eof = row == nullptr;
    fire(m_events.afterScroll);
    syncDetails();
}

void Cursor::first() {
    requireOpen();
    checkBrowse();
    const auto [lo, hi] = bounds();
    moveTo(scan(lo, hi, 1));
    m_bof = true;
}

void Cursor::last() {
    requireOpen();
    checkBrowse();
    const auto [lo, hi] = bounds();
    moveTo(hi > lo ? scan(hi - 1, lo - 1, -1) : nullptr);
    m_eof = true;
}

void Cursor::next() {
    requireOpen();
    checkBrowse();
    const auto [lo, hi] = bounds();
    Row* found = nullptr;
    if (m_row) {
        const std::size_t rank = rankOf(m_row);
        found = scan(std::max(rank + 1, lo), hi, 1);
    }
    if (!found) {
        m_eof = true;
        return;
    }
    prefetchAhead(m_rankHint, hi);
    moveTo(found);
}

// A walk forward through an order reaches the rows a few ranks on soon: their entries and values
// are fetched while this row is read.
void Cursor::prefetchAhead(std::size_t rank, std::size_t end) const {
    constexpr std::size_t TextsAhead = 8;
    constexpr std::size_t ValuesAhead = 16;
    constexpr std::size_t RowsAhead = 32;
    if (rank + RowsAhead < end)
        __builtin_prefetch(m_order->at(rank + RowsAhead));
    if (rank + ValuesAhead < end)
        m_table->columns().prefetch(m_order->at(rank + ValuesAhead)->slot);
    if (rank + TextsAhead < end)
        m_table->columns().prefetchTexts(m_order->at(rank + TextsAhead)->slot);
}

void Cursor::prior() {
    requireOpen();
    checkBrowse();
    const auto [lo, hi] = bounds();
    Row* found = nullptr;
    if (m_row) {
        const std::size_t rank = std::min(rankOf(m_row), hi);
        if (rank > lo)
            found = scan(rank - 1, lo - 1, -1);
    }
    if (!found) {
        m_bof = true;
        return;
    }
    moveTo(found);
}

bool Cursor::isEmpty() const {
    requireOpen();
    const auto [lo, hi] = bounds();
    return scan(lo, hi, 1) == nullptr;
}

int Cursor::recordCount() const {
    requireOpen();
    const auto [lo, hi] = bounds();
    if (!m_filtered || !m_filter)
        return int(hi - lo);
    int count = 0;
    for (std::size_t i = lo; i < hi; ++i)
        count += visible(m_order->at(i)) ? 1 : 0;
    return count;
}

int Cursor::recNo() const {
    requireOpen();
    const Row* row = m_row;
    if (m_state == CursorState::Insert) {
        if (!m_insertBefore)
            return recordCount() + 1;
        row = m_insertBefore;
    }
    if (!row)
        return 0;
    const auto [lo, hi] = bounds();
    const std::size_t rank = rankOf(row);
    if (rank < lo || rank >= hi)
        return 0;
    if (!m_filtered || !m_filter)
        return int(rank - lo + 1);
    int count = 0;
    for (std::size_t i = lo; i <= rank; ++i)
        count += visible(m_order->at(i)) ? 1 : 0;
    return count;
}

void Cursor::setRecNo(int recNo) {
    requireOpen();
    checkBrowse();
    const auto [lo, hi] = bounds();
    if (hi == lo)
        return;
    if (!m_filtered || !m_filter) {
        const std::size_t rank =
            std::clamp<std::size_t>(lo + std::size_t(std::max(recNo, 1) - 1), lo, hi - 1);
        m_rankHint = rank;
        moveTo(m_order->at(rank));
        return;
    }
    Row* target = nullptr;
    int seen = 0;
    for (std::size_t i = lo; i < hi && seen < recNo; ++i)
        if (visible(m_order->at(i))) {
            target = m_order->at(i);
            ++seen;
        }
    if (target)
        moveTo(target);
}

Bookmark Cursor::bookmark() const {
    return Bookmark{m_row ? m_row->id : -1};
}

bool Cursor::bookmarkValid(const Bookmark& bookmark) const {
    return isOpen() && bookmark.isValid() && m_table->row(bookmark.id) != nullptr;
}

void Cursor::gotoBookmark(const Bookmark& bookmark) {
    requireOpen();
    checkBrowse();
    Row* row = bookmark.isValid() ? m_table->row(bookmark.id) : nullptr;
    if (!row)
        throw UserError(QStringLiteral("Der Datensatz in der Tabelle \"%1\" wurde nicht gefunden.")
                            .arg(QDir::toNativeSeparators(m_table->filePath())));
    moveTo(row);
}

namespace {

FieldValue locateValue(const FieldDef& field, const QVariant& value) {
    if (value.isNull() || !value.isValid())
        return {};
    switch (field.type) {
    case FieldType::Text: {
        const QString text = value.toString();
        return text.isEmpty() ? FieldValue() : FieldValue(text);
    }
    case FieldType::Date:
        if (value.typeId() == QMetaType::QDate)
            return std::int64_t(value.toDate().toJulianDay());
        return valueFromText(field, value.toString());
    case FieldType::Money:
        if (value.typeId() == QMetaType::QString)
            return valueFromText(field, value.toString());
        return Money::fromDouble(value.toDouble()).cents();
    case FieldType::Float:
        return value.toDouble();
    default:
        if (value.typeId() == QMetaType::QString)
            return valueFromText(field, value.toString());
        return std::int64_t(value.toLongLong());
    }
}

} // namespace

bool Cursor::matches(const Row* row, const std::vector<int>& fields, const std::vector<FieldValue>& values,
                     LocateOptions options) const {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldValue have = m_table->value(row, fields[i]);
        const auto* haveText = std::get_if<QString>(&have);
        const auto* wantText = std::get_if<QString>(&values[i]);
        if (haveText && wantText) {
            const Qt::CaseSensitivity cs = options.caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
            const bool ok =
                options.partial ? haveText->startsWith(*wantText, cs) : haveText->compare(*wantText, cs) == 0;
            if (!ok)
                return false;
        } else if (compareValues(have, values[i]) != 0) {
            return false;
        }
    }
    return true;
}

bool Cursor::locate(const QString& fieldNames, const QVariantList& values, LocateOptions options) {
    requireOpen();
    checkBrowse();
    const RecordView view = record();
    std::vector<int> fields;
    std::vector<FieldValue> wanted;
    const QStringList names = fieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (int i = 0; i < names.size(); ++i) {
        const int field = view.fieldIndex(names[i].trimmed());
        fields.push_back(field);
        wanted.push_back(locateValue(m_table->layout().fields[field], values.value(i)));
    }
    const auto [lo, hi] = bounds();
    Row* found = nullptr;
    if (!options.partial) {
        // Exact matches come from a hash index; the first in this cursor's order wins.
        std::size_t best = SIZE_MAX;
        for (Row* candidate : m_table->lookup(fields, wanted, options.caseInsensitive)) {
            const std::size_t rank = m_order->rankOf(candidate);
            if (rank >= lo && rank < hi && rank < best && visible(candidate)) {
                best = rank;
                found = candidate;
            }
        }
        if (found)
            m_rankHint = best;
    } else {
        for (std::size_t i = lo; i < hi && !found; ++i) {
            Row* row = m_order->at(i);
            if (matches(row, fields, wanted, options) && visible(row)) {
                found = row;
                m_rankHint = i;
            }
        }
    }
    if (!found)
        return false;
    moveTo(found);
    return true;
}

} // namespace kontaro::data
