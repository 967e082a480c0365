#pragma once

#include <QString>
#include <functional>

namespace kontaro::forms {
class Form;
}

namespace kontaro::gui {

// What a form view needs from the main window: running one event as one user action (followed by
// a refresh of every view), the help, and the other forms as drag sources.
class ViewHost {
public:
    virtual ~ViewHost() = default;
    // Runs the event unless another one is still running (a modal dialog of it is open), then
    // refreshes all views.
    // Text typed into the focused field and not yet passed on goes to its form first.
    virtual void forward(const std::function<void()>& event) = 0;
    // The same without passing pending text on first: for passing that text itself.
    virtual void forwardTyping(const std::function<void()>& event) = 0;
    virtual bool isBusy() const = 0;
    virtual void showHelp(int context) = 0;
    virtual void activated(const QString& componentName) = 0;
};

} // namespace kontaro::gui
