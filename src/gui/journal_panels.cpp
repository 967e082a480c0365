#include "gui/journal_panels.h"

#include "gui/grid_model.h"

#include <QAbstractItemModel>
#include <QPainter>

namespace kontaro::gui {

namespace {

// Row 1: debit account, amount, balance after, statement, voucher, date; row 2: credit account,
// amount, balance after, text; row 3: VAT account, debit and credit VAT, balance after, rate,
// number and mark, in this order from left to right.
constexpr PanelField Fields[] = {
    {"SollKnt", 0, 0, 1, false},  {"SollBetrag", 0, 1, 1, true},  {"SollSaldo2", 0, 2, 1, true},
    {"Anr", 0, 4, 1, true},       {"Beleg", 0, 5, 1, false},      {"Datum", 0, 6, 1, false},
    {"HabenKnt", 1, 0, 1, false}, {"HabenBetrag", 1, 1, 1, true}, {"HabenSaldo2", 1, 2, 1, true},
    {"Buchtext", 1, 3, 4, false}, {"UstKnt", 2, 0, 1, false},     {"UstSoll", 2, 1, 1, true},
    {"UstHaben", 2, 2, 1, true},  {"UstSaldo2", 2, 3, 1, false},  {"UstP", 2, 4, 1, true},
    {"Bnr", 2, 7, 1, false},      {"Ok", 2, 7, 1, true},
};

constexpr int PanelHeight = 60;

} // namespace

const std::vector<double>& panelSlots() {
    static const std::vector<double> slots = {0.11, 0.13, 0.13, 0.22, 0.07, 0.11, 0.14, 0.09};
    return slots;
}

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
    for (double part : panelSlots()) {
        starts.push_back(int(x));
        x += part * width;
    }
    starts.push_back(box.right() - 4);
    const int rowHeight = box.height() / 3;
    for (const PanelField& field : Fields) {
        int column = -1;
        for (int c = 0; c < model->columnCount(); ++c)
            if (model->headerData(c, Qt::Horizontal, GridModel::FieldRole).toString() ==
                QLatin1String(field.column))
                column = c;
        if (column < 0)
            continue;
        QString text = model->index(index.row(), column).data().toString();
        if (QLatin1String(field.column) == QLatin1String("UstP") && !text.isEmpty())
            text += QLatin1Char('%');
        const QRect cell(starts[field.slot], box.top() + field.row * rowHeight,
                         starts[field.slot + field.span] - starts[field.slot] - 6, rowHeight);
        painter->drawText(cell, Qt::AlignVCenter | (field.right ? Qt::AlignRight : Qt::AlignLeft),
                          painter->fontMetrics().elidedText(text, Qt::ElideRight, cell.width()));
    }
    painter->restore();
}

} // namespace kontaro::gui
