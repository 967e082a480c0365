#include "base/errors.h"
#include "data/engine_fixture.h"
#include "data/sqlite_db.h"
#include "data/table_layout.h"

#include <QFile>

namespace kontaro::data::testing {
namespace {

struct StoreCase {
    const char* name;
    const char* field;
    QString typed;
    QString stored; // text read back after reopening
};

class StoreTest : public EngineTest, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(StoreTest, StoresWhatTheFieldKeeps) {
    const StoreCase& c = GetParam();
    {
        Cursor j(session(), QStringLiteral("journal.DB"));
        j.append();
        j.setText(QString::fromLatin1(c.field), c.typed);
        j.post();
    }
    reopen();
    Cursor j(session(), QStringLiteral("journal.DB"));
    EXPECT_EQ(j.asText(QString::fromLatin1(c.field)), c.stored);
    EXPECT_EQ(j.isNull(QString::fromLatin1(c.field)), c.stored.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, StoreTest,
    ::testing::Values(
        StoreCase{"MoneyCutNotRounded", "SollBetrag", QStringLiteral("12,0167"), QStringLiteral("12,01")},
        StoreCase{"MoneyTypedThreeDecimals", "SollBetrag", QStringLiteral("12,345"), QStringLiteral("12,34")},
        StoreCase{"SmallNegativeMoneyIsZero", "HabenBetrag", QStringLiteral("-0,0099"),
                  QStringLiteral("0,00")},
        StoreCase{"NegativeMoneyCutTowardZero", "UstSoll", QStringLiteral("-1.234,569"),
                  QStringLiteral("-1234,56")},
        StoreCase{"MoneyWholeNumber", "UstHaben", QStringLiteral("7"), QStringLiteral("7,00")},
        StoreCase{"EmptyMoneyIsNull", "SollBetrag", QString(), QString()},
        StoreCase{"TextCutToWidth", "SollKnt", QStringLiteral("12345678901234"),
                  QStringLiteral("1234567890")},
        StoreCase{"PostingTextKeepsFifty", "Buchtext", QString(60, QLatin1Char('x')),
                  QString(50, QLatin1Char('x'))},
        StoreCase{"UmlautsKept", "Buchtext", QStringLiteral("Büromaterial Überweisung"),
                  QStringLiteral("Büromaterial Überweisung")},
        StoreCase{"EmptyTextIsNull", "Ok", QString(), QString()},
        StoreCase{"Date", "Datum", QStringLiteral("31.12.2023"), QStringLiteral("31.12.2023")},
        StoreCase{"Integer", "Bnr", QStringLiteral("-2"), QStringLiteral("-2")}),
    [](const ::testing::TestParamInfo<StoreCase>& info) { return std::string(info.param.name); });

TEST_F(EngineTest, TypedSettersFollowTheSameRules) {
    Cursor k(session(), QStringLiteral("konten.DB"));
    k.append();
    k.setMoney(QStringLiteral("Saldo"), Money::fromUnits(-90909)); // -9,0909
    k.setText(QStringLiteral("Buchtext"), QString(50, QLatin1Char('y')));
    k.setDate(QStringLiteral("Datum"), QDate(2024, 2, 29));
    k.setInteger(QStringLiteral("Bnr"), 17);
    k.post();
    EXPECT_EQ(k.asMoney(QStringLiteral("Saldo")), Money::fromCents(-909));
    EXPECT_EQ(k.asText(QStringLiteral("Buchtext")).size(), 45);
    EXPECT_EQ(k.asDate(QStringLiteral("Datum")), QDate(2024, 2, 29));
    EXPECT_EQ(k.asInteger(QStringLiteral("Bnr")), 17);
    EXPECT_EQ(k.asMoney(QStringLiteral("SollBetrag")), Money()); // null counts as 0
    EXPECT_TRUE(k.asText(QStringLiteral("SollBetrag")).isEmpty());
    k.edit();
    EXPECT_THROW(k.setText(QStringLiteral("Datum"), QStringLiteral("31.02.2024")), UserError);
    EXPECT_THROW(k.setText(QStringLiteral("Anr"), QStringLiteral("40000")), UserError); // small integer
}

TEST_F(EngineTest, LayoutsUseTheProgramsFieldNames) {
    EXPECT_EQ(layouts::forFileName(QStringLiteral("JOURNAL1.db")), &layouts::journal());
    EXPECT_EQ(layouts::forFileName(QStringLiteral("/x/KT2011/KNTPLAN.DB")), &layouts::kntplan());
    EXPECT_EQ(layouts::forFileName(QStringLiteral("knt9plan.db")), &layouts::knt9plan(TableFormat::Sqlite));
    EXPECT_EQ(layouts::forFileName(QStringLiteral("journal9.DBF")), &layouts::journal9(TableFormat::Dbase));
    EXPECT_EQ(layouts::forFileName(QStringLiteral("konten.csv")), nullptr);
    EXPECT_EQ(layouts::journal9(TableFormat::Dbase).fieldIndex(QStringLiteral("habenbetra")), 5);
    EXPECT_EQ(layouts::journal().fields.size(), 17);
    EXPECT_EQ(layouts::konten().fields.last().name, QStringLiteral("Kz"));
}

TEST_F(EngineTest, DbaseTableRoundTripAndEmpty) {
    session().createTable(QStringLiteral("knt1plan.DBF"));
    session().createTable(QStringLiteral("journal9.DBF"));
    {
        Cursor k(session(), QStringLiteral("KNT1PLAN.dbf"));
        appendRows(k, {QStringLiteral("KNR=2800;TYP=B;NAME=Girokonto Österreich;SALDO=1234,56;GRUPPE=B2x"),
                       QStringLiteral("KNR=4020;NAME=Erlöse;BUDGET=-100,5")});
        Cursor j(session(), QStringLiteral("journal9.DBF"));
        appendRows(j, {QStringLiteral("SOLLKNT=2800;DATUM=02.01.2011;HABENBETRA=0,1;JAHR=2011")});
    }
    reopen();
    Cursor k(session(), QStringLiteral("knt1plan.DBF"));
    EXPECT_EQ(column(k, QStringLiteral("NAME")), texts({"Girokonto Österreich", "Erlöse"}));
    k.first();
    EXPECT_DOUBLE_EQ(k.asDouble(QStringLiteral("SALDO")), 1234.56);
    EXPECT_TRUE(k.isNull(QStringLiteral("BUDGET")));
    k.next();
    EXPECT_DOUBLE_EQ(k.asDouble(QStringLiteral("BUDGET")), -100.5);
    k.remove();
    EXPECT_EQ(k.recordCount(), 1);
    k.edit();
    k.setText(QStringLiteral("TYP"), QStringLiteral("b"));
    k.post();
    Cursor j(session(), QStringLiteral("journal9.DBF"));
    EXPECT_EQ(j.asDate(QStringLiteral("DATUM")), QDate(2011, 1, 2));
    EXPECT_DOUBLE_EQ(j.asDouble(QStringLiteral("HABENBETRA")), 0.1);

    reopen();
    {
        Cursor again(session(), QStringLiteral("knt1plan.DBF"));
        EXPECT_EQ(column(again, QStringLiteral("KNR")), texts({"2800"}));
        EXPECT_EQ(again.asText(QStringLiteral("TYP")), QStringLiteral("b"));
        again.emptyTable();
    }
    reopen();
    Cursor emptied(session(), QStringLiteral("knt1plan.DBF"));
    EXPECT_EQ(emptied.recordCount(), 0);
    emptied.append();
    emptied.setText(QStringLiteral("KNR"), QStringLiteral("1"));
    emptied.post();
    EXPECT_EQ(emptied.recordCount(), 1);
}

// Refreshing a row reads it again from its file: texts, dates, money and nulls as a load does.
TEST_F(EngineTest, RefreshReadsTheRowAgainFromItsFile) {
    Cursor k(session(), QStringLiteral("konten.DB"));
    k.open();
    appendRows(k,
               {QStringLiteral("Knr=2800;Bnr=1;SollBetrag=1,00;Buchtext=Alt;Datum=02.01.2026;Saldo=1,00")});
    {
        SqliteDb other(path(QStringLiteral("konten.DB")));
        other.execute(QStringLiteral("UPDATE konten SET Buchtext = 'Gebühr €', Datum = '2026-03-05', "
                                     "Saldo = 12345, SollBetrag = NULL"));
    }
    k.refresh();
    EXPECT_EQ(k.asText(QStringLiteral("Buchtext")), QStringLiteral("Gebühr €"));
    EXPECT_EQ(k.asText(QStringLiteral("Datum")), QStringLiteral("05.03.2026"));
    EXPECT_EQ(k.asMoney(QStringLiteral("Saldo")), Money::parse(QStringLiteral("123,45")).value());
    EXPECT_TRUE(k.isNull(QStringLiteral("SollBetrag")));
    EXPECT_EQ(k.asText(QStringLiteral("Knr")), QStringLiteral("2800"));
}

} // namespace
} // namespace kontaro::data::testing
