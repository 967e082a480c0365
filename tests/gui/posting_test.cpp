#include "gui/grid_model.h"
#include "gui_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace kontaro::test {

namespace {

const QStringList Books = {
    QStringLiteral("ini UstKonten UST10="),
    QStringLiteral("konto 2800 B \"Bank\""),
    QStringLiteral("konto 4010 E \"Erlöse 10 %\" UstKnt=UST10 UstP=10 Gruppe=E1A"),
    QStringLiteral("konto UST10 U \"Umsatzsteuer 10 %\""),
};

// Types into a field as a person does: focus, replace the text, Enter.
void typeInto(QWidget* widget, const QString& text) {
    QLineEdit* edit = qobject_cast<QLineEdit*>(widget);
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        edit = combo->lineEdit();
    QVERIFY(edit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

int rows(QWidget* grid) {
    auto* table = qobject_cast<QTableView*>(grid);
    return table ? table->model()->rowCount() : -1;
}

} // namespace

// A posting typed into the posting window's widgets and posted with its button.
class PostingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aNewLineShowsItsErrorInRed() {
        GuiProgram program(Books);
        auto* meldung = program.widget<QLineEdit>(QStringLiteral("_Buchen"), QStringLiteral("meldung"));
        QVERIFY(meldung);
        QCOMPARE(meldung->text(), QStringLiteral("F: Bitte neue Buchung eingeben"));
        QCOMPARE(meldung->palette().color(QPalette::Base), QColor(255, 0, 0));
        QCOMPARE(meldung->palette().color(QPalette::Text), QColor(255, 255, 255));
    }

    void postingWithTheButtonMovesTheJournalAndTheLedger() {
        GuiProgram program(Books);
        const QString buchen = QStringLiteral("_Buchen");
        program.activate(buchen);
        QWidget* journal = program.view(QStringLiteral("_Journal")).widget(QStringLiteral("Buchungsliste"));
        QWidget* ledger = program.view(QStringLiteral("_Konto")).widget(QStringLiteral("Hauptbuchzeilen"));
        const int journalRow = qobject_cast<QTableView*>(journal)->currentIndex().row();

        typeInto(program.view(buchen).widget(QStringLiteral("SollKnt")), QStringLiteral("2800"));
        typeInto(program.view(buchen).widget(QStringLiteral("HabenKnt")), QStringLiteral("4010"));
        typeInto(program.view(buchen).widget(QStringLiteral("SollBetrag")), QStringLiteral("110,00"));
        QCOMPARE(program.widget<QLineEdit>(buchen, QStringLiteral("HabenBetrag"))->text(),
                 QStringLiteral("100,00"));
        QCOMPARE(program.widget<QLineEdit>(buchen, QStringLiteral("meldung"))->text(),
                 QStringLiteral(" E I N N A H M E"));

        QTest::mouseClick(program.widget<QPushButton>(buchen, QStringLiteral("JournalPlus")), Qt::LeftButton);

        // The next line is current and prepared; the journal and the ledger show the posting.
        QCOMPARE(program.widget<QLineEdit>(buchen, QStringLiteral("Ok"))->text(), QStringLiteral("~"));
        QCOMPARE(qobject_cast<QTableView*>(journal)->currentIndex().row(), journalRow + 1);
        QVERIFY(rows(ledger) >= 1);
    }
};

const bool registered = registerGuiTestClass<PostingTest>();

} // namespace kontaro::test

#include "posting_test.moc"
