#include "base/errors.h"
#include "base/text_file.h"
#include "qstring_printer.h"
#include "support/nearly_full_disk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace text = kontaro::text;

namespace {

class TextFileTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    QByteArray written(const QStringList& lines) const {
        text::writeLines(path("out.txt"), lines);
        return text::readFile(path("out.txt"));
    }

    QStringList readBack(const QByteArray& bytes) const {
        text::writeFile(path("in.txt"), bytes);
        return text::readLines(path("in.txt"));
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(TextFileTest, WritesUmlautsAndEuroInWindows1252AndReadsThemBack) {
    const QString umlauts = QStringLiteral("ÄÖÜäöüß€");
    EXPECT_EQ(written({umlauts}), QByteArray("\xC4\xD6\xDC\xE4\xF6\xFC\xDF\x80\r\n"));
    EXPECT_EQ(text::readLines(path("out.txt")), QStringList{umlauts});
}

TEST_F(TextFileTest, UnmappableCharacterBecomesOneQuestionMark) {
    // An arrow (one UTF-16 unit) and an emoji (a surrogate pair) each turn into a single "?", and
    // so does half a surrogate pair.
    EXPECT_EQ(written({QStringLiteral("a→b😀c")}), QByteArray("a?b?c\r\n"));
    const QChar half[] = {QLatin1Char('d'), QChar(0xD83D), QLatin1Char('e')};
    EXPECT_EQ(written({QString(half, 3)}), QByteArray("d?e\r\n"));
    // Latin-1 letters keep their byte, also after an unmappable character.
    EXPECT_EQ(written({QStringLiteral("→\u00A0\u00BD\u00FF€"), QStringLiteral("ä")}),
              QByteArray("?\xA0\xBD\xFF\x80\r\n\xE4\r\n"));
}

TEST_F(TextFileTest, EveryLineEndsWithCrLfAndThereIsNoByteOrderMark) {
    EXPECT_EQ(written({QStringLiteral("Soll"), QString(), QStringLiteral("Haben")}),
              QByteArray("Soll\r\n\r\nHaben\r\n"));
    EXPECT_EQ(written({QString()}), QByteArray("\r\n"));
    EXPECT_EQ(written({}), QByteArray());
    // Rewriting replaces the file instead of appending.
    EXPECT_EQ(written({QStringLiteral("x")}), QByteArray("x\r\n"));
}

TEST_F(TextFileTest, ReadsUtf8WithAndWithoutBomUtf16WithBomAndFallsBackToWindows1252) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList lines;
    };
    const QString gruss = QStringLiteral("Grüße €");
    const Case cases[] = {
        {"UTF-8 with BOM",
         QByteArray("\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"
                    "e \xE2\x82\xAC\r\nx\r\n"),
         {gruss, QStringLiteral("x")}},
        {"UTF-8 without BOM",
         QByteArray("Gr\xC3\xBC\xC3\x9F"
                    "e \xE2\x82\xAC\r\nx"),
         {gruss, QStringLiteral("x")}},
        {"Windows-1252",
         QByteArray("Gr\xFC\xDF"
                    "e \x80\r\nx\r\n"),
         {gruss, QStringLiteral("x")}},
        // Saved from an editor as "Unicode": read as such, or the next save writes it back as garbage.
        {"UTF-16 little-endian with BOM",
         QByteArray("\xFF\xFEG\0r\0\xFC\0\xDF\0e\0 \0\xAC\x20\r\0\n\0x\0\r\0\n\0", 26),
         {gruss, QStringLiteral("x")}},
        {"UTF-16 big-endian with BOM",
         QByteArray("\xFE\xFF\0G\0r\0\xFC\0\xDF\0e\0 \x20\xAC\0\r\0\n\0x", 22),
         {gruss, QStringLiteral("x")}},
        {"LF and CR line breaks",
         QByteArray("a\nb\rc\n"),
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {"empty lines kept", QByteArray("a\r\n\r\n\r\n"), {QStringLiteral("a"), QString(), QString()}},
        {"empty file", QByteArray(), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readBack(c.bytes), c.lines) << c.name;
}

TEST_F(TextFileTest, MissingFileThrowsFileErrorNamingTheFile) {
    try {
        text::readLines(path("fehlt.txt"));
        FAIL() << "no FileError";
    } catch (const kontaro::FileError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("fehlt.txt"))) << error.what();
    }
}

TEST_F(TextFileTest, WritingIntoMissingDirectoryThrowsFileError) {
    EXPECT_THROW(text::writeLines(path("nicht-da/x.txt"), {QStringLiteral("x")}), kontaro::FileError);
}

using kontaro::test::NearlyFullDisk;

// A full disk must neither report success nor leave an emptied file behind; the old file stays.
TEST_F(TextFileTest, FullDiskKeepsTheOldFileAndSaysSo) {
    const QByteArray old("[Datum]\r\nGeschuetzt=31.12.2025\r\n");
    text::writeFile(path("Kontaro.Ini"), old);
    const QByteArray bigger = old + QByteArray(200, 'x');
    for (const char* name : {"Kontaro.Ini", "neu.txt"}) {
        try {
            NearlyFullDisk disk(64);
            text::writeFile(path(name), bigger);
            ADD_FAILURE() << name << ": no FileError";
        } catch (const kontaro::FileError& error) {
            EXPECT_EQ(
                error.message(),
                QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: der Datenträger ist voll.")
                    .arg(QString::fromUtf8(name)));
        }
    }
    EXPECT_EQ(text::readFile(path("Kontaro.Ini")), old);
    // No temporary file and no half-made new file stay behind.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Kontaro.Ini")});
}

TEST_F(TextFileTest, RewritingKeepsTheFileModeAndFollowsALink) {
    text::writeFile(path("a.txt"), "1");
    ::chmod(QFile::encodeName(path("a.txt")).constData(), 0604);
    QFile::link(path("a.txt"), path("link.txt"));
    text::writeFile(path("link.txt"), "2");
    EXPECT_EQ(text::readFile(path("a.txt")), QByteArray("2"));
    EXPECT_TRUE(QFileInfo(path("link.txt")).isSymLink());
    struct stat status {};
    ::stat(QFile::encodeName(path("a.txt")).constData(), &status);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
}
