#include "base/errors.h"
#include "data/books_generator.h"
#include "data/cursor.h"
#include "data/engine_fixture.h"
#include "data/session.h"
#include "data/sqlite_db.h"
#include "data/sqlite_storage.h"
#include "data/table.h"
#include "data/table_layout.h"

#include <QFile>
#include <QTemporaryDir>

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

// A large table is read from both ends in blocks and joined: the joined rows must be the rows of
// one read, whichever block a text, a repeated text or a null falls in.
TEST_F(PreloadTest, ATableReadInPartsEqualsTheTableReadWhole) {
    TableLayout layout;
    {
        Cursor k(session(), QStringLiteral("konten.DB"));
        k.open();
        layout = k.table().layout();
        QStringList rows;
        for (int i = 1; i <= 9; ++i)
            rows << QStringLiteral("Knr=%1;Bnr=%2;SollBetrag=%2,00;Buchtext=%3;Datum=0%2.01.2026%4")
                        .arg(i % 2 ? QStringLiteral("2800") : QStringLiteral("4000"))
                        .arg(i)
                        .arg(i >= 4 && i <= 6 ? QStringLiteral("Miete") : QStringLiteral("Zeile %1").arg(i))
                        .arg(i == 5 ? QString() : QStringLiteral(";Beleg=B%1").arg(i));
        appendRows(k, rows);
    }
    m_session.reset();
    const QString file = path(QStringLiteral("konten.DB"));
    SqliteDb db(file);
    SqliteStorage storage(db, QStringLiteral("main"), file, layout);
    ColumnStore whole(layout);
    const std::vector<Row> all = storage.load(whole);
    const auto [first, last] = *storage.idBounds();
    ASSERT_EQ(last - first + 1, 9);

    // Read from both ends in blocks, the back's last block first, and joined: split inside the run
    // of "Miete", after the row without a voucher.
    storage.checkReadable();
    ColumnStore joined(layout);
    std::vector<Row> rows;
    storage.appendIds(joined, rows, first, first + 2);
    storage.appendIds(joined, rows, first + 3, first + 4);
    ColumnStore back(layout);
    std::vector<Row> backRows;
    storage.appendIds(back, backRows, first + 7, last);
    storage.appendIds(back, backRows, first + 5, first + 6);
    ASSERT_EQ(backRows.size(), 4u);
    EXPECT_EQ(back.text(backRows[1].slot, layout.fieldIndex(QStringLiteral("Buchtext"))),
              QStringLiteral("Zeile 9")); // read once before the join
    const std::vector<ColumnStore::SlotRange> blocks{{2, 4}, {0, 2}};
    const std::uint32_t offset = joined.append(std::move(back), blocks);
    EXPECT_EQ(offset, 5u);
    EXPECT_EQ(back.size(), 0u);
    EXPECT_EQ(joined.size(), all.size());
    std::uint32_t slot = offset;
    for (const auto& [begin, end] : blocks)
        for (std::uint32_t i = begin; i < end; ++i)
            rows.push_back({backRows[i].id, backRows[i].pos, slot++});

    ASSERT_EQ(rows.size(), all.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r].id, all[r].id);
        for (int f = 0; f < layout.fields.size(); ++f) {
            EXPECT_TRUE(joined.value(rows[r].slot, f) == whole.value(all[r].slot, f))
                << "row " << r << ", " << layout.fields[f].name.toStdString();
            const bool sameNumber = joined.isTextField(f) && r > 0 &&
                                    joined.textId(rows[r].slot, f) == joined.textId(rows[r - 1].slot, f);
            if (sameNumber) { // the same number must be the same text
                EXPECT_EQ(joined.text(rows[r].slot, f), joined.text(rows[r - 1].slot, f));
            }
        }
    }
}

// A ledger large enough to be read by two threads from both ends comes out as one read gives it:
// every field of every row, in the order of the file.
TEST(PreloadOfALargeTable, EqualsTheTableLoadedInLine) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    generateBooks(dir.path(), BooksSize{7000, 40, 11}); // 21000 ledger lines
    const auto rowsOf = [&](bool preload) {
        Session session(dir.path());
        if (preload)
            session.preload(QStringLiteral("konten.DB"));
        Cursor k(session, QStringLiteral("konten.DB"));
        k.setNaturalOrder();
        k.open();
        QStringList rows;
        for (k.first(); !k.eof(); k.next()) {
            QString row;
            for (int f = 0; f < int(k.table().layout().fields.size()); ++f)
                row += k.asText(f) + QLatin1Char('|');
            rows << row;
        }
        return rows;
    };
    const QStringList inLine = rowsOf(false);
    ASSERT_EQ(inLine.size(), 21000);
    EXPECT_EQ(rowsOf(true), inLine);
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
