#include "gui/main_window.h"

#include "app/t_kontaro.h"
#include "base/errors.h"
#include "gui/form_view.h"
#include "gui/help_browser.h"
#include "gui/look.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

namespace kontaro::gui {

using app::Command;

MainWindow::MainWindow(app::T_Kontaro& app, QWidget* parent)
    : QMainWindow(parent)
    , m_app(app) {
    setObjectName(QStringLiteral("T_Kontaro"));
    m_mdi = new QMdiArea;
    m_mdi->setObjectName(QStringLiteral("Arbeitsbereich"));
    m_mdi->setBackground(QColor(128, 128, 128));
    // Windows that need more room than the workspace has stay reachable.
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setToolTip(QStringLiteral("Dein Mauszeiger zeigt gerade auf die Meldezeile"));
    m_help = new HelpBrowser(this);
    buildMenu();

    for (forms::Form* form : m_app.children()) {
        auto* view = new FormView(*form, *this);
        m_mdi->addSubWindow(view);
        m_views.push_back(view);
    }
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::subWindowActivated);
    buildToolBar();

    // The whole available screen and never more; the program shows it maximised.
    if (QScreen* screen = QApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    statusBar()->showMessage(statusTipOf(m_app.hint));
    refreshAll();
    for (FormView* view : m_views)
        view->takeFocusChange();
}

MainWindow::~MainWindow() {
    // The views go while this object is still whole: their widgets send signals as they die.
    m_busy = true;
    for (FormView* v : m_views)
        v->detach();
    disconnect(m_mdi, nullptr, this, nullptr);
    delete m_mdi;
    m_views.clear();
}

FormView* MainWindow::view(const QString& componentName) const {
    for (FormView* v : m_views)
        if (v->form().componentName() == componentName)
            return v;
    return nullptr;
}

QAction* MainWindow::action(Command command) const {
    auto it = m_actions.find(command);
    return it == m_actions.end() ? nullptr : it->second;
}

void MainWindow::buildMenu() {
    std::map<QString, QMenu*> menus;
    for (const app::MenuEntry& entry : app::mainMenu()) {
        if (entry.caption.isEmpty() && !entry.separator) {
            if (entry.command != Command::None) {
                // A command of its own on the menu bar.
                QAction* action = menuBar()->addAction(entry.menu);
                action->setStatusTip(statusTipOf(entry.hint));
                const Command command = entry.command;
                connect(action, &QAction::triggered, this,
                        [this, command] { forward([this, command] { m_app.command(command); }); });
                m_actions[command] = action;
                continue;
            }
            QMenu* menu = menuBar()->addMenu(entry.menu);
            menu->menuAction()->setStatusTip(statusTipOf(entry.hint));
            menus[entry.menu] = menu;
            continue;
        }
        QMenu* menu = menus[entry.menu];
        if (!menu)
            continue;
        if (entry.separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(entry.caption);
        action->setStatusTip(statusTipOf(entry.hint));
        action->setToolTip(toolTipOf(entry.hint));
        const Command command = entry.command;
        connect(action, &QAction::triggered, this,
                [this, command] { forward([this, command] { m_app.command(command); }); });
        m_actions[command] = action;
    }
    m_windowMenu = menus[QStringLiteral("&Fenster")];
    if (m_windowMenu) {
        m_windowMenu->addSeparator();
        connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::fillWindowList);
    }
}

// The windows one works in most and the print command, one click away; Ctrl+P and Ctrl+Q as in
// any desktop program.
void MainWindow::buildToolBar() {
    if (QAction* quit = action(Command::Beenden))
        quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QToolBar* bar = addToolBar(QStringLiteral("Werkzeuge"));
    bar->setObjectName(QStringLiteral("Werkzeugleiste"));
    bar->setMovable(false);
    bar->setIconSize(QSize(24, 24));
    struct Window {
        const char* component;
        const char* icon;
        const char* tip;
    };
    constexpr Window windows[] = {
        {"_Buchen", "buchen", "Buchen"},
        {"_Journal", "journal", "Journal"},
        {"_Konto", "konto", "Hauptbuchkonto"},
        {"_Kontoplan", "kontoplan", "Kontoplan"},
        {"_init", "einstellungen", "Einstellungen"},
    };
    for (const Window& w : windows) {
        const QString name = QString::fromLatin1(w.component);
        if (!view(name))
            continue;
        QAction* open = bar->addAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(w.icon))),
                                       QString::fromUtf8(w.tip));
        open->setObjectName(QStringLiteral("Zeige") + name);
        open->setToolTip(QStringLiteral("Fenster \"%1\" zeigen").arg(QString::fromUtf8(w.tip)));
        open->setStatusTip(open->toolTip());
        connect(open, &QAction::triggered, this,
                [this, name] { forward([this, name] { m_app.bringToFront(name); }); });
    }
    bar->addSeparator();
    m_print = bar->addAction(QIcon(QStringLiteral(":/icons/drucken.svg")), QStringLiteral("Drucken"));
    m_print->setObjectName(QStringLiteral("Drucken"));
    m_print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    m_print->setToolTip(QStringLiteral("Ausdruck des aktiven Fensters (Strg+P)"));
    m_print->setStatusTip(m_print->toolTip());
    connect(m_print, &QAction::triggered, this, &MainWindow::printActiveWindow);
}

void MainWindow::printActiveWindow() {
    // The print button of each window that prints.
    static const std::map<QString, QString> printButtons = {
        {QStringLiteral("_Journal"), QStringLiteral("B_DruckJournal")},
        {QStringLiteral("_Konto"), QStringLiteral("B_kontodruck")},
        {QStringLiteral("_Kontoplan"), QStringLiteral("B_druKontoplan")},
    };
    const QString active = m_app.activeWindow();
    auto it = printButtons.find(active);
    FormView* v = view(active);
    if (it == printButtons.end() || !v || !v->form().isUsable(it->second)) {
        statusBar()->showMessage(QStringLiteral("Dieses Fenster hat keinen Ausdruck; Journal, Hauptbuch "
                                                "und Kontoplan drucken mit Strg+P."));
        return;
    }
    const QString button = it->second;
    forward([v, button] { v->form().click(button); });
}

// The frame keeps the list of its child windows at the end of "&Fenster".
void MainWindow::fillWindowList() {
    for (QAction* action : m_windowList) {
        m_windowMenu->removeAction(action);
        action->deleteLater();
    }
    m_windowList.clear();
    // The entries are numbered by their access digit; digits the menu's own entries use
    // ("Fensteranordnung &1 ...") are skipped, so that each digit reaches exactly one entry.
    QString taken;
    for (QAction* action : m_windowMenu->actions())
        if (const qsizetype amp = action->text().indexOf(QLatin1Char('&')); amp >= 0)
            taken += action->text().mid(amp + 1, 1);
    int number = 1;
    for (FormView* v : m_views) {
        while (number <= 9 && taken.contains(QChar(u'0' + number)))
            ++number;
        const QString access = number <= 9 ? QStringLiteral("&") : QString();
        QAction* action = m_windowMenu->addAction(
            QStringLiteral("%1%2 %3").arg(access).arg(number++).arg(v->windowTitle()));
        action->setCheckable(true);
        action->setChecked(m_mdi->activeSubWindow() == v);
        const QString name = v->form().componentName();
        connect(action, &QAction::triggered, this,
                [this, name] { forward([this, name] { m_app.bringToFront(name); }); });
        m_windowList.push_back(action);
    }
}

void MainWindow::refreshAll() {
    m_syncing = true;
    if (windowTitle() != m_app.caption)
        setWindowTitle(m_app.caption);
    for (auto& [command, action] : m_actions)
        action->setEnabled(m_app.isEnabled(command));
    for (FormView* v : m_views)
        v->refresh();
    if (FormView* active = view(m_app.activeWindow()); active && m_mdi->activeSubWindow() != active)
        m_mdi->setActiveSubWindow(active);
    const int state = int(m_app.windowState);
    if (state != m_appliedState && isVisible()) {
        m_appliedState = state;
        if (m_app.windowState == forms::WindowState::Maximized)
            showMaximized();
        else if (m_app.windowState == forms::WindowState::Minimized)
            showMinimized();
    }
    m_syncing = false;
}

void MainWindow::runEvent(const std::function<void()>& event) {
    if (m_busy)
        return;
    m_busy = true;
    const QMdiSubWindow* shownActive = m_mdi->activeSubWindow();
    try {
        m_app.run(event);
    } catch (const forms::FormError&) {
        // The control cannot take this event now (disabled, hidden, read-only): nothing happens.
    } catch (const std::exception& e) {
        QMessageBox::critical(this, app::T_Kontaro::applicationTitle(), QString::fromUtf8(e.what()));
    }
    m_busy = false;
    refreshAll();
    // A window brought to the front is entered at its focused field, as a field entered by Enter.
    if (FormView* active = view(m_app.activeWindow()))
        if (active->takeFocusChange() || active != shownActive)
            active->applyFocus();
    for (FormView* v : m_views)
        v->takeFocusChange();
    if (!m_app.isRunning())
        close();
}

void MainWindow::forward(const std::function<void()>& event) {
    if (m_busy)
        return;
    // Text typed into the focused field belongs to the line before any command acts on it.
    if (QWidget* focused = QApplication::focusWidget())
        for (QWidget* w = focused; w; w = w->parentWidget())
            if (auto* v = qobject_cast<FormView*>(w)) {
                v->commitPending();
                break;
            }
    runEvent(event);
}

void MainWindow::forwardTyping(const std::function<void()>& event) {
    runEvent(event);
}

void MainWindow::showHelp(int context) {
    m_help->showContext(context);
}

void MainWindow::activated(const QString& componentName) {
    forward([this, componentName] { m_app.activateWindow(componentName); });
}

void MainWindow::subWindowActivated(QMdiSubWindow* window) {
    if (m_syncing || !window || m_busy)
        return;
    if (auto* v = qobject_cast<FormView*>(window); v && v->form().componentName() != m_app.activeWindow())
        activated(v->form().componentName());
}

void MainWindow::arrange(forms::Arrangement arrangement) {
    switch (arrangement) {
    case forms::Arrangement::Cascade:
        m_mdi->cascadeSubWindows();
        break;
    case forms::Arrangement::Tile:
        m_mdi->tileSubWindows();
        break;
    case forms::Arrangement::ArrangeIcons: {
        // Minimised windows in a row along the bottom edge.
        int x = 0;
        const int bottom = m_mdi->viewport()->height();
        for (FormView* v : m_views)
            if (v->isMinimized()) {
                v->move(x, bottom - v->height());
                x += v->width();
            }
        break;
    }
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_app.isRunning() && !m_busy) {
        m_busy = true;
        m_app.command(Command::Beenden);
        m_busy = false;
    }
    if (m_app.isRunning()) {
        event->ignore();
        return;
    }
    m_help->close();
    for (FormView* v : m_views)
        v->detach();
    event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || m_syncing)
        return;
    m_app.windowState = isMinimized()   ? forms::WindowState::Minimized
                        : isMaximized() ? forms::WindowState::Maximized
                                        : forms::WindowState::Normal;
    m_appliedState = int(m_app.windowState);
}

} // namespace kontaro::gui
