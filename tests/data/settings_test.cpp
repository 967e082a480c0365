#include "base/qstring_printer.h"
#include "data/ini_fixture.h"
#include "data/settings.h"

#include <functional>
#include <gtest/gtest.h>

namespace kontaro {
// Shows a geometry in failure messages.
void PrintTo(const WindowGeometry& g, std::ostream* out) {
    *out << "{top " << g.top << ", left " << g.left << ", height " << g.height << ", width " << g.width
         << ", visible " << (g.visible ? (*g.visible ? "true" : "false") : "-") << "}";
}
} // namespace kontaro

using kontaro::BusinessCode;
using kontaro::Settings;
using kontaro::WindowGeometry;
using kontaro::WindowLayout;

using kontaro::testing::s;

namespace {

class SettingsTest : public kontaro::testing::IniFixture {
protected:
    Settings settings() const { return Settings(dir()); }
};

TEST_F(SettingsTest, WithoutAFileEveryValueIsItsDefault) {
    const Settings set = settings();
    struct Case {
        const char* name;
        QString actual;
        QString expected;
    };
    const auto flag = [](bool on) { return on ? s("true") : s("false"); };
    const Case cases[] = {
        {"Autoinsert", flag(set.autoinsert()), s("true")},
        {"Monatsberechnung", flag(set.monatsberechnung()), s("false")},
        {"Programmpfad", set.programmpfad(), s("c:\\programme\\dorvan\\Kontaro-p\\")},
        {"IGprozent", QString::number(set.igProzent()), s("0")},
        {"StrengesDatum", flag(set.strengesDatum()), s("true")},
        {"Geschuetzt", set.geschuetzt().toString(Qt::ISODate), s("1899-12-31")},
        {"Buchung1", set.buchung1().toString(Qt::ISODate), s("1899-12-30")},
        {"Mandant Name", set.mandantName(), QString()},
        {"UstKonten", set.ustKonten().join(QLatin1Char(',')), QString()},
        {"Zahllast", set.zahllast(), QString()},
        {"Ueberschuss", set.ueberschuss(), QString()},
        {"FiamVerrechnung", set.fiamVerrechnung(), QString()},
        {"EuroKurs", set.euroKurs(), s("13,7603")},
        {"BelegTX", set.belegTX(), s("A1")},
        {"BelegALT", set.belegALT(), QString()},
        {"BelegNR", QString::number(set.belegNR()), s("0")},
        {"AnrNr", QString::number(set.anrNr()), s("0")},
        {"Textdateikennung", set.textdateikennung(), s("sxw")},
        {"Firmenkennungen", QString::number(set.firmenkennungen().size()), s("0")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.name;
    EXPECT_FALSE(exists());
}

TEST_F(SettingsTest, WindowLayoutsDefaultToACascade) {
    const QStringList names = Settings::windowNames();
    ASSERT_EQ(names.size(), 7);
    for (const WindowLayout layout : {WindowLayout::First, WindowLayout::Second}) {
        const QList<WindowGeometry> geometries = settings().windowLayout(layout, names);
        ASSERT_EQ(geometries.size(), names.size());
        for (int i = 0; i < names.size(); ++i) {
            const std::optional<bool> visible = i < 6 ? std::optional<bool>(true) : std::nullopt;
            EXPECT_EQ(geometries[i], (WindowGeometry{i * 40, i * 20, 330, 700, visible}))
                << names[i].toStdString();
        }
    }
    EXPECT_EQ(settings().windowGeometry(WindowLayout::First, s("_Buchen"), 5),
              (WindowGeometry{200, 100, 330, 700, true}));
}

TEST_F(SettingsTest, StoredYesReadsAsDefaultAndTwoAsTrue) {
    putBytes("[Einstellungen]\r\nAutoinsert=yes\r\nMonatsberechnung=2\r\n[DATUM]\r\nStrengesDatum=yes\r\n");
    const Settings set = settings();
    EXPECT_TRUE(set.autoinsert());
    EXPECT_TRUE(set.monatsberechnung());
    EXPECT_TRUE(set.strengesDatum());
}

struct LimitCase {
    const char* name;
    std::function<void(Settings&, const QString&)> write;
    std::function<QString(const Settings&)> read;
    int maxLength;
};

class LengthLimitTest : public SettingsTest, public ::testing::WithParamInterface<LimitCase> {};

// A too-long value in the file is cut when read, and a too-long value is cut before it is written.
TEST_P(LengthLimitTest, KeepsAtMostTheLimit) {
    const LimitCase& c = GetParam();
    const QString longText = QString(c.maxLength, QLatin1Char('x')) + s("Rest");
    Settings set = settings();
    c.write(set, longText);
    EXPECT_EQ(c.read(set), longText.left(c.maxLength));
    EXPECT_EQ(bytes().find("Rest"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, LengthLimitTest,
    ::testing::Values(
        LimitCase{"Programmpfad", &Settings::setProgrammpfad, &Settings::programmpfad, 100},
        LimitCase{"Zahllast", &Settings::setZahllast, &Settings::zahllast, 10},
        LimitCase{"Ueberschuss", &Settings::setUeberschuss, &Settings::ueberschuss, 10},
        LimitCase{"FiamVerrechnung", &Settings::setFiamVerrechnung, &Settings::fiamVerrechnung, 10},
        LimitCase{"BelegTX", &Settings::setBelegTX, &Settings::belegTX, 20},
        LimitCase{"BelegALT", &Settings::setBelegALT, &Settings::belegALT, 20},
        LimitCase{"Textdateikennung", &Settings::setTextdateikennung, &Settings::textdateikennung, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, LongValuesInTheFileAreCutWhenRead) {
    putBytes("[Einstellungen]\r\nProgrammpfad=" + QByteArray(120, 'p') +
             "\r\n[UstAbrechnungskonten]\r\nZahllast=ZAHLLAST12345\r\n");
    const Settings set = settings();
    EXPECT_EQ(set.programmpfad(), QString(100, QLatin1Char('p')));
    EXPECT_EQ(set.zahllast(), s("ZAHLLAST12"));
}

TEST_F(SettingsTest, TextdateikennungOdtxIsReadAndWrittenBackAsOdt) {
    putBytes("[DATEN]\r\nTextdateikennung=odtx\r\n");
    Settings set = settings();
    EXPECT_EQ(set.textdateikennung(), s("odt"));
    set.setTextdateikennung(set.textdateikennung());
    EXPECT_EQ(bytes(), std::string("[DATEN]\r\nTextdateikennung=odt\r\n"));
}

TEST_F(SettingsTest, AnrNrIsWrittenAsAnrNRAndReadBack) {
    Settings set = settings();
    set.setAnrNr(12);
    EXPECT_EQ(bytes(), std::string("[DATEN]\r\nAnrNR=12\r\n"));
    EXPECT_EQ(set.anrNr(), 12);
}

TEST_F(SettingsTest, DifferentlySpelledSectionsAreOne) {
    putBytes("[Daten]\r\nAnrNr=3\r\n[Datum]\r\nGeschuetzt=31.12.2010\r\n");
    Settings set = settings();
    set.setAnrNr(4);
    set.setBelegNR(9);
    set.setEuroKurs(s("1"));
    set.setStrengesDatum(false);
    set.setBuchung1(QDate(2011, 1, 3));
    EXPECT_EQ(bytes(),
              std::string("[Daten]\r\nAnrNr=4\r\nBelegNR=9\r\nEuroKurs=1\r\n"
                          "[Datum]\r\nGeschuetzt=31.12.2010\r\nStrengesDatum=0\r\nBuchung1=03.01.2011\r\n"));
    EXPECT_EQ(set.geschuetzt(), QDate(2010, 12, 31));
}

TEST_F(SettingsTest, MandantNameIsStoredInWindows1252) {
    Settings set = settings();
    set.setMandantName(s("Österreich"));
    EXPECT_EQ(fileNames(), QStringList{s("Kontaro.Ini")});
    EXPECT_EQ(bytes(), std::string("[Mandant]\r\nName=\xD6sterreich\r\n"));
    EXPECT_EQ(set.mandantName(), s("Österreich"));
}

TEST_F(SettingsTest, UstKontenAreRewrittenInListOrderWithEachAccountOnce) {
    putBytes("[UstKonten]\r\nALT=\r\n[Mandant]\r\nName=M\r\n");
    Settings set = settings();
    EXPECT_EQ(set.ustKonten(), QStringList{s("ALT")});
    EXPECT_EQ(set.setUstKonten({s("VST20"), s("UST20"), s("vst20"), s(" UST10 "), QString()}), 0);
    EXPECT_EQ(bytes(),
              std::string("[Mandant]\r\nName=M\r\n\r\n[UstKonten]\r\nVST20=\r\nUST20=\r\nUST10=\r\n"));
    EXPECT_EQ(set.ustKonten(), (QStringList{s("VST20"), s("UST20"), s("UST10")}));

    set.setUstKonten({});
    EXPECT_EQ(bytes(), std::string("[Mandant]\r\nName=M\r\n\r\n"));
}

// The settings window saves the list every time it is left: the file must not creep.
TEST_F(SettingsTest, RepeatedSavesOfTheVatListLeaveTheFileStable) {
    putBytes("[UstKonten]\r\nUST20=\r\n\r\n[DATEN]\r\nBelegNR=0\r\n\r\n[Firmenkennungen]\r\n1=Handel\r\n");
    Settings set = settings();
    set.setUstKonten({s("UST20"), s("VST20")});
    const std::string once = bytes();
    EXPECT_EQ(once, "[DATEN]\r\nBelegNR=0\r\n\r\n[Firmenkennungen]\r\n1=Handel\r\n\r\n[UstKonten]\r\nUST20="
                    "\r\nVST20=\r\n");
    set.setUstKonten(set.ustKonten());
    EXPECT_EQ(bytes(), once);
}

TEST_F(SettingsTest, UstKontenKeepTheFirst128AndReportWhatWasDropped) {
    QStringList accounts;
    for (int i = 0; i < 130; ++i)
        accounts.append(QStringLiteral("U%1").arg(i));
    accounts.insert(5, s("A=B"));
    accounts.append(s("u129")); // a repeat of a dropped entry counts once
    Settings set = settings();
    EXPECT_EQ(set.setUstKonten(accounts), 3);
    const QStringList stored = set.ustKonten();
    ASSERT_EQ(stored.size(), Settings::maxUstKonten);
    EXPECT_EQ(stored.front(), s("U0"));
    EXPECT_EQ(stored.back(), s("U127"));
}

TEST_F(SettingsTest, BareKeyLinesCountAsVatAccounts) {
    putBytes("[UstKonten]\r\n4500\r\n; old: 4510=\r\n4520=\r\n");
    EXPECT_EQ(settings().ustKonten(), (QStringList{s("4500"), s("4520")}));
}

TEST_F(SettingsTest, FirmenkennungenUseTheFirstCharacterOfEachKey) {
    putBytes("[Firmenkennungen]\r\nA=Handel\r\nP=#Privat\r\nWerkstatt=Werkstatt\r\nx\r\n");
    const QList<BusinessCode> expected{{QLatin1Char('A'), s("Handel")},
                                       {QLatin1Char('P'), s("#Privat")},
                                       {QLatin1Char('W'), s("EAR!")},
                                       {QLatin1Char('x'), QString()}};
    const QList<BusinessCode> actual = settings().firmenkennungen();
    ASSERT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].code, expected[i].code) << i;
        EXPECT_EQ(actual[i].title, expected[i].title) << i;
    }
}

TEST_F(SettingsTest, WindowLayoutRoundTripsPerLayoutSection) {
    const QStringList names = Settings::windowNames();
    QList<WindowGeometry> saved;
    for (int i = 0; i < names.size(); ++i)
        saved.append({i + 1, i + 2, 300 + i, 600 + i, i < 6 ? std::optional<bool>(i != 1) : std::nullopt});
    Settings set = settings();
    set.setWindowLayout(WindowLayout::Second, names, saved);

    EXPECT_EQ(set.windowLayout(WindowLayout::Second, names), saved);
    EXPECT_EQ(set.windowLayout(WindowLayout::First, names)[1], (WindowGeometry{40, 20, 330, 700, true}));
    const QStringList keys = set.file().keys(s("Fenster2"));
    ASSERT_EQ(keys.size(), 7 * 4 + 6);
    EXPECT_EQ(keys.mid(0, 5),
              (QStringList{s("1_Info"), s("L_Info"), s("H_Info"), s("B_Info"), s("1_Buchen")}));
    EXPECT_EQ(keys.mid(28), (QStringList{s("VISIBLE_alt"), s("VISIBLE_Journal"), s("VISIBLE_Konto"),
                                         s("VISIBLE_Kontoplan"), s("VISIBLE_init"), s("VISIBLE_Buchen")}));
    EXPECT_EQ(set.file().readString(s("Fenster2"), s("VISIBLE_Journal")), s("0"));
}

TEST_F(SettingsTest, OneWindowGeometryWithPartlyMissingKeys) {
    putBytes("[Fenster]\r\n1_Konto=5\r\nVISIBLE_Konto=0\r\n");
    Settings set = settings();
    EXPECT_EQ(set.windowGeometry(WindowLayout::First, s("_Konto"), 2),
              (WindowGeometry{5, 40, 330, 700, false}));
    set.setWindowGeometry(WindowLayout::First, s("_Konto"), {1, 2, 3, 4, true});
    EXPECT_EQ(
        bytes(),
        std::string("[Fenster]\r\n1_Konto=1\r\nVISIBLE_Konto=1\r\nL_Konto=2\r\nH_Konto=3\r\nB_Konto=4\r\n"));
}

} // namespace
