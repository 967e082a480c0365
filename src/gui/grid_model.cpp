#include "gui/grid_model.h"

#include "forms/column_headings.h"
#include "gui/look.h"

#include <QBrush>
#include <QPalette>
#include <QRegularExpression>

namespace kontaro::gui {

namespace {

// An amount as the grids show it: "1.234,56", "-0,50", ",50" (or with the separators swapped).
bool isAmount(const QString& text) {
    static const QRegularExpression Amount(QStringLiteral("^-?(\\d{1,3}([.,']\\d{3})*)?[.,]\\d{2}$"));
    return !text.isEmpty() && text.size() < 40 && Amount.match(text).hasMatch();
}

} // namespace

GridModel::GridModel(const forms::Control& control, QObject* parent)
    : QAbstractTableModel(parent)
    , m_control(control) {
    m_rows = rowCount();
    m_columns = columnCount();
}

int GridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    if (m_control.grid)
        return m_control.grid->rowCount();
    // A grid without rows yet shows only its column headings.
    return m_control.kind() == forms::ControlKind::Grid ? 0 : int(m_control.items.size());
}

int GridModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    const bool columns = m_control.grid || m_control.kind() == forms::ControlKind::Grid;
    return columns ? std::max(1, int(m_control.items.size())) : 1;
}

QString GridModel::cell(int row, int column) const {
    if (m_control.grid)
        return m_control.grid->cell(row, column);
    return m_control.items.value(row);
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cell(index.row(), index.column());
    case Qt::TextAlignmentRole:
        // Amounts line up on their decimal separator.
        if (isAmount(cell(index.row(), index.column())))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case PickListRole:
        return m_control.grid ? m_control.grid->pickList(index.column()) : QStringList();
    case Qt::BackgroundRole:
        if (m_control.grid) {
            const QColor color = qColor(m_control.grid->rowColor(index.row()));
            if (color.isValid())
                return QBrush(color);
        }
        return {};
    case Qt::ForegroundRole:
        if (m_control.grid && m_control.grid->isColumnReadOnly(index.column()) && !m_control.readOnly)
            return QBrush(QColor(96, 96, 96));
        return {};
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    const bool columns = m_control.grid || m_control.kind() == forms::ControlKind::Grid;
    if (role == FieldRole)
        return columns ? m_control.items.value(section) : QString();
    if (role == Qt::DisplayRole)
        return columns ? forms::columnHeading(m_control.items.value(section)) : QString();
    // Read-only columns of an editable grid have a greyed heading.
    if (role == Qt::ForegroundRole && m_control.grid && !m_control.readOnly &&
        m_control.grid->isColumnReadOnly(section))
        return QBrush(QColor(140, 140, 140));
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index) | Qt::ItemIsDragEnabled;
    if (m_control.grid && !m_control.readOnly && !m_control.grid->isColumnReadOnly(index.column()) &&
        m_control.grid->isRowEditable(index.row()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !onEdit)
        return false;
    onEdit(index.row(), index.column(), value.toString());
    return true;
}

void GridModel::refresh() {
    const int rows = rowCount();
    const int columns = columnCount();
    if (rows != m_rows || columns != m_columns) {
        beginResetModel();
        m_rows = rows;
        m_columns = columns;
        endResetModel();
        return;
    }
    if (rows > 0 && columns > 0)
        Q_EMIT dataChanged(index(0, 0), index(rows - 1, columns - 1));
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columns - 1);
}

int GridModel::currentRow() const {
    return m_control.grid ? m_control.grid->currentRow() : m_control.selected;
}

} // namespace kontaro::gui
