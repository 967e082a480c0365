#pragma once

#include <QStringList>

namespace kontaro::gui {

class MainWindow;

// Renders every child window on its own, in normal state at a readable size, and the whole main
// window, into PNG files in `directory` (buchen.png, journal.png, ...). Returns the files written.
QStringList renderScreenshots(MainWindow& window, const QString& directory);

} // namespace kontaro::gui
