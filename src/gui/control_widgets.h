#pragma once

#include "forms/control.h"

class QWidget;

namespace kontaro::gui {

class GridModel;

// The widget that shows a control of the given kind (object name = control name). Grids, lists
// and drop-downs get a model over the control's rows, returned in `model`.
QWidget* createControlWidget(const forms::Control& control, GridModel** model);

// Shows the control's state on its widget: text, caption, colours, enabled, visible, checked,
// items, hints. Grid selection is the view's business.
void showControl(const forms::Control& control, QWidget* widget, GridModel* model, bool enabled,
                 bool visible);

// The caption a button shows: its own, or the short part of its hint, or a plain name.
QString buttonCaption(const forms::Control& control);

} // namespace kontaro::gui
