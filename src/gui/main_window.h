#pragma once

#include "app/main_menu.h"
#include "forms/ui.h"
#include "gui/view_host.h"

#include <QMainWindow>
#include <map>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace kontaro::app {
class T_Kontaro;
}

namespace kontaro::gui {

class FormView;
class HelpBrowser;

// The frame of the program: the menu from the application's menu table, the status line, and a
// child window per form in a multiple-document area. Every user event goes through forward(),
// which runs it as one action of the application and then shows every form again.
class MainWindow : public QMainWindow, public ViewHost {
    Q_OBJECT
public:
    explicit MainWindow(app::T_Kontaro& app, QWidget* parent = nullptr);
    ~MainWindow() override;

    QMdiArea* mdiArea() const { return m_mdi; }
    FormView* view(const QString& componentName) const;
    std::vector<FormView*> views() const { return m_views; }
    // The menu entry of a command, nullptr when the menu has none.
    QAction* action(app::Command command) const;
    HelpBrowser* helpBrowser() const { return m_help; }
    // The tool bar's command that prints the active window's report (Ctrl+P).
    QAction* printAction() const { return m_print; }

    // Shows the state of the application and every form.
    void refreshAll();
    void arrange(forms::Arrangement arrangement);

    void forward(const std::function<void()>& event) override;
    void forwardTyping(const std::function<void()>& event) override;
    bool isBusy() const override { return m_busy; }
    void showHelp(int context) override;
    void activated(const QString& componentName) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenu();
    void buildToolBar();
    void printActiveWindow();
    void fillWindowList();
    void runEvent(const std::function<void()>& event);
    void subWindowActivated(QMdiSubWindow* window);

    app::T_Kontaro& m_app;
    QMdiArea* m_mdi = nullptr;
    HelpBrowser* m_help = nullptr;
    QMenu* m_windowMenu = nullptr;
    QAction* m_print = nullptr;
    std::vector<QAction*> m_windowList;
    std::vector<FormView*> m_views;
    std::map<app::Command, QAction*> m_actions;
    bool m_busy = false;
    bool m_syncing = false;
    int m_appliedState = -1;
};

} // namespace kontaro::gui
