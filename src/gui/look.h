#pragma once

#include "forms/color.h"

#include <QColor>
#include <QString>

namespace kontaro::gui {

// The real colour of a form colour; an invalid QColor for Default (the platform's own).
QColor qColor(forms::Color color);

// A hint "short|long": the tool tip is the short part, the status line the long one. A hint without
// "|" serves as both; one that starts with "|" has no tool tip.
QString toolTipOf(const QString& hint);
QString statusTipOf(const QString& hint);

// A caption without its access-key marker ("E&infügen" -> "Einfügen"; "&&" stays one "&").
QString plainCaption(const QString& caption);

} // namespace kontaro::gui
