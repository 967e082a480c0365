#include "gui/pick_list_delegate.h"

#include "gui/grid_model.h"

#include <QComboBox>

namespace kontaro::gui {

namespace {

QStringList pickListOf(const QModelIndex& index) {
    return index.data(GridModel::PickListRole).toStringList();
}

} // namespace

QWidget* PickListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    const QStringList values = pickListOf(index);
    if (values.isEmpty())
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("Auswahlliste"));
    combo->addItems(values);
    combo->setMaxVisibleItems(9);
    return combo;
}

void PickListDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString(), Qt::MatchExactly));
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void PickListDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->currentIndex() >= 0)
            model->setData(index, combo->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

} // namespace kontaro::gui
