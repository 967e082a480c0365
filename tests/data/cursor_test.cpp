#include "base/errors.h"
#include "data/engine_fixture.h"
#include "data/table.h"

namespace kontaro::data::testing {
namespace {

using CursorTest = EngineTest;

TEST_F(CursorTest, MovesAndSetsStartAndEndFlags) {
    Cursor j(session(), QStringLiteral("journal.DB"));
    EXPECT_TRUE(j.bof());
    EXPECT_TRUE(j.eof());
    EXPECT_EQ(j.recNo(), 0);
    appendRows(j, {QStringLiteral("Buchtext=a"), QStringLiteral("Buchtext=b"), QStringLiteral("Buchtext=c")});

    j.first();
    EXPECT_TRUE(j.bof());
    EXPECT_FALSE(j.eof());
    j.prior(); // stays on the first row
    EXPECT_TRUE(j.bof());
    EXPECT_EQ(j.asText(QStringLiteral("Buchtext")), QStringLiteral("a"));
    j.next();
    EXPECT_FALSE(j.bof());
    EXPECT_EQ(j.recNo(), 2);
    j.last();
    EXPECT_TRUE(j.eof());
    j.prior();
    EXPECT_FALSE(j.eof());
    j.next();
    j.next(); // next on the last row sets at-end and stays
    EXPECT_TRUE(j.eof());
    EXPECT_EQ(j.asText(QStringLiteral("Buchtext")), QStringLiteral("c"));
    EXPECT_EQ(j.recNo(), 3);
    EXPECT_EQ(j.recordCount(), 3);

    j.setRecNo(2);
    EXPECT_EQ(j.asText(QStringLiteral("Buchtext")), QStringLiteral("b"));
    const Bookmark mark = j.bookmark();
    j.first();
    j.gotoBookmark(mark);
    EXPECT_EQ(j.recNo(), 2);
}

TEST_F(CursorTest, InsertTakesThePlaceBeforeTheCurrentRow) {
    Cursor j(session(), QStringLiteral("journal.DB"));
    appendRows(j, {QStringLiteral("Buchtext=a"), QStringLiteral("Buchtext=c")});
    j.setRecNo(2);
    j.insert();
    EXPECT_EQ(j.recNo(), 2);
    j.setText(QStringLiteral("Buchtext"), QStringLiteral("b"));
    j.post();
    EXPECT_EQ(j.recNo(), 2);
    j.first();
    j.insert(); // before the first row
    j.setText(QStringLiteral("Buchtext"), QStringLiteral("0"));
    j.post();
    EXPECT_EQ(column(j, QStringLiteral("Buchtext")), texts({"0", "a", "b", "c"}));
    EXPECT_TRUE(j.isNull(QStringLiteral("Bnr"))); // never numbered automatically

    reopen();
    Cursor again(session(), QStringLiteral("journal.DB"));
    EXPECT_EQ(column(again, QStringLiteral("Buchtext")), texts({"0", "a", "b", "c"}));
}

TEST_F(CursorTest, InsertRenumbersWhenNoGapIsLeft) {
    // Positions written by another tool without gaps.
    {
        Cursor j(session(), QStringLiteral("journal.DB"));
        appendRows(
            j, {QStringLiteral("Buchtext=a"), QStringLiteral("Buchtext=c"), QStringLiteral("Buchtext=d")});
    }
    reopen();
    {
        SqliteDb raw(path(QStringLiteral("journal.DB")));
        raw.execute(QStringLiteral("UPDATE journal SET pos = id"));
    }
    Cursor j(session(), QStringLiteral("journal.DB"));
    j.setRecNo(2);
    for (const char* text : {"b1", "b2", "b3"}) { // each time before "c": the gap is used up at once
        j.insert();
        j.setText(QStringLiteral("Buchtext"), QString::fromLatin1(text));
        j.post();
        j.next();
    }
    EXPECT_EQ(column(j, QStringLiteral("Buchtext")), texts({"a", "b1", "b2", "b3", "c", "d"}));
    reopen();
    Cursor again(session(), QStringLiteral("journal.DB"));
    EXPECT_EQ(column(again, QStringLiteral("Buchtext")), texts({"a", "b1", "b2", "b3", "c", "d"}));
}

TEST_F(CursorTest, OrdersByFieldsAndDescendingIndex) {
    Cursor k(session(), QStringLiteral("konten.DB"));
    appendRows(k, {QStringLiteral("Knr=B;Bnr=2"), QStringLiteral("Knr=A;Bnr=3"),
                   QStringLiteral("Knr=B;Bnr=1"), QStringLiteral("Knr=A;Bnr=1")});
    const auto keys = [&] {
        QStringList out;
        for (k.first(); !k.eof(); k.next())
            out << k.asText(QStringLiteral("Knr")) + k.asText(QStringLiteral("Bnr"));
        return out;
    };
    EXPECT_EQ(keys(), texts({"A1", "A3", "B1", "B2"})); // primary order Knr;Bnr
    k.setIndexName(QStringLiteral("absteigend"));
    EXPECT_EQ(keys(), texts({"A3", "A1", "B2", "B1"}));
    k.setNaturalOrder();
    EXPECT_EQ(keys(), texts({"B2", "A3", "B1", "A1"}));
    k.setOrderFields(QStringLiteral("Knr"));
    EXPECT_EQ(keys(), texts({"A3", "A1", "B2", "B1"})); // ties keep natural order

    // Changing a key moves the row; the cursor stays on it.
    k.setOrderFields(QStringLiteral("Knr;Bnr"));
    k.first();
    k.edit();
    k.setText(QStringLiteral("Knr"), QStringLiteral("C"));
    k.post();
    EXPECT_EQ(k.recNo(), 4);
    EXPECT_EQ(keys(), texts({"A3", "B1", "B2", "C1"}));
}

TEST_F(CursorTest, DetailFollowsTheMasterField) {
    Cursor plan(session(), QStringLiteral("kntplan.DB"));
    appendRows(plan, {QStringLiteral("Knr=2000;Name=Bank"), QStringLiteral("Knr=4000;Name=Erlös"),
                      QStringLiteral("Knr=3500;Name=UST")});
    Cursor ledger(session(), QStringLiteral("konten.DB"));
    appendRows(ledger, {QStringLiteral("Knr=4000;Bnr=1"), QStringLiteral("Knr=2000;Bnr=1"),
                        QStringLiteral("Knr=2000;Bnr=2"), QStringLiteral("Knr=3500;Bnr=2")});
    Cursor journal(session(), QStringLiteral("journal.DB"));
    appendRows(journal,
               {QStringLiteral("SollKnt=2000;HabenKnt=4000"), QStringLiteral("SollKnt=3500;HabenKnt=2000")});

    Cursor haben(session(), QStringLiteral("kntplan.DB"));
    haben.setMaster(journal, QStringLiteral("HabenKnt"));
    ledger.setIndexName(QStringLiteral("absteigend"));
    ledger.setMaster(plan, QStringLiteral("Knr"));
    int scrolls = 0;
    ledger.events().afterScroll = [&](Cursor&) { ++scrolls; };

    journal.first();
    EXPECT_EQ(haben.asText(QStringLiteral("Name")), QStringLiteral("Erlös"));
    journal.next();
    EXPECT_EQ(haben.asText(QStringLiteral("Name")), QStringLiteral("Bank"));
    EXPECT_EQ(haben.recordCount(), 1);

    plan.locate(QStringLiteral("knr"), {QStringLiteral("2000")});
    EXPECT_EQ(column(ledger, QStringLiteral("Bnr")), texts({"2", "1"}));
    EXPECT_EQ(ledger.recordCount(), 2);
    scrolls = 0;
    plan.next(); // 3500
    EXPECT_GT(scrolls, 0);
    EXPECT_EQ(column(ledger, QStringLiteral("Bnr")), texts({"2"}));

    // Typing into the master field re-syncs too; a new detail row gets the master's value.
    journal.edit();
    journal.setText(QStringLiteral("HabenKnt"), QStringLiteral("4000"));
    EXPECT_EQ(haben.asText(QStringLiteral("Knr")), QStringLiteral("4000"));
    journal.cancel();
    EXPECT_EQ(haben.asText(QStringLiteral("Knr")), QStringLiteral("2000"));
    ledger.append();
    ledger.setText(QStringLiteral("Bnr"), QStringLiteral("7"));
    ledger.post();
    EXPECT_EQ(column(ledger, QStringLiteral("Bnr")), texts({"7", "2"}));
    EXPECT_EQ(ledger.asText(QStringLiteral("Knr")), QStringLiteral("3500"));
}

struct LocateCase {
    const char* name;
    const char* fields;
    QVariantList values;
    LocateOptions options;
    int expectedRecNo; // 0: not found
};

class LocateTest : public EngineTest, public ::testing::WithParamInterface<LocateCase> {};

TEST_P(LocateTest, FindsTheFirstMatchInOrder) {
    Cursor plan(session(), QStringLiteral("kntplan.DB"));
    appendRows(plan, {QStringLiteral("Knr=2800;Name=Bank;UstP=0"),
                      QStringLiteral("Knr=2801;Name=bank Zwei;UstP=10"),
                      QStringLiteral("Knr=4020;Name=Erlöse 20;UstP=20"),
                      QStringLiteral("Knr=37FIAM;Name=Finanzamt")});
    plan.setRecNo(2);
    const LocateCase& c = GetParam();
    const bool found = plan.locate(QString::fromLatin1(c.fields), c.values, c.options);
    EXPECT_EQ(found, c.expectedRecNo != 0);
    EXPECT_EQ(plan.recNo(), c.expectedRecNo != 0 ? c.expectedRecNo : 2); // a miss does not move
}

INSTANTIATE_TEST_SUITE_P(
    Options, LocateTest,
    ::testing::Values(LocateCase{"ExactText", "knr", {QStringLiteral("4020")}, {}, 4},
                      LocateCase{"ExactIsNotPartial", "knr", {QStringLiteral("40")}, {}, 0},
                      LocateCase{"ExactIsCaseSensitive", "KNR", {QStringLiteral("37fiam")}, {}, 0},
                      LocateCase{"CaseInsensitive", "Knr", {QStringLiteral("37fiam")}, {true, false}, 3},
                      LocateCase{"Partial", "knr", {QStringLiteral("28")}, {false, true}, 1},
                      LocateCase{
                          "PartialCaseInsensitive", "name", {QStringLiteral("BANK Z")}, {true, true}, 2},
                      LocateCase{"PartialNeedsTheStart", "name", {QStringLiteral("ank")}, {true, true}, 0},
                      LocateCase{"TwoFields", "knr;ustp", {QStringLiteral("2800"), 0}, {}, 1},
                      LocateCase{"TwoFieldsOneWrong", "knr;ustp", {QStringLiteral("2800"), 20}, {}, 0},
                      LocateCase{"IntegerAsText", "UstP", {QStringLiteral("20")}, {}, 4},
                      LocateCase{"NullMatchesEmpty", "ustp", {QString()}, {}, 3}),
    [](const ::testing::TestParamInfo<LocateCase>& info) { return std::string(info.param.name); });

// Floating-point amounts reach money fields through several doors; each must round to the unit
// once and then cut, as Money does, so 0,29 (binary 0.28999...) never turns into 0,28.
TEST_F(CursorTest, MoneyFromFloatingPointRoundsOnceThenCuts) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {{0.29, "0,29"}, {1.005, "1,00"}, {-2.675, "-2,67"}, {1e12, "1000000000000,00"}};
    Cursor plan(session(), QStringLiteral("kntplan.DB"));
    for (const Case& c : cases) {
        plan.append();
        plan.setText(QStringLiteral("Knr"), QString::number(c.value));
        plan.setDouble(QStringLiteral("Saldo"), c.value);
        plan.setValue(QStringLiteral("Budget"), c.value);
        plan.post();
        EXPECT_EQ(plan.asText(QStringLiteral("Saldo")), QString::fromLatin1(c.text)) << c.value;
        EXPECT_EQ(plan.asText(QStringLiteral("Budget")), QString::fromLatin1(c.text)) << c.value;
    }
    plan.first();
    EXPECT_TRUE(plan.locate(QStringLiteral("Saldo"), {0.29}));
    EXPECT_EQ(plan.asText(QStringLiteral("Knr")), QStringLiteral("0.29"));
    EXPECT_TRUE(plan.locate(QStringLiteral("Budget"), {-2.675}));
    EXPECT_EQ(plan.asText(QStringLiteral("Knr")), QStringLiteral("-2.675"));

    session().createTable(QStringLiteral("knt1plan.DBF"));
    Cursor dbf(session(), QStringLiteral("knt1plan.DBF"));
    dbf.append();
    dbf.setDouble(QStringLiteral("SALDO"), 0.29);
    dbf.post();
    EXPECT_EQ(dbf.asMoney(QStringLiteral("SALDO")), Money::fromCents(29));
}

TEST_F(CursorTest, MovingAwayPostsTheEdit) {
    Cursor j(session(), QStringLiteral("journal.DB"));
    appendRows(j, {QStringLiteral("Buchtext=a"), QStringLiteral("Buchtext=b")});
    j.first();
    j.edit();
    j.setText(QStringLiteral("Buchtext"), QStringLiteral("A"));
    j.next();
    EXPECT_EQ(j.state(), CursorState::Browse);
    j.insert();
    j.setText(QStringLiteral("Buchtext"), QStringLiteral("x"));
    j.first(); // posts the inserted row before moving
    EXPECT_EQ(column(j, QStringLiteral("Buchtext")), texts({"A", "x", "b"}));
}

TEST_F(CursorTest, AbortInBeforePostKeepsTheRowInEdit) {
    Cursor j(session(), QStringLiteral("journal.DB"));
    appendRows(j, {QStringLiteral("Buchtext=a;Ok=~")});
    QStringList log;
    j.events().beforePost = [&](Cursor& c) {
        log << QStringLiteral("before");
        if (c.asText(QStringLiteral("Ok")) == QLatin1String("#"))
            throw Abort();
    };
    j.events().afterPost = [&](Cursor&) { log << QStringLiteral("after"); };
    j.events().stateChange = [&](Cursor& c) { log << QStringLiteral("state%1").arg(int(c.state())); };
    j.events().beforeDelete = [&](Cursor&) { throw Abort(); };

    j.first();
    j.edit();
    j.setText(QStringLiteral("Ok"), QStringLiteral("#"));
    EXPECT_THROW(j.post(), Abort);
    EXPECT_THROW(j.next(), Abort); // the auto-post refuses as well
    EXPECT_EQ(j.state(), CursorState::Edit);
    Cursor other(session(), QStringLiteral("journal.DB"));
    EXPECT_EQ(other.asText(QStringLiteral("Ok")), QStringLiteral("~"));
    j.setText(QStringLiteral("Ok"), QStringLiteral("="));
    j.post();
    EXPECT_EQ(log, texts({"state2", "before", "before", "before", "after", "state1"}));
    EXPECT_THROW(j.remove(), Abort);
    EXPECT_EQ(j.recordCount(), 1);

    reopen();
    Cursor again(session(), QStringLiteral("journal.DB"));
    EXPECT_EQ(again.asText(QStringLiteral("Ok")), QStringLiteral("="));
}

TEST_F(CursorTest, OtherCursorsSeeChangesAndKeepTheirPlace) {
    Cursor a(session(), QStringLiteral("journal.DB"));
    appendRows(a, {QStringLiteral("Buchtext=1"), QStringLiteral("Buchtext=2"), QStringLiteral("Buchtext=3")});
    Cursor b(session(), QStringLiteral("journal.DB"));
    b.setRecNo(2);
    a.first();
    a.insert();
    a.setText(QStringLiteral("Buchtext"), QStringLiteral("0"));
    a.post();
    EXPECT_EQ(b.asText(QStringLiteral("Buchtext")), QStringLiteral("2"));
    EXPECT_EQ(b.recNo(), 3);

    a.setRecNo(3); // "2", where b is
    a.edit();
    a.setText(QStringLiteral("Buchtext"), QStringLiteral("zwei"));
    a.post();
    EXPECT_EQ(b.asText(QStringLiteral("Buchtext")), QStringLiteral("zwei"));
    a.remove(); // the next row becomes current, for both cursors
    EXPECT_EQ(a.asText(QStringLiteral("Buchtext")), QStringLiteral("3"));
    EXPECT_EQ(b.asText(QStringLiteral("Buchtext")), QStringLiteral("3"));
    a.remove(); // the last row: the row before takes over
    EXPECT_EQ(a.asText(QStringLiteral("Buchtext")), QStringLiteral("1"));
    EXPECT_EQ(b.recordCount(), 2);
}

TEST_F(CursorTest, FilterLimitsRowsAndCanBeSwitchedOff) {
    Cursor plan(session(), QStringLiteral("kntplan.DB"));
    appendRows(plan, {QStringLiteral("Knr=1;Typ=B"), QStringLiteral("Knr=2;Typ=A"),
                      QStringLiteral("Knr=3;Typ=k"), QStringLiteral("Knr=4;Typ=E")});
    plan.setFilter([](const RecordView& r) {
        return r.asText(QStringLiteral("Typ")).toUpper() != QLatin1String("B") &&
               r.asText(QStringLiteral("Typ")).toUpper() != QLatin1String("K");
    });
    plan.setFiltered(true);
    EXPECT_EQ(column(plan, QStringLiteral("Knr")), texts({"2", "4"}));
    EXPECT_EQ(plan.recordCount(), 2);
    plan.last();
    EXPECT_EQ(plan.recNo(), 2);
    EXPECT_FALSE(plan.locate(QStringLiteral("knr"), {QStringLiteral("3")}));
    plan.setFiltered(false);
    EXPECT_EQ(plan.recordCount(), 4);
    EXPECT_TRUE(plan.locate(QStringLiteral("knr"), {QStringLiteral("3")}));
}

TEST_F(CursorTest, EmptyAndCancel) {
    Cursor j(session(), QStringLiteral("journal.DB"));
    appendRows(j, {QStringLiteral("Buchtext=a"), QStringLiteral("Buchtext=b")});
    j.first();
    j.insert();
    j.setText(QStringLiteral("Buchtext"), QStringLiteral("x"));
    j.cancel();
    EXPECT_EQ(j.asText(QStringLiteral("Buchtext")), QStringLiteral("a"));
    EXPECT_EQ(j.recordCount(), 2);
    j.emptyTable();
    EXPECT_EQ(j.recordCount(), 0);
    EXPECT_TRUE(j.eof() && j.bof());
    j.edit(); // on an empty table edit inserts
    EXPECT_EQ(j.state(), CursorState::Insert);
}

TEST_F(CursorTest, SettersNeedEditMode) {
    Cursor j(session(), QStringLiteral("journal.DB"));
    EXPECT_THROW(j.setText(QStringLiteral("Buchtext"), QStringLiteral("x")), UserError);
    j.append();
    EXPECT_THROW(j.setText(QStringLiteral("Gibtsnicht"), QStringLiteral("x")), UserError);
}

// Appending a field's text gives what asText gives, for every field of stored rows (read back
// from the file, as a walk meets them), of a row being edited, and of empty fields.
TEST_F(CursorTest, AppendedTextIsTheFieldsText) {
    {
        Cursor k(session(), QStringLiteral("konten.DB"));
        appendRows(k, {QStringLiteral("Knr=2800;Bnr=12;SollBetrag=1234,56;GKnt=4000;Buchtext=Miete März €;"
                                      "Anr=3;Beleg=R-17;Datum=31.03.2026;Saldo=-0,05"),
                       QStringLiteral("Knr=2700;Buchtext=Kaffee ☕")});
    }
    reopen();
    Cursor k(session(), QStringLiteral("konten.DB"));
    k.open();
    const int fields = int(k.table().layout().fields.size());
    const auto compare = [&](const char* where) {
        for (int field = 0; field < fields; ++field) {
            QString text = QStringLiteral("vor|");
            k.appendText(text, field);
            EXPECT_EQ(text, QStringLiteral("vor|") + k.asText(field))
                << where << ", " << k.table().layout().fields[field].name.toStdString();
        }
    };
    for (k.first(); !k.eof(); k.next())
        compare("stored");
    k.first();
    k.edit();
    k.setText(QStringLiteral("Buchtext"), QStringLiteral("geändert"));
    k.setText(QStringLiteral("Bnr"), QStringLiteral("13"));
    compare("in edit");
    k.cancel();
}

} // namespace
} // namespace kontaro::data::testing
