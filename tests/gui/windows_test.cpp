#include "gui/qt_printer.h"
#include "gui_fixture.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

namespace kontaro::test {

// The child windows in the multiple-document area, their layouts, and printing without a printer.
class WindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void closingAChildWindowMinimisesIt() {
        GuiProgram program;
        gui::FormView& journal = program.view(QStringLiteral("_Journal"));
        program.app().child(QStringLiteral("_Journal"))->windowState = forms::WindowState::Normal;
        program.window().refreshAll();
        QVERIFY(!journal.isMinimized());
        journal.close();
        QVERIFY(journal.isMinimized());
        QVERIFY(program.window().mdiArea()->subWindowList().contains(&journal));
        QCOMPARE(program.app().child(QStringLiteral("_Journal"))->windowState, forms::WindowState::Minimized);
    }

    void layoutOneRestoresAMovedWindow() {
        GuiProgram program;
        gui::FormView& posting = program.view(QStringLiteral("_Buchen"));
        const QRect moved(QPoint(30, 50), posting.minimumSizeHint() + QSize(40, 20));
        posting.setGeometry(moved);
        const forms::Geometry saved = program.app().child(QStringLiteral("_Buchen"))->geometry;
        QCOMPARE(saved, (forms::Geometry{moved.top(), moved.left(), moved.height(), moved.width()}));
        program.window().action(app::Command::Layout1Speichern)->trigger();

        posting.setGeometry(QRect(QPoint(200, 10), posting.minimumSizeHint()));
        program.window().action(app::Command::Layout1Laden)->trigger();
        QCOMPARE(posting.geometry(), moved);
    }

    // A layout asks for less room than a window's content needs and for a place outside the
    // workspace: the window gets its content's size, inside the workspace, and the form learns it.
    void aLayoutNeverClipsAWindowNorPutsItOutside() {
        GuiProgram program;
        forms::Form& form = *program.app().child(QStringLiteral("_Buchen"));
        gui::FormView& posting = program.view(QStringLiteral("_Buchen"));
        form.windowState = forms::WindowState::Normal;
        form.geometry = {5000, -300, 100, 200};
        program.window().refreshAll();
        const QSize space = program.window().mdiArea()->viewport()->size();
        QVERIFY(posting.width() >= posting.minimumSizeHint().width());
        QVERIFY(posting.height() >= posting.minimumSizeHint().height());
        QVERIFY(QRect(QPoint(0, 0), space).contains(posting.geometry()));
        QCOMPARE(form.geometry,
                 (forms::Geometry{posting.y(), posting.x(), posting.height(), posting.width()}));
    }

    // The settings window has no maximise button; the ledger window's account list shows 26 rows
    // at least 600 pixels wide, the posting window's 24 rows at least 580.
    void titleBarsAndAccountListsAreAsTheWindowsAsk() {
        GuiProgram program;
        QVERIFY(!program.view(QStringLiteral("_init")).windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(program.view(QStringLiteral("_Buchen")).windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        const struct {
            const char* form;
            const char* control;
            int rows;
            int width;
        } lists[] = {{"_Konto", "Kontoauswahl", 26, 600}, {"_Buchen", "SollKnt", 24, 580}};
        for (const auto& list : lists) {
            auto* combo =
                program.widget<QComboBox>(QString::fromLatin1(list.form), QString::fromLatin1(list.control));
            QVERIFY(combo);
            QCOMPARE(combo->maxVisibleItems(), list.rows);
            combo->showPopup();
            QCOMPARE(combo->view()->minimumWidth(), list.width);
            combo->hidePopup();
        }
    }

    // The main menu's chart printout reaches the printer; without one it lands as a PDF.
    void theMenuPrintsTheChartAsAPdf() {
        GuiProgram program;
        program.window().action(app::Command::DruckKontoplan)->trigger();
        QCOMPARE(program.ui().printed().size(), std::size_t(1));
        const forms::PrintJob& job = program.ui().printed().front();
        QCOMPARE(job.title, QStringLiteral("Kontaro-Kontoplan"));
        gui::QtPrinter printer(program.directory());
        printer.forcePdf = true;
        const QString pdf = printer.print(job);
        QCOMPARE(pdf, program.directory() + QStringLiteral("/Kontaro-Kontoplan.pdf"));
        QVERIFY(QFile::exists(pdf));
    }

    void withoutAPrinterTheJobBecomesAPdfNamedAfterItsTitle() {
        TestBooks books;
        gui::QtPrinter printer(books.directory());
        printer.forcePdf = true;
        forms::PrintJob job;
        job.title = QStringLiteral("Kontaro-Kontoplan");
        job.lines.push_back(
            {QStringLiteral("Muster GmbH   -   KONTOPLAN"), 20, false, forms::Color::Default, {}});
        for (int i = 0; i < 150; ++i) // more than one page
            job.lines.push_back({QStringLiteral("B   %1").arg(i), 0, i % 10 == 0, forms::Color::Gray, {}});
        const QString pdf = printer.print(job);
        QCOMPARE(pdf, books.directory() + QStringLiteral("/Kontaro-Kontoplan.pdf"));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY(content.startsWith("%PDF"));
        const QRegularExpressionMatch pages =
            QRegularExpression(QStringLiteral("/Count (\\d+)")).match(QString::fromLatin1(content));
        QVERIFY(pages.hasMatch());
        QVERIFY(pages.captured(1).toInt() >= 2);
    }
    // Each access digit of the window menu reaches one entry: the window list does not repeat the
    // digits of "Fensteranordnung &1 (Vorbesetzung) laden" and "Fensteranordnung &2 laden".
    void everyWindowMenuEntryHasAnAccessKeyOfItsOwn() {
        GuiProgram program;
        QMenu* menu = nullptr;
        for (QAction* action : program.window().menuBar()->actions())
            if (action->text() == QStringLiteral("&Fenster"))
                menu = action->menu();
        QVERIFY(menu);
        Q_EMIT menu->aboutToShow();
        QStringList keys;
        QAction* journal = nullptr;
        for (QAction* action : menu->actions()) {
            const QString text = action->text();
            if (const qsizetype amp = text.indexOf(QLatin1Char('&')); amp >= 0) {
                const QString key = text.mid(amp + 1, 1).toLower();
                QVERIFY2(!keys.contains(key), qPrintable(text));
                keys << key;
            }
            if (text.endsWith(QStringLiteral(" Journal")))
                journal = action;
        }
        QVERIFY(journal);
        QVERIFY(journal->text().startsWith(QLatin1Char('&')));
        journal->trigger();
        QCOMPARE(program.app().activeWindow(), QStringLiteral("_Journal"));
    }

    // The about window is in front at start; Enter there presses its "OK (Fenster 1)".
    void enterInTheAboutWindowPressesItsOk() {
        GuiProgram program;
        program.activate(QStringLiteral("_Info"));
        QCOMPARE(program.app().child(QStringLiteral("_Info"))->focusedControl(), QStringLiteral("OK"));
        QWidget* ok = program.view(QStringLiteral("_Info")).widget(QStringLiteral("OK"));
        QVERIFY(ok && ok->hasFocus());
        QTest::keyClick(ok, Qt::Key_Return);
        QCOMPARE(program.app().activeWindow(), QStringLiteral("_Buchen"));

        // A button without a key handler of its own is pressed by Enter as well.
        program.activate(QStringLiteral("_Info"));
        QWidget* layout2 = program.view(QStringLiteral("_Info")).widget(QStringLiteral("Fenster2"));
        layout2->setFocus();
        QTest::keyClick(layout2, Qt::Key_Return);
        QCOMPARE(program.app().activeWindow(), QStringLiteral("_Buchen"));
    }
};

const bool registered = registerGuiTestClass<WindowsTest>();

} // namespace kontaro::test

#include "windows_test.moc"
