#pragma once

#include <QString>

namespace kontaro::data {

struct BooksSize {
    int journalLines = 100000; // each posted line gets three ledger lines (debit, credit, VAT)
    int accounts = 300;
    unsigned seed = 20240101;
};

// Writes journal.DB, kntplan.DB and konten.DB of made-up but balanced books into `directory`
// (replacing them): every journal line is posted, ledger lines carry running balances and the
// chart holds the final balances. VAT is 10 or 20 % by account, paid through bank and cash
// accounts. Same size and seed, same books. For benchmarks and tests of large books.
void generateBooks(const QString& directory, const BooksSize& size = {});

} // namespace kontaro::data
