#include "forms/scripted_ui.h"
#include "posting/t_buchen.h"
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
    std::function<std::unique_ptr<forms::Form>(forms::Ui&)> make;
    QString componentName;
    QString caption;
    int helpContext;
    WindowState state;
};

template <class T> std::unique_ptr<forms::Form> make(forms::Ui& ui) {
    return std::make_unique<T>(ui);
}

const WindowCase Windows[] = {
    {"Vorjahre", make<years::T_alt>, "_alt", "Vorjahre", 0, WindowState::Normal},
    {"Journal", make<views::T_Journal>, "_Journal", "Journal", 4, WindowState::Minimized},
    {"Hauptbuch", make<views::T_Konto>, "_Konto", "Hauptbuch", 5, WindowState::Minimized},
    {"Kontoplan", make<views::T_Kontoplan>, "_Kontoplan", "Kontoplan", 3, WindowState::Minimized},
    {"Buchen", make<posting::T_Buchen>, "_Buchen", "BUCHEN", 6, WindowState::Normal},
};

class WindowLayout : public testing::TestWithParam<WindowCase> {};

} // namespace

TEST_P(WindowLayout, StartsWithItsNameCaptionHelpAndState) {
    forms::ScriptedUi ui;
    const WindowCase& c = GetParam();
    auto form = c.make(ui);
    EXPECT_EQ(form->componentName(), c.componentName);
    EXPECT_EQ(form->caption, c.caption);
    EXPECT_EQ(form->helpContext, c.helpContext);
    EXPECT_EQ(form->windowState, c.state);
}

// A parent must be a control that can hold others, or the control would never be usable.
TEST_P(WindowLayout, EveryParentIsAContainerOfTheSameWindow) {
    forms::ScriptedUi ui;
    auto form = GetParam().make(ui);
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
    forms::ScriptedUi ui;
    views::T_Konto konto(ui);
    EXPECT_EQ(konto.control("Hauptbuchzeilen").items,
              QStringList({"SollBetrag", "HabenBetrag", "GKnt", "Buchtext", "Datum", "Beleg", "Anr", "Kz",
                           "Saldo", "Bnr"}));
    EXPECT_FALSE(konto.control("fixeKontowahl").checked);
    EXPECT_TRUE(konto.isUsable("Saldo"));
}

TEST(KontoLayout, HiddenCommandsExistButCannotBeClicked) {
    forms::ScriptedUi ui;
    views::T_Konto konto(ui);
    views::T_Kontoplan plan(ui);
    EXPECT_THROW(konto.click("up_kontodruck"), forms::FormError);
    EXPECT_THROW(konto.click("B_pruefe"), forms::FormError);
    EXPECT_THROW(plan.click("up_Gruppensummen"), forms::FormError);
}

TEST(KontoplanLayout, SaveAndCancelWaitForAnEditAndSearchWordIsUpperCase) {
    forms::ScriptedUi ui;
    views::T_Kontoplan plan(ui);
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
    forms::ScriptedUi ui;
    views::T_Journal journal(ui);
    EXPECT_TRUE(journal.control("Buchungsliste").readOnly);
    const forms::Control& entry = journal.control("UpdateKonto");
    EXPECT_EQ(entry.kind(), ControlKind::MenuItem);
    EXPECT_EQ(entry.caption, "Update Soll/Haben Konto im Hauptbuch/Kontoplan");
    EXPECT_FALSE(entry.takesFocus);
    journal.type("SucheText", "miete");
    EXPECT_EQ(journal.control("SucheText").text(), "MIETE");
}
