#include "base/clock.h"
#include "data/cursor.h"
#include "forms/grid_source.h"
#include "support/test_program.h"
#include "views/journal_panels.h"
#include "views/t_journal.h"

#include <gtest/gtest.h>

using namespace kontaro;

namespace {

const QStringList Chart = {"konto 2800 B \"Bank\"", "konto 4000 E \"Erlöse\"", "konto 7000 A \"Aufwand\""};

// The posting numbers of the body lines of a journal printout (between its two column headings).
QStringList printedNumbers(const forms::PrintJob& job) {
    QStringList numbers;
    for (std::size_t i = 2; i + 3 < job.lines.size(); ++i)
        numbers << job.lines[i].text.left(4).trimmed();
    return numbers;
}

struct CellCase {
    const char* name;
    const char* field;
    const char* stored; // as typed into the field, "" for an empty field
    const char* shown;
};

// The VAT amounts show without the zero before the decimal separator; every other amount with it.
const CellCase CellCases[] = {
    {"EmptyVatAmount", "UstSoll", "", ""},
    {"ZeroVatAmount", "UstSoll", "0,00", ",00"},
    {"VatCents", "UstHaben", "0,50", ",50"},
    {"NegativeVatCents", "UstHaben", "-0,50", "-,50"},
    {"VatThousands", "UstSoll", "1234,50", "1.234,50"},
    {"ZeroAmount", "SollBetrag", "0,00", "0,00"},
    {"AmountThousands", "HabenSaldo2", "-1234,56", "-1.234,56"},
    {"Date", "Datum", "02.01.2026", "02.01.2026"},
    {"Rate", "UstP", "10", "10"},
};

class JournalPanelCell : public testing::TestWithParam<CellCase> {};

} // namespace

TEST_P(JournalPanelCell, ShowsTheFieldInItsFormat) {
    const CellCase& c = GetParam();
    QStringList books = Chart;
    books << QStringLiteral("zeile ~ %1=%2").arg(QLatin1String(c.field), QLatin1String(c.stored));
    if (QLatin1String(c.stored).isEmpty())
        books.last() = QStringLiteral("zeile ~ Buchtext=x");
    test::TestProgram program(books);
    const forms::Control& list = program.app().journal().control("Buchungsliste");
    ASSERT_TRUE(list.grid);
    EXPECT_EQ(list.grid->cell(0, int(list.items.indexOf(QLatin1String(c.field)))), QLatin1String(c.shown));
}

INSTANTIATE_TEST_SUITE_P(Formats, JournalPanelCell, testing::ValuesIn(CellCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The list's columns, the painter's fields and the headings come from one table: every field is a
// field of the journal and ends within the heading slots, and every slot has its heading.
TEST(JournalPanels, LayoutNamesJournalFieldsWithinTheHeadingSlots) {
    test::TestProgram program(Chart);
    views::T_Journal& journal = program.app().journal();
    EXPECT_EQ(journal.control("Buchungsliste").items, views::journalPanelColumns());
    const auto slots = views::journalPanelSlots();
    double widths = 0;
    for (const views::JournalPanelSlot& slot : slots) {
        EXPECT_TRUE(journal.hasControl(slot.heading.toString())) << slot.heading.toString().toStdString();
        widths += slot.width;
    }
    EXPECT_NEAR(widths, 1.0, 1e-9);
    for (const views::JournalPanelField& field : views::journalPanelFields()) {
        SCOPED_TRACE(field.field.toString().toStdString());
        EXPECT_NO_THROW(journal.lines().fieldIndex(field.field.toString()));
        EXPECT_TRUE(field.row >= 0 && field.row < 3);
        EXPECT_TRUE(field.slot >= 0 && field.span >= 1 && field.slot + field.span <= qsizetype(slots.size()));
    }
}

TEST(JournalPanels, HighlightsTheCurrentLineAndMovesWithARowPress) {
    test::TestProgram program(Chart + QStringList{"zeile = Bnr=1 Buchtext=eins",
                                                  "zeile = Bnr=2 Buchtext=zwei", "zeile ~ Buchtext=drei"});
    views::T_Journal& journal = program.app().journal();
    forms::GridSource& panels = *journal.control("Buchungsliste").grid;
    ASSERT_EQ(panels.rowCount(), 3);
    panels.setCurrentRow(0);
    EXPECT_EQ(journal.lines().asText("Buchtext"), "eins");
    EXPECT_EQ(panels.rowColor(0), forms::Color::Yellow);
    EXPECT_EQ(panels.rowColor(1), forms::Color::Default);
    // Reading another row for display leaves the window's line where it is.
    EXPECT_EQ(panels.cell(2, int(journal.control("Buchungsliste").items.indexOf("Bnr"))), "");
    EXPECT_EQ(panels.currentRow(), 0);
}

namespace {

// Posted lines 1, 2 and 17, an undone line that kept its number 18, and an appended line without one.
const QStringList ModeBooks =
    Chart + QStringList{
                "zeile # Bnr=1 SollKnt=2800 HabenKnt=4000 SollBetrag=1,00 HabenBetrag=1,00",
                "zeile = Bnr=2 SollKnt=2800 HabenKnt=4000 SollBetrag=2,00 HabenBetrag=2,00",
                "zeile = Bnr=17 SollKnt=2800 HabenKnt=4000 SollBetrag=3,00 HabenBetrag=3,00",
                "zeile ~ Bnr=18 SollKnt=2800 HabenKnt=4000 SollBetrag=4,00",
                "zeile - SollKnt=2800",
            };

struct ModeCase {
    const char* name;
    int mode;
    QStringList numbers;
};

const ModeCase ModeCases[] = {
    {"WholeJournalIsThePostedLines", 0, {"1", "2", "17"}},
    {"UnprotectedOnly", 1, {"2", "17"}},
    {"PreparedOnly", 2, {"18"}},
    {"FromSeventeenWhateverTheMark", 17, {"17", "18"}},
    {"BeyondTheLastNumber", 19, {}},
};

class JournalPrintMode : public testing::TestWithParam<ModeCase> {};

} // namespace

TEST_P(JournalPrintMode, PrintsItsLinesAndResetsTheMode) {
    test::TestProgram program(ModeBooks);
    views::T_Journal& journal = program.app().journal();
    journal.printJournal(GetParam().mode);
    ASSERT_EQ(program.ui().printed().size(), 1u);
    EXPECT_EQ(printedNumbers(program.ui().printed().front()), GetParam().numbers);
    EXPECT_EQ(journal.control("B_DruckJournal").tag, 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, JournalPrintMode, testing::ValuesIn(ModeCases),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

struct AnswerCase {
    const char* name;
    std::optional<QString> answer;
    bool prints;
    QStringList numbers;
};

const AnswerCase AnswerCases[] = {
    {"TwoPrintsTheWholeJournal", "2", true, {"1", "2", "17"}},
    {"NegativePrintsTheWholeJournal", "-4", true, {"1", "2", "17"}},
    {"CancelKeepsTheProposalOne", std::nullopt, true, {"1", "2", "17"}},
    {"ThreeAndMoreIsTheFirstNumber", "17", true, {"17", "18"}},
    {"NoIntegerPrintsFrom9999", "abc", true, {}},
    {"ZeroPrintsNothing", "0", false, {}},
};

class JournalFromNumber : public testing::TestWithParam<AnswerCase> {};

} // namespace

TEST_P(JournalFromNumber, TakesTheAnswerAsMode) {
    test::TestProgram program(ModeBooks);
    program.ui().answerInput(GetParam().answer);
    program.app().journal().printJournalFromNumber();
    EXPECT_EQ(program.ui().shownTexts("input"), QStringList{"Journaldruck ab Buchungsnummer|bnr ?"});
    ASSERT_EQ(program.ui().printed().size(), GetParam().prints ? 1u : 0u);
    if (GetParam().prints) {
        EXPECT_EQ(printedNumbers(program.ui().printed().front()), GetParam().numbers);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, JournalFromNumber, testing::ValuesIn(AnswerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JournalPrint, BalanceCheckComparesPostedTotalsWithTheirVat) {
    struct Case {
        const char* name;
        QStringList lines;
        bool balanced;
    };
    const Case cases[] = {
        {"VatOnTheCreditSide",
         {"zeile = Bnr=1 SollKnt=2800 HabenKnt=4000 SollBetrag=1,00 HabenBetrag=0,90 UstHaben=0,10"},
         true},
        {"VatOnTheDebitSide",
         {"zeile = Bnr=1 SollKnt=7000 HabenKnt=2800 SollBetrag=0,90 HabenBetrag=1,00 UstSoll=0,10"},
         true},
        {"UnpostedLinesDoNotCount", {"zeile ~ SollKnt=2800 SollBetrag=5,00"}, true},
        {"PostedLineOutOfBalance",
         {"zeile = Bnr=1 SollKnt=2800 HabenKnt=4000 SollBetrag=1,00 HabenBetrag=0,90"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestProgram program(Chart + c.lines);
        FixedClock clock(QDateTime(QDate(2026, 12, 10), QTime(14, 30, 5)));
        program.ui().clearShown(); // what the start showed about these small books
        program.app().journal().printJournal(0);
        const QStringList messages = program.ui().shownTexts("message");
        ASSERT_EQ(program.ui().printed().size(), 1u);
        const QString footer = program.ui().printed().front().lines.back().text;
        if (c.balanced) {
            EXPECT_TRUE(messages.isEmpty());
            EXPECT_EQ(footer, "Journal gedruckt am 10.12.2026 um 14:30:05 Saldoprüfung: OK");
        } else {
            EXPECT_EQ(messages,
                      QStringList{"Saldoprüfung FALSCH! Buchungen rückgängig machen und neu buchen."});
            EXPECT_EQ(footer, "Journal gedruckt am 10.12.2026 um 14:30:05 Saldoprüfung: FEHLER !!");
        }
    }
}

TEST(JournalPrint, IsALandscapeTitledReport) {
    test::TestProgram program(Chart + QStringList{"ini Mandant Name=Musterfirma"});
    program.app().journal().printJournal(0);
    ASSERT_EQ(program.ui().printed().size(), 1u);
    const forms::PrintJob& job = program.ui().printed().front();
    EXPECT_EQ(job.title, "Kontaro-Journal");
    EXPECT_EQ(job.orientation, forms::PrintJob::Orientation::Landscape);
    EXPECT_EQ((std::array{job.left, job.top, job.right, job.bottom}),
              (std::array{300, 300, 7016 - 100, 4960 - 300}));
    EXPECT_EQ(job.baseFont, "Courier New");
    EXPECT_EQ(job.basePointSize, 8);
    ASSERT_GE(job.lines.size(), 2u);
    EXPECT_EQ(job.lines[0].text, "Musterfirma   -   JOURNAL");
    EXPECT_EQ(job.lines[0].pointSize, 20);
    EXPECT_EQ(job.lines[1].pointSize, 0);
    EXPECT_EQ(job.lines[1].fontName, "Courier New");
}
