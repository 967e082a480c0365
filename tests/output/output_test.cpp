#include "base/text_file.h"
#include "output/line_list.h"
#include "output/page_buffer.h"
#include "output/page_setup.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kontaro;
using namespace kontaro::output;

TEST(PageSetup, MarginsAt600DpiOnA4) {
    const PrinterPage portrait{600, 600, 4960, 7016};
    EXPECT_EQ(portraitRect(portrait), (PageRect{300, 300, 4960 - 150, 7016 - 400}));
    const PrinterPage landscape{600, 600, 7016, 4960};
    EXPECT_EQ(landscapeRect(landscape), (PageRect{300, 300, 7016 - 100, 4960 - 300}));
    // Integer division truncates: 2/3 inch of 300 dpi is 200, of 96 dpi 64, of 100 dpi 66.
    EXPECT_EQ(portraitRect({100, 100, 1000, 1000}).bottom, 1000 - 66);
    EXPECT_EQ(pixelsToTwips(300, 600), 720);
}

TEST(LineList, SortedListInsertsAndFindsIgnoringCase) {
    LineList gru(true);
    gru.add("E21E");
    gru.add("a10x");
    gru.add("B30Z");
    gru.add("A10X");
    EXPECT_EQ(gru.lines(), QStringList({"a10x", "A10X", "B30Z", "E21E"}));
    EXPECT_EQ(gru.indexOf("b30z"), 2);
    EXPECT_EQ(gru.indexOf("C"), -1);
    gru.removeAt(0);
    EXPECT_EQ(gru.count(), 3);
}

TEST(LineList, SavedFileHasCrLfAfterEveryLineInWindows1252AndLoadsBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("kontoplan.csv");
    LineList list;
    list.add("2800;Bank;Überweisung");
    list.add("");
    list.save(path);
    EXPECT_EQ(text::readFile(path), QByteArray("2800;Bank;\xDC"
                                               "berweisung\r\n\r\n"));
    LineList again;
    again.load(path);
    EXPECT_EQ(again.lines(), list.lines());

    LineList empty;
    empty.save(path);
    EXPECT_TRUE(text::readFile(path).isEmpty());
}

TEST(PageBuffer, TitledReportHasATwentyPointTitleThenTheBodyAtBaseSize) {
    PageBuffer re("Courier New", 8);
    re.add("alt");
    re.beginTitledReport("", "   -   KONTOPLAN");
    re.add("Knr   Name");
    re.setBold(true);
    re.add("Summe");
    const forms::PrintJob job = re.job("Kontaro-Kontoplan", forms::PrintJob::Orientation::Portrait);
    ASSERT_EQ(job.lines.size(), 3u);
    EXPECT_EQ(job.lines[0].text, "   -   KONTOPLAN"); // an empty client name leaves the suffix first
    EXPECT_EQ(job.lines[0].pointSize, 20);
    EXPECT_EQ(job.lines[1].pointSize, 0);
    EXPECT_EQ(job.lines[1].fontName, "Courier New");
    EXPECT_FALSE(job.lines[1].bold);
    EXPECT_TRUE(job.lines[2].bold);
    EXPECT_EQ(job.title, "Kontaro-Kontoplan");
    EXPECT_EQ(job.basePointSize, 8);
}

TEST(PageBuffer, PlainBufferKeepsOneFormatForAllLines) {
    PageBuffer ag2("Courier New", 9, false);
    ag2.setSize(20);
    ag2.setBold(true);
    ag2.add("Zeile");
    EXPECT_EQ(ag2.job("x", forms::PrintJob::Orientation::Portrait).lines[0].pointSize, 0);
    EXPECT_FALSE(ag2.job("x", forms::PrintJob::Orientation::Portrait).lines[0].bold);
    EXPECT_EQ(ag2.text(), "Zeile");
}
