#include "gui/form_view.h"

#include "gui/account_combo.h"
#include "gui/bar_chart.h"
#include "gui/control_widgets.h"
#include "gui/grid_model.h"
#include "gui/look.h"
#include "gui/view_layouts.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMdiArea>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>

namespace kontaro::gui {

using forms::Control;
using forms::ControlKind;
using forms::WindowState;

namespace {

const char* const ControlProperty = "kontaroControl";
const QString SourceFormat = QStringLiteral("application/x-kontaro-source");

// The key names the forms know, for the keys a view passes on.
QString keyName(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("Enter");
    case Qt::Key_Escape:
        return QStringLiteral("Escape");
    case Qt::Key_Space:
        return QStringLiteral("Space");
    case Qt::Key_Delete:
        return QStringLiteral("Delete");
    case Qt::Key_Insert:
        return QStringLiteral("Insert");
    default:
        break;
    }
    const QString text = event->text();
    if (text == QLatin1String("+") || text == QLatin1String("-") || text == QLatin1String("#"))
        return text;
    return {};
}

double chartValue(const QString& text) {
    QString plain = text.trimmed();
    plain.remove(QLatin1Char('.'));
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    return plain.toDouble(); // bar lengths only
}

} // namespace

FormView::FormView(forms::Form& form, ViewHost& host, QWidget* parent)
    : QMdiSubWindow(parent)
    , m_form(form)
    , m_host(host) {
    setObjectName(form.componentName());
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_content = new QWidget;
    m_content->setObjectName(form.componentName() + QStringLiteral("_Inhalt"));
    m_content->setProperty(ControlProperty, QString());
    m_content->installEventFilter(this);
    createWidgets();
    std::map<QString, QWidget*> widgets;
    for (const auto& [name, bound] : m_bound)
        widgets[name] = bound.widget;
    layOutForm(form, widgets, m_content);
    chainTabOrder();
    setWidget(m_content);
    setWindowTitle(form.caption);
    if (!form.maximizable)
        setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    m_content->setStatusTip(statusTipOf(form.hint));
}

QWidget* FormView::widget(const QString& controlName) const {
    auto it = m_bound.find(controlName);
    return it == m_bound.end() ? nullptr : it->second.widget;
}

const FormView::Bound* FormView::boundOf(QObject* object) const {
    for (QObject* o = object; o; o = o->parent()) {
        const QVariant name = o->property(ControlProperty);
        if (name.isValid()) {
            auto it = m_bound.find(name.toString());
            return it == m_bound.end() ? nullptr : &it->second;
        }
        if (o == this)
            break;
    }
    return nullptr;
}

void FormView::createWidgets() {
    for (const Control* control : m_form.controls()) {
        if (control->kind() == ControlKind::MenuItem)
            continue;
        // A chart's value series is drawn by the chart itself.
        if (!control->parent.isEmpty() && m_form.hasControl(control->parent) &&
            m_form.control(control->parent).kind() == ControlKind::Chart)
            continue;
        Bound bound;
        bound.control = control;
        bound.widget = createControlWidget(*control, &bound.model);
        if (!bound.widget)
            continue;
        bound.widget->setProperty(ControlProperty, control->name());
        bound.widget->installEventFilter(this);
        if (auto* combo = qobject_cast<QComboBox*>(bound.widget)) {
            combo->lineEdit()->setProperty(ControlProperty, control->name());
            combo->lineEdit()->installEventFilter(this);
        }
        if (auto* view = qobject_cast<QAbstractItemView*>(bound.widget)) {
            view->viewport()->setProperty(ControlProperty, control->name());
            view->viewport()->installEventFilter(this);
        }
        m_bound[control->name()] = bound;
        m_order.push_back(control->name());
        connectEvents(bound);
    }
    // Menu items become the context menu of the control that holds them.
    for (const Control* control : m_form.controls()) {
        if (control->kind() != ControlKind::MenuItem)
            continue;
        QWidget* owner = widget(control->parent);
        if (!owner)
            continue;
        auto* action = new QAction(plainCaption(control->caption), owner);
        action->setObjectName(control->name());
        owner->addAction(action);
        owner->setContextMenuPolicy(Qt::ActionsContextMenu);
        const QString name = control->name();
        connect(action, &QAction::triggered, this,
                [this, name] { m_host.forward([this, name] { m_form.click(name); }); });
        m_actions.emplace_back(name, action);
    }
}

void FormView::chainTabOrder() {
    std::vector<QWidget*> chain;
    for (const QString& name : m_form.tabOrder)
        if (QWidget* w = widget(name))
            chain.push_back(w);
    for (const QString& name : m_order)
        if (!m_form.tabOrder.contains(name))
            chain.push_back(m_bound.at(name).widget);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

namespace {

QLineEdit* lineEditOf(QWidget* widget) {
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->lineEdit();
    return qobject_cast<QLineEdit*>(widget);
}

} // namespace

// Entering a field selects what typing should replace: all of it, or the part the form names.
void FormView::selectOnEntry(const Control& control, QWidget* widget) {
    QLineEdit* edit = lineEditOf(widget);
    if (!edit || control.readOnly || !edit->hasFocus())
        return;
    const QString text = edit->text();
    const int length = control.selectionOnEnter ? control.selectionOnEnter(text) : -1;
    edit->setSelection(0, length < 0 ? int(text.size()) : length);
}

// Inside a child window its own accelerators win over the main menu's, as in any MDI program.
QAbstractButton* FormView::buttonForMnemonic(const QKeyEvent* event) const {
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier)
        return nullptr;
    const QKeySequence pressed(QKeyCombination(Qt::AltModifier, Qt::Key(event->key())));
    for (const QString& name : m_order) {
        auto* button = qobject_cast<QAbstractButton*>(m_bound.at(name).widget);
        if (button && button->isVisible() && button->isEnabled() &&
            QKeySequence::mnemonic(button->text()) == pressed)
            return button;
    }
    return nullptr;
}

void FormView::connectEvents(const Bound& bound) {
    const QString name = bound.control->name();
    switch (bound.control->kind()) {
    case ControlKind::Button:
        // An access key clicks without taking the focus: the text typed so far counts first.
        connect(static_cast<QPushButton*>(bound.widget), &QPushButton::clicked, this, [this, name] {
            commitPending();
            m_host.forward([this, name] { m_form.click(name); });
        });
        break;
    case ControlKind::CheckBox:
        connect(static_cast<QCheckBox*>(bound.widget), &QCheckBox::clicked, this,
                [this, name] { m_host.forward([this, name] { m_form.click(name); }); });
        break;
    case ControlKind::DropDown: {
        GridModel* model = bound.model;
        auto* combo = static_cast<AccountCombo*>(bound.widget);
        connect(combo, &QComboBox::activated, this, [this, name, model, combo](int row) {
            // Only a pick sets the account; opening, Escape and leaving the field do not.
            if (!combo->takePick())
                return;
            const QString text = model->cell(row, 0);
            m_host.forwardTyping([this, name, text] { m_form.type(name, text); });
        });
        break;
    }
    case ControlKind::Grid:
    case ControlKind::List:
        connectGrid(bound, static_cast<QAbstractItemView*>(bound.widget));
        break;
    case ControlKind::Edit:
        if (bound.control->followsTyping) {
            const Control* control = bound.control;
            QWidget* widget = bound.widget;
            connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, this,
                    [this, control, widget] { commit(*control, widget); });
        }
        break;
    default:
        break;
    }
}

void FormView::connectGrid(const Bound& bound, QAbstractItemView* view) {
    const QString name = bound.control->name();
    const Control* control = bound.control;
    connect(view, &QAbstractItemView::doubleClicked, this,
            [this, name] { m_host.forward([this, name] { m_form.doubleClick(name); }); });
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, control, model = bound.model](const QModelIndex& current) {
                if (m_syncing || !current.isValid() || model->currentRow() == current.row())
                    return;
                const int row = current.row();
                Control* target = &m_form.control(control->name());
                m_host.forward([target, row] {
                    if (target->grid)
                        target->grid->setCurrentRow(row);
                    else
                        target->selected = row; // a plain list: the selection is its state
                });
            });
    bound.model->onEdit = [this, control](int row, int column, const QString& text) {
        if (!control->grid)
            return;
        m_host.forwardTyping([control, row, column, text] {
            control->grid->setCurrentRow(row);
            control->grid->setCell(row, column, text);
        });
    };
}

bool FormView::effectivelyEnabled(const Control& control) const {
    const Control* c = &control;
    for (int depth = 0; c && depth < 16; ++depth) {
        if (!c->enabled)
            return false;
        c = c->parent.isEmpty() || !m_form.hasControl(c->parent) ? nullptr : &m_form.control(c->parent);
    }
    return true;
}

void FormView::refresh() {
    m_syncing = true;
    if (windowTitle() != m_form.caption)
        setWindowTitle(m_form.caption);
    const QColor background = qColor(m_form.color);
    if (background.isValid() != m_content->autoFillBackground() ||
        (background.isValid() && m_content->palette().color(QPalette::Window) != background)) {
        QPalette palette = m_content->palette();
        palette.setColor(QPalette::Window,
                         background.isValid() ? background : QPalette().color(QPalette::Window));
        m_content->setPalette(palette);
        m_content->setAutoFillBackground(background.isValid());
    }
    for (const QString& name : m_order) {
        const Bound& bound = m_bound.at(name);
        const Control& control = *bound.control;
        showControl(control, bound.widget, bound.model, effectivelyEnabled(control), control.visible);
        bound.widget->setAcceptDrops(bool(control.onDrop));
        if (auto* combo = qobject_cast<QComboBox*>(bound.widget))
            combo->lineEdit()->setAcceptDrops(bool(control.onDrop));
        if (auto* view = qobject_cast<QAbstractItemView*>(bound.widget))
            refreshGrid(bound, view);
        if (auto* chart = qobject_cast<BarChart*>(bound.widget)) {
            std::vector<double> values;
            QColor color = Qt::red;
            for (const Control* series : m_form.controls())
                if (series->parent == name && series->kind() == ControlKind::List) {
                    for (const QString& item : series->items)
                        values.push_back(chartValue(item));
                    if (qColor(series->color).isValid())
                        color = qColor(series->color);
                }
            chart->setBars(values, color);
        }
    }
    for (const auto& [name, action] : m_actions) {
        const Control& control = m_form.control(name);
        action->setEnabled(effectivelyEnabled(control));
        action->setVisible(control.visible);
    }

    // Window state and, in normal state, position and size.
    switch (m_form.windowState) {
    case WindowState::Minimized:
        if (!isMinimized())
            showMinimized();
        break;
    case WindowState::Maximized:
        if (!isMaximized())
            showMaximized();
        break;
    case WindowState::Normal:
        if (isMinimized() || isMaximized() || isHidden())
            showNormal();
        break;
    }
    const forms::Geometry& g = m_form.geometry;
    if (m_form.windowState == WindowState::Normal && g.width > 0 && g.height > 0) {
        const QRect wanted = fitted(QRect(g.left, g.top, g.width, g.height));
        if (geometry() != wanted)
            setGeometry(wanted);
        // The form keeps what the window really got, so that a saved layout is what one sees.
        m_form.geometry = {wanted.top(), wanted.left(), wanted.height(), wanted.width()};
    }
    m_syncing = false;
}

QRect FormView::fitted(const QRect& wanted) {
    ensurePolished(); // style sheets change the sizes the content needs
    // Never smaller than the content needs, so that every control shows at its natural size.
    QRect result(wanted.topLeft(), wanted.size().expandedTo(minimumSizeHint()));
    QMdiArea* area = mdiArea();
    if (!area || !area->isVisible())
        return result;
    // Inside the workspace: as large as it at most (unless the content needs more), moved in.
    const QSize space = area->viewport()->size();
    result.setSize(result.size().boundedTo(space).expandedTo(minimumSizeHint()));
    result.moveLeft(std::max(0, std::min(result.left(), space.width() - result.width())));
    result.moveTop(std::max(0, std::min(result.top(), space.height() - result.height())));
    return result;
}

void FormView::refreshGrid(const Bound& bound, QAbstractItemView* view) {
    const int row = bound.model->currentRow();
    const QModelIndex current = view->currentIndex();
    if (row < 0 || row >= bound.model->rowCount()) {
        if (current.isValid() && !bound.model->hasSource())
            view->clearSelection();
        return;
    }
    if (!current.isValid() || current.row() != row) {
        const QModelIndex index = bound.model->index(row, current.isValid() ? current.column() : 0);
        view->setCurrentIndex(index);
        view->scrollTo(index);
    }
}

void FormView::applyFocus() {
    const QString name = m_form.focusedControl();
    QWidget* target = widget(name);
    if (!target || !target->isVisible() || !target->isEnabled())
        return;
    QWidget* focused = QApplication::focusWidget();
    if (!focused || (focused != target && !target->isAncestorOf(focused))) {
        m_syncing = true;
        target->setFocus(Qt::OtherFocusReason);
        m_syncing = false;
    }
    // The field may have got the focus already while its window was brought to the front; it is
    // entered all the same, so typing replaces its text.
    selectOnEntry(*m_bound.at(name).control, target);
}

bool FormView::takeFocusChange() {
    const QString now = m_form.focusedControl();
    const bool changed = now != m_lastFocused;
    m_lastFocused = now;
    return changed;
}

void FormView::commit(const Control& control, QWidget* widget) {
    if (control.readOnly)
        return;
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        text = edit->text();
    else if (auto* combo = qobject_cast<QComboBox*>(widget))
        text = combo->lineEdit()->text();
    else
        return;
    if (text == control.text())
        return;
    const QString name = control.name();
    m_host.forwardTyping([this, name, text] { m_form.type(name, text); });
}

void FormView::commitPending() {
    const Bound* bound = boundOf(QApplication::focusWidget());
    if (bound)
        commit(*bound->control, bound->widget);
}

int FormView::helpContextAt(const QString& controlName) const {
    for (QString name = controlName; !name.isEmpty() && m_form.hasControl(name);) {
        const Control& control = m_form.control(name);
        if (control.helpContext != 0)
            return control.helpContext;
        name = control.parent;
    }
    return m_form.helpContext;
}

bool FormView::handleKey(const Control& control, QWidget* widget, QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        m_host.showHelp(helpContextAt(control.name()));
        return true;
    }
    // Ctrl+Delete deletes the current row of a grid that takes it.
    if (event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier) && control.onKey) {
        const QString name = control.name();
        m_host.forward([this, name] { m_form.key(name, QStringLiteral("Ctrl+Delete")); });
        return true;
    }
    if (QAbstractButton* button = buttonForMnemonic(event)) {
        button->click();
        return true;
    }
    // Alt with a letter that no menu or button takes is a missed access key, not typing: the
    // field keeps its text (AltGr characters come without the Alt modifier).
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((modifiers & Qt::AltModifier) && !(modifiers & (Qt::ControlModifier | Qt::GroupSwitchModifier)) &&
        lineEditOf(widget) && !event->text().isEmpty() && event->text().at(0).isPrint())
        return true;
    if (modifiers & (Qt::AltModifier | Qt::ControlModifier))
        return false;
    // A refused entry keeps the focus, its typed text selected, so that typing replaces it.
    const bool leaves = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab ||
                        event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (leaves && lineEditOf(widget) && !control.readOnly) {
        commit(control, widget);
        if (control.hasRefusedText()) {
            lineEditOf(widget)->selectAll();
            return true;
        }
    }
    const QString key = keyName(event);
    if (key.isEmpty())
        return false;
    if (auto* combo = qobject_cast<AccountCombo*>(widget); combo && combo->isPopupOpen())
        return false;
    const QString name = control.name();
    if (key == QLatin1String("Enter") || key == QLatin1String("Escape")) {
        QString target = control.onKey ? name : QString();
        // Escape anywhere in a window reaches the button that takes it (the about window's OK).
        if (!control.onKey && key == QLatin1String("Escape"))
            for (const Control* c : m_form.controls())
                if (c->kind() == ControlKind::Button && c->onKey) {
                    target = c->name();
                    break;
                }
        commit(control, widget);
        // Enter on a focused button without a key handler of its own presses it.
        auto* button = qobject_cast<QAbstractButton*>(widget);
        if (target.isEmpty() && button && key == QLatin1String("Enter")) {
            button->click();
            return true;
        }
        if (target.isEmpty())
            return key == QLatin1String("Enter") && control.kind() != ControlKind::Grid;
        m_host.forward([this, target, key] { m_form.key(target, key); });
        return true;
    }
    if (!control.keys.contains(key))
        return false;
    commit(control, widget);
    m_host.forward([this, name, key] { m_form.key(name, key); });
    return true;
}

QString FormView::sourceName(QObject* source) const {
    for (QObject* o = source; o; o = o->parent()) {
        if (auto* view = qobject_cast<FormView*>(o)) {
            const Bound* bound = view->boundOf(source);
            return bound ? view->form().componentName() + QLatin1Char('.') + bound->control->name()
                         : QString();
        }
    }
    return {};
}

void FormView::startDrag(const Control& control, QWidget* widget) {
    auto* mime = new QMimeData;
    mime->setData(SourceFormat, (m_form.componentName() + QLatin1Char('.') + control.name()).toUtf8());
    mime->setText(control.text());
    auto* drag = new QDrag(widget);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction);
}

bool FormView::handleDrag(const Control& control, QWidget*, QEvent* event) {
    if (!control.onDrop)
        return false;
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        static_cast<QDropEvent*>(event)->acceptProposedAction();
        return true;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    QString source = QString::fromUtf8(drop->mimeData()->data(SourceFormat));
    if (source.isEmpty())
        source = sourceName(drop->source());
    drop->acceptProposedAction();
    const QString name = control.name();
    m_host.forward([this, name, source] { m_form.drop(name, source); });
    return true;
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    if (m_detached || m_syncing || m_host.isBusy())
        return QMdiSubWindow::eventFilter(watched, event);
    if (watched == m_content) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            m_host.showHelp(m_form.helpContext);
            return true;
        }
        return QMdiSubWindow::eventFilter(watched, event);
    }
    const Bound* bound = boundOf(watched);
    if (!bound)
        return QMdiSubWindow::eventFilter(watched, event);
    const Control& control = *bound->control;
    const QString name = control.name();
    auto* view = qobject_cast<QAbstractItemView*>(bound->widget);
    switch (event->type()) {
    case QEvent::FocusIn: {
        if (control.takesFocus && m_form.focusedControl() != name && effectivelyEnabled(control))
            m_host.forwardTyping([this, name] { m_form.focus(name); });
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::MouseFocusReason && reason != Qt::PopupFocusReason)
            selectOnEntry(control, bound->widget);
        break;
    }
    case QEvent::ShortcutOverride:
        if (buttonForMnemonic(static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        break;
    case QEvent::FocusOut:
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            commit(control, bound->widget);
        break;
    case QEvent::KeyPress:
        return handleKey(control, bound->widget, static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        m_pressPosition = mouse->position().toPoint();
        m_pressed = bound->widget;
        if (view) {
            const int row = view->indexAt(m_pressPosition).row();
            if (row < 0)
                break;
            Control* target = &m_form.control(name);
            m_host.forward([this, target, row, name] {
                if (target->grid)
                    target->grid->setCurrentRow(row);
                else
                    target->selected = row;
                m_form.click(name);
            });
        }
        break;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const bool source =
            view ? control.grid != nullptr : control.kind() == ControlKind::Edit && control.readOnly;
        if (source && m_pressed == bound->widget && (mouse->buttons() & Qt::LeftButton) &&
            (mouse->position().toPoint() - m_pressPosition).manhattanLength() >=
                QApplication::startDragDistance()) {
            m_pressed = nullptr;
            startDrag(control, bound->widget);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        const bool wasPressed = m_pressed == bound->widget;
        m_pressed = nullptr;
        const bool clickable = control.kind() == ControlKind::Label || control.kind() == ControlKind::Panel ||
                               control.kind() == ControlKind::Image ||
                               (control.kind() == ControlKind::Edit && control.readOnly);
        if (wasPressed && clickable && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
            effectivelyEnabled(control))
            m_host.forward([this, name] { m_form.click(name); });
        break;
    }
    case QEvent::MouseButtonDblClick:
        if (!view && effectivelyEnabled(control)) {
            m_host.forward([this, name] { m_form.doubleClick(name); });
            return control.kind() != ControlKind::Edit || control.readOnly;
        }
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return handleDrag(control, bound->widget, event);
    default:
        break;
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

void FormView::closeEvent(QCloseEvent* event) {
    // Child windows live as long as the program; closing one only minimises it.
    if (m_detached) {
        event->accept();
        return;
    }
    event->ignore();
    m_host.forward([this] { m_form.windowState = WindowState::Minimized; });
}

void FormView::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || m_syncing || m_detached)
        return;
    const WindowState state = isMinimized()   ? WindowState::Minimized
                              : isMaximized() ? WindowState::Maximized
                                              : WindowState::Normal;
    m_form.windowState = state;
}

bool FormView::event(QEvent* event) {
    const bool handled = QMdiSubWindow::event(event);
    // The content may need more room once it is polished or its texts change: it gets it.
    if (event->type() == QEvent::LayoutRequest && !m_detached && !isMinimized() && !isMaximized()) {
        const QSize needed = size().expandedTo(minimumSizeHint());
        if (needed != size())
            resize(needed);
    }
    return handled;
}

void FormView::storeGeometry() {
    if (m_detached || m_syncing || isMinimized() || isMaximized() || !isVisible())
        return;
    const QRect g = geometry();
    m_form.geometry = {g.top(), g.left(), g.height(), g.width()};
}

void FormView::moveEvent(QMoveEvent* event) {
    QMdiSubWindow::moveEvent(event);
    storeGeometry();
}

void FormView::resizeEvent(QResizeEvent* event) {
    QMdiSubWindow::resizeEvent(event);
    storeGeometry();
}

} // namespace kontaro::gui
