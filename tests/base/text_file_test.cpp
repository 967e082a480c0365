#include "base/errors.h"
#include "base/text_file.h"
#include "qstring_printer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    // An arrow (one UTF-16 unit) and an emoji (a surrogate pair) each turn into a single "?".
    EXPECT_EQ(written({QStringLiteral("a→b😀c")}), QByteArray("a?b?c\r\n"));
}

TEST_F(TextFileTest, EveryLineEndsWithCrLfAndThereIsNoByteOrderMark) {
    EXPECT_EQ(written({QStringLiteral("Soll"), QString(), QStringLiteral("Haben")}),
              QByteArray("Soll\r\n\r\nHaben\r\n"));
    EXPECT_EQ(written({QString()}), QByteArray("\r\n"));
    EXPECT_EQ(written({}), QByteArray());
    // Rewriting replaces the file instead of appending.
    EXPECT_EQ(written({QStringLiteral("x")}), QByteArray("x\r\n"));
}

TEST_F(TextFileTest, ReadsUtf8WithAndWithoutBomAndFallsBackToWindows1252) {
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
