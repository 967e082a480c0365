#pragma once

#include "app/main_menu.h"
#include "forms/form.h"
#include "forms/windows.h"
#include "output/line_list.h"

#include <QString>
#include <memory>
#include <vector>

namespace kontaro::app {

class T_Info;
class T_init;

// The application: owns the session on the data directory and every window, starts up in the
// fixed order, runs each user action as one transaction, carries out the main menu's commands and
// the window layouts, and ends the program.
class T_Kontaro : public forms::ActionRunner, public forms::Windows {
public:
    T_Kontaro(forms::Ui& ui, QString dataDirectory);
    ~T_Kontaro() override;
    T_Kontaro(const T_Kontaro&) = delete;
    T_Kontaro& operator=(const T_Kontaro&) = delete;

    static QString applicationTitle();

    // Starts the session, probes the books and creates the windows. False when the program has to
    // end before any window is shown (also when creating a window failed: then no window is left);
    // the reason was shown once through the Ui.
    bool start();
    bool isRunning() const { return m_running; }

    // The main window's state.
    QString caption;
    QString hint;
    int helpContext = 2;
    forms::WindowState windowState = forms::WindowState::Normal;

    forms::Ui& ui() const override { return m_ui; }
    data::Session& session() const override;
    const QString& dataDirectory() const override { return m_dataDirectory; }
    forms::LiveSettings& liveSettings() const override;
    years::T_alt& alt() const override;
    views::T_Journal& journal() const override;
    views::T_Konto& konto() const override;
    views::T_Kontoplan& kontoplan() const override;
    posting::T_Buchen& buchen() const override;
    T_init& init() const;
    T_Info& info() const;
    // The main window's line list that the checks and exports fill and save.
    output::LineList& ag() { return m_ag; }

    // The child list, in creation order, and a child by component name (nullptr if none).
    std::vector<forms::Form*> children() const;
    forms::Form* child(const QString& componentName) const;
    forms::Form* form(const QString& componentName) const override { return child(componentName); }

    // The active child window; activating another one deactivates the old one first.
    QString activeWindow() const { return m_active; }
    void activateWindow(const QString& componentName);
    // Leaves the active child window, so its leave handlers run (the settings window stores its
    // settings, the posting window validates its line), after saving a chart record left in edit.
    // Afterwards no child window is active. Program end, the new year and SIGTERM run it first.
    void leaveActiveWindow();
    // Shows the window in normal state if it was minimised and makes it the active one.
    void bringToFront(const QString& componentName);

    bool isEnabled(Command command) const;
    // Runs a menu command as one user action.
    void command(Command command);

    void saveLayout(int number);
    void loadLayout(int number);

    // Closing the main window: asks whether to check the books first, then ends the program.
    void closeMainWindow();
    // Ends the program as closing it without the check does (counters and settings written), for a
    // request to end from outside (logout, shutdown). Only between two user actions.
    void endWithoutCheck();

    void run(const std::function<void()>& action) override;
    void afterCommit(std::function<void()> write) override;

private:
    void createWindows();
    void closeWindows();
    void execute(Command command);
    void openDocument(const QString& target, const QString& verb, const QString& failure);
    void openWebPage(const QString& address);
    void notAvailable();
    void minimiseAll();
    void openWorkingWindows();
    void shutdown();
    void runWritesAfterCommit();

    forms::Ui& m_ui;
    QString m_dataDirectory;
    std::unique_ptr<data::Session> m_session;
    std::unique_ptr<years::T_alt> m_alt;
    std::unique_ptr<views::T_Journal> m_journal;
    std::unique_ptr<views::T_Konto> m_konto;
    std::unique_ptr<views::T_Kontoplan> m_kontoplan;
    std::unique_ptr<T_init> m_init;
    std::unique_ptr<posting::T_Buchen> m_buchen;
    std::unique_ptr<T_Info> m_info;
    output::LineList m_ag;
    QString m_active;
    bool m_running = false;
    // Writes outside the tables waiting for the running action's commit.
    std::vector<std::function<void()>> m_afterCommit;
};

} // namespace kontaro::app
