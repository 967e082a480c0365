#include "gui/screenshots.h"

#include "gui/form_view.h"
#include "gui/main_window.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QPixmap>

namespace kontaro::gui {

namespace {

struct Shot {
    const char* component;
    const char* file;
    int width;
    int height;
};

constexpr Shot Shots[] = {
    {"_Buchen", "buchen", 980, 330},      {"_Journal", "journal", 980, 420},
    {"_Konto", "hauptbuch", 900, 380},    {"_Kontoplan", "kontoplan", 980, 420},
    {"_init", "einstellungen", 560, 520}, {"_alt", "vorjahre", 820, 480},
    {"_Info", "info", 420, 260},
};

} // namespace

QStringList renderScreenshots(MainWindow& window, const QString& directory) {
    QDir().mkpath(directory);
    QStringList written;
    window.resize(1280, 900);
    window.show();
    window.refreshAll();
    for (const Shot& shot : Shots) {
        FormView* view = window.view(QString::fromUtf8(shot.component));
        if (!view)
            continue;
        forms::Form& form = view->form();
        const forms::WindowState state = form.windowState;
        const forms::Geometry geometry = form.geometry;
        form.windowState = forms::WindowState::Normal;
        form.geometry = {0, 0, shot.height, shot.width};
        window.refreshAll();
        window.mdiArea()->setActiveSubWindow(view);
        QApplication::processEvents();
        const QString file =
            directory + QLatin1Char('/') + QString::fromUtf8(shot.file) + QStringLiteral(".png");
        if (view->grab().save(file))
            written << file;
        form.windowState = state;
        form.geometry = geometry;
    }
    window.refreshAll();
    window.mdiArea()->tileSubWindows();
    QApplication::processEvents();
    const QString whole = directory + QStringLiteral("/hauptfenster.png");
    if (window.grab().save(whole))
        written << whole;
    return written;
}

} // namespace kontaro::gui
