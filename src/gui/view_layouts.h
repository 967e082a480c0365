#pragma once

#include "forms/form.h"

#include <QString>
#include <map>

class QWidget;

namespace kontaro::gui {

// Arranges the widgets of a form's controls in `content`: a hand-made layout for the windows that
// need one, label-and-field rows for the rest. Controls a hand-made layout does not know (added
// later to the form) still appear, below it.
void layOutForm(const forms::Form& form, const std::map<QString, QWidget*>& widgets, QWidget* content);

} // namespace kontaro::gui
