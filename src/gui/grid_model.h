#pragma once

#include "forms/control.h"

#include <QAbstractTableModel>

namespace kontaro::gui {

// Shows the rows of a grid, list or drop-down control: read on demand from its GridSource, or its
// plain items when it has none. The control's items name the columns of a grid source.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Header: the column's field name. Cell: the values it is picked from (a QStringList).
    static constexpr int FieldRole = Qt::UserRole;
    static constexpr int PickListRole = Qt::UserRole + 1;

    explicit GridModel(const forms::Control& control, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Re-reads the rows after an event; resets only when the shape changed.
    void refresh();
    bool hasSource() const { return m_control.grid != nullptr; }
    const forms::Control& control() const { return m_control; }
    // The row the form's cursor stands on, or the selected item; -1 for none.
    int currentRow() const;
    // The text of a cell as the form gives it.
    QString cell(int row, int column) const;

    // Typing into a cell; the view passes it on and refreshes. Errors are the form's to report.
    std::function<void(int row, int column, const QString& text)> onEdit;

private:
    const forms::Control& m_control;
    int m_rows = 0;
    int m_columns = 0;
};

} // namespace kontaro::gui
