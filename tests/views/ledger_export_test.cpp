#include "app/main_menu.h"
#include "base/format_settings.h"
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
