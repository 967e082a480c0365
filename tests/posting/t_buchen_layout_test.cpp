#include "posting/t_buchen.h"
#include "support/test_program.h"

#include <gtest/gtest.h>

using namespace kontaro;
using forms::Color;
using forms::ControlKind;

namespace {

class BuchenLayout : public testing::Test {
protected:
    test::TestProgram program;
    posting::T_Buchen& form = program.app().buchen();
};

} // namespace

TEST_F(BuchenLayout, MessageLineStartsAsGreyInformationAndCannotBeTyped) {
    const forms::Control& meldung = form.control("meldung");
    EXPECT_EQ(meldung.text(), "_");
    EXPECT_EQ(meldung.color, Color::Silver);
    EXPECT_EQ(meldung.fontColor, Color::Green);
    EXPECT_EQ(meldung.hint, "Meldungszeile");
    EXPECT_THROW(form.type("meldung", "F: x"), forms::FormError);
}

TEST_F(BuchenLayout, AccountFieldsAreCyanLookupsWithTheirHelp) {
    for (const char* name : {"SollKnt", "HabenKnt"}) {
        const forms::Control& c = form.control(name);
        EXPECT_EQ(c.kind(), ControlKind::DropDown) << name;
        EXPECT_EQ(c.color, Color::Cyan) << name;
        EXPECT_EQ(c.helpContext, 702) << name;
    }
    EXPECT_EQ(form.control("SollKnt").hint, "|SOLL Konto empfängt Geld oder Güter (BLANK=Namenssuche)");
    EXPECT_EQ(form.control("HabenKnt").hint, "|HABEN Konto gibt Geld oder Güter (BLANK=Namenssuche)");
    EXPECT_EQ(form.control("Datum").helpContext, 710);
    EXPECT_EQ(form.control("Ok").helpContext, 712);
    EXPECT_TRUE(form.control("Ok").readOnly);
}

TEST_F(BuchenLayout, CommandsKeepTheirAccessKeysAndHints) {
    EXPECT_EQ(form.control("JournalPlus").caption, "&Dn");
    EXPECT_EQ(form.control("JournalPlus").hint, "ok|Buchungen in das Hauptbuch übertragen.");
    EXPECT_EQ(form.control("JournalMinus").caption, "&Up");
    EXPECT_EQ(form.control("KontoWechsel").caption, "&T");
    EXPECT_EQ(form.control("KontoWechsel").hint, "SOLL  und  HABEN wird vertauscht. (Alt+T) ");
    EXPECT_EQ(form.control("L_beleg").hint,
              "Beleg anzeigen (muss unter .\\Belege\\BELEGNUMMER . JPG  .SXW  .SXC  .DOC  .XLS   oder  .TXT  "
              "abgelegt sein)");
    EXPECT_TRUE(form.isUsable("B_ust"));
}

TEST_F(BuchenLayout, VoucherKeepsEightCharacters) {
    form.type("Beleg", "rechnung2");
    EXPECT_EQ(form.control("Beleg").text(), "rechnung");
}

// Everything lies in the scroll area, so hiding it would hide the whole window's content.
TEST_F(BuchenLayout, ControlsLieInTheScrollArea) {
    form.control("Scrollbereich").visible = false;
    EXPECT_FALSE(form.isUsable("SollBetrag"));
    EXPECT_FALSE(form.isUsable("JournalPlus"));
}

// A button or clickable label without a handler would do nothing when pressed.
TEST_F(BuchenLayout, EveryButtonHasACommand) {
    for (const forms::Control* c : form.controls()) {
        if (c->kind() == ControlKind::Button) {
            EXPECT_TRUE(bool(c->onClick)) << c->name().toStdString();
        }
    }
    EXPECT_TRUE(bool(form.control("L_beleg").onClick));
    EXPECT_TRUE(bool(form.control("Scrollbereich").onDoubleClick));
}
