#include "gui/qt_ui.h"
#include "gui_fixture.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QToolBar>

namespace kontaro::test {

// What makes it a desktop program: icon, German dialog buttons, tool bar and shortcuts.
class DesktopTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void qtsOwnButtonsSpeakGerman() {
        QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Ok);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
        // The dialogs the program asks with: input questions and the voucher file dialog.
        QInputDialog input;
        QFileDialog files;
        files.setOption(QFileDialog::DontUseNativeDialog);
        for (QDialog* dialog : std::initializer_list<QDialog*>{&input, &files}) {
            dialog->show(); // both build their buttons when first shown
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            QVERIFY(buttons);
            QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
            dialog->hide();
        }
        QVERIFY(!QApplication::windowIcon().isNull());
        QCOMPARE(QApplication::desktopFileName(), QStringLiteral("kontaro"));
    }

    // A short message ("Konto 9999 gibt es nicht.") still leaves room for the whole program title.
    void aShortMessageKeepsTheTitleWhole() {
        QMessageBox box(QMessageBox::Information, app::T_Kontaro::applicationTitle(),
                        QStringLiteral("Konto 9999 gibt es nicht."), QMessageBox::Ok);
        const int titleWidth = QFontMetrics(QApplication::font()).horizontalAdvance(box.windowTitle());
        gui::fitTitle(box);
        box.show();
        // The title bar's icon and three buttons take about a line's height each.
        QVERIFY(box.width() >= titleWidth + 6 * QFontMetrics(QApplication::font()).height());
        box.hide();
    }

    void theToolBarShowsTheWorkingWindowsWithIconsAndTips() {
        GuiProgram program;
        auto* bar = program.window().findChild<QToolBar*>(QStringLiteral("Werkzeugleiste"));
        QVERIFY(bar);
        QStringList windows;
        for (QAction* action : bar->actions()) {
            if (action->isSeparator())
                continue;
            QVERIFY2(!action->icon().isNull() && !action->toolTip().isEmpty(),
                     qPrintable(action->objectName()));
            windows << action->objectName();
        }
        QCOMPARE(windows, (QStringList{QStringLiteral("Zeige_Buchen"), QStringLiteral("Zeige_Journal"),
                                       QStringLiteral("Zeige_Konto"), QStringLiteral("Zeige_Kontoplan"),
                                       QStringLiteral("Zeige_init"), QStringLiteral("Drucken")}));
        bar->actions().at(3)->trigger();
        QCOMPARE(program.app().activeWindow(), QStringLiteral("_Kontoplan"));
    }

    // Ctrl+P prints the active window's report; a window without one says so and prints nothing.
    void ctrlPPrintsTheActiveWindowsReport() {
        GuiProgram program;
        program.activate(QStringLiteral("_Kontoplan"));
        program.window().printAction()->trigger();
        QCOMPARE(program.ui().printed().size(), std::size_t(1));
        QCOMPARE(program.ui().printed().back().title, QStringLiteral("Kontaro-Kontoplan"));

        program.activate(QStringLiteral("_Buchen"));
        program.window().printAction()->trigger();
        QCOMPARE(program.ui().printed().size(), std::size_t(1));
        QCOMPARE(program.window().printAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QCOMPARE(program.window().action(app::Command::Beenden)->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_Q));
    }

    void theLedgersPrintButtonIsAPrinterWithATip() {
        GuiProgram program;
        auto* print = program.widget<QPushButton>(QStringLiteral("_Konto"), QStringLiteral("B_kontodruck"));
        QVERIFY(print);
        QVERIFY(!print->icon().isNull());
        QVERIFY(print->toolTip().contains(QStringLiteral("drucken")));
    }
};

const bool registered = registerGuiTestClass<DesktopTest>();

} // namespace kontaro::test

#include "desktop_test.moc"
