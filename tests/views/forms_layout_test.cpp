#include "posting/t_buchen.h"
#include "support/test_program.h"
#include "views/t_journal.h"
#include "views/t_konto.h"
#include "views/t_kontoplan.h"
#include "years/t_alt.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace kontaro;
using forms::ControlKind;
using forms::WindowState;

namespace {

struct WindowCase {
    const char* testName;
    QString componentName;
    QString caption;
    int helpContext;
};

const WindowCase Windows[] = {
    {"Vorjahre", "_alt", "Vorjahre", 0},     {"Journal", "_Journal", "Journal", 4},
    {"Hauptbuch", "_Konto", "Hauptbuch", 5}, {"Kontoplan", "_Kontoplan", "Kontoplan", 3},
    {"Buchen", "_Buchen", "BUCHEN", 6},
};

class WindowLayout : public testing::TestWithParam<WindowCase> {};

} // namespace

TEST_P(WindowLayout, HasItsNameCaptionAndHelp) {
    test::TestProgram program;
    const WindowCase& c = GetParam();
    forms::Form* form = program.app().child(c.componentName);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->caption, c.caption);
    EXPECT_EQ(form->helpContext, c.helpContext);
}

// A parent must be a control that can hold others, or the control would never be usable.
TEST_P(WindowLayout, EveryParentIsAContainerOfTheSameWindow) {
    test::TestProgram program;
    forms::Form* form = program.app().child(GetParam().componentName);
    for (const forms::Control* c : form->controls()) {
        if (c->parent.isEmpty())
            continue;
        ASSERT_TRUE(form->hasControl(c->parent)) << c->name().toStdString();
        const ControlKind kind = form->control(c->parent).kind();
        EXPECT_TRUE(kind == ControlKind::Panel || kind == ControlKind::Grid || kind == ControlKind::Chart)
            << c->name().toStdString() << " in " << c->parent.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(AllWindows, WindowLayout, testing::ValuesIn(Windows),
                         [](const testing::TestParamInfo<WindowCase>& info) { return info.param.testName; });

// The posting window reads a row dropped from the ledger grid by column position.
TEST(KontoLayout, LedgerGridColumnsInTheOrderThePostingWindowReads) {
    test::TestProgram program;
    views::T_Konto& konto = program.app().konto();
    EXPECT_EQ(konto.control("Hauptbuchzeilen").items,
              QStringList({"SollBetrag", "HabenBetrag", "GKnt", "Buchtext", "Datum", "Beleg", "Anr", "Kz",
                           "Saldo", "Bnr"}));
    EXPECT_FALSE(konto.control("fixeKontowahl").checked);
    EXPECT_TRUE(konto.isUsable("Saldo"));
}

TEST(KontoLayout, HiddenCommandsExistButCannotBeClicked) {
    test::TestProgram program;
    views::T_Konto& konto = program.app().konto();
    views::T_Kontoplan& plan = program.app().kontoplan();
    EXPECT_THROW(konto.click("up_kontodruck"), forms::FormError);
    EXPECT_THROW(konto.click("B_pruefe"), forms::FormError);
    EXPECT_THROW(plan.click("up_Gruppensummen"), forms::FormError);
}

TEST(KontoplanLayout, SaveAndCancelWaitForAnEditAndSearchWordIsUpperCase) {
    // A journal with a current line: an empty one would start the books afresh and clear the word.
    test::TestProgram program({"zeile ~ Datum=02.01.2026"});
    views::T_Kontoplan& plan = program.app().kontoplan();
    EXPECT_EQ(plan.control("B_ok").caption, "&OK");
    EXPECT_FALSE(plan.isUsable("B_ok"));
    EXPECT_FALSE(plan.isUsable("B_esc"));
    EXPECT_TRUE(plan.isUsable("B_edit"));
    EXPECT_EQ(plan.control("B_loeschen").caption, "Knt&Löschen");

    EXPECT_EQ(plan.control("Suchwort").text(), "SUCHWORT");
    plan.type("Suchwort", "bank");
    EXPECT_EQ(plan.control("Suchwort").text(), "BANK");
    EXPECT_EQ(views::T_Kontoplan::typAuswahl().join(QString()), "BKUAEX:bkuaex");
}

TEST(JournalLayout, PanelListIsReadOnlyAndItsMenuEntrySelectsAccounts) {
    test::TestProgram program;
    views::T_Journal& journal = program.app().journal();
    EXPECT_TRUE(journal.control("Buchungsliste").readOnly);
    const forms::Control& entry = journal.control("UpdateKonto");
    EXPECT_EQ(entry.kind(), ControlKind::MenuItem);
    EXPECT_EQ(entry.caption, "Update Soll/Haben Konto im Hauptbuch/Kontoplan");
    EXPECT_FALSE(entry.takesFocus);
    journal.type("SucheText", "miete");
    EXPECT_EQ(journal.control("SucheText").text(), "MIETE");
}
