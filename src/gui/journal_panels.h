#pragma once

#include <QStyledItemDelegate>

namespace kontaro::gui {

// Paints each line of the journal as a panel of three rows, 60 pixels high, the current one
// highlighted as the form colours it, in the layout of views::journalPanelFields().
class JournalPanels : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace kontaro::gui
