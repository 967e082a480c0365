#include "bank/camt_fixture.h"
#include "bank/camt_reader.h"
#include "bank/statement_file.h"
#include "base/errors.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zip.h>

using namespace kontaro;
using namespace kontaro::bank;
using namespace kontaro::test;

namespace {

const QString Iban = QStringLiteral("AT611904300234573201");

Money cents(std::int64_t value) {
    return Money::fromCents(value);
}

// The UserError message of reading `xml`, empty when it was read.
QString refusal(const QByteArray& xml, const QString& name = QStringLiteral("auszug.xml")) {
    try {
        readCamt(xml, name);
    } catch (const UserError& e) {
        return e.message();
    }
    return {};
}

QByteArray oneEntry(int version, const CamtTestEntry& entry) {
    return camtDocument(version, camtStatementXml(version, Iban, camtEntryXml(version, entry)));
}

} // namespace

// Both shapes banks send give the same statement: the version only changes where things are.
class CamtVersions : public testing::TestWithParam<int> {};

TEST_P(CamtVersions, ReadsStatementEntryAndDetail) {
    const int version = GetParam();
    CamtTestEntry entry;
    entry.amount = QStringLiteral("1234.5");
    entry.reference = QStringLiteral("REF-1");
    entry.party = {QStringLiteral("Huber GmbH"), QStringLiteral("AT48 3200 0000 1234 5864")};
    entry.remittance = QStringLiteral("Rechnung 4711");
    CamtTestEntry payment;
    payment.amount = QStringLiteral("20.00");
    payment.direction = QStringLiteral("DBIT");
    payment.bookingDate = QStringLiteral("2026-05-06");
    payment.party = {QStringLiteral("Strom AG"), QStringLiteral("AT023200000000012345")};
    const QByteArray xml = camtDocument(
        version, camtStatementXml(version, QStringLiteral("AT61 1904 3002 3457 3201"),
                                  camtEntryXml(version, entry) + camtEntryXml(version, payment),
                                  QStringLiteral("7"), QStringLiteral("-50.25"), QStringLiteral("1164.25")));

    const CamtDocument document = readCamt(xml, QStringLiteral("auszug.xml"));
    EXPECT_EQ(document.version, version);
    ASSERT_EQ(document.statements.size(), 1u);
    const CamtStatement& s = document.statements.front();
    EXPECT_EQ(s.iban, Iban); // blanks gone
    EXPECT_EQ(s.currency, QStringLiteral("EUR"));
    EXPECT_EQ(s.sequenceNumber, 7); // the legal number before the electronic one
    ASSERT_TRUE(s.opening && s.closing);
    EXPECT_EQ(s.opening->amount, -Money::fromCents(5025));
    EXPECT_EQ(s.closing->amount, cents(116425));
    EXPECT_EQ(s.closing->date, QDate(2026, 5, 31));
    ASSERT_EQ(s.entries.size(), 2u);

    const CamtEntry& in = s.entries[0];
    EXPECT_EQ(in.amount, cents(123450));
    EXPECT_TRUE(in.moneyIn);
    EXPECT_TRUE(in.isBooked());
    EXPECT_EQ(in.bookingDate, QDate(2026, 5, 4));
    EXPECT_EQ(in.accountServicerReference, QStringLiteral("REF-1"));
    ASSERT_EQ(in.transactions.size(), 1u);
    EXPECT_EQ(in.transactions[0].counterpartyName, QStringLiteral("Huber GmbH"));
    EXPECT_EQ(in.transactions[0].counterpartyIban, QStringLiteral("AT483200000012345864"));
    EXPECT_EQ(in.transactions[0].remittance, QStringLiteral("Rechnung 4711"));
    EXPECT_TRUE(in.transactions[0].endToEndId.isEmpty()); // NOTPROVIDED is no reference

    const CamtEntry& out = s.entries[1];
    EXPECT_FALSE(out.moneyIn);
    EXPECT_EQ(out.signedAmount(), -cents(2000));
    // Money out names the creditor, not the debtor.
    EXPECT_EQ(out.transactions[0].counterpartyName, QStringLiteral("Strom AG"));
}

TEST_P(CamtVersions, ReadsDetailAmountsStatusAndReversal) {
    const int version = GetParam();
    CamtTestEntry batch;
    batch.amount = QStringLiteral("30.00");
    batch.status = QStringLiteral("PDNG");
    batch.reversal = true;
    batch.details = camtDetailXml(version, QStringLiteral("10.00"), QStringLiteral("CRDT"),
                                  {QStringLiteral("A"), {}}, {}) +
                    camtDetailXml(version, QStringLiteral("20.00"), QStringLiteral("CRDT"),
                                  {QStringLiteral("B"), {}}, {});
    const CamtEntry entry =
        readCamt(oneEntry(version, batch), QStringLiteral("a.xml")).statements[0].entries[0];
    EXPECT_EQ(entry.status, QStringLiteral("PDNG"));
    EXPECT_FALSE(entry.isBooked());
    EXPECT_TRUE(entry.reversal);
    // A reversal is reported in the direction of its own booking.
    EXPECT_TRUE(entry.moneyIn);
    ASSERT_EQ(entry.transactions.size(), 2u);
    EXPECT_EQ(entry.transactions[0].amount, cents(1000));
    EXPECT_EQ(entry.transactions[1].amount, cents(2000));
    EXPECT_EQ(entry.transactions[1].counterpartyName, QStringLiteral("B"));
}

INSTANTIATE_TEST_SUITE_P(Camt, CamtVersions, testing::Values(2, 8, 13),
                         [](const testing::TestParamInfo<int>& info) {
                             return "v" + std::to_string(info.param);
                         });

TEST(CamtReader, RefusesWhatIsNoStatementNamingFileAndKind) {
    CamtTestEntry good;
    const QByteArray statement = oneEntry(2, good);
    QByteArray camt052 = statement;
    camt052.replace("camt.053.001.02", "camt.052.001.02");
    QByteArray camt054 = statement;
    camt054.replace("camt.053.001.08", "camt.054.001.08").replace("camt.053.001.02", "camt.054.001.08");
    QByteArray truncated = statement.left(statement.size() - 40);
    const QByteArray entities =
        "<?xml version=\"1.0\"?><!DOCTYPE Document [<!ENTITY a \"aaaaaaaaaa\">"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
        "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.02\">&b;</Document>";
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* says;
    };
    const Case cases[] = {
        {"camt.052", camt052, "camt.052"},
        {"camt.054", camt054, "camt.054"},
        {"other XML", "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel/></rss>", "keine camt.053-Datei"},
        {"no XML", "Datum;Betrag\n04.05.2026;10,00\n", "keine XML-Datei"},
        {"empty", "", "keine XML-Datei"},
        {"cut short", truncated, "unvollständig oder fehlerhaft"},
        {"entities", entities, "Entitäten"},
    };
    for (const Case& c : cases) {
        const QString message = refusal(c.bytes, QStringLiteral("umsatz.xml"));
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.says))) << c.name << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("\"umsatz.xml\""))) << c.name;
    }
}

TEST(CamtReader, MalformedAmountOrDateRefusesTheWholeFileNamingTheEntry) {
    struct Case {
        const char* name;
        CamtTestEntry third;
        const char* says;
    };
    CamtTestEntry comma;
    comma.amount = QStringLiteral("12,50");
    CamtTestEntry negative;
    negative.amount = QStringLiteral("-12.50");
    CamtTestEntry subCent;
    subCent.amount = QStringLiteral("12.00001");
    CamtTestEntry badDate;
    badDate.bookingDate = QStringLiteral("2026-02-30");
    CamtTestEntry badDirection;
    badDirection.direction = QStringLiteral("CREDIT");
    const Case cases[] = {
        {"comma", comma, "\"12,50\" ist kein gültiger Betrag"},
        {"negative", negative, "\"-12.50\" ist kein gültiger Betrag"},
        {"beyond Money", subCent, "\"12.00001\" ist kein gültiger Betrag"},
        {"date", badDate, "\"2026-02-30\" ist kein gültiges Datum"},
        {"direction", badDirection, "\"CREDIT\""},
    };
    const CamtTestEntry good;
    for (const Case& c : cases) {
        const QByteArray xml =
            camtDocument(8, camtStatementXml(8, Iban,
                                             camtEntryXml(8, good) + camtEntryXml(8, good) +
                                                 camtEntryXml(8, c.third) + camtEntryXml(8, good)));
        const QString message = refusal(xml);
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.says))) << c.name << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("Auszug 1, Buchung 3")))
            << c.name << ": " << message.toStdString();
    }
}

TEST(CamtReader, IsoAmounts) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> units;
    };
    const Case cases[] = {
        {"0", 0},
        {"12", 120000},
        {"12.5", 125000},
        {"12.34", 123400},
        {"0.0001", 1},
        {"1.23450", 12345},
        {"1.23451", {}},
        {"", {}},
        {"1,00", {}},
        {"-1.00", {}},
        {"+1.00", {}},
        {"1.", {}},
        {".5", {}},
        {" 1.00", {}},
        {"1e3", {}},
        {"99999999999999.99", 999999999999999900},
        {"100000000000000", {}},
    };
    for (const Case& c : cases) {
        const std::optional<Money> amount = parseIsoAmount(QString::fromUtf8(c.text));
        ASSERT_EQ(amount.has_value(), c.units.has_value()) << c.text;
        if (amount) {
            EXPECT_EQ(amount->units(), *c.units) << c.text;
        }
    }
}

namespace {

// A ZIP file with the given entries, written by libzip.
void writeZip(const QString& path, const std::vector<std::pair<QString, QByteArray>>& entries) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, bytes] : entries) {
        zip_source_t* source = zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        ASSERT_GE(zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

QString fileRefusal(const QString& path) {
    try {
        readStatementFile(path);
    } catch (const UserError& e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(StatementFile, ReadsEveryXmlOfAZipAndRefusesTheWholeZipForOneBadEntry) {
    QTemporaryDir dir;
    const CamtTestEntry entry;
    const QByteArray good = oneEntry(8, entry);
    const QString zip = dir.filePath(QStringLiteral("auszuege.zip"));
    writeZip(zip, {{QStringLiteral("mai.xml"), good},
                   {QStringLiteral("liesmich.txt"), "Text"},
                   {QStringLiteral("juni.XML"), oneEntry(2, entry)}});
    const std::vector<CamtDocument> documents = readStatementFile(zip);
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[0].fileName, QStringLiteral("auszuege.zip/mai.xml"));
    EXPECT_EQ(documents[1].version, 2);

    QByteArray camt052 = good;
    camt052.replace("camt.053", "camt.052");
    const QString mixed = dir.filePath(QStringLiteral("gemischt.zip"));
    writeZip(mixed, {{QStringLiteral("a.xml"), good}, {QStringLiteral("b.xml"), camt052}});
    EXPECT_TRUE(fileRefusal(mixed).contains(QStringLiteral("\"gemischt.zip/b.xml\"")));

    const QString noXml = dir.filePath(QStringLiteral("leer.zip"));
    writeZip(noXml, {{QStringLiteral("a.txt"), "x"}});
    EXPECT_TRUE(fileRefusal(noXml).contains(QStringLiteral("enthält keine XML-Datei")));

    QFile broken(dir.filePath(QStringLiteral("kaputt.zip")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    QByteArray bytes;
    {
        QFile whole(zip);
        ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
        bytes = whole.readAll();
    }
    broken.write(bytes.left(bytes.size() / 2));
    broken.close();
    EXPECT_TRUE(fileRefusal(broken.fileName()).contains(QStringLiteral("\"kaputt.zip\"")));
}

TEST(StatementFile, RefusesAFileOver200MegabytesBeforeReadingIt) {
    QTemporaryDir dir;
    QFile big(dir.filePath(QStringLiteral("riesig.xml")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(MaxStatementBytes + 1)); // sparse: no disk space taken
    big.close();
    EXPECT_TRUE(fileRefusal(big.fileName()).contains(QStringLiteral("größer als 200 MB")));
}
