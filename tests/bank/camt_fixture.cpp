#include "bank/camt_fixture.h"

namespace kontaro::test {

namespace {

QString status(int version, const QString& code) {
    return version >= 4 ? QStringLiteral("<Sts><Cd>%1</Cd></Sts>").arg(code)
                        : QStringLiteral("<Sts>%1</Sts>").arg(code);
}

QString partyXml(int version, const QString& direction, const CamtParty& party) {
    if (party.name.isEmpty() && party.iban.isEmpty())
        return {};
    const QString role = direction == QLatin1String("CRDT") ? QStringLiteral("Dbtr") : QStringLiteral("Cdtr");
    const QString name = version >= 8
                             ? QStringLiteral("<%1><Pty><Nm>%2</Nm></Pty></%1>").arg(role, party.name)
                             : QStringLiteral("<%1><Nm>%2</Nm></%1>").arg(role, party.name);
    const QString account =
        party.iban.isEmpty()
            ? QString()
            : QStringLiteral("<%1Acct><Id><IBAN>%2</IBAN></Id></%1Acct>").arg(role, party.iban);
    return QStringLiteral("<RltdPties>%1%2</RltdPties>").arg(name, account);
}

} // namespace

QString camtDetailXml(int version, const QString& amount, const QString& direction, const CamtParty& party,
                      const QString& remittance) {
    const QString amountXml =
        amount.isEmpty() ? QString()
        : version >= 8
            ? QStringLiteral("<Amt Ccy=\"EUR\">%1</Amt><CdtDbtInd>%2</CdtDbtInd>").arg(amount, direction)
            : QStringLiteral("<AmtDtls><TxAmt><Amt Ccy=\"EUR\">%1</Amt></TxAmt></AmtDtls>").arg(amount);
    const QString remittanceXml = remittance.isEmpty()
                                      ? QString()
                                      : QStringLiteral("<RmtInf><Ustrd>%1</Ustrd></RmtInf>").arg(remittance);
    return QStringLiteral("<TxDtls><Refs><EndToEndId>NOTPROVIDED</EndToEndId></Refs>%1%2%3</TxDtls>")
        .arg(amountXml, partyXml(version, direction, party), remittanceXml);
}

QString camtEntryXml(int version, const CamtTestEntry& e) {
    const QString details = !e.details.isEmpty()
                                ? e.details
                                : camtDetailXml(version, QString(), e.direction, e.party, e.remittance);
    return QStringLiteral("<Ntry><Amt Ccy=\"EUR\">%1</Amt><CdtDbtInd>%2</CdtDbtInd>%3%4"
                          "<BookgDt><Dt>%5</Dt></BookgDt><ValDt><Dt>%5</Dt></ValDt>%6"
                          "<BkTxCd/><NtryDtls>%7</NtryDtls></Ntry>")
        .arg(e.amount, e.direction, e.reversal ? QStringLiteral("<RvslInd>true</RvslInd>") : QString(),
             status(version, e.status), e.bookingDate,
             e.reference.isEmpty() ? QString()
                                   : QStringLiteral("<AcctSvcrRef>%1</AcctSvcrRef>").arg(e.reference),
             details);
}

QString camtStatementXml(int version, const QString& iban, const QString& entries, const QString& sequence,
                         const QString& opening, const QString& closing) {
    const auto balance = [](const QString& code, const QString& amount) {
        const bool negative = amount.startsWith(QLatin1Char('-'));
        return QStringLiteral("<Bal><Tp><CdOrPrtry><Cd>%1</Cd></CdOrPrtry></Tp><Amt Ccy=\"EUR\">%2</Amt>"
                              "<CdtDbtInd>%3</CdtDbtInd><Dt><Dt>2026-05-31</Dt></Dt></Bal>")
            .arg(code, negative ? amount.mid(1) : amount,
                 negative ? QStringLiteral("DBIT") : QStringLiteral("CRDT"));
    };
    Q_UNUSED(version);
    return QStringLiteral("<Stmt><Id>STMT-%1</Id><ElctrncSeqNb>99</ElctrncSeqNb><LglSeqNb>%1</LglSeqNb>"
                          "<CreDtTm>2026-05-31T18:00:00</CreDtTm>"
                          "<Acct><Id><IBAN>%2</IBAN></Id><Ccy>EUR</Ccy></Acct>%3%4%5</Stmt>")
        .arg(sequence, iban, balance(QStringLiteral("OPBD"), opening),
             balance(QStringLiteral("CLBD"), closing), entries);
}

QByteArray camtDocument(int version, const QString& statements) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.%1\">"
                          "<BkToCstmrStmt><GrpHdr><MsgId>M1</MsgId></GrpHdr>%2</BkToCstmrStmt></Document>\n")
        .arg(version, 2, 10, QLatin1Char('0'))
        .arg(statements)
        .toUtf8();
}

} // namespace kontaro::test
