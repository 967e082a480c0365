#pragma once

#include "forms/form.h"
#include "gui/view_host.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <map>

class QAbstractButton;
class QAbstractItemView;

namespace kontaro::gui {

class GridModel;

// One child window of the main window, bound to one form by control names. It creates a widget
// per control (object name = control name), forwards what the user does to the form and, after
// every event, shows the form's state again. It decides nothing itself.
class FormView : public QMdiSubWindow {
    Q_OBJECT
public:
    FormView(forms::Form& form, ViewHost& host, QWidget* parent = nullptr);

    forms::Form& form() const { return m_form; }
    // The widget of a control, nullptr when there is none.
    QWidget* widget(const QString& controlName) const;

    // Reads the state of every control, the window's caption, colour, state and geometry.
    void refresh();
    // Moves the keyboard focus to the widget of the form's focused control.
    void applyFocus();
    // Passes text typed into the focused field (of this view) to the form.
    void commitPending();
    // Stops passing events on: the main window is going away.
    void detach() { m_detached = true; }
    // Whether the form's focused control changed since the last call.
    bool takeFocusChange();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Bound {
        const forms::Control* control = nullptr;
        QWidget* widget = nullptr;
        GridModel* model = nullptr;
    };

    void createWidgets();
    void chainTabOrder();
    void selectOnEntry(const forms::Control& control, QWidget* widget);
    QAbstractButton* buttonForMnemonic(const QKeyEvent* event) const;
    void connectEvents(const Bound& bound);
    void connectGrid(const Bound& bound, QAbstractItemView* view);
    void refreshControl(const Bound& bound);
    void refreshGrid(const Bound& bound, QAbstractItemView* view);
    void commit(const forms::Control& control, QWidget* widget);
    bool handleKey(const forms::Control& control, QWidget* widget, QKeyEvent* event);
    bool handleDrag(const forms::Control& control, QWidget* widget, QEvent* event);
    void startDrag(const forms::Control& control, QWidget* widget);
    void storeGeometry();
    // The geometry a window gets for the one its form asks for.
    QRect fitted(const QRect& wanted);
    bool effectivelyEnabled(const forms::Control& control) const;
    QString sourceName(QObject* source) const;
    int helpContextAt(const QString& controlName) const;
    const Bound* boundOf(QObject* object) const;

    forms::Form& m_form;
    ViewHost& m_host;
    QWidget* m_content = nullptr;
    std::map<QString, Bound> m_bound;
    std::vector<std::pair<QString, QAction*>> m_actions;
    QString m_lastFocused;
    std::vector<QString> m_order;
    bool m_syncing = false;
    bool m_detached = false;
    QPoint m_pressPosition;
    QPointer<QWidget> m_pressed;
};

} // namespace kontaro::gui
