// Kontaro: the desktop program. It takes no arguments and works on the books in the current
// directory.
#include "app/t_kontaro.h"
#include "gui/application_setup.h"
#include "gui/main_window.h"
#include "gui/qt_ui.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    kontaro::gui::setUpApplication();

    const QString dataDirectory = QDir::currentPath();
    kontaro::gui::QtUi ui(dataDirectory);
    kontaro::app::T_Kontaro program(ui, dataDirectory);
    if (!program.start())
        return 1;
    kontaro::gui::MainWindow window(program);
    ui.setMainWindow(&window);
    window.showMaximized();
    window.refreshAll();
    return QApplication::exec();
}
