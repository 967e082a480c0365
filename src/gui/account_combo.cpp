#include "gui/account_combo.h"

#include "gui/grid_model.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>

namespace kontaro::gui {

AccountCombo::AccountCombo(GridModel* model, QWidget* parent)
    : QComboBox(parent)
    , m_model(model) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // the form decides what a typed text means
    setModel(model);
    setModelColumn(0);
    setMaxVisibleItems(24);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(6);
    if (model->hasSource()) {
        auto* table = new QTableView;
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->verticalHeader()->hide();
        table->horizontalHeader()->setStretchLastSection(true);
        table->setShowGrid(false);
        table->setWordWrap(false);
        table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
        setView(table);
    }
}

void AccountCombo::showPopup() {
    if (m_model->hasSource()) {
        auto* table = static_cast<QTableView*>(view());
        table->resizeColumnsToContents();
        table->setMinimumWidth(580);
        // Start on the row of the form's cursor, if any.
        const int row = m_model->currentRow();
        if (row >= 0)
            setCurrentIndex(row);
    }
    m_open = true;
    const QString text = lineEdit()->text();
    QComboBox::showPopup();
    lineEdit()->setText(text);
}

void AccountCombo::hidePopup() {
    m_open = false;
    const QString text = lineEdit()->text();
    QComboBox::hidePopup();
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
}

} // namespace kontaro::gui
