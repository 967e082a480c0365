#include "app/main_menu.h"
#include "base/clock.h"
#include "base/text_file.h"
#include "data/books_builder.h"
#include "data/cursor.h"
#include "data/session.h"
#include "support/test_program.h"
#include "years/carry_over.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kontaro;

namespace {

const QStringList Books = {"konto 2800 B Bank Saldo=150,00", "konto EBK X Eröffnung",
                           "zeile ~ SollKnt=2800 HabenKnt=2800 Datum=02.01.2026"};

} // namespace

// Books open in another program are never written: the command refuses before it changes anything.
TEST(NewYear, RefusesAYearThatIsOpenElsewhere) {
    FixedClock clock(QDate(2027, 1, 10));
    test::TestProgram program(Books);
    const QString next = QFileInfo(program.directory()).absolutePath() + "/KT2027";
    data::buildBooks(next, {"konto 1000 B Alt"});
    data::Session other(next); // another program works in KT2027

    program.ui().answerInput(QString("01.01.2027"));
    program.ui().answerInput(QString("2027"));
    program.app().command(app::Command::NeuesJahr);

    EXPECT_EQ(program.ui().shownTexts("message"), QStringList{"Das Jahr 2027 ist gerade in Bearbeitung."});
    EXPECT_TRUE(program.ui().shownTexts("question").isEmpty());
    EXPECT_TRUE(program.app().isRunning());
    data::Cursor journal1(program.app().session(), "journal1.DB");
    journal1.open();
    EXPECT_EQ(journal1.recordCount(), 0);
}

// Which files of a year reach the next one when some are missing: a missing table or settings file
// ends its chain, other files never do.
struct ChainCase {
    const char* name;
    QStringList removed;
    QStringList expected;
};

class CarryOverChains : public testing::TestWithParam<ChainCase> {};

TEST_P(CarryOverChains, CarriesWhatItsChainAllows) {
    QTemporaryDir root;
    const QString source = root.path() + "/KT2026";
    data::buildBooks(source, {"ini Mandant Name=Test"});
    text::writeLines(source + "/vorlagen.txt", {"Miete"});
    text::writeLines(source + "/KtInfo.doc", {"Info"});
    text::writeLines(source + "/Kontaro.hlp", {"Hilfe"});
    for (const QString& file : GetParam().removed)
        ASSERT_TRUE(QFile::remove(source + "/" + file));
    const QString target = root.path() + "/KT2027";
    ASSERT_TRUE(QDir().mkpath(target));

    data::Session session(source);
    years::CarryOver carryOver(session, target);
    carryOver.run();

    QStringList written = QDir(target).entryList(QDir::Files);
    written.sort(Qt::CaseInsensitive);
    QStringList expected = GetParam().expected;
    expected.sort(Qt::CaseInsensitive);
    EXPECT_EQ(written, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CarryOverChains,
    testing::Values(
        ChainCase{"Complete",
                  {},
                  {"journal.DB", "journal1.DB", "kntplan.DB", "konten.DB", "Kontaro.Ini", "vorlagen.txt",
                   "KtInfo.doc", "knt1plan.DBF", "journal9.db", "knt9plan.db", "Kontaro.hlp", "journal9.DBF",
                   "knt9plan.DBF"}},
        ChainCase{"NoSettingsNoTemplates",
                  {"Kontaro.Ini"},
                  {"journal.DB", "journal1.DB", "kntplan.DB", "konten.DB", "KtInfo.doc", "knt1plan.DBF",
                   "journal9.db", "knt9plan.db", "Kontaro.hlp", "journal9.DBF", "knt9plan.DBF"}},
        ChainCase{"NoLedgerNoSettings",
                  {"konten.DB"},
                  {"journal.DB", "journal1.DB", "kntplan.DB", "KtInfo.doc", "knt1plan.DBF", "journal9.db",
                   "knt9plan.db", "Kontaro.hlp", "journal9.DBF", "knt9plan.DBF"}},
        ChainCase{"NoInfoDocumentStillSingleYearChart",
                  {"KtInfo.doc", "vorlagen.txt"},
                  {"journal.DB", "journal1.DB", "kntplan.DB", "konten.DB", "Kontaro.Ini", "knt1plan.DBF",
                   "journal9.db", "knt9plan.db", "Kontaro.hlp", "journal9.DBF", "knt9plan.DBF"}},
        ChainCase{"NoOpeningJournalNoChart",
                  {"journal1.DB"},
                  {"konten.DB", "Kontaro.Ini", "vorlagen.txt", "KtInfo.doc", "knt1plan.DBF", "journal9.db",
                   "knt9plan.db", "Kontaro.hlp", "journal9.DBF", "knt9plan.DBF"}},
        ChainCase{"NoArchiveDbaseChart",
                  {"journal9.DBF", "knt9plan.db"},
                  {"journal.DB", "journal1.DB", "kntplan.DB", "konten.DB", "Kontaro.Ini", "vorlagen.txt",
                   "KtInfo.doc", "knt1plan.DBF", "journal9.db", "Kontaro.hlp"}}),
    [](const testing::TestParamInfo<ChainCase>& info) { return std::string(info.param.name); });
