#include "gui/qt_ui.h"
#include "gui_fixture.h"
#include "posting/t_buchen.h"
#include "views/t_konto.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace kontaro::test {

namespace {

const QString Buchen = QStringLiteral("_Buchen");

const QStringList Books = {
    QStringLiteral("ini UstKonten VST20="),
    QStringLiteral("konto 2800 B \"Bank\""),
    QStringLiteral("konto 7600 A \"Büromaterial\" UstKnt=VST20 UstP=20"),
    QStringLiteral("konto 7700 A \"Bankspesen\" UstP=0"),
    QStringLiteral("konto 9999 A \"Letztes\" UstP=0"),
    QStringLiteral("konto VST20 U \"Vorsteuer 20 %\""),
    QStringLiteral("zeile ~ SollKnt=7600 HabenKnt=2800 Datum=05.03.2026"),
};

// An access key pressed as the desktop delivers it, through the window, so that shortcuts see it.
void pressAccessKey(GuiProgram& program, Qt::Key key) {
    QTest::keyClick(program.window().windowHandle(), key, Qt::AltModifier);
}

QLineEdit* editOf(QWidget* widget) {
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->lineEdit();
    return qobject_cast<QLineEdit*>(widget);
}

} // namespace

// The posting window's aids reached through its widgets: access keys, field keys, double-clicks.
class PostingAidsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void altTSwapsAndMovesTheFocusToTheOtherAmount() {
        GuiProgram program(Books);
        program.activate(Buchen);
        QLineEdit* soll = editOf(program.view(Buchen).widget(QStringLiteral("SollBetrag")));
        soll->setFocus();
        soll->selectAll();
        QTest::keyClicks(soll, QStringLiteral("100"));
        QTest::keyClick(soll, Qt::Key_Return);
        soll->setFocus();
        pressAccessKey(program, Qt::Key_T);
        QTRY_COMPARE(program.app().buchen().control(QStringLiteral("SollKnt")).text(),
                     QStringLiteral("2800"));
        QCOMPARE(program.app().buchen().focusedControl(), QStringLiteral("HabenBetrag"));
        QCOMPARE(QApplication::focusWidget(), program.view(Buchen).widget(QStringLiteral("HabenBetrag")));
        QCOMPARE(editOf(program.view(Buchen).widget(QStringLiteral("HabenBetrag")))->text(),
                 QStringLiteral("100,00"));

        // Posted, the ledger shows the bank's debit line; Alt+< takes its amount over what was typed.
        QTest::mouseClick(program.widget<QPushButton>(Buchen, QStringLiteral("JournalPlus")), Qt::LeftButton);
        soll->setFocus();
        soll->selectAll();
        QTest::keyClicks(soll, QStringLiteral("1"));
        pressAccessKey(program, Qt::Key_Less);
        QCOMPARE(program.app().konto().control(QStringLiteral("kontoWahl")).text(), QStringLiteral("2800"));
        QTRY_COMPARE(program.app().buchen().control(QStringLiteral("SollBetrag")).text(),
                     QStringLiteral("120,00"));
    }

    void spaceInAnAccountFieldSearchesAndAltWContinues() {
        GuiProgram program(Books);
        program.activate(Buchen);
        program.ui().answerInput(QStringLiteral("bank"));
        QLineEdit* soll = editOf(program.view(Buchen).widget(QStringLiteral("SollKnt")));
        soll->setFocus();
        QTest::keyClick(soll, Qt::Key_Space);
        QCOMPARE(soll->text(), QStringLiteral("7700"));
        pressAccessKey(program, Qt::Key_W);
        QTRY_COMPARE(soll->text(), QStringLiteral("2800"));
        program.ui().answerInput(QStringLiteral("material"));
        pressAccessKey(program, Qt::Key_S);
        QTRY_COMPARE(soll->text(), QStringLiteral("7600"));
    }

    void voucherKeysAndDoubleClicks() {
        GuiProgram program(Books);
        program.activate(Buchen);
        QLineEdit* beleg = editOf(program.view(Buchen).widget(QStringLiteral("Beleg")));
        beleg->setFocus();
        QTest::keyClick(beleg, Qt::Key_Plus, Qt::NoModifier);
        QCOMPARE(beleg->text(), QStringLiteral("1"));
        QTest::keyClick(beleg, Qt::Key_NumberSign);
        QCOMPARE(program.ui().shownTexts(QStringLiteral("message")).size(), 1);

        QWidget* name = program.view(Buchen).widget(QStringLiteral("habenName"));
        QTest::mouseDClick(name, Qt::LeftButton);
        QCOMPARE(program.app().buchen().control(QStringLiteral("Buchtext")).text(), QStringLiteral("Bank"));
        QTest::mouseClick(program.widget<QPushButton>(Buchen, QStringLiteral("B_StoVorlage")),
                          Qt::LeftButton);
        auto* templates = program.widget<QComboBox>(Buchen, QStringLiteral("Buchtext"));
        QCOMPARE(templates->count(), 1);
        QCOMPARE(templates->itemText(0), QStringLiteral("Bank"));

        program.ui().answerFile(program.directory() + QStringLiteral("/belege/rechnung2.pdf"));
        QTest::mouseDClick(beleg, Qt::LeftButton);
        QCOMPARE(beleg->text(), QStringLiteral("rechnung"));
        program.ui().answerFile(program.directory() + QStringLiteral("/belege/4711.pdf"));
        QTest::mouseClick(program.widget<QPushButton>(Buchen, QStringLiteral("SpeedButton1")),
                          Qt::LeftButton);
        QCOMPARE(beleg->text(), QStringLiteral("4711"));
    }

    void doubleClickOnTheWindowSwitchesTheLedgerAccount() {
        GuiProgram program(Books);
        program.activate(Buchen);
        QWidget* area = program.view(Buchen).widget(QStringLiteral("Scrollbereich"));
        QVERIFY(area);
        QTest::mouseDClick(area, Qt::LeftButton, {}, QPoint(2, 2));
        const QString first = program.app().konto().control(QStringLiteral("kontoWahl")).text();
        QTest::mouseDClick(area, Qt::LeftButton, {}, QPoint(2, 2));
        const QString second = program.app().konto().control(QStringLiteral("kontoWahl")).text();
        QCOMPARE(QStringList({first, second}).join(QLatin1Char(' ')) == QStringLiteral("7600 2800") ||
                     QStringList({first, second}).join(QLatin1Char(' ')) == QStringLiteral("2800 7600"),
                 true);
    }

    // The desktop's file dialog opens in the voucher folder.
    void theFileDialogStartsInTheGivenFolder() {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("belege"));
        gui::QtUi ui(dir.path());
        QString shownDirectory;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shownDirectory = dialog->directory().absolutePath();
            dialog->reject();
        });
        const std::optional<QString> picked =
            ui.openFile(QStringLiteral("Beleg auswählen"), dir.path() + QStringLiteral("/belege"),
                        QStringLiteral("Alle Dateien|*.*"));
        QVERIFY(!picked);
        QCOMPARE(shownDirectory, QDir(dir.path() + QStringLiteral("/belege")).absolutePath());
    }
};

const bool registered = registerGuiTestClass<PostingAidsTest>();

} // namespace kontaro::test

#include "posting_aids_test.moc"
