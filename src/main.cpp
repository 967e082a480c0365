// Kontaro: the desktop program. It takes no arguments and works on the books in the current
// directory.
#include "app/t_kontaro.h"
#include "data/session.h"
#include "gui/application_setup.h"
#include "gui/main_window.h"
#include "gui/qt_ui.h"

#include <QApplication>
#include <QDir>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// SIGTERM (logout, shutdown) only writes a byte into this pipe; the event loop reads it and ends
// the program the ordinary way, so that no command is cut off half-way.
int terminationPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(terminationPipe[1], &byte, 1);
}

} // namespace

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

    std::unique_ptr<QSocketNotifier> termination;
    std::function<void()> endProgram;
    if (::pipe2(terminationPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        termination = std::make_unique<QSocketNotifier>(terminationPipe[0], QSocketNotifier::Read);
        endProgram = [&program, &window, &endProgram] {
            // A command still running (a question open) finishes first.
            if (program.session().inTransaction()) {
                QTimer::singleShot(100, endProgram);
                return;
            }
            program.endWithoutCheck();
            window.close();
        };
        QObject::connect(termination.get(), &QSocketNotifier::activated, [&endProgram] {
            char byte = 0;
            while (::read(terminationPipe[0], &byte, 1) > 0) {
            }
            endProgram();
        });
        struct sigaction action {};
        action.sa_handler = onTerminationSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGTERM, &action, nullptr);
    }
    return QApplication::exec();
}
