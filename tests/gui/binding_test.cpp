#include "app/t_init.h"
#include "forms/form.h"
#include "gui/help_browser.h"
#include "gui_fixture.h"

#include <QLineEdit>
#include <QPushButton>

namespace kontaro::test {

// Widgets reach their forms by control name, and the forms' state shows on the widgets.
class BindingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typingReachesTheForm() {
        GuiProgram program;
        program.activate(QStringLiteral("_init"));
        auto* rate = program.widget<QLineEdit>(QStringLiteral("_init"), QStringLiteral("EuroKurs"));
        QVERIFY(rate);
        rate->setFocus();
        rate->selectAll();
        QTest::keyClicks(rate, QStringLiteral("13,7603"));
        QTest::keyClick(rate, Qt::Key_Return);
        QCOMPARE(program.app().init().control(QStringLiteral("EuroKurs")).text(), QStringLiteral("13,7603"));
        QCOMPARE(program.app().init().focusedControl(), QStringLiteral("EuroKurs"));
    }

    void aFormColourShowsOnTheWidget() {
        GuiProgram program;
        forms::Control& meldung =
            program.app().child(QStringLiteral("_Buchen"))->control(QStringLiteral("meldung"));
        meldung.color = forms::Color::Red;
        meldung.fontColor = forms::Color::White;
        program.window().refreshAll();
        auto* line = program.widget<QLineEdit>(QStringLiteral("_Buchen"), QStringLiteral("meldung"));
        QVERIFY(line);
        QCOMPARE(line->palette().color(QPalette::Base), QColor(255, 0, 0));
        QCOMPARE(line->palette().color(QPalette::Text), QColor(255, 255, 255));
    }

    void aClickUnlocksTheSettingsAndTheWindowTurnsGreen() {
        GuiProgram program;
        program.activate(QStringLiteral("_init"));
        auto* unlock = program.widget<QPushButton>(QStringLiteral("_init"), QStringLiteral("Button4"));
        auto* mandant = program.widget<QLineEdit>(QStringLiteral("_init"), QStringLiteral("mandant"));
        auto* fastnr = program.widget<QLineEdit>(QStringLiteral("_init"), QStringLiteral("FASTNR"));
        QVERIFY(unlock && mandant && fastnr);
        QVERIFY(!mandant->isEnabled());
        QVERIFY(!fastnr->isEnabled());
        QTest::mouseClick(unlock, Qt::LeftButton);
        QVERIFY(mandant->isEnabled());
        // The tax number for the VAT pre-return upload reaches the window's live settings.
        QVERIFY(fastnr->isEnabled());
        fastnr->setFocus();
        QTest::keyClicks(fastnr, QStringLiteral("123456789"));
        QTest::keyClick(fastnr, Qt::Key_Return);
        QCOMPARE(program.app().init().fastnr(), QStringLiteral("123456789"));
        QCOMPARE(
            program.view(QStringLiteral("_init")).QMdiSubWindow::widget()->palette().color(QPalette::Window),
            QColor(0, 128, 0));
    }

    void theMenuReachesACommand() {
        GuiProgram program;
        QAction* single = program.window().action(app::Command::DruckEinzelkonto);
        QVERIFY(single);
        QCOMPARE(single->text(), QStringLiteral("Einzelkonto"));
        program.ui().clearShown();
        single->trigger();
        QCOMPARE(program.ui().shownTexts(QStringLiteral("message")),
                 QStringList{QStringLiteral("Verwende \"Druck-Symbol\" im Hauptbuch!")});
    }

    void f1OpensTheHelpOfTheFocusedField() {
        GuiProgram program;
        program.activate(QStringLiteral("_Buchen"));
        auto* date = program.widget<QLineEdit>(QStringLiteral("_Buchen"), QStringLiteral("Datum"));
        QVERIFY(date);
        date->setFocus();
        QTest::keyClick(date, Qt::Key_F1);
        gui::HelpBrowser* help = program.window().helpBrowser();
        QVERIFY(help->isVisible());
        QCOMPARE(help->currentContext(), 710);
        QVERIFY(gui::helpPage(710).contains(QStringLiteral("Buchungsdatum")));
    }
};

const bool registered = registerGuiTestClass<BindingTest>();

} // namespace kontaro::test

#include "binding_test.moc"
