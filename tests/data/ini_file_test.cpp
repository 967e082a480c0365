#include "base/errors.h"
#include "base/qstring_printer.h"
#include "data/ini_file.h"
#include "data/ini_fixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using kontaro::FileError;
using kontaro::IniFile;

using kontaro::testing::s;

namespace {

class IniFileTest : public kontaro::testing::IniFixture {
protected:
    IniFile ini() const { return IniFile(path()); }
};

TEST_F(IniFileTest, MissingFileGivesDefaultsAndIsNotCreatedByReadsOrErase) {
    IniFile file = ini();
    EXPECT_EQ(file.readString(s("Mandant"), s("Name"), s("vorgabe")), s("vorgabe"));
    EXPECT_EQ(file.readInteger(s("DATEN"), s("BelegNR"), 17), 17);
    EXPECT_TRUE(file.readBool(s("DATUM"), s("StrengesDatum"), true));
    EXPECT_EQ(file.readDate(s("Datum"), s("Geschuetzt"), QDate(1899, 12, 31)), QDate(1899, 12, 31));
    EXPECT_TRUE(file.keys(s("UstKonten")).isEmpty());
    file.eraseSection(s("UstKonten"));
    EXPECT_FALSE(exists());
}

struct TypedCase {
    const char* name;
    const char* stored;
    bool boolWithDefaultFalse;
    bool boolWithDefaultTrue;
    int integerWithDefault99;
};

class TypedReadTest : public IniFileTest, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(TypedReadTest, ConvertsOrFallsBackToTheDefault) {
    const TypedCase& c = GetParam();
    putBytes(QByteArray("[S]\r\nk=") + c.stored + "\r\n");
    const IniFile file = ini();
    EXPECT_EQ(file.readBool(s("S"), s("k"), false), c.boolWithDefaultFalse);
    EXPECT_EQ(file.readBool(s("S"), s("k"), true), c.boolWithDefaultTrue);
    EXPECT_EQ(file.readInteger(s("S"), s("k"), 99), c.integerWithDefault99);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TypedReadTest,
    ::testing::Values(TypedCase{"one", "1", true, true, 1}, TypedCase{"zero", "0", false, false, 0},
                      TypedCase{"two", "2", true, true, 2}, TypedCase{"minusOne", "-1", true, true, -1},
                      TypedCase{"blanksAround", "  1  ", true, true, 1},
                      TypedCase{"yes", "yes", false, true, 99}, TypedCase{"empty", "", false, true, 99},
                      TypedCase{"trailingLetters", "1x", false, true, 99},
                      TypedCase{"decimal", "1,5", false, true, 99},
                      TypedCase{"tooLargeForInt", "99999999999", true, true, 99}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IniFileTest, DatesAreShortGermanTextAndUnparsableOnesGiveTheDefault) {
    putBytes(
        "[Datum]\r\nok=31.12.2011\r\nshort=1.2.2011\r\niso=2011-12-31\r\nnoDay=31.02.2011\r\nempty=\r\n");
    const IniFile file = ini();
    const QDate fallback(1899, 12, 31);
    EXPECT_EQ(file.readDate(s("Datum"), s("ok"), fallback), QDate(2011, 12, 31));
    EXPECT_EQ(file.readDate(s("Datum"), s("short"), fallback), QDate(2011, 2, 1));
    for (const char* key : {"iso", "noDay", "empty", "missing"})
        EXPECT_EQ(file.readDate(s("Datum"), s(key), fallback), fallback) << key;

    IniFile writable = ini();
    writable.writeDate(s("Datum"), s("Geschuetzt"), QDate(2011, 3, 5));
    EXPECT_TRUE(bytes().ends_with("Geschuetzt=05.03.2011\r\n"));
}

TEST_F(IniFileTest, SectionsAndKeysMatchWithoutRegardToCaseAndKeepTheirSpelling) {
    putBytes("[Daten]\r\nAnrNr=3\r\n[DATUM]\r\nStrengesDatum=0\r\n");
    IniFile file = ini();
    file.writeInteger(s("DATEN"), s("AnrNR"), 7);
    file.writeBool(s("Datum"), s("strengesdatum"), true);
    file.writeString(s("daten"), s("BelegTX"), s("B3"));
    EXPECT_EQ(bytes(), std::string("[Daten]\r\nAnrNr=7\r\nBelegTX=B3\r\n[DATUM]\r\nStrengesDatum=1\r\n"));
    EXPECT_EQ(file.readInteger(s("dAtEn"), s("anrnr"), 0), 7);
}

TEST_F(IniFileTest, WritesLeaveEveryOtherLineByteForByte) {
    const QByteArray before = "; Einstellungen von Hand\r\n"
                              "orphan=before any section\r\n"
                              "\r\n"
                              "[Unbekannt]\r\n"
                              "  Spaced  =  x = y  \r\n"
                              "bare line\r\n"
                              "; comment in section\r\n"
                              "[broken header\r\n"
                              "\r\n"
                              "[Mandant]\r\n"
                              "Name=Alt\r\n"
                              "\r\n"
                              "; introduces the next section\r\n"
                              "[Ende]\r\n"
                              "x=1\r\n";
    putBytes(before);
    IniFile file = ini();
    file.writeString(s("Mandant"), s("Name"), s("Neu"));
    file.writeString(s("mandant"), s("Zusatz"), s("z"));
    file.writeString(s("Neu"), s("k"), s("v"));
    QByteArray expected = before;
    expected.replace("Name=Alt\r\n", "Name=Neu\r\nZusatz=z\r\n");
    expected += "\r\n[Neu]\r\nk=v\r\n";
    EXPECT_EQ(bytes(), expected.toStdString());
}

TEST_F(IniFileTest, ParsingRules) {
    putBytes("orphan=0\r\n"
             "[S]\r\n"
             "  spaced  =  value with blanks  \r\n"
             "formula=a=b\r\n"
             "dup=first\r\n"
             "DUP=second\r\n"
             "bare\r\n"
             "; comment=no key\r\n"
             "=no key either\r\n"
             "[s]\r\n"
             "later=hidden by the first [S]\r\n");
    const IniFile file = ini();
    const QString fallback = s("default");
    EXPECT_EQ(file.readString(s("S"), s("spaced"), fallback), s("value with blanks"));
    EXPECT_EQ(file.readString(s("S"), s("formula"), fallback), s("a=b"));
    EXPECT_EQ(file.readString(s("S"), s("dup"), fallback), s("first"));
    EXPECT_EQ(file.readString(s("S"), s("bare"), fallback), QString());
    EXPECT_EQ(file.readString(s("S"), s("later"), fallback), fallback);
    EXPECT_EQ(file.readString(QString(), s("orphan"), fallback), fallback);
    EXPECT_EQ(file.keys(s("S")), (QStringList{s("spaced"), s("formula"), s("dup"), s("bare")}));
    EXPECT_EQ(file.entries(s("s")),
              (QStringList{s("spaced=value with blanks"), s("formula=a=b"), s("dup=first"), s("bare=")}));
}

TEST_F(IniFileTest, DuplicateKeyWriteChangesOnlyTheFirst) {
    putBytes("[S]\r\ndup=first\r\nDUP=second\r\n");
    IniFile file = ini();
    file.writeString(s("S"), s("Dup"), s("new"));
    EXPECT_EQ(bytes(), std::string("[S]\r\ndup=new\r\nDUP=second\r\n"));
}

TEST_F(IniFileTest, LineBreaksInAValueBecomeBlanks) {
    IniFile file = ini();
    file.writeString(s("S"), s("k"), s("zwei\r\nZeilen\ndrei"));
    EXPECT_EQ(bytes(), std::string("[S]\r\nk=zwei Zeilen drei\r\n"));
}

TEST_F(IniFileTest, EraseSectionRemovesEveryOccurrenceAndNothingElse) {
    putBytes("[A]\r\na=1\r\n[UstKonten]\r\n4500=\r\n; note\r\n[B]\r\nb=2\r\n[ustkonten]\r\n4510=\r\n");
    IniFile file = ini();
    file.eraseSection(s("USTKONTEN"));
    EXPECT_EQ(bytes(), std::string("[A]\r\na=1\r\n[B]\r\nb=2\r\n"));
    file.writeString(s("UstKonten"), s("4520"), QString());
    EXPECT_EQ(bytes(), std::string("[A]\r\na=1\r\n[B]\r\nb=2\r\n\r\n[UstKonten]\r\n4520=\r\n"));
}

TEST_F(IniFileTest, FirstWriteCreatesTheFileInWindows1252WithCrLf) {
    IniFile file = ini();
    file.writeString(s("Mandant"), s("Name"), s("Österreich"));
    file.writeBool(s("Einstellungen"), s("Autoinsert"), false);
    EXPECT_EQ(fileNames(), QStringList{s("Kontaro.Ini")});
    EXPECT_EQ(bytes(),
              std::string("[Mandant]\r\nName=\xD6sterreich\r\n\r\n[Einstellungen]\r\nAutoinsert=0\r\n"));
    EXPECT_EQ(file.readString(s("Mandant"), s("Name")), s("Österreich"));
}

TEST_F(IniFileTest, ReadsUtf8AndRewritesItAsWindows1252) {
    putBytes("[Mandant]\nName=Österreich\n");
    IniFile file = ini();
    EXPECT_EQ(file.readString(s("Mandant"), s("Name")), s("Österreich"));
    file.writeString(s("Mandant"), s("Ort"), s("Graz"));
    EXPECT_EQ(bytes(), std::string("[Mandant]\r\nName=\xD6sterreich\r\nOrt=Graz\r\n"));
}

TEST_F(IniFileTest, FindsTheFileWithoutRegardToCase) {
    putBytes("[DATEN]\r\nBelegNR=4\r\n", s("KONTARO.INI"));
    IniFile file = ini();
    EXPECT_EQ(file.readInteger(s("DATEN"), s("BelegNR"), 0), 4);
    file.writeInteger(s("DATEN"), s("BelegNR"), 5);
    EXPECT_EQ(fileNames(), QStringList{s("KONTARO.INI")});
    EXPECT_EQ(bytes(s("KONTARO.INI")), std::string("[DATEN]\r\nBelegNR=5\r\n"));
}

TEST_F(IniFileTest, NothingIsCachedBetweenCalls) {
    IniFile file = ini();
    file.writeInteger(s("DATEN"), s("BelegNR"), 1);
    putBytes("[DATEN]\r\nBelegNR=2\r\nBelegTX=von Hand\r\n");
    EXPECT_EQ(file.readInteger(s("DATEN"), s("BelegNR"), 0), 2);
    file.writeInteger(s("DATEN"), s("AnrNR"), 3);
    EXPECT_EQ(bytes(), std::string("[DATEN]\r\nBelegNR=2\r\nBelegTX=von Hand\r\nAnrNR=3\r\n"));
}

// Ways to make the settings file unwritable. Permission bits do not stop root, so those cases
// check that they really take effect and are skipped otherwise.
enum class Blocker { ReadOnlyFile, ReadOnlyDirectory, DirectoryInPlace, MissingDirectory };

struct FailureCase {
    const char* name;
    Blocker blocker;
};

class UnwritableTest : public IniFileTest, public ::testing::WithParamInterface<FailureCase> {
protected:
    void TearDown() override {
        QFile::setPermissions(dir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
    }
};

TEST_P(UnwritableTest, ThrowsFileErrorNamingTheFileAndLeavesItUnchanged) {
    const QByteArray content = "[DATEN]\r\nBelegNR=1\r\n";
    QString iniPath = path();
    switch (GetParam().blocker) {
    case Blocker::ReadOnlyFile:
        putBytes(content);
        QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadUser);
        if (QFile probe(path()); probe.open(QIODevice::Append))
            GTEST_SKIP() << "permission bits do not stop this user from writing";
        break;
    case Blocker::ReadOnlyDirectory:
        QFile::setPermissions(dir(), QFile::ReadOwner | QFile::ExeOwner);
        if (QFile probe(path(s("probe"))); probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            GTEST_SKIP() << "permission bits do not stop this user from creating files";
        }
        break;
    case Blocker::DirectoryInPlace:
        ASSERT_TRUE(QDir(dir()).mkdir(s("Kontaro.Ini")));
        break;
    case Blocker::MissingDirectory:
        putBytes(content, s("not a directory"));
        iniPath = path(s("not a directory")) + s("/Kontaro.Ini");
        break;
    }
    const std::string before = bytes();

    IniFile file(iniPath);
    try {
        file.writeInteger(s("DATEN"), s("BelegNR"), 2);
        FAIL() << "no FileError";
    } catch (const FileError& error) {
        EXPECT_TRUE(error.message().startsWith(
            s("Die Einstellungsdatei \"Kontaro.Ini\" kann nicht geschrieben werden: ")))
            << error.message().toStdString();
    }
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(file.readInteger(s("DATEN"), s("BelegNR"), 0), before.empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Blockers, UnwritableTest,
                         ::testing::Values(FailureCase{"readOnlyFile", Blocker::ReadOnlyFile},
                                           FailureCase{"readOnlyDirectory", Blocker::ReadOnlyDirectory},
                                           FailureCase{"directoryInPlace", Blocker::DirectoryInPlace},
                                           FailureCase{"missingDirectory", Blocker::MissingDirectory}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
