#include "data/cursor.h"
#include "forms/grid_source.h"
#include "support/test_program.h"
#include "views/t_konto.h"
#include "views/t_kontoplan.h"

#include <gtest/gtest.h>

using namespace kontaro;

namespace {

// Every kind of bank and cash account, an income account, and one account without ledger lines.
// The journal only has to be there (an empty one would start the books afresh).
const QStringList Books = {
    "zeile = Bnr=1 SollKnt=2800 HabenKnt=4000",
    "zeile ~ SollKnt=2800",
    "konto 2800 B \"Bank\" Saldo=10,00",
    "konto 2810 b \"Sparbuch\" Saldo=-1,00",
    "konto 2700 K \"Kassa\" Saldo=1,00",
    "konto 2710 k \"Handkassa\" Saldo=1,00",
    "konto 4000 E \"Erlöse\" Saldo=-11,00",
    "konto 9000 U \"Leer\"",
    "konto UST10 U \"Umsatzsteuer\"",
    "hauptbuch Knr=2800 Bnr=1 SollBetrag=4,00 GKnt=4000 Saldo=4,00",
    "hauptbuch Knr=2800 Bnr=2 SollBetrag=6,00 GKnt=4000 Saldo=10,00",
    "hauptbuch Knr=2810 Bnr=3 HabenBetrag=1,00 GKnt=4000 Saldo=-1,00",
    "hauptbuch Knr=2700 Bnr=3 SollBetrag=1,00 GKnt=4000 Saldo=1,00",
    "hauptbuch Knr=2710 Bnr=3 SollBetrag=1,00 GKnt=4000 Saldo=1,00",
    "hauptbuch Knr=4000 Bnr=1 HabenBetrag=4,00 GKnt=2800 Saldo=-4,00",
};

// The account lines of a printout: the bold lines, by their account number.
QStringList printedAccounts(const forms::PrintJob& job) {
    QStringList accounts;
    for (const forms::PrintJob::Line& line : job.lines)
        if (line.bold && !line.text.isEmpty() && line.color == forms::Color::Default)
            accounts << line.text.left(10).trimmed();
    return accounts;
}

} // namespace

TEST(KontoPrint, ModesChooseTheAccountsWithLedgerLines) {
    struct Case {
        const char* name;
        bool withoutBankAndCash;
        QStringList accounts;
    };
    const Case cases[] = {
        {"AllAccounts", false, {"2700", "2710", "2800", "2810", "4000"}},
        {"WithoutBankAndCash", true, {"4000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestProgram program(Books);
        views::T_Konto& konto = program.app().konto();
        konto.printAllAccounts(c.withoutBankAndCash);
        ASSERT_EQ(program.ui().printed().size(), 1u);
        const forms::PrintJob& job = program.ui().printed().front();
        EXPECT_EQ(printedAccounts(job), c.accounts);
        EXPECT_TRUE(job.lines.back().text.startsWith(
            QStringLiteral("%1 bebuchte Konten (ohne Bank Konten) gedruckt am ").arg(c.accounts.size())));
        EXPECT_EQ(konto.control("up_kontodruck").tag, 0);
    }
}

TEST(KontoPrint, AccountLinesAreBoldAndTheLedgerLinesGrey) {
    test::TestProgram program(Books);
    views::T_Konto& konto = program.app().konto();
    konto.setKontoWahl("2800");
    program.app().konto().click("B_kontodruck");
    ASSERT_EQ(program.ui().printed().size(), 1u);
    const forms::PrintJob& job = program.ui().printed().front();
    EXPECT_EQ(job.title, "Kontaro-Konto-Druck");
    EXPECT_EQ(job.orientation, forms::PrintJob::Orientation::Landscape);
    EXPECT_EQ(job.basePointSize, 9);
    // Title, empty line, account, heading, two ledger lines (most recent first), empty line, footer.
    ASSERT_EQ(job.lines.size(), 8u);
    EXPECT_EQ(job.lines[0].pointSize, 20);
    EXPECT_EQ(job.lines[2].pointSize, 10);
    EXPECT_TRUE(job.lines[2].bold);
    EXPECT_EQ(job.lines[2].fontName, "Courier New");
    EXPECT_EQ(job.lines[3].color, forms::Color::Gray);
    EXPECT_TRUE(job.lines[4].text.startsWith("2    "));
    EXPECT_TRUE(job.lines[5].text.startsWith("1    "));
}

TEST(KontoGrid, ShowsTheAccountsLedgerLinesMostRecentFirst) {
    test::TestProgram program(Books);
    views::T_Konto& konto = program.app().konto();
    konto.setKontoWahl("28");
    const forms::Control& grid = konto.control("Hauptbuchzeilen");
    ASSERT_TRUE(grid.grid);
    ASSERT_EQ(grid.grid->rowCount(), 2);
    const int bnr = int(grid.items.indexOf("Bnr"));
    const int saldo = int(grid.items.indexOf("Saldo"));
    EXPECT_EQ(grid.grid->cell(0, bnr), "2");
    EXPECT_EQ(grid.grid->cell(0, saldo), "10,00");
    EXPECT_EQ(grid.grid->cell(1, bnr), "1");
    EXPECT_EQ(konto.control("Saldo").text(), "10,00");
    EXPECT_EQ(konto.control("Name").text(), "Bank");
}

// Each step starts where the one before left the window.
TEST(KontoChoice, PrefixMatchIsCaseSensitiveAndKeepsTheAccountWithoutMatch) {
    struct Step {
        const char* wanted;
        const char* shown;
    };
    const Step steps[] = {{"27", "Kassa"},         {"281", "Sparbuch"},     {"5", "Sparbuch"},
                          {"UST", "Umsatzsteuer"}, {"ust", "Umsatzsteuer"}, {"", "Kassa"}};
    test::TestProgram program(Books);
    views::T_Konto& konto = program.app().konto();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.wanted);
        konto.setKontoWahl(step.wanted);
        EXPECT_EQ(konto.control("Name").text(), QString::fromUtf8(step.shown));
    }
}
