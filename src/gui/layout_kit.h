#pragma once

#include "forms/form.h"

#include <QString>
#include <map>
#include <set>

class QWidget;
class QLabel;
class QBoxLayout;

namespace kontaro::gui {

// Hands out the widgets of a form's controls to a layout, each once, and lays out whatever is left.
class LayoutKit {
public:
    LayoutKit(const forms::Form& form, const std::map<QString, QWidget*>& widgets);

    // The widget of a control, taken out of the rest; nullptr when the form has no such control.
    QWidget* take(const QString& name);
    // A plain text label of the layout's own.
    static QLabel* label(const QString& text);
    // Gives the container label-and-field rows, full-width rows and a button row for the controls
    // of `panel` (empty: the form itself) that no one took.
    void fill(const QString& panel, QWidget* container);
    // A widget with the controls of `panel` that no one took, or nullptr when there are none.
    QWidget* rest(const QString& panel);
    // Adds the rest of every control not yet placed to the layout (controls of panels that were
    // taken but not filled included).
    void addRemaining(QBoxLayout* layout);

private:
    bool isLeft(const forms::Control& control, const QString& panel) const;

    const forms::Form& m_form;
    std::map<QString, QWidget*> m_widgets;
    std::set<QString> m_taken;
};

} // namespace kontaro::gui
