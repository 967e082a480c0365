#include "data/column_store.h"

#include <limits>

namespace kontaro::data {

namespace {

constexpr int SharedTextWidth = 10;
constexpr qsizetype SharedTextLimit = 2048;

} // namespace

ColumnStore::ColumnStore(const TableLayout& layout) {
    m_columns.resize(std::size_t(layout.fields.size()));
    for (int i = 0; i < layout.fields.size(); ++i) {
        Column& c = m_columns[std::size_t(i)];
        const FieldDef& f = layout.fields[i];
        c.kind = f.type == FieldType::Text ? Kind::Text
                                           : (f.type == FieldType::Float ? Kind::Real : Kind::Integer);
        c.sharing = c.kind == Kind::Text && f.width <= SharedTextWidth;
    }
    clear();
}

void ColumnStore::clear() {
    m_size = 0;
    for (Column& c : m_columns) {
        c.integers.clear();
        c.reals.clear();
        c.nulls.clear();
        c.textIds.clear();
        c.texts.assign(1, QString());
        c.stored.clear();
        c.storedAt.assign(1, {0, 0});
        c.shared.clear();
        c.pooled.clear();
        c.last = 0;
        c.lastShared = nullptr;
        c.sharedUtf8.clear();
    }
}

void ColumnStore::reserve(std::size_t rows) {
    for (Column& c : m_columns) {
        switch (c.kind) {
        case Kind::Integer:
            c.integers.reserve(rows);
            c.nulls.reserve(rows);
            break;
        case Kind::Real:
            c.reals.reserve(rows);
            c.nulls.reserve(rows);
            break;
        case Kind::Text:
            c.textIds.reserve(rows);
            if (!c.sharing) { // one text per row, nearly
                c.texts.reserve(rows + 1);
                c.storedAt.reserve(rows + 1);
            }
        }
    }
}

std::uint32_t ColumnStore::add() {
    for (int field = 0; field < int(m_columns.size()); ++field)
        pushNull(field);
    return endRow();
}

std::uint32_t ColumnStore::add(const std::vector<FieldValue>& values) {
    const std::uint32_t slot = add();
    set(slot, values);
    return slot;
}

void ColumnStore::set(std::uint32_t slot, const std::vector<FieldValue>& values) {
    for (std::size_t i = 0; i < values.size() && i < m_columns.size(); ++i)
        set(slot, int(i), values[i]);
}

void ColumnStore::set(std::uint32_t slot, int field, const FieldValue& value) {
    Column& c = m_columns[std::size_t(field)];
    if (isNullValue(value)) {
        if (c.kind == Kind::Text)
            c.textIds[slot] = 0;
        else
            c.nulls[slot] = true;
        return;
    }
    // Values come normalized to the field's type; the conversions are for safety only.
    switch (c.kind) {
    case Kind::Integer:
        if (const auto* n = std::get_if<std::int64_t>(&value))
            setInteger(slot, field, *n);
        else if (const auto* d = std::get_if<double>(&value))
            setInteger(slot, field, std::int64_t(*d));
        else
            c.nulls[slot] = true;
        break;
    case Kind::Real:
        if (const auto* d = std::get_if<double>(&value))
            setReal(slot, field, *d);
        else if (const auto* n = std::get_if<std::int64_t>(&value))
            setReal(slot, field, double(*n));
        else
            c.nulls[slot] = true;
        break;
    case Kind::Text:
        if (const auto* t = std::get_if<QString>(&value))
            setText(slot, field, *t);
        else
            c.textIds[slot] = 0;
    }
}

void ColumnStore::setInteger(std::uint32_t slot, int field, std::int64_t value) {
    Column& c = m_columns[std::size_t(field)];
    c.integers[slot] = value;
    c.nulls[slot] = false;
}

void ColumnStore::setReal(std::uint32_t slot, int field, double value) {
    Column& c = m_columns[std::size_t(field)];
    c.reals[slot] = value;
    c.nulls[slot] = false;
}

void ColumnStore::setText(std::uint32_t slot, int field, const QString& text) {
    Column& c = m_columns[std::size_t(field)];
    c.textIds[slot] = text.isEmpty() ? 0 : intern(c, text);
}

std::uint32_t ColumnStore::intern(Column& c, const QString& text) {
    const QString& last = c.texts[c.last];
    if (c.last != 0 && ((last.constData() == text.constData() && last.size() == text.size()) || last == text))
        return c.last;
    std::uint32_t id = 0;
    if (c.sharing && c.shared.size() < SharedTextLimit) {
        const auto same = c.pooled.find(text.constData());
        const auto found = same == c.pooled.end() ? c.shared.constFind(text) : c.shared.constEnd();
        if (same != c.pooled.end() && c.texts[same->second].size() == text.size()) {
            id = same->second;
        } else if (found != c.shared.constEnd()) {
            id = *found;
        } else {
            id = std::uint32_t(c.texts.size());
            c.texts.push_back(text);
            c.storedAt.emplace_back(0, 0);
            c.shared.insert(text, id);
            c.pooled.emplace(c.texts.back().constData(), id);
        }
    } else {
        id = std::uint32_t(c.texts.size());
        c.texts.push_back(text);
        c.storedAt.emplace_back(0, 0);
    }
    c.last = id;
    c.lastShared = nullptr;
    return id;
}

std::uint32_t ColumnStore::internUtf8(Column& c, std::string_view bytes) {
    // The previous text's bytes, where they are kept: in the shared texts' keys or the buffer.
    const std::string_view last = c.lastShared ? std::string_view(*c.lastShared) : storedView(c, c.last);
    if (!last.empty() && last == bytes)
        return c.last;
    std::uint32_t id = 0;
    const std::string* shared = nullptr;
    if (c.sharing && c.shared.size() < SharedTextLimit) {
        auto known = c.sharedUtf8.find(bytes);
        if (known == c.sharedUtf8.end()) {
            const std::uint32_t added = intern(c, QString::fromUtf8(bytes.data(), qsizetype(bytes.size())));
            known = c.sharedUtf8.emplace(std::string(bytes), added).first;
        }
        id = known->second;
        shared = &known->first;
    } else {
        id = addStored(c, bytes);
    }
    c.last = id;
    c.lastShared = shared;
    return id;
}

std::uint32_t ColumnStore::append(ColumnStore&& other, const std::vector<SlotRange>& ranges) {
    const auto first = std::uint32_t(m_size);
    const auto appendRanges = [&ranges](auto& to, const auto& from) {
        for (const auto& [begin, end] : ranges)
            to.insert(to.end(), from.begin() + begin, from.begin() + end);
    };
    for (std::size_t i = 0; i < m_columns.size() && i < other.m_columns.size(); ++i) {
        Column& c = m_columns[i];
        Column& o = other.m_columns[i];
        switch (c.kind) {
        case Kind::Integer:
            appendRanges(c.integers, o.integers);
            appendRanges(c.nulls, o.nulls);
            break;
        case Kind::Real:
            appendRanges(c.reals, o.reals);
            appendRanges(c.nulls, o.nulls);
            break;
        case Kind::Text:
            appendTexts(c, o, ranges);
        }
        // Each column of `other` goes as soon as it is copied, so that the two never stand in
        // memory side by side in full.
        Column emptied;
        emptied.kind = o.kind;
        emptied.sharing = o.sharing;
        o = std::move(emptied);
    }
    m_size += other.m_size;
    other.clear();
    return first;
}

void ColumnStore::appendTexts(Column& c, Column& other, const std::vector<SlotRange>& ranges) {
    // Each text of `other` once, under its id here, taken on in the order of the rows.
    constexpr std::uint32_t NotYet = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> ids(other.texts.size(), NotYet);
    ids[0] = 0;
    c.textIds.reserve(c.textIds.size() + other.textIds.size());
    for (const auto& [begin, end] : ranges) {
        for (std::uint32_t slot = begin; slot < end; ++slot) {
            const std::uint32_t id = other.textIds[slot];
            if (ids[id] == NotYet) {
                const auto [offset, length] = other.storedAt[id];
                if (length == 0) {
                    ids[id] = intern(c, other.texts[id]);
                } else {
                    ids[id] = internUtf8(c, std::string_view(other.stored.data() + offset, length));
                    if (QString& converted = other.texts[id];
                        !converted.isNull() && c.texts[ids[id]].isNull())
                        c.texts[ids[id]] = std::move(converted);
                }
            }
            c.textIds.push_back(ids[id]);
        }
    }
    c.last = 0;
    c.lastShared = nullptr;
}

std::uint32_t ColumnStore::addStored(Column& c, std::string_view bytes) {
    const auto id = std::uint32_t(c.texts.size());
    c.texts.emplace_back();
    c.storedAt.emplace_back(std::uint32_t(c.stored.size()), std::uint32_t(bytes.size()));
    c.stored.append(bytes);
    return id;
}

const QString& ColumnStore::convertStored(const Column& c, std::uint32_t id) {
    const auto [offset, length] = c.storedAt[id];
    QString& text = c.texts[id];
    text = QString::fromUtf8(c.stored.data() + offset, qsizetype(length));
    return text;
}

FieldValue ColumnStore::value(std::uint32_t slot, int field) const {
    if (isNull(slot, field))
        return {};
    const Column& c = m_columns[std::size_t(field)];
    switch (c.kind) {
    case Kind::Integer:
        return c.integers[slot];
    case Kind::Real:
        return c.reals[slot];
    default:
        return textOf(field, c.textIds[slot]);
    }
}

std::vector<FieldValue> ColumnStore::values(std::uint32_t slot) const {
    std::vector<FieldValue> all;
    all.reserve(m_columns.size());
    for (std::size_t i = 0; i < m_columns.size(); ++i)
        all.push_back(value(slot, int(i)));
    return all;
}

} // namespace kontaro::data
