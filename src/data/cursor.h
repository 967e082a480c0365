#pragma once

#include "base/money.h"
#include "data/field_value.h"
#include "data/record_view.h"

#include <QDate>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kontaro::data {

class OrderIndex;
class Session;
class Table;
class TableLock;

enum class CursorState { Inactive, Browse, Edit, Insert };

struct LocateOptions {
    bool caseInsensitive = false;
    bool partial = false; // text fields match at their start
};

// A remembered row; stays valid while the row exists.
struct Bookmark {
    std::int64_t id = -1;
    bool isValid() const { return id >= 0; }
};

// Handlers a window hangs on a cursor. A handler may throw Abort to refuse a post or delete.
struct CursorEvents {
    std::function<void(class Cursor&)> beforePost;
    std::function<void(class Cursor&)> afterPost;
    std::function<void(class Cursor&)> beforeDelete;
    std::function<void(class Cursor&)> afterScroll;
    std::function<void(class Cursor&)> stateChange;
};

// A position in a table with its own order, filter and master link. Many cursors share one
// in-memory table; what one writes, the others see at once.
//
// Moving away from a row in edit or insert posts it first. `first` sets at-start, `last`
// at-end; `prior` on the first row sets at-start and stays, `next` on the last sets at-end.
class Cursor {
public:
    explicit Cursor(Session& session);
    Cursor(Session& session, const QString& fileName, bool exclusive = false);
    ~Cursor();
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    // Before opening: the table file (relative to the data directory or a full path).
    void setFileName(const QString& fileName);
    const QString& fileName() const { return m_fileName; }
    void setExclusive(bool exclusive) { m_exclusive = exclusive; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    void open();
    void close();
    bool isOpen() const { return m_table != nullptr; }
    Table& table() const;
    const QString& filePath() const;

    // Orders. A table with a primary order (chart by Knr, ledger by Knr;Bnr) opens in it,
    // others in natural order.
    void setNaturalOrder();
    void setOrderFields(const QString& fields); // "Knr", "Knr;Bnr"
    void setIndexName(const QString& name);     // "absteigend", "KNR"

    // Follows `masterField` of `master`'s current row with this cursor's first order field.
    void setMaster(Cursor& master, const QString& masterField);
    void clearMaster();

    using Filter = std::function<bool(const RecordView&)>;
    void setFilter(Filter filter);
    void setFiltered(bool filtered);
    bool isFiltered() const { return m_filtered; }

    void first();
    void last();
    void next();
    void prior();
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    bool isEmpty() const;
    // 1-based rank of the current row in this cursor's order (0 without a row).
    int recNo() const;
    void setRecNo(int recNo);
    int recordCount() const;
    Bookmark bookmark() const;
    bool bookmarkValid(const Bookmark& bookmark) const;
    void gotoBookmark(const Bookmark& bookmark);

    // Fields separated by ";" (any case); one value per field. Moves to the first match.
    bool locate(const QString& fields, const QVariantList& values, LocateOptions options = {});

    CursorState state() const { return m_state; }
    void edit();
    void insert(); // a new row before the current one
    void append(); // a new row at the end
    void post();
    void cancel();
    void remove(); // the next row becomes current
    void refresh();
    void flush();
    void emptyTable();

    RecordView record() const;
    const FieldValue& value(const QString& field) const { return record().value(field); }
    bool isNull(const QString& field) const { return record().isNull(field); }
    QString asText(const QString& field) const { return record().asText(field); }
    std::int64_t asInteger(const QString& field) const { return record().asInteger(field); }
    Money asMoney(const QString& field) const { return record().asMoney(field); }
    QDate asDate(const QString& field) const { return record().asDate(field); }
    double asDouble(const QString& field) const { return record().asDouble(field); }

    // The same reads by field index, for loops over many rows: resolve the name once with
    // fieldIndex() (throws UserError for an unknown name), then read each row without a lookup.
    int fieldIndex(const QString& field) const { return record().fieldIndex(field); }
    const FieldValue& value(int field) const;
    QString asText(int field) const;
    // Appends asText(field) to `out`: a stored text straight from the bytes it was read from, a
    // number as its digits, without a text of their own (exports write a line per row).
    void appendText(QString& out, int field) const;
    std::int64_t asInteger(int field) const;
    Money asMoney(int field) const;

    // Setters need edit or insert state. Empty text makes a field null; texts are cut to the
    // field width, money to whole cents (toward zero).
    void setValue(const QString& field, FieldValue value);
    void setText(const QString& field, const QString& text);
    void setNull(const QString& field);
    void setInteger(const QString& field, std::int64_t value);
    void setMoney(const QString& field, Money value);
    void setDate(const QString& field, const QDate& date);
    void setDouble(const QString& field, double value);

    CursorEvents& events() { return m_events; }

private:
    bool showsStoredRow() const;
    std::optional<std::int64_t> storedInteger(int field, bool money) const;
    friend class Table;

    // Table notifications.
    void rowRemoving(const Row* row);
    void tableResetting();
    void tableReset();
    void tableChanged();

    void requireOpen() const;
    void checkBrowse();
    void applyOrder();
    std::pair<std::size_t, std::size_t> bounds() const;
    bool visible(const Row* row) const;
    std::size_t rankOf(const Row* row) const;
    Row* scan(std::size_t from, std::size_t to, int step) const;
    void prefetchAhead(std::size_t rank, std::size_t end) const;
    Row* neighbourOf(const Row* row) const;
    void moveTo(Row* row);
    void setState(CursorState state);
    void syncDetails();
    void masterChanged(bool force);
    FieldValue masterValue() const;
    void fire(const std::function<void(Cursor&)>& handler);
    bool matches(const Row* row, const std::vector<int>& fields, const std::vector<FieldValue>& values,
                 LocateOptions options) const;

    Session& m_session;
    QString m_fileName;
    bool m_exclusive = false;
    bool m_readOnly = false;
    std::shared_ptr<Table> m_table;
    std::shared_ptr<TableLock> m_lock;

    enum class OrderKind { Default, Natural, Fields, Index };
    OrderKind m_orderKind = OrderKind::Default;
    QString m_orderSpec;
    OrderIndex* m_order = nullptr;

    Cursor* m_master = nullptr;
    QString m_masterFieldName;
    std::vector<Cursor*> m_details;
    FieldValue m_masterValue;
    bool m_masterSynced = false;
    // The master's range in m_order as last searched: walking a detail range steps through it row
    // by row, and searching it anew on every step cost more than printing the row. Valid while
    // the order, the table's version and the master value stay the same.
    struct MasterRange {
        const OrderIndex* order = nullptr;
        std::uint64_t version = 0;
        FieldValue value;
        std::pair<std::size_t, std::size_t> ranks;
    };
    mutable MasterRange m_masterRange;

    Filter m_filter;
    bool m_filtered = false;

    Row* m_row = nullptr;
    mutable std::size_t m_rankHint = SIZE_MAX;
    bool m_bof = true;
    bool m_eof = true;
    CursorState m_state = CursorState::Inactive;
    std::vector<FieldValue> m_buffer;
    // Values of the current row as last read, and of the row a filter looks at.
    mutable std::vector<FieldValue> m_values;
    mutable std::vector<FieldValue> m_filterValues;
    const Row* m_insertBefore = nullptr;
    Row* m_rowBeforeInsert = nullptr;
    std::int64_t m_savedId = -1;
    std::size_t m_savedRank = 0;

    CursorEvents m_events;
};

} // namespace kontaro::data
