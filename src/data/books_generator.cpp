#include "data/books_generator.h"

#include "data/book_codes.h"
#include "data/sqlite_storage.h"
#include "data/table_layout.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <map>
#include <random>

namespace kontaro::data {

namespace {

struct Account {
    QString knr;
    QChar typ;
    int vatRate = 0;        // income and expense accounts: 10 or 20
    std::int64_t saldo = 0; // cents
    std::int64_t lastAnr = 0;
    bool used = false;
};

FieldValue text(const QString& s) {
    return s.isEmpty() ? FieldValue() : FieldValue(s);
}

} // namespace

void generateBooks(const QString& directory, const BooksSize& size) {
    const QDir dir(directory);
    for (const char* name : {"journal.DB", "kntplan.DB", "konten.DB"})
        QFile::remove(dir.filePath(QString::fromLatin1(name)));

    // Output and input VAT at 20 and 10 %, a few bank and cash accounts, the rest income and
    // expense accounts.
    constexpr int VatAccounts = 4;
    std::vector<Account> accounts;
    accounts.push_back({QStringLiteral("3500"), QLatin1Char('U')});
    accounts.push_back({QStringLiteral("2500"), QLatin1Char('U')});
    accounts.push_back({QStringLiteral("3501"), QLatin1Char('U')});
    accounts.push_back({QStringLiteral("2501"), QLatin1Char('U')});
    for (int i = 2; i < size.accounts - (VatAccounts - 2); ++i) {
        const QChar typ = i < 8 ? QLatin1Char(i < 6 ? 'B' : 'K') : QLatin1Char(i % 3 == 0 ? 'E' : 'A');
        const int base = typ == QLatin1Char('E') ? 4000 : (typ == QLatin1Char('A') ? 5000 : 2700);
        accounts.push_back({QString::number(base + i), typ, i % 2 == 0 ? 10 : 20});
    }
    const auto vatAccount = [&](const Account& a) -> Account& {
        const bool income = a.typ == QLatin1Char('E');
        return accounts[std::size_t((income ? 0 : 1) + (a.vatRate == 10 ? 2 : 0))];
    };
    std::vector<int> money, bookings;
    for (int i = VatAccounts; i < int(accounts.size()); ++i)
        (accounts[std::size_t(i)].typ == QLatin1Char('B') || accounts[std::size_t(i)].typ == QLatin1Char('K')
             ? money
             : bookings)
            .push_back(i);

    const QString journalPath = dir.filePath(QStringLiteral("journal.DB"));
    const QString ledgerPath = dir.filePath(QStringLiteral("konten.DB"));
    const QString chartPath = dir.filePath(QStringLiteral("kntplan.DB"));
    SqliteStorage::createFile(journalPath, layouts::journal());
    SqliteStorage::createFile(ledgerPath, layouts::konten());
    SqliteStorage::createFile(chartPath, layouts::kntplan());

    SqliteDb db(journalPath);
    db.execute(
        QStringLiteral("PRAGMA synchronous=OFF; ATTACH DATABASE %1 AS l; ATTACH DATABASE %2 AS c; BEGIN")
            .arg(quoteText(ledgerPath), quoteText(chartPath)));
    SqliteStorage journal(db, QStringLiteral("main"), journalPath, layouts::journal());
    SqliteStorage ledger(db, QStringLiteral("l"), ledgerPath, layouts::konten());
    SqliteStorage chart(db, QStringLiteral("c"), chartPath, layouts::kntplan());

    std::mt19937 random(size.seed);
    const QDate yearStart(2024, 1, 1);
    RowRecord line;
    RowRecord entry;
    for (int n = 1; n <= size.journalLines; ++n) {
        Account& cash = accounts[std::size_t(money[random() % money.size()])];
        Account& other = accounts[std::size_t(bookings[random() % bookings.size()])];
        const bool income = other.typ == QLatin1Char('E');
        Account& vat = vatAccount(other);
        Account& debit = income ? cash : other;
        Account& credit = income ? other : cash;
        const std::int64_t net = 100 + std::int64_t(random() % 500000);
        const std::int64_t tax = net * other.vatRate / 100;
        const std::int64_t debitAmount = income ? net + tax : net;
        const std::int64_t creditAmount = income ? net : net + tax;
        const std::int64_t date = yearStart.addDays(n * 365LL / (size.journalLines + 1)).toJulianDay();
        const std::int64_t anr = 1 + n / 50;
        const QString textOf = QStringLiteral("Buchung %1 %2")
                                   .arg(n)
                                   .arg(income ? QStringLiteral("Erlös") : QStringLiteral("Aufwand"));
        debit.saldo += debitAmount;
        credit.saldo -= creditAmount;
        vat.saldo += income ? -tax : tax;

        line.pos = std::int64_t(n) * 1024;
        line.values = {std::int64_t(n),
                       debit.knr,
                       credit.knr,
                       vat.knr,
                       std::int64_t(other.vatRate),
                       debitAmount,
                       creditAmount,
                       income ? FieldValue() : FieldValue(tax),
                       income ? FieldValue(tax) : FieldValue(),
                       textOf,
                       anr,
                       QString::number(n),
                       date,
                       debit.saldo,
                       credit.saldo,
                       vat.saldo,
                       postingMarkText(PostingMark::Posted)};
        journal.insert(line);

        const auto post = [&](Account& account, const Account& counter, FieldValue soll, FieldValue haben) {
            account.used = true;
            account.lastAnr = anr;
            entry.values = {account.knr, std::int64_t(n),    soll, haben,         counter.knr, textOf,
                            anr,         QString::number(n), date, account.saldo, FieldValue()};
            ledger.insert(entry);
        };
        post(debit, credit, debitAmount, FieldValue());
        post(credit, debit, FieldValue(), creditAmount);
        post(vat, other, income ? FieldValue(std::int64_t(0)) : FieldValue(tax),
             income ? FieldValue(tax) : FieldValue(std::int64_t(0)));
    }
    RowRecord record;
    for (const Account& a : accounts) {
        record.values = {a.knr,
                         QString(a.typ),
                         QStringLiteral("Konto %1").arg(a.knr),
                         a.vatRate ? text(vatAccount(a).knr) : FieldValue(),
                         a.vatRate ? FieldValue(std::int64_t(a.vatRate)) : FieldValue(),
                         a.used ? FieldValue(a.saldo) : FieldValue(),
                         FieldValue(),
                         a.typ == QLatin1Char('E') ? text(QStringLiteral("E2A"))
                                                   : text(QStringLiteral("A2A")),
                         a.used ? FieldValue(a.lastAnr) : FieldValue(),
                         FieldValue()};
        chart.insert(record);
    }
    db.execute(QStringLiteral("COMMIT"));
}

} // namespace kontaro::data
