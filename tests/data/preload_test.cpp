#include "base/errors.h"
#include "data/cursor.h"
#include "data/engine_fixture.h"
#include "data/session.h"
#include "data/sqlite_db.h"
#include "data/table_layout.h"

#include <QFile>

namespace kontaro::data::testing {
namespace {

class PreloadTest : public EngineTest {
protected:
    // The ledger's rows as a reader sees them, field by field, with or without a preload.
    QList<QStringList> ledger(bool preload) {
        reopen();
        if (preload)
            session().preload(QStringLiteral("konten.DB"));
        Cursor k(session(), QStringLiteral("konten.DB"));
        k.open();
        QList<QStringList> columns;
        for (const char* field : {"Knr", "Bnr", "SollBetrag", "HabenBetrag", "Buchtext", "Datum", "Saldo"})
            columns << column(k, QString::fromLatin1(field));
        return columns;
    }
};

// A ledger read in the background is the ledger read in line: repeated and empty texts, money,
// dates, nulls; and it takes writes afterwards like any loaded table.
TEST_F(PreloadTest, APreloadedTableEqualsTheOneLoadedInLine) {
    {
        Cursor k(session(), QStringLiteral("konten.DB"));
        k.open();
        appendRows(k, {QStringLiteral(
                           "Knr=2800;Bnr=1;SollBetrag=120,00;Buchtext=Honorar;Datum=02.01.2026;Saldo=120,00"),
                       QStringLiteral("Knr=4000;Bnr=1;HabenBetrag=100,00;Buchtext=Honorar;Saldo=-100,00"),
                       QStringLiteral("Knr=UST20;Bnr=1;HabenBetrag=20,00;Saldo=-20,00"),
                       QStringLiteral("Knr=2800;Bnr=2;HabenBetrag=0,01;Buchtext=Gebühr €;Saldo=119,99")});
    }
    const QList<QStringList> inLine = ledger(false);
    EXPECT_EQ(inLine, ledger(true));
    // In Knr;Bnr order.
    EXPECT_EQ(inLine[4], (QStringList{QStringLiteral("Honorar"), QStringLiteral("Gebühr €"),
                                      QStringLiteral("Honorar"), QString()}));

    Cursor k(session(), QStringLiteral("konten.DB"));
    k.open();
    appendRows(k, {QStringLiteral("Knr=2700;Bnr=3;SollBetrag=5,00;Saldo=5,00")});
    EXPECT_EQ(ledger(true)[0].size(), 5);
}

// A ledger that does not fit the program is refused with the same words, preload or not.
TEST_F(PreloadTest, ADamagedTableIsReportedAsWithoutAPreload) {
    m_session.reset();
    const QString file = path(QStringLiteral("konten.DB"));
    QFile::remove(file);
    {
        SqliteDb db(file);
        db.execute(QStringLiteral("CREATE TABLE konten (id INTEGER PRIMARY KEY, Knr TEXT)"));
    }
    QStringList messages;
    for (const bool preload : {false, true}) {
        reopen();
        if (preload)
            session().preload(QStringLiteral("konten.DB"));
        try {
            Cursor k(session(), QStringLiteral("konten.DB"));
            k.open();
            ADD_FAILURE() << "the damaged ledger was loaded";
        } catch (const FileError& e) {
            messages << e.message();
        }
    }
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0], messages[1]);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("passt nicht zu diesem Programm")));
}

} // namespace
} // namespace kontaro::data::testing
