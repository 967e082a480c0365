#pragma once

#include <QByteArray>
#include <QString>

namespace kontaro::test {

// camt.053 documents for tests, in the two shapes banks send: version .02 (status as text, detail
// amounts under AmtDtls, parties without Pty) and version .08 (status code in Cd, detail amount
// directly, parties under Pty).
struct CamtParty {
    QString name;
    QString iban;
};

struct CamtTestEntry {
    QString amount = QStringLiteral("10.00");
    QString direction = QStringLiteral("CRDT");
    QString status = QStringLiteral("BOOK");
    QString bookingDate = QStringLiteral("2026-05-04");
    QString reference; // AcctSvcrRef; none when empty
    bool reversal = false;
    CamtParty party;
    QString remittance;
    // Further transaction details as ready XML (TxDtls elements); replace the single one above.
    QString details;
};

QString camtEntryXml(int version, const CamtTestEntry& entry);
// A detail with amount, party and remittance, for entries that bundle several.
QString camtDetailXml(int version, const QString& amount, const QString& direction, const CamtParty& party,
                      const QString& remittance);
// A statement of account `iban` with the given entries (XML of Ntry elements).
QString camtStatementXml(int version, const QString& iban, const QString& entries,
                         const QString& sequence = QStringLiteral("5"),
                         const QString& opening = QStringLiteral("100.00"),
                         const QString& closing = QStringLiteral("110.00"));
QByteArray camtDocument(int version, const QString& statements);

} // namespace kontaro::test
