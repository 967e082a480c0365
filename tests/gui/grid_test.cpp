#include "gui/grid_model.h"
#include "gui_fixture.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>

namespace kontaro::test {

namespace {

const QStringList Books = {
    QStringLiteral("konto 2800 B \"Bank\" Saldo=12345,60"),
    QStringLiteral("konto 4010 E \"Erlöse aus Beratungsleistungen für Vereine und Verbände\""),
    QStringLiteral("konto 7600 A \"Büromaterial\" Saldo=-0,50"),
    QStringLiteral(
        "zeile = Bnr=1 SollKnt=2800 HabenKnt=4010 SollBetrag=1,00 HabenBetrag=1,00 Datum=02.01.2026"),
    QStringLiteral(
        "zeile = Bnr=2 SollKnt=7600 HabenKnt=2800 SollBetrag=2,00 HabenBetrag=2,00 Datum=03.01.2026"),
    QStringLiteral("zeile ~ SollKnt=2800 HabenKnt=2800 Datum=03.01.2026"),
};

QStringList headings(QAbstractItemView* view) {
    QStringList texts;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        texts << view->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    return texts;
}

int column(QAbstractItemView* view, const QString& field) {
    for (int c = 0; c < view->model()->columnCount(); ++c)
        if (view->model()->headerData(c, Qt::Horizontal, gui::GridModel::FieldRole).toString() == field)
            return c;
    return -1;
}

} // namespace

// The grids as a bookkeeper reads them: headings in words, amounts on the right, the account
// type picked from its list, names whole, searches that follow every keystroke.
class GridTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void headingsAreWordsAndAmountsAlignRight() {
        GuiProgram program(Books);
        auto* ledger =
            program.widget<QTableView>(QStringLiteral("_Konto"), QStringLiteral("Hauptbuchzeilen"));
        QVERIFY(ledger);
        const QStringList ledgerHeadings = headings(ledger);
        for (const char* words : {"Soll", "Haben", "Gegenkonto", "Buchungstext"})
            QVERIFY2(ledgerHeadings.contains(QString::fromUtf8(words)), words);

        auto* chart = program.widget<QTableView>(QStringLiteral("_Kontoplan"), QStringLiteral("Kontenliste"));
        const int saldo = column(chart, QStringLiteral("Saldo"));
        QAbstractItemModel* model = chart->model();
        QCOMPARE(model->index(0, saldo).data().toString(), QStringLiteral("12.345,60"));
        for (int row = 0; row < 3; ++row) {
            const QModelIndex amount = model->index(row, saldo);
            if (amount.data().toString().isEmpty())
                continue;
            QCOMPARE(amount.data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
        }
        // Names, numbers and dates stay on the left.
        QVERIFY(
            !model->index(0, column(chart, QStringLiteral("Name"))).data(Qt::TextAlignmentRole).isValid());
        QVERIFY(!model->index(0, column(chart, QStringLiteral("Knr"))).data(Qt::TextAlignmentRole).isValid());
    }

    void theChartShowsNamesWholeAndPicksTheTypeFromItsList() {
        GuiProgram program(Books);
        auto* chart = program.widget<QTableView>(QStringLiteral("_Kontoplan"), QStringLiteral("Kontenliste"));
        const int name = column(chart, QStringLiteral("Name"));
        const QString longest = chart->model()->index(1, name).data().toString();
        QVERIFY(chart->columnWidth(name) >= chart->fontMetrics().horizontalAdvance(longest));
        const int seite = column(chart, QStringLiteral("Seite"));
        QVERIFY(!chart->horizontalHeader()->stretchLastSection());
        QVERIFY(chart->columnWidth(seite) < chart->columnWidth(name) / 4);

        const QModelIndex typ = chart->model()->index(0, column(chart, QStringLiteral("Typ")));
        QCOMPARE(typ.data(gui::GridModel::PickListRole).toStringList().join(QLatin1Char(' ')),
                 QStringLiteral("B K U A E X : b k u a e x"));
        QVERIFY(chart->model()->index(0, name).data(gui::GridModel::PickListRole).toStringList().isEmpty());
        QStyleOptionViewItem option;
        std::unique_ptr<QWidget> editor(chart->itemDelegate()->createEditor(chart->viewport(), option, typ));
        auto* combo = qobject_cast<QComboBox*>(editor.get());
        QVERIFY(combo);
        QCOMPARE(combo->count(), 13);
        QCOMPARE(combo->maxVisibleItems(), 9);
    }

    // Typing into the chart opens no cell outside edit state (the record would ignore it); EDIT
    // opens the current record's cells.
    void theChartTakesTypingOnlyInEditState() {
        GuiProgram program(Books);
        program.activate(QStringLiteral("_Kontoplan"));
        auto* chart = program.widget<QTableView>(QStringLiteral("_Kontoplan"), QStringLiteral("Kontenliste"));
        const int name = column(chart, QStringLiteral("Name"));
        const QModelIndex current = chart->model()->index(0, name);
        chart->setFocus();
        chart->setCurrentIndex(current);
        QTest::keyClicks(chart, QStringLiteral("76"));
        QCOMPARE(QApplication::focusWidget(), chart); // no cell editor took it
        QCOMPARE(current.data().toString(), QStringLiteral("Bank"));

        program.window().forward([&program] {
            program.app().child(QStringLiteral("_Kontoplan"))->click(QStringLiteral("B_edit"));
        });
        QVERIFY(current.flags() & Qt::ItemIsEditable);
        QVERIFY(!(chart->model()->index(1, name).flags() & Qt::ItemIsEditable));
    }

    // A read-only field too narrow for a long account name shows the name whole as its tip.
    void aCutAccountNameShowsWholeAsTip() {
        GuiProgram program(Books);
        forms::Form& posting = *program.app().child(QStringLiteral("_Buchen"));
        program.activate(QStringLiteral("_Buchen"));
        program.window().forward(
            [&posting] { posting.type(QStringLiteral("SollKnt"), QStringLiteral("4010")); });
        program.window().forward(
            [&posting] { posting.type(QStringLiteral("HabenKnt"), QStringLiteral("2800")); });
        auto* debitName = program.widget<QLineEdit>(QStringLiteral("_Buchen"), QStringLiteral("sollName"));
        auto* creditName = program.widget<QLineEdit>(QStringLiteral("_Buchen"), QStringLiteral("habenName"));
        QCOMPARE(debitName->text(),
                 QStringLiteral("Erlöse aus Beratungsleistungen für Vereine und Verbände"));
        QVERIFY(debitName->fontMetrics().horizontalAdvance(debitName->text()) > debitName->width());
        QCOMPARE(debitName->toolTip(), debitName->text());
        QCOMPARE(creditName->text(), QStringLiteral("Bank"));
        QVERIFY(creditName->toolTip().isEmpty());
    }

    // The chart's search word and the journal's posting number act on every keystroke.
    void searchFieldsFollowEveryKeystroke() {
        GuiProgram program(Books);
        forms::Form& chartForm = *program.app().child(QStringLiteral("_Kontoplan"));
        auto* word = program.widget<QLineEdit>(QStringLiteral("_Kontoplan"), QStringLiteral("Suchwort"));
        program.activate(QStringLiteral("_Kontoplan"));
        word->setFocus();
        word->selectAll();
        QTest::keyClicks(word, QStringLiteral("76"));
        QCOMPARE(chartForm.control(QStringLiteral("Suchwort")).text(), QStringLiteral("76"));
        QCOMPARE(chartForm.control(QStringLiteral("Kontenliste")).grid->currentRow(), 2);

        forms::Form& journal = *program.app().child(QStringLiteral("_Journal"));
        auto* number = program.widget<QLineEdit>(QStringLiteral("_Journal"), QStringLiteral("sucheBnr"));
        program.activate(QStringLiteral("_Journal"));
        number->setFocus();
        number->selectAll();
        QTest::keyClicks(number, QStringLiteral("2"));
        QCOMPARE(journal.control(QStringLiteral("Buchungsliste")).grid->currentRow(), 1);
    }
};

const bool registered = registerGuiTestClass<GridTest>();

} // namespace kontaro::test

#include "grid_test.moc"
