#include "base/errors.h"
#include "data/cursor.h"
#include "data/settings.h"
#include "posting/t_buchen.h"
#include "support/test_program.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace kontaro;

namespace {

const QStringList Books = {
    "konto 2800 B \"Bank\"",
    "konto 7600 A \"Büromaterial\" UstP=0",
    "zeile = Bnr=1 SollKnt=2800 HabenKnt=7600 SollBetrag=1,00 HabenBetrag=1,00 Datum=02.03.2026",
    "hauptbuch Knr=2800 Bnr=1 GKnt=7600 SollBetrag=1,00 Saldo=1,00",
    "hauptbuch Knr=7600 Bnr=1 GKnt=2800 HabenBetrag=1,00 Saldo=-1,00",
    "zeile ~ SollKnt=2800 HabenKnt=7600 Datum=05.03.2026",
};

QString firstMark(test::TestProgram& program) {
    data::Cursor journal(program.app().session(), QStringLiteral("journal.DB"));
    journal.open();
    journal.first();
    return journal.asText(QStringLiteral("Ok"));
}

} // namespace

// Protecting writes the marks, the protection date in memory and the settings file; when the
// action fails afterwards, all three are as before it.
TEST(Rollback, AFailedActionTakesBackMarksProtectionDateAndTheSettingsFile) {
    test::TestProgram program(Books);
    posting::T_Buchen& buchen = program.app().buchen();
    const QDate protectedBefore = buchen.datumGesichert();
    const QDate fileBefore = Settings(program.directory()).geschuetzt();

    program.ui().answerQuestion(forms::Answer::Yes);
    program.app().run([&] {
        buchen.protect();
        ASSERT_EQ(firstMark(program), "#");
        throw UserError(QStringLiteral("Schreibfehler"));
    });

    EXPECT_EQ(program.ui().shownTexts("error"), QStringList{"Schreibfehler"});
    EXPECT_EQ(firstMark(program), "=");
    EXPECT_EQ(buchen.datumGesichert(), protectedBefore);
    EXPECT_EQ(Settings(program.directory()).geschuetzt(), fileBefore);

    // The same command without the failure writes all three.
    program.ui().answerQuestion(forms::Answer::Yes);
    program.app().run([&] { buchen.protect(); });
    EXPECT_EQ(firstMark(program), "#");
    EXPECT_EQ(buchen.datumGesichert(), QDate(2026, 3, 4));
    EXPECT_EQ(Settings(program.directory()).geschuetzt(), QDate(2026, 3, 4));
}

// A write outside the tables waits for the commit; outside an action it runs at once.
TEST(Rollback, WritesAfterCommitRunOnlyForCommittedActions) {
    test::TestProgram program(Books);
    int written = 0;
    program.app().run([&] {
        program.app().afterCommit([&] { ++written; });
        EXPECT_EQ(written, 0);
        throw UserError(QStringLiteral("x"));
    });
    EXPECT_EQ(written, 0);
    program.app().run([&] { program.app().afterCommit([&] { ++written; }); });
    EXPECT_EQ(written, 1);
    program.app().afterCommit([&] { ++written; });
    EXPECT_EQ(written, 2);
}

// The VAT return files belong to the closing lines: a closing that does not reach its commit
// leaves neither lines nor files; the same closing committed writes both files.
TEST(Rollback, AVatClosingThatIsRolledBackLeavesNoReturnFiles) {
    test::TestProgram program({
        "ini UstKonten UST20=",
        "ini UstAbrechnungskonten Zahllast=3520",
        "ini UstAbrechnungskonten Ueberschuss=3530",
        "ini UstAbrechnungskonten FiamVerrechnung=3540",
        "konto 2800 B \"Bank\"",
        "konto 3520 U \"Zahllast\"",
        "konto 3530 U \"Vorsteuerüberschuss\"",
        "konto 3540 U \"Finanzamt Verrechnung\"",
        "konto UST20 U \"Umsatzsteuer 20 %\"",
        "zeile ~ SollKnt=2800 HabenKnt=2800 Datum=20.03.2026",
    });
    const auto answerClosing = [&] {
        program.ui().answerQuestion(forms::Answer::Ok);
        for (const char* answer : {"UVA", "1", "31.03.2026"})
            program.ui().answerInput(QString::fromUtf8(answer));
    };
    const auto journalRows = [&] {
        data::Cursor journal(program.app().session(), QStringLiteral("journal.DB"));
        journal.open();
        return journal.recordCount();
    };
    const QStringList files = {program.directory() + "/ustmeldung.txt",
                               program.directory() + "/ustmeldung3.txt"};

    answerClosing();
    program.app().run([&] {
        program.app().buchen().closeVat();
        throw UserError(QStringLiteral("Schreibfehler"));
    });
    EXPECT_EQ(program.ui().shownTexts("error"), QStringList{"Schreibfehler"});
    EXPECT_EQ(journalRows(), 1);
    for (const QString& file : files)
        EXPECT_FALSE(QFileInfo::exists(file)) << file.toStdString();

    answerClosing();
    program.app().run([&] { program.app().buchen().closeVat(); });
    EXPECT_EQ(journalRows(), 3);
    for (const QString& file : files)
        EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
}
