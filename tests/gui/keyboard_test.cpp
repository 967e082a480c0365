#include "data/cursor.h"
#include "gui/account_combo.h"
#include "gui_fixture.h"
#include "posting/t_buchen.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace kontaro::test {

namespace {

const QString Buchen = QStringLiteral("_Buchen");

const QStringList Books = {
    QStringLiteral("ini UstKonten UST10="),
    QStringLiteral("konto 2800 B \"Bank\""),
    QStringLiteral("konto 4010 E \"Erlöse 10 %\" UstKnt=UST10 UstP=10 Gruppe=E1A"),
    QStringLiteral("konto 5000 A \"Wareneinkauf\""),
    QStringLiteral("konto UST10 U \"Umsatzsteuer 10 %\""),
};

// The control name of the widget that has the keyboard focus.
QString focusedControl() {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (!w->objectName().isEmpty() && w->property("kontaroControl").isValid())
            return w->objectName();
    return {};
}

// Keys as a person presses them: always into whatever has the focus now.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY2(target, "nothing has the keyboard focus");
    QTest::keyClick(target, key, modifiers);
}

void typeText(const QString& text) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY2(target, "nothing has the keyboard focus");
    QTest::keyClicks(target, text);
}

// Lines of the journal; posting a line adds the next one.
int journalLines(GuiProgram& program) {
    return program.app()
        .child(QStringLiteral("_Journal"))
        ->control(QStringLiteral("Buchungsliste"))
        .grid->rowCount();
}

QString textOf(GuiProgram& program, const char* control) {
    QWidget* w = program.view(Buchen).widget(QString::fromLatin1(control));
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->lineEdit()->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    return {};
}

// Types the two accounts and the debit amount, each followed by Enter.
void enterAccountsAndAmount(const char* debit, const char* credit, const char* amount) {
    for (const char* text : {debit, credit, amount}) {
        typeText(QString::fromLatin1(text));
        press(Qt::Key_Return);
    }
}

// The program with the posting window active and the debit account entered as Tab enters it.
void startOnTheDebitAccount(GuiProgram& program) {
    program.activate(Buchen);
    program.view(Buchen).widget(QStringLiteral("SollKnt"))->setFocus(Qt::TabFocusReason);
    QCOMPARE(focusedControl(), QStringLiteral("SollKnt"));
}

} // namespace

// Posting without the mouse: Enter leads through the line, Tab visits only entry fields, the
// window's own accelerators win over the main menu's.
class KeyboardTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aLineIsTypedAndPostedWithTheKeyboardAlone() {
        GuiProgram program(Books);
        startOnTheDebitAccount(program);
        const int lines = journalLines(program);

        typeText(QStringLiteral("2800"));
        press(Qt::Key_Return);
        QCOMPARE(focusedControl(), QStringLiteral("HabenKnt"));
        typeText(QStringLiteral("4010"));
        press(Qt::Key_Return);
        // The amount is still 0 and the line red, yet Enter goes on to the amount.
        QCOMPARE(focusedControl(), QStringLiteral("SollBetrag"));
        typeText(QStringLiteral("110"));
        press(Qt::Key_Return);
        QCOMPARE(textOf(program, "HabenKnt"), QStringLiteral("4010"));
        QCOMPARE(textOf(program, "SollBetrag"), QStringLiteral("110,00"));
        QCOMPARE(textOf(program, "HabenBetrag"), QStringLiteral("100,00"));
        QCOMPARE(focusedControl(), QStringLiteral("HabenBetrag"));
        press(Qt::Key_Return);
        QCOMPARE(focusedControl(), QStringLiteral("Buchtext"));
        typeText(QStringLiteral("Honorar"));
        press(Qt::Key_Return);
        QCOMPARE(focusedControl(), QStringLiteral("Anr"));
        press(Qt::Key_Return);
        QCOMPARE(focusedControl(), QStringLiteral("Beleg"));
        typeText(QStringLiteral("R17"));
        press(Qt::Key_Return);
        QCOMPARE(focusedControl(), QStringLiteral("Datum"));
        QCOMPARE(textOf(program, "meldung"), QStringLiteral(" E I N N A H M E"));

        // Alt+D is the window's "Dn", not the main menu's "Druck".
        press(Qt::Key_D, Qt::AltModifier);
        QCOMPARE(journalLines(program), lines + 1);
        QCOMPARE(textOf(program, "SollBetrag"), QString());
        QCOMPARE(focusedControl(), QStringLiteral("SollKnt"));
    }

    // An account that does not exist: the message says so, the typed text stays in the field,
    // selected, so that typing replaces it; the line keeps its account.
    void anUnknownAccountIsNamedAndKeptSelected() {
        for (const Qt::Key leave : {Qt::Key_Return, Qt::Key_Tab}) {
            GuiProgram program(Books);
            startOnTheDebitAccount(program);
            typeText(QStringLiteral("2800"));
            press(Qt::Key_Return);
            program.ui().clearShown();
            typeText(QStringLiteral("9999"));
            press(leave);
            QCOMPARE(program.ui().shownTexts(QStringLiteral("message")),
                     QStringList{QStringLiteral("Konto 9999 gibt es nicht.")});
            QCOMPARE(focusedControl(), QStringLiteral("HabenKnt"));
            auto* credit = program.widget<QComboBox>(Buchen, QStringLiteral("HabenKnt"));
            QCOMPARE(credit->lineEdit()->text(), QStringLiteral("9999"));
            QCOMPARE(credit->lineEdit()->selectedText(), QStringLiteral("9999"));
            QVERIFY(program.app().buchen().line().asText(QStringLiteral("HabenKnt")) !=
                    QStringLiteral("9999"));
            typeText(QStringLiteral("4010"));
            press(Qt::Key_Return);
            QCOMPARE(program.app().buchen().line().asText(QStringLiteral("HabenKnt")),
                     QStringLiteral("4010"));
            QCOMPARE(focusedControl(), QStringLiteral("SollBetrag"));
        }
    }

    // Closing the about window brings the posting window to the front on its debit account, with
    // the account selected, so that the first number typed replaces it.
    void theAboutWindowsOkEntersTheDebitAccount() {
        GuiProgram program(Books);
        program.activate(QStringLiteral("_Info"));
        program.view(QStringLiteral("_Info")).widget(QStringLiteral("OK"))->setFocus();
        press(Qt::Key_Escape);
        QCOMPARE(program.app().activeWindow(), Buchen);
        QCOMPARE(focusedControl(), QStringLiteral("SollKnt"));
        auto* debit = program.widget<QComboBox>(Buchen, QStringLiteral("SollKnt"));
        QVERIFY(!debit->lineEdit()->text().isEmpty());
        QCOMPARE(debit->lineEdit()->selectedText(), debit->lineEdit()->text());
    }

    // Alt with a letter that is no access key types nothing into the field.
    void aMissedAccessKeyTypesNothing() {
        GuiProgram program(Books);
        startOnTheDebitAccount(program);
        auto* debit = program.widget<QComboBox>(Buchen, QStringLiteral("SollKnt"));
        const QString before = debit->lineEdit()->text();
        press(Qt::Key_Q, Qt::AltModifier);
        QCOMPARE(debit->lineEdit()->text(), before);
        typeText(QStringLiteral("4010"));
        QCOMPARE(debit->lineEdit()->text(), QStringLiteral("4010"));
    }

    void enterOnThePostCommandGoesBackToTheDebitAccount() {
        GuiProgram program(Books);
        startOnTheDebitAccount(program);
        auto* post = program.widget<QPushButton>(Buchen, QStringLiteral("JournalPlus"));
        post->setFocus();
        press(Qt::Key_Return);
        QCOMPARE(focusedControl(), QStringLiteral("SollKnt"));
    }

    void spaceOnAFocusedButtonPressesIt() {
        GuiProgram program(Books);
        startOnTheDebitAccount(program);
        enterAccountsAndAmount("5000", "2800", "50");
        const int lines = journalLines(program);
        program.widget<QPushButton>(Buchen, QStringLiteral("JournalPlus"))->setFocus();
        press(Qt::Key_Space);
        QCOMPARE(journalLines(program), lines + 1);
    }

    // Entering a field selects its text so that typing replaces it; the date selects its day.
    void enteringAFieldSelectsWhatTypingReplaces() {
        GuiProgram program(Books);
        startOnTheDebitAccount(program);
        enterAccountsAndAmount("2800", "4010", "110");
        // Back on the debit amount with Shift+Tab: "110,00" is selected and replaced.
        press(Qt::Key_Backtab);
        QCOMPARE(focusedControl(), QStringLiteral("SollBetrag"));
        typeText(QStringLiteral("220"));
        press(Qt::Key_Return);
        QCOMPARE(textOf(program, "SollBetrag"), QStringLiteral("220,00"));

        auto* date = program.widget<QLineEdit>(Buchen, QStringLiteral("Datum"));
        const QString day = date->text().section(QLatin1Char('.'), 0, 0);
        date->setFocus(Qt::TabFocusReason);
        QCOMPARE(date->selectedText(), day);
    }

    void tabVisitsTheEntryFieldsInEnterOrderThenTheCommands() {
        GuiProgram program(Books);
        startOnTheDebitAccount(program);
        const QStringList expected = {QStringLiteral("HabenKnt"),    QStringLiteral("SollBetrag"),
                                      QStringLiteral("HabenBetrag"), QStringLiteral("Buchtext"),
                                      QStringLiteral("Anr"),         QStringLiteral("Beleg"),
                                      QStringLiteral("Datum"),       QStringLiteral("JournalPlus")};
        QStringList visited;
        for (int i = 0; i < expected.size(); ++i) {
            press(Qt::Key_Tab);
            visited << focusedControl();
        }
        QCOMPARE(visited, expected);
        // No read-only display takes the focus.
        for (const char* name : {"Bnr", "UstKnt", "sollSaldo", "SollSaldo2", "Ok", "meldung", "sollName"}) {
            QWidget* w = program.view(Buchen).widget(QString::fromLatin1(name));
            QVERIFY2(w && !(w->focusPolicy() & Qt::TabFocus), name);
        }
    }

    // Opening the account list changes nothing; Escape closes it; only a pick sets the account.
    void theAccountListSetsTheAccountOnlyWhenARowIsPicked() {
        GuiProgram program(Books);
        startOnTheDebitAccount(program);
        typeText(QStringLiteral("5000"));
        press(Qt::Key_Return);
        auto* credit = program.widget<gui::AccountCombo>(Buchen, QStringLiteral("HabenKnt"));
        forms::Form& form = *program.app().child(Buchen);
        const QString before = form.control(QStringLiteral("HabenKnt")).text();

        credit->showPopup();
        QVERIFY(credit->isPopupOpen());
        QCOMPARE(credit->lineEdit()->text(), before);
        QTest::keyClick(credit->view(), Qt::Key_Down);
        QTest::keyClick(credit->view(), Qt::Key_Escape);
        QVERIFY(!credit->isPopupOpen());
        QCOMPARE(credit->lineEdit()->text(), before);
        press(Qt::Key_Tab); // leaving the field must not set it either
        QCOMPARE(form.control(QStringLiteral("HabenKnt")).text(), before);

        credit->setFocus(Qt::TabFocusReason);
        credit->showPopup();
        QAbstractItemModel* accounts = credit->view()->model();
        const QModelIndexList bank =
            accounts->match(accounts->index(0, 0), Qt::DisplayRole, QStringLiteral("4010"));
        QCOMPARE(bank.size(), 1);
        credit->view()->setCurrentIndex(bank.front());
        QTest::keyClick(credit->view(), Qt::Key_Return);
        QCOMPARE(form.control(QStringLiteral("HabenKnt")).text(), QStringLiteral("4010"));
    }
};

const bool registered = registerGuiTestClass<KeyboardTest>();

} // namespace kontaro::test

#include "keyboard_test.moc"
