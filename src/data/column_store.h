#pragma once

#include "data/field_value.h"
#include "data/table_layout.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kontaro::data {

// The values of a loaded table, one typed column per field: integers, money (cents) and dates
// (Julian days) as int64_t, floats as double, texts as numbers into a per-column list of shared
// texts, nulls as one bit per row. A row is a slot number; slots are never reused until the
// next load, so a slot stays valid for the row that owns it.
class ColumnStore {
public:
    explicit ColumnStore(const TableLayout& layout);
    // Moved, never copied: a column points into its own maps.
    ColumnStore(ColumnStore&&) = default;
    ColumnStore& operator=(ColumnStore&&) = default;
    ColumnStore(const ColumnStore&) = delete;
    ColumnStore& operator=(const ColumnStore&) = delete;

    std::size_t size() const { return m_size; }
    void clear();
    void reserve(std::size_t rows);

    // A new slot with every field null.
    std::uint32_t add();
    std::uint32_t add(const std::vector<FieldValue>& values);
    void set(std::uint32_t slot, const std::vector<FieldValue>& values);
    void set(std::uint32_t slot, int field, const FieldValue& value);
    void setInteger(std::uint32_t slot, int field, std::int64_t value);
    void setReal(std::uint32_t slot, int field, double value);
    void setText(std::uint32_t slot, int field, const QString& text); // empty text is null
    // A loader's way to add a row: every field pushed once, in field order, then the row ended;
    // each value is written once, straight to the end of its column. endRow() gives the slot.
    void pushNull(int field) {
        Column& c = m_columns[std::size_t(field)];
        switch (c.kind) {
        case Kind::Integer:
            c.integers.push_back(0);
            c.nulls.push_back(true);
            break;
        case Kind::Real:
            c.reals.push_back(0.0);
            c.nulls.push_back(true);
            break;
        case Kind::Text:
            c.textIds.push_back(0);
        }
    }
    void pushInteger(int field, std::int64_t value) {
        Column& c = m_columns[std::size_t(field)];
        c.integers.push_back(value);
        c.nulls.push_back(false);
    }
    void pushReal(int field, double value) {
        Column& c = m_columns[std::size_t(field)];
        c.reals.push_back(value);
        c.nulls.push_back(false);
    }
    // A text as the file holds it: equal to the previous row's or to a shared one, it is found
    // without converting it first.
    void pushTextUtf8(int field, std::string_view bytes) {
        Column& c = m_columns[std::size_t(field)];
        c.textIds.push_back(bytes.empty() ? 0 : internUtf8(c, bytes));
    }
    std::uint32_t endRow() { return std::uint32_t(m_size++); }

    // Moves the rows of `other`, a store of the same layout, behind the own ones (a table read in
    // parts side by side): the slots of `ranges` ([begin, end) each) in that order, which together
    // hold every row of `other`. Returns the slot the first row moved gets; `other` is left empty.
    using SlotRange = std::pair<std::uint32_t, std::uint32_t>;
    std::uint32_t append(ColumnStore&& other, const std::vector<SlotRange>& ranges);

    bool isNull(std::uint32_t slot, int field) const {
        const Column& c = m_columns[std::size_t(field)];
        return c.kind == Kind::Text ? c.textIds[slot] == 0 : c.nulls[slot];
    }
    // 0 for null and for fields of other kinds.
    std::int64_t integer(std::uint32_t slot, int field) const {
        const Column& c = m_columns[std::size_t(field)];
        return c.kind == Kind::Integer ? c.integers[slot] : 0;
    }
    double real(std::uint32_t slot, int field) const {
        const Column& c = m_columns[std::size_t(field)];
        return c.kind == Kind::Real ? c.reals[slot] : 0.0;
    }
    // Empty for null.
    const QString& text(std::uint32_t slot, int field) const {
        const Column& c = m_columns[std::size_t(field)];
        return textOf(field, c.kind == Kind::Text ? c.textIds[slot] : 0);
    }
    FieldValue value(std::uint32_t slot, int field) const;
    // Asks the processor to bring the row's values into the cache: a walk in an order other than
    // the table's reaches its rows out of sequence, and fetching ahead hides the wait.
    void prefetch(std::uint32_t slot) const {
        for (const Column& c : m_columns) {
            if (c.kind == Kind::Integer)
                __builtin_prefetch(c.integers.data() + slot);
            else if (c.kind == Kind::Text)
                __builtin_prefetch(c.textIds.data() + slot);
            else
                __builtin_prefetch(c.reals.data() + slot);
        }
    }
    // The second step for a row prefetched before: where its loaded texts' bytes are, and the
    // bytes themselves.
    void prefetchTexts(std::uint32_t slot) const {
        for (const Column& c : m_columns) {
            if (c.kind != Kind::Text || c.sharing)
                continue;
            const auto& at = c.storedAt[c.textIds[slot]];
            __builtin_prefetch(&at);
            __builtin_prefetch(c.stored.data() + at.first);
        }
    }
    std::vector<FieldValue> values(std::uint32_t slot) const;

    // For building orders: a text field's value as a number (0 is null; equal numbers are equal
    // texts, equal texts may have different numbers) and the texts behind the numbers.
    bool isIntegerField(int field) const { return m_columns[std::size_t(field)].kind == Kind::Integer; }
    bool isTextField(int field) const { return m_columns[std::size_t(field)].kind == Kind::Text; }
    std::uint32_t textId(std::uint32_t slot, int field) const {
        return m_columns[std::size_t(field)].textIds[slot];
    }
    // The UTF-8 bytes a loaded, unshared text was read from (kept after it is first read);
    // nullopt for null and for texts set otherwise. Equal bytes are equal texts.
    std::optional<std::string_view> storedBytes(std::uint32_t slot, int field) const {
        const Column& c = m_columns[std::size_t(field)];
        if (c.kind != Kind::Text)
            return std::nullopt;
        const std::string_view bytes = storedView(c, c.textIds[slot]);
        return bytes.empty() ? std::nullopt : std::optional(bytes);
    }
    std::size_t textCount(int field) const { return m_columns[std::size_t(field)].texts.size(); }
    const QString& textOf(int field, std::uint32_t id) const {
        const Column& c = m_columns[std::size_t(field)];
        const QString& text = c.texts[id];
        return id != 0 && text.isNull() ? convertStored(c, id) : text;
    }

private:
    enum class Kind { Integer, Real, Text };
    // Looks up std::string keys by std::string_view without building a string.
    struct BytesHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view bytes) const { return std::hash<std::string_view>{}(bytes); }
    };
    struct Column {
        Kind kind = Kind::Integer;
        std::vector<std::int64_t> integers;
        std::vector<double> reals;
        std::vector<bool> nulls;
        std::vector<std::uint32_t> textIds;
        // [0] is the empty text that stands for null. A loaded text that is not shared stays in
        // `stored` as its UTF-8 bytes until it is first read (a null QString until then): most of
        // the ledger's and journal's texts are never shown, and one QString each cost the start
        // a heap block and a conversion per row.
        mutable std::vector<QString> texts;
        std::string stored;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> storedAt; // offset, length; by id
        // Short texts (account numbers, marks) repeat on many rows: one copy each, while few.
        bool sharing = false;
        QHash<QString, std::uint32_t> shared;
        // The same by the address of a pooled text's characters, which the pool keeps alive:
        // a loader hands in the same copy for repeated texts, so most look-ups need no hash.
        std::unordered_map<const QChar*, std::uint32_t> pooled;
        std::uint32_t last = 0;                  // the text set last; consecutive rows often repeat it
        const std::string* lastShared = nullptr; // its bytes when it is shared (a key below)
        std::unordered_map<std::string, std::uint32_t, BytesHash, std::equal_to<>> sharedUtf8;
    };

    static const QString& convertStored(const Column& c, std::uint32_t id);
    // The id of a text (not empty) in `c`: the previous one's, a shared one's or a new one.
    static std::uint32_t intern(Column& c, const QString& text);
    static std::uint32_t internUtf8(Column& c, std::string_view bytes);
    static std::uint32_t addStored(Column& c, std::string_view bytes);
    // The bytes a loaded text was read from; empty for texts set otherwise.
    static std::string_view storedView(const Column& c, std::uint32_t id) {
        const auto [offset, length] = c.storedAt[id];
        return std::string_view(c.stored.data() + offset, length);
    }
    static void appendTexts(Column& c, Column& other, const std::vector<SlotRange>& ranges);

    std::vector<Column> m_columns;
    std::size_t m_size = 0;
};

} // namespace kontaro::data
