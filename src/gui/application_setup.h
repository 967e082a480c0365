#pragma once

namespace kontaro::gui {

// What every start of the desktop program sets before the first window: the style, the names the
// desktop knows it by, its icon, and Qt's own texts (dialog buttons) in German.
void setUpApplication();

} // namespace kontaro::gui
