#include "data/books_generator.h"
#include "data/books_loader.h"
#include "data/cursor.h"
#include "data/invariant_checker.h"
#include "data/session.h"
#include "data/sqlite_db.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kontaro::data {
namespace {

std::string lines(const QList<InvariantFinding>& findings) {
    return findingLines(findings).join(QLatin1Char('\n')).toStdString();
}

// The check on the live tables must find exactly what the check of a copy of the books finds,
// in the same order, also for ledger lines whose numbers lie outside the journal.
TEST(InvariantCheckerOnTables, FindsWhatTheCheckOfACopyFinds) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    generateBooks(dir.path(), BooksSize{300, 40, 7});
    Session session(dir.path());
    Cursor journal(session, QStringLiteral("journal.DB"));
    journal.append(); // the current line after the posted ones
    journal.post();
    EXPECT_EQ(lines(checkInvariants(session)), "");

    Cursor ledger(session, QStringLiteral("konten.DB"));
    Cursor chart(session, QStringLiteral("kntplan.DB"));
    const auto change = [](Cursor& cursor, int recNo, const QString& field, const QString& text) {
        cursor.setRecNo(recNo);
        cursor.edit();
        cursor.setText(field, text);
        cursor.post();
    };
    change(journal, 40, QStringLiteral("Ok"), QString());
    change(journal, 77, QStringLiteral("Buchtext"), QStringLiteral("geändert"));
    change(journal, 120, QStringLiteral("Bnr"), QStringLiteral("7"));
    ledger.setNaturalOrder();
    change(ledger, 10, QStringLiteral("Saldo"), QStringLiteral("1,00"));
    change(ledger, 11, QStringLiteral("Bnr"), QString());
    change(ledger, 12, QStringLiteral("Bnr"), QStringLiteral("99999"));
    change(ledger, 13, QStringLiteral("Bnr"), QStringLiteral("-3"));
    change(ledger, 500, QStringLiteral("Knr"), QStringLiteral("9999"));
    ledger.setRecNo(600); // a line taken out: the ledger's rows no longer follow its slots
    ledger.remove();
    change(chart, 5, QStringLiteral("Saldo"), QStringLiteral("12,34"));
    chart.append();
    chart.setText(QStringLiteral("Knr"), QStringLiteral("3500")); // a second record of a VAT account
    chart.setText(QStringLiteral("Typ"), QStringLiteral("A"));
    chart.post();

    const QList<InvariantFinding> live = checkInvariants(session, 1000);
    EXPECT_GE(live.size(), 10);
    EXPECT_EQ(lines(live), lines(checkInvariants(loadBooks(session), 1000)));
}

// Texts as the files hold them are compared by their bytes on the live tables: a journal text
// longer than the ledger keeps, and ledger texts that differ from the journal's in the file itself,
// must be judged as the check of a copy judges them.
TEST(InvariantCheckerOnTables, JudgesTextsAsReadFromTheFilesAsTheCopyDoes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    generateBooks(dir.path(), BooksSize{300, 40, 7});
    {
        SqliteDb db(dir.filePath(QStringLiteral("journal.DB")));
        db.execute(
            QStringLiteral(
                "ATTACH DATABASE %1 AS l;"
                "UPDATE journal SET Buchtext = 'Wareneinkauf für die Filiale Süd laut Lieferschein "
                "vom Jänner' WHERE Bnr IN (5, 6, 7);"
                "UPDATE l.konten SET Buchtext = substr('Wareneinkauf für die Filiale Süd laut "
                "Lieferschein vom Jänner', 1, 45) WHERE Bnr = 5;"
                "UPDATE l.konten SET Buchtext = (SELECT Buchtext FROM journal WHERE Bnr = 7) WHERE Bnr = 7;"
                "UPDATE l.konten SET Buchtext = 'Buchung 9 anders' WHERE Bnr = 9;"
                "UPDATE l.konten SET Beleg = '10x' WHERE Bnr = 10")
                .arg(quoteText(dir.filePath(QStringLiteral("konten.DB")))));
    }
    Session session(dir.path());
    const std::string live = lines(checkInvariants(session, 1000));
    EXPECT_EQ(live, lines(checkInvariants(loadBooks(session), 1000)));
    EXPECT_EQ(live.find("Zeile 5:"), std::string::npos) << live; // the ledger keeps 45 characters
    EXPECT_NE(live.find("Zeile 6:"), std::string::npos) << live;
    EXPECT_NE(live.find("Zeile 7:"), std::string::npos) << live; // uncut in the ledger
    EXPECT_NE(live.find("Buchtext Buchung 9 anders"), std::string::npos) << live;
    EXPECT_NE(live.find("Beleg 10x statt 10"), std::string::npos) << live;
}

} // namespace
} // namespace kontaro::data
