#include "base/clock.h"
#include "data/books_builder.h"
#include "gui/bar_chart.h"
#include "gui_fixture.h"
#include "years/t_alt.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QTableView>
#include <QtCharts/QAbstractAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QLegend>

namespace kontaro::test {

// Books of 2025 beside the program's, with one line 2800 / 4000 of `amount`, and the archive
// rebuilt from them.
void archiveOneLineOf2025(GuiProgram& program, const QString& amount) {
    const QString parent = QFileInfo(program.directory()).absolutePath();
    data::buildBooks(parent + QStringLiteral("/KT2025"),
                     {QStringLiteral("konto 2800 B Bank"), QStringLiteral("konto 4000 E Erlöse"),
                      QStringLiteral("zeile = Bnr=1 SollKnt=2800 HabenKnt=4000 SollBetrag=%1 HabenBetrag=%1 "
                                     "Datum=05.05.2025 Buchtext=Miete")
                          .arg(amount)});
    program.window().action(app::Command::ArchivErzeugen)->trigger();
}

// The previous-years window: its bar chart and the grid over the multi-year journal.
class AltTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theBalancesAreRedBarsWithTheCurrentYearOnTop() {
        FixedClock clock(QDate(2027, 3, 15));
        GuiProgram program({QStringLiteral("konto 2800 B Bank Saldo=3000,00"),
                            QStringLiteral("zeile ~ SollKnt=2800 HabenKnt=2800 Datum=02.01.2026")});
        archiveOneLineOf2025(program, QStringLiteral("500,00"));
        years::T_alt& alt = program.app().alt();
        program.window().forward([&] { alt.type(QStringLiteral("kntNr"), QStringLiteral("2800")); });
        program.window().refreshAll();

        auto* chart = program.widget<gui::BarChart>(QStringLiteral("_alt"), QStringLiteral("Chart1"));
        QVERIFY(chart);
        QCOMPARE(chart->bars(), (std::vector<double>{3000, 500, 0, 0, 0, 0, 0, 0}));
        // A horizontal series counts from the bottom: the last value is the top bar.
        QBarSet* set = chart->series()->barSets().constFirst();
        QCOMPARE(set->at(set->count() - 1), 3000.0);
        QCOMPARE(set->color(), QColor(Qt::red));
        QCOMPARE(chart->series()->barSets().size(), 1);
        QVERIFY(!chart->series()->isLabelsVisible());
        QVERIFY(!chart->chart()->legend()->isVisible());
        for (const QAbstractAxis* axis : chart->chart()->axes())
            QVERIFY(!axis->isVisible());
        QVERIFY(chart->chart()->title().isEmpty());

        auto* grid = program.widget<QTableView>(QStringLiteral("_alt"), QStringLiteral("DBGrid1"));
        QVERIFY(grid);
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(grid->model()->columnCount(), 13);
        QCOMPARE(grid->model()->index(0, 5).data().toString(), QStringLiteral("Miete"));
    }

    // Typing an account number recomputes with every key, without Enter; the grid shows amounts as
    // "#,##0.00", right-aligned; the account list opens 26 rows high.
    void followsTypingAndShowsAmountsAsMoney() {
        FixedClock clock(QDate(2027, 3, 15));
        GuiProgram program({QStringLiteral("konto 2800 B Bank Saldo=3000,00"),
                            QStringLiteral("zeile ~ SollKnt=2800 HabenKnt=2800 Datum=02.01.2026")});
        archiveOneLineOf2025(program, QStringLiteral("1234,50"));
        program.window().refreshAll();

        auto* account = program.widget<QLineEdit>(QStringLiteral("_alt"), QStringLiteral("kntNr"));
        QVERIFY(account);
        account->setFocus();
        QTest::keyClicks(account, QStringLiteral("2800"));
        program.window().refreshAll();
        years::T_alt& alt = program.app().alt();
        QCOMPARE(alt.control(QStringLiteral("edit8")).text(), QStringLiteral("3.000,00"));
        QCOMPARE(alt.control(QStringLiteral("edit7")).text(), QStringLiteral("1.234,50"));

        auto* grid = program.widget<QTableView>(QStringLiteral("_alt"), QStringLiteral("DBGrid1"));
        QVERIFY(grid);
        const QModelIndex amount = grid->model()->index(0, 1);
        QCOMPARE(amount.data().toString(), QStringLiteral("1.234,50"));
        QVERIFY(amount.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);

        auto* choice = program.widget<QComboBox>(QStringLiteral("_alt"), QStringLiteral("Kontoauswahl"));
        QVERIFY(choice);
        QCOMPARE(choice->maxVisibleItems(), 26);
    }
};

const bool registered = registerGuiTestClass<AltTest>();

} // namespace kontaro::test

#include "alt_test.moc"
