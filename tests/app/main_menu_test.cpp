#include "app/main_menu.h"
#include "support/test_program.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kontaro;
using app::Command;

TEST(MainMenu, EveryEntryIsFoundByItsCaptionWithAndWithoutTheMenu) {
    int commands = 0;
    for (const app::MenuEntry& entry : app::mainMenu()) {
        if (entry.separator || entry.command == Command::None)
            continue;
        ++commands;
        const QString caption = app::withoutAccessKey(entry.caption.isEmpty() ? entry.menu : entry.caption);
        const QString path =
            entry.caption.isEmpty() ? caption : app::withoutAccessKey(entry.menu) + "/" + caption;
        EXPECT_EQ(app::findMenuEntry(path), &entry) << path.toStdString();
        EXPECT_EQ(app::findMenuEntry(caption), &entry) << caption.toStdString();
    }
    EXPECT_EQ(commands,
              35); // with the VAT pre-return upload and the reprint of the VAT return beyond the classic menu
    EXPECT_EQ(app::findMenuEntry("Druck/Gibt es nicht"), nullptr);
}

TEST(MainMenu, AccessKeyMarkersAreLeftOut) {
    EXPECT_EQ(app::withoutAccessKey("Fensteranordnung &1 (Vorbesetzung) laden"),
              "Fensteranordnung 1 (Vorbesetzung) laden");
    EXPECT_EQ(app::withoutAccessKey("Ü&berlappend"), "Überlappend");
    EXPECT_EQ(app::withoutAccessKey("A && B"), "A & B");
}

// Every command runs to its end without an error box: built ones do their work, the others say
// plainly that they are not there yet.
TEST(MainMenu, EveryCommandRunsWithoutAnError) {
    test::TestProgram program({"konto 2800 B \"Bank\""});
    program.ui().setCancelUnanswered(true);
    for (const app::MenuEntry& entry : app::mainMenu()) {
        if (entry.command == Command::None || entry.command == Command::Beenden)
            continue;
        program.app().command(entry.command);
        EXPECT_TRUE(program.ui().shownTexts("error").isEmpty())
            << app::withoutAccessKey(entry.caption).toStdString() << ": "
            << program.ui().shownTexts("error").join(" | ").toStdString();
        program.ui().clearShown();
    }
    EXPECT_TRUE(program.app().isRunning());
}

// The documentation opens when it is there; when no program opens it, the message names it.
TEST(MainMenu, TheDocumentationOpensWhenItIsThere) {
    QTemporaryDir programDirectory;
    QFile pdf(programDirectory.filePath("KtDoku.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
    pdf.close();
    const QString path = programDirectory.path() + "/";
    test::TestProgram program({"ini Einstellungen Programmpfad=" + path});
    for (const bool opens : {true, false}) {
        program.ui().clearShown();
        program.ui().setShellOpenResult(opens);
        program.app().command(Command::Dokumentation);
        EXPECT_EQ(program.ui().shownTexts("open"), QStringList{"open " + path + "KtDoku.pdf"});
        EXPECT_EQ(program.ui().shownTexts("message"),
                  opens ? QStringList()
                        : QStringList{"Vermutlich \"" + path + "KtDoku.pdf\" nicht vorhanden."});
    }
}
