#include "gui/account_combo.h"

#include "gui/grid_model.h"

#include <QHeaderView>
#include <QKeyEvent>
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
    if (model->control().listRows > 0)
        setMaxVisibleItems(model->control().listRows);
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
    view()->installEventFilter(this);
    view()->viewport()->installEventFilter(this);
}

bool AccountCombo::takePick() {
    const bool picked = m_picked;
    m_picked = false;
    return picked;
}

bool AccountCombo::eventFilter(QObject* watched, QEvent* event) {
    // Seen before the list's own handling, which closes the list and then activates the row (on
    // the shortcut check that precedes the key press).
    if (event->type() == QEvent::MouseButtonRelease && watched == view()->viewport())
        m_picked = view()->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint()).isValid();
    else if ((event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
             watched == view()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            m_picked = view()->currentIndex().isValid();
    }
    return QComboBox::eventFilter(watched, event);
}

void AccountCombo::showPopup() {
    m_picked = false;
    // Opening the list shows the accounts; the field keeps its text until a row is picked.
    const QString text = lineEdit()->text();
    if (m_model->hasSource()) {
        auto* table = static_cast<QTableView*>(view());
        table->resizeColumnsToContents();
        table->setMinimumWidth(m_model->control().listWidth);
        // Start on the row of the form's cursor, if any.
        const int row = m_model->currentRow();
        if (row >= 0)
            setCurrentIndex(row);
    }
    m_open = true;
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
