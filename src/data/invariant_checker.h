#pragma once

#include "data/books_snapshot.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kontaro {

namespace data {
class Session;
}

// One broken rule of the books, with a German text that names the line or account.
struct InvariantFinding {
    // The rule that is broken:
    // 1 posted lines ("=", "#") form an unbroken run at the start, followed by the current line;
    //   protected lines ("#") an unbroken run at the start of it;
    // 2 a posted line at position n has Bnr n;
    // 3 a posted line has exactly its debit, credit and (with UstKnt) VAT ledger lines, other lines
    //   have none;
    // 4 running balances of each account's ledger lines, account Saldo and LastAnr from its latest one;
    // 5 SollSaldo2, HabenSaldo2, UstSaldo2 equal the Saldo of the matching ledger lines;
    // 6 journal debit and credit sums agree with each other and with the ledger's sums;
    // 7 the account balances add up to 0.
    int invariant = 0;
    QString text;

    // "Regel 2: Zeile 5: Bnr 4 statt 5"
    QString toString() const;

    bool operator==(const InvariantFinding&) const = default;
};

// Checks the seven rules above and returns the findings ordered by rule; empty when the books are
// consistent. Amounts are compared by value, an empty field counting as 0. At most
// maxFindingsPerInvariant findings are reported per rule; when there are more, the last finding of
// that rule tells how many were left out, so broken books do not produce a flood of lines.
// Linear apart from sorting the ledger: meant to run on a whole year's books.
QList<InvariantFinding> checkInvariants(const BooksSnapshot& books, int maxFindingsPerInvariant = 50);

// The same check on the session's open books (journal.DB, konten.DB, kntplan.DB).
QList<InvariantFinding> checkInvariants(data::Session& session, int maxFindingsPerInvariant = 50);

// The findings as display lines (InvariantFinding::toString()).
QStringList findingLines(const QList<InvariantFinding>& findings);

} // namespace kontaro
