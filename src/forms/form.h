#pragma once

#include "forms/color.h"
#include "forms/control.h"
#include "forms/ui.h"

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

namespace kontaro::forms {

enum class WindowState { Normal, Minimized, Maximized };

struct Geometry {
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;
    bool operator==(const Geometry&) const = default;
};

// Thrown when a caller addresses a control that does not exist or cannot take the event
// (a programming or scenario error, never a user's).
class FormError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Runs one user action as a whole: the application wraps it in one transaction of the session.
class ActionRunner {
public:
    virtual ~ActionRunner() = default;
    virtual void run(const std::function<void()>& action) = 0;
};

// A window of the program without pixels: named controls, their handlers and the window's state.
// Events arrive as method calls; each event is one user action run through the action runner.
class Form {
public:
    Form(QString componentName, Ui& ui);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const QString& componentName() const { return m_componentName; }
    Ui& ui() const { return m_ui; }

    QString caption;
    QString hint;
    int helpContext = 0;
    Color color = Color::Default;
    WindowState windowState = WindowState::Normal;
    // The title bar offers the maximise button.
    bool maximizable = true;
    Geometry geometry;
    // The controls Tab visits first, in this order; the others follow in the order they were added.
    QStringList tabOrder;

    Control& control(const QString& name);
    const Control& control(const QString& name) const;
    bool hasControl(const QString& name) const;
    // Controls in the order they were added.
    std::vector<const Control*> controls() const;

    // Enabled and visible, and so is every panel that holds it.
    bool isUsable(const QString& name) const;
    QString focusedControl() const { return m_focused; }

    // Events, as a person causes them.
    void focus(const QString& name);
    void type(const QString& name, const QString& text);
    void key(const QString& name, const QString& keyName);
    void click(const QString& name);
    void doubleClick(const QString& name);
    void drop(const QString& name, const QString& source);
    void activate();
    void deactivate();

    void setActionRunner(ActionRunner* runner) { m_runner = runner; }

protected:
    Control& addControl(const QString& name, ControlKind kind, const QString& parent = {});
    // Runs an action through the runner (or directly, with the standard handling, without one).
    void runAction(const std::function<void()>& action);
    // Moves the focus from code (runs the exit and enter handlers), as a form does after Enter.
    void moveFocus(const QString& name);

    virtual void onActivate() {}
    virtual void onDeactivate() {}

private:
    Control& usableControl(const QString& name);

    QString m_componentName;
    Ui& m_ui;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::map<QString, Control*> m_byName;
    QString m_focused;
    ActionRunner* m_runner = nullptr;
};

} // namespace kontaro::forms
