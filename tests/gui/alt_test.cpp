#include "base/clock.h"
#include "data/books_builder.h"
#include "gui/bar_chart.h"
#include "gui_fixture.h"
#include "years/t_alt.h"

#include <QFileInfo>
#include <QTableView>
#include <QtCharts/QAbstractAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QLegend>

namespace kontaro::test {

// The previous-years window: its bar chart and the grid over the multi-year journal.
class AltTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theBalancesAreRedBarsWithTheCurrentYearOnTop() {
        FixedClock clock(QDate(2027, 3, 15));
        GuiProgram program({QStringLiteral("konto 2800 B Bank Saldo=3000,00"),
                            QStringLiteral("zeile ~ SollKnt=2800 HabenKnt=2800 Datum=02.01.2026")});
        const QString parent = QFileInfo(program.directory()).absolutePath();
        data::buildBooks(parent + QStringLiteral("/KT2025"),
                         {QStringLiteral("konto 2800 B Bank"), QStringLiteral("konto 4000 E Erlöse"),
                          QStringLiteral("zeile = Bnr=1 SollKnt=2800 HabenKnt=4000 SollBetrag=500,00 "
                                         "HabenBetrag=500,00 Datum=05.05.2025 Buchtext=Miete")});
        program.window().action(app::Command::ArchivErzeugen)->trigger();
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
};

const bool registered = registerGuiTestClass<AltTest>();

} // namespace kontaro::test

#include "alt_test.moc"
