#include "data/cursor.h"
#include "support/test_program.h"
#include "views/kontoplan_grid.h"
#include "views/t_kontoplan.h"

#include <gtest/gtest.h>

using namespace kontaro;

namespace {

// Three accounts; the posted line keeps the start-up free of first-posting and balance messages.
const QStringList Books = {
    "konto 2800 B Bank Saldo=1234,50",
    "konto 4010 E Erlöse Saldo=-1234,50",
    "konto 9000 U Leer Saldo=0,00",
    "zeile = Bnr=1 SollKnt=2800 HabenKnt=4010 SollBetrag=1234,50 HabenBetrag=1234,50 "
    "SollSaldo2=1234,50 HabenSaldo2=-1234,50 Datum=02.01.2026",
    "hauptbuch Knr=2800 Bnr=1 SollBetrag=1234,50 GKnt=4010 Saldo=1234,50 Datum=02.01.2026",
    "hauptbuch Knr=4010 Bnr=1 HabenBetrag=1234,50 GKnt=2800 Saldo=-1234,50 Datum=02.01.2026",
    "zeile ~ Datum=03.01.2026",
};

class KontoplanGridTest : public ::testing::Test {
protected:
    test::TestProgram program{Books};
    views::T_Kontoplan& chart = program.app().kontoplan();
    views::KontoplanGrid& grid = chart.grid();

    int column(const char* name) const { return int(views::KontoplanGrid::columns().indexOf(name)); }
    QStringList columnTexts(const char* name) const {
        QStringList texts;
        for (int row = 0; row < grid.rowCount(); ++row)
            texts << grid.cell(row, column(name));
        return texts;
    }
};

TEST_F(KontoplanGridTest, ShowsMoneyInDisplayFormAndReadsRowsWithoutMovingTheChart) {
    chart.setSuchwort("40");
    EXPECT_EQ(columnTexts("Saldo"), QStringList({"1.234,50", "-1.234,50", "0,00"}));
    EXPECT_EQ(grid.currentRow(), 1);
    EXPECT_EQ(chart.currentKnr(), "4010");
}

// A new record shows where it is inserted, before the current one; the others move down a row.
TEST_F(KontoplanGridTest, PendingInsertTakesTheRowOfTheCurrentRecord) {
    chart.setSuchwort("9000");
    program.app().run([&] { chart.click("B_einfuegen"); });
    ASSERT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(grid.currentRow(), 2);
    grid.setCell(2, column("Knr"), "5000x");
    EXPECT_EQ(columnTexts("Knr"), QStringList({"2800", "4010", "5000X", "9000"}));
}

TEST_F(KontoplanGridTest, ReadOnlyColumnsAndLocksRefuseTyping) {
    chart.setSuchwort("9000");
    chart.click("B_edit"); // balance 0,00: the number is locked, type and VAT stay open
    EXPECT_TRUE(grid.isColumnReadOnly(column("Saldo")));
    EXPECT_TRUE(grid.isColumnReadOnly(column("LastAnr")));
    EXPECT_TRUE(grid.isColumnReadOnly(column("Knr")));
    EXPECT_FALSE(grid.isColumnReadOnly(column("Typ")));
    EXPECT_TRUE(program.ui().shownTexts("beep").isEmpty());
    chart.click("B_esc");
    EXPECT_FALSE(grid.isColumnReadOnly(column("Knr")));

    chart.setSuchwort("2800");
    chart.click("B_edit"); // a balance other than zero also locks type and VAT, with a beep
    for (const char* field : {"Knr", "Typ", "UstKnt", "UstP"})
        EXPECT_TRUE(grid.isColumnReadOnly(column(field))) << field;
    EXPECT_EQ(program.ui().shownTexts("beep").size(), 1);
}

} // namespace
