#include "app/main_menu.h"
#include "base/clock.h"
#include "data/books_builder.h"
#include "data/cursor.h"
#include "data/session.h"
#include "support/test_program.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace kontaro;

// A year open in another program is left out and not counted. The data directory's own journal is
// open in this program's windows: its chart is archived, its lines are not.
TEST(ArchiveRebuild, LeavesOutAYearOpenElsewhereAndTheOwnJournal) {
    FixedClock clock(QDate(2027, 1, 10));
    test::TestProgram program(
        {"konto 2800 B Bank", "zeile = Bnr=1 SollKnt=2800 HabenKnt=2800 Datum=02.01.2026"});
    const QString parent = QFileInfo(program.directory()).absolutePath();
    data::buildBooks(parent + "/KT2025",
                     {"konto 1000 B Alt", "zeile = SollKnt=1000 HabenKnt=1000 Datum=02.01.2025"});
    data::buildBooks(parent + "/KT2024",
                     {"konto 1000 B Alt", "zeile = SollKnt=1000 HabenKnt=1000 Datum=02.01.2024"});
    data::Session other(parent + "/KT2025");

    program.app().command(app::Command::ArchivErzeugen);

    EXPECT_EQ(program.ui().shownTexts("message"),
              QStringList{"Datei \"knt9plan.db(f)\" und \"journal9.db(f)\" wurde erzeugt und enthält nun Daten der "
                          "vergangenen 2 Jahre."});
    data::Cursor charts(program.app().session(), "knt9plan.db");
    charts.open();
    QStringList years;
    for (charts.first(); !charts.eof(); charts.next())
        years << charts.asText("JAHR");
    EXPECT_EQ(years, QStringList({"2024", "2026"}));
    data::Cursor journals(program.app().session(), "journal9.db");
    journals.open();
    ASSERT_EQ(journals.recordCount(), 1);
    EXPECT_EQ(journals.asText("JAHR"), "2024");
}
