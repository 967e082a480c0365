#pragma once

#include <QStyledItemDelegate>
#include <vector>

namespace kontaro::gui {

// Where a field of a journal line sits in its panel: the row (0 to 2), the slot it starts in and
// how many slots it spans, and whether it is right-aligned. The slots are the columns of the
// headings above the list.
struct PanelField {
    const char* column;
    int row;
    int slot;
    int span;
    bool right;
};

// The width of each heading slot, in parts of the list's width.
const std::vector<double>& panelSlots();

// Paints each line of the journal as a panel of three rows, 60 pixels high, the current one
// highlighted as the form colours it.
class JournalPanels : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace kontaro::gui
