#include "app/main_menu.h"
#include "base/format_settings.h"
#include "base/money.h"
#include "base/text_file.h"
#include "data/cursor.h"
#include "support/test_program.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace kontaro;

// A konten.csv that cannot be written ends the export with the error box and without the closing
// message, and the user's decimal separator comes back all the same.
TEST(LedgerExport, WriteErrorRestoresTheDecimalSeparatorAndSaysNothingOfSuccess) {
    test::TestProgram program({"konto 2800 B \"Bank\"", "zeile ~ Datum=02.01.2026"});
    ASSERT_TRUE(QDir(program.directory()).mkdir(QStringLiteral("konten.csv")));
    const FormatSettingsGuard restoreAfterTest(QLatin1Char('.'));
    program.ui().clearShown();

    program.app().command(app::Command::HauptbuchExport);

    EXPECT_EQ(FormatSettings::current().decimalSeparator, QLatin1Char('.'));
    const QStringList errors = program.ui().shownTexts(QStringLiteral("error"));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.front().contains(QStringLiteral("konten.csv"))) << errors.front().toStdString();
    EXPECT_TRUE(program.ui().shownTexts(QStringLiteral("message")).isEmpty());
}

namespace {

struct GuardedText {
    QString stored;
    QString written;
};

} // namespace

// Texts a spreadsheet would misread are made plain in the file: a leading quote or a tab or line
// break quotes the field (inner quotes doubled), a leading =, +, - or @ gets an apostrophe. Every
// other text, and the numbers, are written as they are.
TEST(LedgerExport, TextsThatASpreadsheetWouldMisreadAreMadePlain) {
    const QList<GuardedText> cases = {
        {"\"Zitat\" am Anfang", "\"\"\"Zitat\"\" am Anfang\""},
        {"=SUMME(A1:A9)", "'=SUMME(A1:A9)"},
        {"+43 664 1234", "'+43 664 1234"},
        {"-5 Rabatt", "'-5 Rabatt"},
        {"@Verweis", "'@Verweis"},
        {"mit\tTabulator", "\"mit\tTabulator\""},
        {"zwei\r\nZeilen", "\"zwei\r\nZeilen\""},
        {"nur\nLF", "\"nur\nLF\""},
        {"=A1\t\"B\"", "\"'=A1\t\"\"B\"\"\""},
        {"Mitte \"zitiert\" = gut", "Mitte \"zitiert\" = gut"},
        {"", ""},
    };
    test::TestProgram program(
        {"konto 2800 B \"Bank\"", "konto -1 U Name=\"=Gegenkonto\"", "zeile ~ Datum=02.01.2026"});
    {
        data::Cursor ledger(program.app().session(), QStringLiteral("konten.DB"));
        ledger.open();
        for (qsizetype i = 0; i < cases.size(); ++i) {
            ledger.append();
            ledger.setText(QStringLiteral("Knr"), QStringLiteral("2800"));
            ledger.setText(QStringLiteral("GKnt"), QStringLiteral("-1"));
            ledger.setMoney(QStringLiteral("HabenBetrag"), Money::fromCents(5000));
            ledger.setText(QStringLiteral("Buchtext"), cases[i].stored);
            ledger.setText(QStringLiteral("Beleg"), QStringLiteral("-7"));
            ledger.setInteger(QStringLiteral("Anr"), 3);
            ledger.setInteger(QStringLiteral("Bnr"), i + 1);
            ledger.post();
        }
    }
    program.app().command(app::Command::HauptbuchExport);

    const QString file = text::decodeWindows1252(text::readFile(program.directory() + "/konten.csv"));
    // The chart part: the account number and the name that start like formulas.
    EXPECT_TRUE(file.contains("\r\n'-1\t\t           0,00\tU\t'=Gegenkonto\r\n")) << file.toStdString();
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const QString record = QStringLiteral("\r\n2800\t'-1\t         -50,00\t\t%1\t3\t'-7\t%2\r\n")
                                   .arg(cases[i].written)
                                   .arg(i + 1);
        EXPECT_TRUE(file.contains(record)) << cases[i].stored.toStdString();
    }
}
