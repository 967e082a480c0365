#pragma once

#include "app/t_kontaro.h"
#include "gui/form_view.h"
#include "gui/main_window.h"
#include "support/test_program.h"

#include <QTest>
#include <functional>
#include <memory>

namespace kontaro::test {

// The test classes of this program; each file adds its own. The main runs them all, or the one
// named by `--class NAME` (CTest runs each class as a test of its own).
using GuiTestRun = std::function<int(int argc, char** argv)>;
bool registerGuiTest(const char* className, GuiTestRun run);

template <typename TestClass> bool registerGuiTestClass() {
    return registerGuiTest(TestClass::staticMetaObject.className(), [](int argc, char** argv) {
        TestClass test;
        return QTest::qExec(&test, argc, argv);
    });
}

// The program started headless on small books, with its main window shown offscreen.
class GuiProgram {
public:
    explicit GuiProgram(const QStringList& bookLines = {QStringLiteral("konto 2800 B \"Bank\""),
                                                        QStringLiteral("konto 4010 E \"Erlöse\"")})
        : m_program(bookLines)
        , m_window(std::make_unique<gui::MainWindow>(m_program.app())) {
        m_window->resize(1600, 1000); // the size of the display the program is checked on
        m_window->show();
        m_window->activateWindow();
        QApplication::setActiveWindow(m_window.get());
        m_window->refreshAll();
    }

    app::T_Kontaro& app() { return m_program.app(); }
    forms::ScriptedUi& ui() { return m_program.ui(); }
    gui::MainWindow& window() { return *m_window; }
    const QString& directory() const { return m_program.directory(); }

    gui::FormView& view(const QString& form) { return *m_window->view(form); }
    template <typename W> W* widget(const QString& form, const QString& control) {
        return qobject_cast<W*>(view(form).widget(control));
    }
    // Makes a child window the active one, as a click on its title bar does.
    void activate(const QString& form) {
        m_window->forward([this, form] { app().bringToFront(form); });
    }

private:
    TestProgram m_program;
    std::unique_ptr<gui::MainWindow> m_window;
};

} // namespace kontaro::test
