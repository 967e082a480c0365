#pragma once

#include "base/money.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace kontaro::bank {

// What an account statement in ISO 20022 form (camt.053) says, as far as the books need it.

// One transaction detail of an entry: the counterparty and what the payment was for.
struct CamtTransaction {
    std::optional<Money> amount; // absent in many single-transaction entries
    // The detail's own direction when it names one; else the entry's.
    std::optional<bool> moneyIn;
    QString reference; // the bank's reference of the detail (TxDtls/Refs/AcctSvcrRef)
    QString counterpartyName;
    QString counterpartyIban;
    // Unstructured remittance lines joined by blanks, else the structured creditor reference.
    QString remittance;
    QString endToEndId;
    QString additionalInfo; // AddtlTxInf
};

struct CamtEntry {
    int number = 0;   // 1-based within its statement, for messages
    Money amount;     // as written, never negative
    QString currency; // of the amount
    // CdtDbtInd: the direction the money took on this entry. A reversal is reported in the
    // direction of the reversing booking (a reversed debit comes as CRDT), so the indicator alone
    // says whether money came in.
    bool moneyIn = false;
    bool reversal = false;
    QString status; // "BOOK", "PDNG", "INFO"
    QDate bookingDate;
    QString accountServicerReference;
    QString additionalInfo; // AddtlNtryInf
    std::vector<CamtTransaction> transactions;

    bool isBooked() const { return status == QLatin1String("BOOK"); }
    // The amount with its sign: positive when money came in.
    Money signedAmount() const { return moneyIn ? amount : -amount; }
};

struct CamtBalance {
    Money amount; // signed: negative for a debit balance
    QDate date;
};

struct CamtStatement {
    QString id; // Stmt/Id
    QString iban;
    QString currency;
    // LglSeqNb, else ElctrncSeqNb.
    std::optional<std::int64_t> sequenceNumber;
    std::optional<CamtBalance> opening; // OPBD, else PRCD
    std::optional<CamtBalance> closing; // CLBD
    std::vector<CamtEntry> entries;
};

// One statement file (camt.053.001.NN) with all its statements in file order.
struct CamtDocument {
    QString fileName; // as the user knows it: "auszug.zip/mai.xml" for an entry of a ZIP file
    int version = 0;  // NN
    std::vector<CamtStatement> statements;
};

} // namespace kontaro::bank
