// Editing, field access and table notifications of Cursor.
#include "base/errors.h"
#include "data/cursor.h"
#include "data/table.h"

#include <QDir>

namespace kontaro::data {

RecordView Cursor::record() const {
    requireOpen();
    if (m_state == CursorState::Edit || m_state == CursorState::Insert)
        return RecordView(m_table->layout(), &m_buffer, m_table->filePath());
    if (m_row)
        return RecordView(m_table->layout(), m_table->columns(), m_row->slot, m_values, m_table->filePath());
    return RecordView(m_table->layout(), nullptr, m_table->filePath());
}

void Cursor::fire(const std::function<void(Cursor&)>& handler) {
    if (handler)
        handler(*this);
}

void Cursor::setState(CursorState state) {
    if (m_state == state)
        return;
    m_state = state;
    fire(m_events.stateChange);
}

void Cursor::checkBrowse() {
    if (m_state == CursorState::Edit || m_state == CursorState::Insert)
        post();
}

void Cursor::edit() {
    requireOpen();
    if (m_state == CursorState::Edit || m_state == CursorState::Insert)
        return;
    if (m_readOnly)
        throw UserError(QStringLiteral("Die Tabelle \"%1\" ist nur zum Lesen geöffnet.")
                            .arg(QDir::toNativeSeparators(m_table->filePath())));
    if (!m_row) {
        insert();
        return;
    }
    m_buffer = m_table->columns().values(m_row->slot);
    setState(CursorState::Edit);
}

void Cursor::insert() {
    requireOpen();
    checkBrowse();
    if (m_readOnly)
        throw UserError(QStringLiteral("Die Tabelle \"%1\" ist nur zum Lesen geöffnet.")
                            .arg(QDir::toNativeSeparators(m_table->filePath())));
    m_rowBeforeInsert = m_row;
    m_insertBefore = m_row;
    m_buffer.assign(std::size_t(m_table->layout().fields.size()), FieldValue());
    // A new detail row belongs to the master's current row.
    if (m_masterSynced)
        m_buffer[std::size_t(m_order->key().fields.front())] = m_masterValue;
    setState(CursorState::Insert);
    syncDetails();
}

void Cursor::append() {
    insert();
    m_insertBefore = nullptr;
}

void Cursor::post() {
    requireOpen();
    if (m_state != CursorState::Edit && m_state != CursorState::Insert)
        return;
    fire(m_events.beforePost); // Abort leaves the row in edit, nothing written
    std::vector<FieldValue> values = m_buffer;
    if (m_state == CursorState::Insert) {
        const Row* before = m_insertBefore;
        // Leave insert state first so that the table's notifications see a browsing cursor.
        m_state = CursorState::Browse;
        try {
            m_row = m_table->insertRow(std::move(values), before);
        } catch (...) {
            m_state = CursorState::Insert;
            throw;
        }
    } else {
        m_state = CursorState::Browse;
        try {
            m_table->updateRow(m_row, std::move(values));
        } catch (...) {
            m_state = CursorState::Edit;
            throw;
        }
    }
    m_buffer.clear();
    m_bof = m_eof = false;
    m_rankHint = SIZE_MAX;
    syncDetails();
    fire(m_events.afterPost);
    fire(m_events.stateChange);
}

void Cursor::cancel() {
    requireOpen();
    const CursorState was = m_state;
    if (was != CursorState::Edit && was != CursorState::Insert)
        return;
    m_buffer.clear();
    m_state = CursorState::Browse;
    fire(m_events.stateChange);
    if (was == CursorState::Insert)
        moveTo(m_rowBeforeInsert);
    else
        syncDetails();
}

void Cursor::remove() {
    requireOpen();
    if (m_state == CursorState::Insert) {
        cancel();
        return;
    }
    if (m_state == CursorState::Edit)
        cancel();
    if (!m_row)
        throw UserError(QStringLiteral("Die Tabelle \"%1\" enthält keinen Datensatz zum Löschen.")
                            .arg(QDir::toNativeSeparators(m_table->filePath())));
    if (m_readOnly)
        throw UserError(QStringLiteral("Die Tabelle \"%1\" ist nur zum Lesen geöffnet.")
                            .arg(QDir::toNativeSeparators(m_table->filePath())));
    fire(m_events.beforeDelete);
    m_table->removeRow(m_row); // moves this cursor (and any other on the row) to the next row
    moveTo(m_row);
}

void Cursor::refresh() {
    requireOpen();
    checkBrowse();
    if (m_row)
        m_table->refreshRow(m_row);
}

void Cursor::flush() {
    // Every post is written through at once; flushing only completes a pending edit.
    requireOpen();
    checkBrowse();
}

void Cursor::emptyTable() {
    requireOpen();
    if (m_state == CursorState::Edit || m_state == CursorState::Insert) {
        m_buffer.clear();
        setState(CursorState::Browse);
    }
    m_table->clear();
    moveTo(nullptr);
}

void Cursor::setValue(const QString& field, FieldValue value) {
    requireOpen();
    if (m_state != CursorState::Edit && m_state != CursorState::Insert)
        throw UserError(QStringLiteral("Die Tabelle \"%1\" ist nicht im Bearbeitungsmodus.")
                            .arg(QDir::toNativeSeparators(m_table->filePath())));
    const int index = record().fieldIndex(field);
    m_buffer[std::size_t(index)] = normalized(m_table->layout().fields[index], std::move(value));
    syncDetails();
}

void Cursor::setText(const QString& field, const QString& text) {
    const int index = record().fieldIndex(field);
    setValue(field, valueFromText(m_table->layout().fields[index], text));
}

void Cursor::setNull(const QString& field) {
    setValue(field, FieldValue());
}

void Cursor::setInteger(const QString& field, std::int64_t value) {
    const FieldType type =
        m_table ? m_table->layout().fields[record().fieldIndex(field)].type : FieldType::Integer;
    setValue(field, type == FieldType::Money ? FieldValue(value * 100) : FieldValue(value));
}

void Cursor::setMoney(const QString& field, Money value) {
    const FieldType type =
        m_table ? m_table->layout().fields[record().fieldIndex(field)].type : FieldType::Money;
    if (type == FieldType::Float)
        setValue(field, double(value.cents()) / 100.0);
    else
        setValue(field,
                 std::int64_t(type == FieldType::Money ? value.cents() : value.units() / Money::Scale));
}

void Cursor::setDate(const QString& field, const QDate& date) {
    setValue(field, date.isValid() ? FieldValue(std::int64_t(date.toJulianDay())) : FieldValue());
}

void Cursor::setDouble(const QString& field, double value) {
    const FieldType type =
        m_table ? m_table->layout().fields[record().fieldIndex(field)].type : FieldType::Float;
    if (type == FieldType::Money)
        setMoney(field, Money::fromDouble(value));
    else
        setValue(field, value);
}

// The row that takes over when `row` goes away: the next visible one, else the one before.
Row* Cursor::neighbourOf(const Row* row) const {
    const auto [lo, hi] = bounds();
    const std::size_t rank = rankOf(row);
    if (rank == SIZE_MAX)
        return nullptr;
    if (Row* next = scan(std::max(rank + 1, lo), hi, 1))
        return next;
    const std::size_t from = std::min(rank, hi);
    return from > lo ? scan(from - 1, lo - 1, -1) : nullptr;
}

void Cursor::rowRemoving(const Row* row) {
    if (m_insertBefore == row) {
        // The pending insert moves on to the row that follows in natural order.
        OrderIndex& natural = m_table->natural();
        const std::size_t rank = natural.rankOf(row);
        m_insertBefore = rank + 1 < natural.size() ? natural.at(rank + 1) : nullptr;
    }
    if (m_rowBeforeInsert == row)
        m_rowBeforeInsert = neighbourOf(row);
    if (m_row != row)
        return;
    if (m_state == CursorState::Edit) {
        m_buffer.clear();
        setState(CursorState::Browse);
    }
    m_row = m_state == CursorState::Insert ? m_rowBeforeInsert : neighbourOf(row);
    m_rankHint = SIZE_MAX;
    if (!m_row)
        m_bof = m_eof = true;
}

void Cursor::tableResetting() {
    m_savedId = m_row ? m_row->id : -1;
    m_savedRank = 0;
    if (m_row) {
        const std::size_t lo = bounds().first;
        const std::size_t rank = rankOf(m_row);
        m_savedRank = rank >= lo && rank != SIZE_MAX ? rank - lo : 0;
    }
    m_row = nullptr;
    m_insertBefore = nullptr;
    m_rowBeforeInsert = nullptr;
    m_rankHint = SIZE_MAX;
}

void Cursor::tableReset() {
    // Memory now equals the file: an unsaved edit is gone with the rest.
    if (m_state == CursorState::Edit || m_state == CursorState::Insert) {
        m_buffer.clear();
        setState(CursorState::Browse);
    }
    m_row = m_savedId >= 0 ? m_table->row(m_savedId) : nullptr;
    if (!m_row) {
        const auto [lo, hi] = bounds();
        if (hi > lo)
            m_row = m_order->at(std::min(lo + m_savedRank, hi - 1));
    }
    m_bof = m_eof = m_row == nullptr;
}

void Cursor::tableChanged() {
    syncDetails();
}

FieldValue Cursor::masterValue() const {
    return m_master->record().value(m_masterFieldName);
}

void Cursor::syncDetails() {
    const std::vector<Cursor*> details = m_details;
    for (Cursor* detail : details)
        detail->masterChanged(false);
}

void Cursor::masterChanged(bool force) {
    if (!m_master || !m_table)
        return;
    const FieldValue value = masterValue();
    if (!force && m_masterSynced && compareValues(value, m_masterValue) == 0)
        return;
    checkBrowse();
    m_masterValue = value;
    m_masterSynced = true;
    first();
}

} // namespace kontaro::data
