#include "gui/journal_panels.h"

#include "gui/grid_model.h"
#include "views/journal_panels.h"

#include <QAbstractItemModel>
#include <QPainter>
#include <vector>

namespace kontaro::gui {

namespace {

constexpr int PanelHeight = 60;

} // namespace

QSize JournalPanels::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return {400, PanelHeight};
}

void JournalPanels::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    const QAbstractItemModel* model = index.model();
    const QRect box = option.rect.adjusted(1, 1, -1, -1);
    painter->save();
    const QVariant background = index.data(Qt::BackgroundRole);
    QColor fill = background.isValid() ? background.value<QBrush>().color() : option.palette.base().color();
    if (!background.isValid() && (option.state & QStyle::State_Selected))
        fill = QColor(255, 255, 160);
    painter->fillRect(box, fill);
    painter->setPen(QColor(160, 160, 160));
    painter->drawRect(box);
    painter->setPen(option.palette.text().color());
    painter->setFont(option.font);

    std::vector<int> starts;
    double x = box.left() + 4;
    const double width = box.width() - 8;
    for (const views::JournalPanelSlot& slot : views::journalPanelSlots()) {
        starts.push_back(int(x));
        x += slot.width * width;
    }
    starts.push_back(box.right() - 4);
    const int rowHeight = box.height() / 3;
    for (const views::JournalPanelField& field : views::journalPanelFields()) {
        int column = -1;
        for (int c = 0; c < model->columnCount(); ++c)
            if (model->headerData(c, Qt::Horizontal, GridModel::FieldRole).toString() == field.field)
                column = c;
        if (column < 0)
            continue;
        QString text = model->index(index.row(), column).data().toString();
        if (!text.isEmpty())
            text += field.suffix;
        const QRect cell(starts[field.slot], box.top() + field.row * rowHeight,
                         starts[field.slot + field.span] - starts[field.slot] - 6, rowHeight);
        painter->drawText(cell, Qt::AlignVCenter | (field.rightAligned ? Qt::AlignRight : Qt::AlignLeft),
                          painter->fontMetrics().elidedText(text, Qt::ElideRight, cell.width()));
    }
    painter->restore();
}

} // namespace kontaro::gui
