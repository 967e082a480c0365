#pragma once

#include "base/money.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace kontaro {

// Plain copies of the rows of the three book tables, detached from the table engine, so that checks
// and tests can work on them without a data directory. Members carry the field names of the tables;
// std::nullopt is an empty field.

// One posting line of journal.DB.
struct JournalRow {
    // Storage order key of the row (the natural order may have gaps). The record number of a line is
    // its index in BooksSnapshot::journal + 1, not this value.
    qint64 pos = 0;
    std::optional<qint64> Bnr;
    QString SollKnt;
    QString HabenKnt;
    QString UstKnt;
    std::optional<int> UstP;
    std::optional<Money> SollBetrag;
    std::optional<Money> HabenBetrag;
    std::optional<Money> UstSoll;
    std::optional<Money> UstHaben;
    QString Buchtext;
    std::optional<int> Anr;
    QString Beleg;
    QDate Datum;
    std::optional<Money> SollSaldo2;
    std::optional<Money> HabenSaldo2;
    std::optional<Money> UstSaldo2;
    QString Ok;
};

// One ledger line of konten.DB.
struct LedgerRow {
    QString Knr;
    std::optional<qint64> Bnr;
    std::optional<Money> SollBetrag;
    std::optional<Money> HabenBetrag;
    QString GKnt;
    QString Buchtext;
    std::optional<int> Anr;
    QString Beleg;
    QDate Datum;
    std::optional<Money> Saldo;
    QString Kz;
};

// One account record of kntplan.DB.
struct AccountRow {
    QString Knr;
    QString Typ;
    QString Name;
    QString UstKnt;
    std::optional<int> UstP;
    std::optional<Money> Saldo;
    std::optional<Money> Budget;
    QString Gruppe;
    std::optional<int> LastAnr;
    std::optional<int> Seite;
};

struct BooksSnapshot {
    QList<JournalRow> journal; // in journal order
    QList<LedgerRow> ledger;   // any order
    QList<AccountRow> accounts;
};

// An empty money or integer field counts as 0 in arithmetic.
inline Money orZero(const std::optional<Money>& amount) {
    return amount.value_or(Money());
}
inline int orZero(const std::optional<int>& number) {
    return number.value_or(0);
}

} // namespace kontaro
