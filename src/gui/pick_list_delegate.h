#pragma once

#include <QStyledItemDelegate>

namespace kontaro::gui {

// Edits a grid cell whose column has a pick list (GridModel::PickListRole) with a drop-down of
// those values, nine rows visible; other cells are edited as text.
class PickListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

} // namespace kontaro::gui
