#pragma once

#include "forms/color.h"

#include <QString>
#include <QStringList>

namespace kontaro::forms {

// The rows of a grid or list control, read on demand so that a view can show a window onto a
// table of any size. A form implements it over a cursor; the control's `items` name the columns.
class GridSource {
public:
    virtual ~GridSource() = default;
    virtual int rowCount() const = 0;
    virtual QString cell(int row, int column) const = 0;
    // The row of the cursor, -1 when there is none.
    virtual int currentRow() const = 0;
    // Makes `row` the current one, as a click on it does.
    virtual void setCurrentRow(int row) = 0;
    // Typing into a cell; throws kontaro::UserError when the text cannot be taken.
    virtual void setCell(int row, int column, const QString& text) {
        (void)row;
        (void)column;
        (void)text;
    }
    virtual bool isColumnReadOnly(int column) const {
        (void)column;
        return true;
    }
    // Whether a cell of the row takes typing now (the row in edit or insert, say); a view opens no
    // editor on a row that does not, so that the keystrokes the row ignores show nowhere.
    virtual bool isRowEditable(int row) const {
        (void)row;
        return true;
    }
    // The values a cell of the column is picked from; empty: typed freely.
    virtual QStringList pickList(int column) const {
        (void)column;
        return {};
    }
    virtual Color rowColor(int row) const {
        (void)row;
        return Color::Default;
    }
};

} // namespace kontaro::forms
