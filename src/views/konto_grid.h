#pragma once

#include "forms/grid_source.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace kontaro::data {
class Cursor;
}

namespace kontaro::views {

// How a grid cell shows its field.
enum class CellStyle {
    Plain,       // the field's text: digits, dd.mm.yyyy, text
    Money,       // "#,##0.00": 1.234,56 and 0,00
    MoneyNoZero, // "#,###.00": 1.234,56 but ,00 and ,50 (no zero before the decimal separator)
};

// The text of one field of the cursor's current row in a style; empty for an empty field.
QString cellText(const data::Cursor& cursor, const QString& field, CellStyle style);

// The rows of a grid read on demand through a cursor of its own, so drawing a window onto a large
// table never moves the window's cursor. The reading cursor must have the same order, filter and
// master link as `current`, the window's cursor, whose row is the grid's current row (none: the
// grid has no current row, as in a drop-down list).
class TableGridSource : public forms::GridSource {
public:
    struct Column {
        QString field;
        CellStyle style = CellStyle::Plain;
    };

    TableGridSource(std::unique_ptr<data::Cursor> reader, std::vector<Column> columns,
                    data::Cursor* current = nullptr);
    ~TableGridSource() override;

    int rowCount() const override;
    QString cell(int row, int column) const override;
    int currentRow() const override;
    void setCurrentRow(int row) override;
    forms::Color rowColor(int row) const override;

    // The current row is drawn in this colour (Default: not highlighted).
    void setCurrentRowColor(forms::Color color) { m_currentColor = color; }

private:
    std::unique_ptr<data::Cursor> m_reader;
    std::vector<Column> m_columns;
    data::Cursor* m_current;
    forms::Color m_currentColor = forms::Color::Default;
};

} // namespace kontaro::views
