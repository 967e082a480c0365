#include "app/main_menu.h"
#include "app/t_kontaro.h"
#include "forms/form.h"
#include "forms/scripted_ui.h"
#include "support/test_program.h"

#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>

using namespace kontaro;

namespace {

const QStringList PostedLine = {
    "konto 2800 B \"Bank\" Saldo=100,00",
    "konto 4000 E \"Erlöse\" Gruppe=E0 Saldo=-100,00",
    "zeile = Bnr=1 SollKnt=2800 HabenKnt=4000 SollBetrag=100,00 HabenBetrag=100,00 SollSaldo2=100,00 "
    "HabenSaldo2=-100,00 Datum=02.01.2026",
    "hauptbuch Knr=2800 Bnr=1 GKnt=4000 SollBetrag=100,00 Saldo=100,00 Datum=02.01.2026",
};
const QString CreditLedgerLine =
    "hauptbuch Knr=4000 Bnr=1 GKnt=2800 HabenBetrag=100,00 Saldo=-100,00 Datum=02.01.2026";

QByteArray contentHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

struct ClosingCase {
    const char* name;
    QStringList books;
    // A refused entry before closing: a 40-character debit account.
    bool typeLongAccount = false;
};

class ClosingLeavesTheBooks : public testing::TestWithParam<ClosingCase> {};

} // namespace

// Closing with "Ja" runs the check, which writes no table: the chart and the ledger are byte for
// byte as before the program started, also on damaged books and after a refused entry.
TEST_P(ClosingLeavesTheBooks, ChartAndLedgerUnchanged) {
    const test::TestBooks books(GetParam().books);
    const QString chart = books.directory() + "/kntplan.DB";
    const QString ledger = books.directory() + "/konten.DB";
    const QByteArray chartBefore = contentHash(chart);
    const QByteArray ledgerBefore = contentHash(ledger);
    ASSERT_FALSE(chartBefore.isEmpty());

    {
        forms::ScriptedUi ui;
        app::T_Kontaro program(ui, books.directory());
        ASSERT_TRUE(program.start());
        if (GetParam().typeLongAccount) {
            forms::Form& buchen = *program.child("_Buchen");
            buchen.type("SollKnt", QString("1234567890").repeated(4));
            buchen.focus("HabenKnt");
        }
        ui.answerQuestion(forms::Answer::Yes);
        program.command(app::Command::Beenden);
        if (program.isRunning()) { // the check found an error: end without it
            ui.answerQuestion(forms::Answer::No);
            program.command(app::Command::Beenden);
        }
        EXPECT_FALSE(program.isRunning());
    }
    EXPECT_EQ(contentHash(chart), chartBefore);
    EXPECT_EQ(contentHash(ledger), ledgerBefore);
}

INSTANTIATE_TEST_SUITE_P(
    DamagedOrRefused, ClosingLeavesTheBooks,
    testing::Values(ClosingCase{"LedgerLineMissing", PostedLine + QStringList{"zeile ~ Datum=03.01.2026"}},
                    ClosingCase{"LongAccountRefused",
                                PostedLine + QStringList{CreditLedgerLine, "zeile ~ Datum=03.01.2026"}, true},
                    ClosingCase{"LastLineMarkedPostedByHand",
                                PostedLine +
                                    QStringList{CreditLedgerLine,
                                                "zeile = SollKnt=2800 HabenKnt=2800 Datum=03.01.2026"}}),
    [](const testing::TestParamInfo<ClosingCase>& info) { return std::string(info.param.name); });
