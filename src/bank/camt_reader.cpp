#include "bank/camt_reader.h"

#include "base/errors.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace kontaro::bank {

namespace {

const QString StatementNamespace = QStringLiteral("urn:iso:std:iso:20022:tech:xsd:camt.053.001.");
// Deeper nesting than any statement needs is an attack on the reader's stack, not a statement.
constexpr int MaxDepth = 48;

// One element of the document read into memory: its local name, its own text, the currency of an
// amount and its child elements. Each statement part (account, balance, entry) is read into such a
// small tree and then taken apart, so memory stays bounded by the largest entry.
struct Node {
    QString name;
    QString text;
    QString currency;
    std::vector<Node> children;

    const Node* child(QStringView childName) const {
        for (const Node& c : children)
            if (c.name == childName)
                return &c;
        return nullptr;
    }
    // "Acct/Id/IBAN"; nullptr when a step is missing.
    const Node* find(QStringView path) const {
        const Node* node = this;
        for (const QStringView step : path.split(QLatin1Char('/'))) {
            node = node->child(step);
            if (!node)
                return nullptr;
        }
        return node;
    }
    QString textAt(QStringView path) const {
        const Node* node = find(path);
        return node ? node->text.trimmed() : QString();
    }
};

// Where a reading error lies, for its message.
struct Place {
    QString fileName;
    int statement = 0; // 1-based; 0 outside a statement
    int entry = 0;     // 1-based; 0 outside an entry

    [[noreturn]] void fail(const QString& what) const {
        QString where = QStringLiteral("Kontoauszug \"%1\"").arg(fileName);
        if (statement > 0)
            where += QStringLiteral(", Auszug %1").arg(statement);
        if (entry > 0)
            where += QStringLiteral(", Buchung %1").arg(entry);
        throw UserError(where + QStringLiteral(": ") + what +
                        QStringLiteral("\nDer Kontoauszug wurde nicht eingelesen."));
    }
};

class Reader {
public:
    Reader(const QByteArray& xml, const QString& fileName)
        : m_xml(xml)
        , m_place{fileName} {}

    CamtDocument read();

private:
    void readRoot();
    Node readNode(int depth);
    void readStatement(CamtStatement& statement);
    CamtEntry entryOf(const Node& node, int number);
    CamtTransaction transactionOf(const Node& node, bool entryMoneyIn);
    void takeBalance(CamtStatement& statement, const Node& node);
    Money amountOf(const Node* node, const QString& what);
    QDate dateOf(const Node* node, const QString& what);
    bool moneyInOf(const Node* indicator);

    QXmlStreamReader m_xml;
    Place m_place;
    CamtDocument m_document;
};

QString describeOther(const QString& namespaceUri, const QString& rootName) {
    static const QRegularExpression camt(QStringLiteral("camt\\.(\\d{3})\\.\\d{3}\\.(\\d{2})"));
    const QRegularExpressionMatch match = camt.match(namespaceUri);
    if (match.hasMatch()) {
        const QString kind = match.captured(1);
        if (kind == QLatin1String("052"))
            return QStringLiteral(
                "ist ein untertägiger Umsatzbericht (camt.052), kein Kontoauszug (camt.053).");
        if (kind == QLatin1String("054"))
            return QStringLiteral("ist eine Soll-/Haben-Avis (camt.054), kein Kontoauszug (camt.053).");
        return QStringLiteral("ist eine camt.%1-Nachricht, kein Kontoauszug (camt.053).").arg(kind);
    }
    return QStringLiteral("ist keine camt.053-Datei (Wurzelelement \"%1\", Namensraum \"%2\").")
        .arg(rootName, namespaceUri.isEmpty() ? QStringLiteral("keiner") : namespaceUri);
}

CamtDocument Reader::read() {
    m_document.fileName = m_place.fileName;
    readRoot();
    if (m_xml.hasError())
        m_place.fail(QStringLiteral("die Datei ist unvollständig oder fehlerhaft (Zeile %1: %2).")
                         .arg(m_xml.lineNumber())
                         .arg(m_xml.errorString()));
    return std::move(m_document);
}

void Reader::readRoot() {
    // Up to the root element: a DOCTYPE may not declare entities (an expanding or external entity
    // is a way to make a reader swell or reach out).
    while (!m_xml.atEnd()) {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (token == QXmlStreamReader::DTD && !m_xml.entityDeclarations().isEmpty())
            m_place.fail(
                QStringLiteral("die Datei erklärt XML-Entitäten; solche Dateien werden nicht gelesen."));
        if (token == QXmlStreamReader::StartElement)
            break;
    }
    if (m_xml.hasError() || !m_xml.isStartElement())
        m_place.fail(QStringLiteral("ist keine XML-Datei (%1).").arg(m_xml.errorString()));

    const QString namespaceUri = m_xml.namespaceUri().toString();
    const QString rootName = m_xml.name().toString();
    bool versionOk = false;
    const int version = namespaceUri.startsWith(StatementNamespace)
                            ? namespaceUri.mid(StatementNamespace.size()).toInt(&versionOk)
                            : 0;
    if (!versionOk || version < 2 || rootName != QLatin1String("Document"))
        m_place.fail(describeOther(namespaceUri, rootName));
    m_document.version = version;

    // Document/BkToCstmrStmt/Stmt*; other parts (the group header) are passed over.
    while (m_xml.readNextStartElement()) {
        if (m_xml.name() != QLatin1String("BkToCstmrStmt")) {
            m_xml.skipCurrentElement();
            continue;
        }
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() != QLatin1String("Stmt")) {
                m_xml.skipCurrentElement();
                continue;
            }
            m_place.statement = int(m_document.statements.size()) + 1;
            m_place.entry = 0;
            CamtStatement statement;
            readStatement(statement);
            m_document.statements.push_back(std::move(statement));
        }
    }
    m_place.statement = 0;
    m_place.entry = 0;
    // The rest of the file must be well-formed too: a cut file is refused, not read in part.
    while (!m_xml.atEnd())
        m_xml.readNext();
}

Node Reader::readNode(int depth) {
    if (depth > MaxDepth)
        m_place.fail(QStringLiteral("die Elemente sind zu tief verschachtelt."));
    Node node;
    node.name = m_xml.name().toString();
    node.currency = m_xml.attributes().value(QLatin1String("Ccy")).toString();
    while (!m_xml.atEnd()) {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (token == QXmlStreamReader::StartElement)
            node.children.push_back(readNode(depth + 1));
        else if (token == QXmlStreamReader::Characters)
            node.text += m_xml.text();
        else if (token == QXmlStreamReader::EndElement)
            break;
    }
    if (m_xml.hasError())
        m_place.fail(QStringLiteral("die Datei ist unvollständig oder fehlerhaft (Zeile %1: %2).")
                         .arg(m_xml.lineNumber())
                         .arg(m_xml.errorString()));
    return node;
}

void Reader::readStatement(CamtStatement& statement) {
    std::optional<std::int64_t> legal;
    std::optional<std::int64_t> electronic;
    std::optional<CamtBalance> previousClosing;
    const auto number = [this](const Node& node) -> std::int64_t {
        bool ok = false;
        const std::int64_t value = node.text.trimmed().toLongLong(&ok);
        if (!ok || value < 0)
            m_place.fail(QStringLiteral("die Auszugsnummer \"%1\" ist keine Zahl.").arg(node.text.trimmed()));
        return value;
    };
    while (m_xml.readNextStartElement()) {
        const Node node = readNode(1);
        if (node.name == QLatin1String("Id")) {
            statement.id = node.text.trimmed();
        } else if (node.name == QLatin1String("LglSeqNb")) {
            legal = number(node);
        } else if (node.name == QLatin1String("ElctrncSeqNb")) {
            electronic = number(node);
        } else if (node.name == QLatin1String("Acct")) {
            statement.iban = node.textAt(u"Id/IBAN").remove(QLatin1Char(' ')).toUpper();
            statement.currency = node.textAt(u"Ccy");
        } else if (node.name == QLatin1String("Bal")) {
            takeBalance(statement, node);
        } else if (node.name == QLatin1String("Ntry")) {
            const int entryNumber = int(statement.entries.size()) + 1;
            m_place.entry = entryNumber;
            statement.entries.push_back(entryOf(node, entryNumber));
            m_place.entry = 0;
        }
    }
    statement.sequenceNumber = legal ? legal : electronic;
}

void Reader::takeBalance(CamtStatement& statement, const Node& node) {
    const QString code = node.textAt(u"Tp/CdOrPrtry/Cd");
    const bool opening = code == QLatin1String("OPBD") || code == QLatin1String("PRCD");
    const bool closing = code == QLatin1String("CLBD");
    if (!opening && !closing)
        return;
    const Money amount = amountOf(node.child(u"Amt"), QStringLiteral("Saldo"));
    const Node* date = node.find(u"Dt/Dt");
    CamtBalance balance{moneyInOf(node.child(u"CdtDbtInd")) ? amount : -amount,
                        date ? dateOf(date, QStringLiteral("Saldodatum")) : QDate()};
    if (closing)
        statement.closing = balance;
    // The booked opening balance wins over the previous day's closing balance.
    else if (code == QLatin1String("OPBD") || !statement.opening)
        statement.opening = balance;
}

bool Reader::moneyInOf(const Node* indicator) {
    const QString text = indicator ? indicator->text.trimmed() : QString();
    if (text == QLatin1String("CRDT"))
        return true;
    if (text == QLatin1String("DBIT"))
        return false;
    m_place.fail(QStringLiteral("die Richtung (CdtDbtInd) \"%1\" ist weder CRDT noch DBIT.").arg(text));
}

Money Reader::amountOf(const Node* node, const QString& what) {
    const QString text = node ? node->text.trimmed() : QString();
    const std::optional<Money> amount = parseIsoAmount(text);
    if (!amount)
        m_place.fail(text.isEmpty() ? QStringLiteral("%1 fehlt.").arg(what)
                                    : QStringLiteral("%1 \"%2\" ist kein gültiger Betrag.").arg(what, text));
    return *amount;
}

QDate Reader::dateOf(const Node* node, const QString& what) {
    const QString text = node ? node->text.trimmed() : QString();
    // A date-time ("2026-05-04T10:15:00+02:00") counts with its date.
    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    if (!date.isValid() || (text.size() > 10 && text.at(10) != QLatin1Char('T')))
        m_place.fail(text.isEmpty() ? QStringLiteral("%1 fehlt.").arg(what)
                                    : QStringLiteral("%1 \"%2\" ist kein gültiges Datum.").arg(what, text));
    return date;
}

CamtEntry Reader::entryOf(const Node& node, int number) {
    CamtEntry entry;
    entry.number = number;
    const Node* amount = node.child(u"Amt");
    entry.amount = amountOf(amount, QStringLiteral("Betrag"));
    entry.currency = amount->currency;
    entry.moneyIn = moneyInOf(node.child(u"CdtDbtInd"));
    const QString reversal = node.textAt(u"RvslInd");
    entry.reversal = reversal == QLatin1String("true") || reversal == QLatin1String("1");
    // Sts holds the code itself up to version .03, its child Cd from then on.
    const Node* status = node.child(u"Sts");
    entry.status =
        status ? (status->child(u"Cd") ? status->textAt(u"Cd") : status->text.trimmed()) : QString();
    const Node* booking = node.child(u"BookgDt");
    if (const Node* date = booking ? booking->child(u"Dt") : nullptr)
        entry.bookingDate = dateOf(date, QStringLiteral("Buchungsdatum"));
    else if (const Node* dateTime = booking ? booking->child(u"DtTm") : nullptr)
        entry.bookingDate = dateOf(dateTime, QStringLiteral("Buchungsdatum"));
    else if (entry.isBooked())
        m_place.fail(QStringLiteral("Buchungsdatum fehlt."));
    entry.accountServicerReference = node.textAt(u"AcctSvcrRef");
    entry.additionalInfo = node.textAt(u"AddtlNtryInf");
    for (const Node& details : node.children) {
        if (details.name != QLatin1String("NtryDtls"))
            continue;
        for (const Node& tx : details.children)
            if (tx.name == QLatin1String("TxDtls"))
                entry.transactions.push_back(transactionOf(tx, entry.moneyIn));
    }
    return entry;
}

CamtTransaction Reader::transactionOf(const Node& node, bool entryMoneyIn) {
    CamtTransaction tx;
    // The detail's amount: Amt from version .04 on, AmtDtls/TxAmt/Amt before (and still allowed).
    const Node* amount = node.child(u"Amt");
    if (!amount)
        amount = node.find(u"AmtDtls/TxAmt/Amt");
    if (amount)
        tx.amount = amountOf(amount, QStringLiteral("Betrag des Einzelumsatzes"));
    if (const Node* indicator = node.child(u"CdtDbtInd"))
        tx.moneyIn = moneyInOf(indicator);
    const bool moneyIn = tx.moneyIn.value_or(entryMoneyIn);
    tx.reference = node.textAt(u"Refs/AcctSvcrRef");
    tx.endToEndId = node.textAt(u"Refs/EndToEndId");
    if (tx.endToEndId == QLatin1String("NOTPROVIDED"))
        tx.endToEndId.clear();
    // The counterparty: who paid us, or whom we paid. From version .08 the party sits in Pty.
    const QString party = moneyIn ? QStringLiteral("Dbtr") : QStringLiteral("Cdtr");
    if (const Node* parties = node.child(u"RltdPties")) {
        tx.counterpartyName = parties->textAt(party + QStringLiteral("/Nm"));
        if (tx.counterpartyName.isEmpty())
            tx.counterpartyName = parties->textAt(party + QStringLiteral("/Pty/Nm"));
        tx.counterpartyIban =
            parties->textAt(party + QStringLiteral("Acct/Id/IBAN")).remove(QLatin1Char(' ')).toUpper();
    }
    if (const Node* remittance = node.child(u"RmtInf")) {
        QStringList lines;
        for (const Node& part : remittance->children)
            if (part.name == QLatin1String("Ustrd") && !part.text.trimmed().isEmpty())
                lines << part.text.simplified();
        tx.remittance = lines.join(QLatin1Char(' '));
        if (tx.remittance.isEmpty())
            for (const Node& part : remittance->children)
                if (part.name == QLatin1String("Strd")) {
                    tx.remittance = part.textAt(u"CdtrRefInf/Ref");
                    if (!tx.remittance.isEmpty())
                        break;
                }
    }
    tx.additionalInfo = node.textAt(u"AddtlTxInf");
    return tx;
}

} // namespace

std::optional<Money> parseIsoAmount(const QString& text) {
    // Up to 14 whole digits keep every amount inside Money; more decimals than Money holds are only
    // accepted as zeros, so nothing is cut unseen.
    static const QRegularExpression form(QStringLiteral("^(\\d{1,14})(?:\\.(\\d{1,5}))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    QString fraction = match.captured(2);
    if (fraction.size() == 5) {
        if (fraction.at(4) != QLatin1Char('0'))
            return std::nullopt;
        fraction.chop(1);
    }
    fraction = fraction.leftJustified(4, QLatin1Char('0'));
    return Money::fromUnits(match.captured(1).toLongLong() * Money::Scale + fraction.toLongLong());
}

namespace {

// Anything but markup at the start (after a byte-order mark and blanks) is no XML at all.
bool looksLikeXml(const QByteArray& bytes) {
    qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return i < bytes.size() && bytes[i] == '<';
}

} // namespace

CamtDocument readCamt(const QByteArray& xml, const QString& fileName) {
    if (!looksLikeXml(xml))
        Place{fileName}.fail(QStringLiteral("ist keine XML-Datei."));
    return Reader(xml, fileName).read();
}

} // namespace kontaro::bank
