#pragma once

#include "forms/grid_source.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

namespace kontaro::data {
class Cursor;
class Session;
} // namespace kontaro::data

namespace kontaro::views {

// The rows of the chart window's grid: every account record in account-number order. The row of
// the chart's cursor shows the record being edited; typing writes through the entry rules of its
// column, but only while the record is in edit or insert state (the grid never starts an edit).
class KontoplanGrid : public forms::GridSource {
public:
    KontoplanGrid(data::Session& session, data::Cursor& chart);
    ~KontoplanGrid() override;

    // The grid's columns, left to right: every field of an account record.
    static const QStringList& columns();

    int rowCount() const override;
    QString cell(int row, int column) const override;
    QStringList pickList(int column) const override;
    int currentRow() const override;
    void setCurrentRow(int row) override;
    // Throws UserError when the text does not suit the column; the field keeps its value.
    void setCell(int row, int column, const QString& text) override;
    bool isColumnReadOnly(int column) const override;
    bool isRowEditable(int row) const override;

    // Types into a column of the record in edit or insert by field name (as setCell).
    void setField(const QString& field, const QString& text);
    bool isFieldReadOnly(const QString& field) const;

    // Read-only locks of single fields, honoured by typing; lifted after every save or cancel.
    void lock(const QString& field) { m_locked.insert(field); }
    void unlockAll() { m_locked.clear(); }

    // Whether anything was typed since the record entered edit or insert state.
    bool typed() const { return m_typed; }
    void resetTyped() { m_typed = false; }

private:
    // The row that stands for the pending insert, -1 without one.
    int insertRow() const;

    data::Cursor& m_chart;
    // Reads the other rows without moving the chart's cursor (which would make windows follow).
    std::unique_ptr<data::Cursor> m_reader;
    QSet<QString> m_locked;
    bool m_typed = false;
};

} // namespace kontaro::views
