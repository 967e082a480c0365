#include "data/book_codes.h"
#include "data/invariant_checker.h"

#include <QElapsedTimer>
#include <QHash>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace kontaro {
namespace {

std::optional<Money> amount(const char* text) {
    return *text ? Money::parse(QString::fromUtf8(text)) : std::nullopt;
}

bool isIncomeOrExpense(const QString& typ) {
    return typ == QLatin1String("A") || typ == QLatin1String("E");
}

// Builds books as posting leaves them: the VAT fields of each line are derived as the posting window
// does, and every line marked "=" or "#" gets its number, its ledger lines, its balance previews and
// the account balances, in journal order.
class BooksBuilder {
public:
    BooksBuilder& account(const char* knr, const char* typ, const char* ustKnt = "",
                          std::optional<int> ustP = {}) {
        AccountRow row;
        row.Knr = QString::fromUtf8(knr);
        row.Typ = QString::fromUtf8(typ);
        row.Name = row.Knr;
        row.UstKnt = QString::fromUtf8(ustKnt);
        row.UstP = ustP;
        books.accounts.append(row);
        return *this;
    }

    BooksBuilder& line(const char* ok, const char* soll, const char* haben, const char* sollBetrag,
                       const char* habenBetrag, const char* text, std::optional<int> anr = {}) {
        JournalRow row;
        row.pos = 10 * (books.journal.size() + 1);
        row.Ok = QString::fromUtf8(ok);
        row.SollKnt = QString::fromUtf8(soll);
        row.HabenKnt = QString::fromUtf8(haben);
        row.SollBetrag = amount(sollBetrag);
        row.HabenBetrag = amount(habenBetrag);
        row.Buchtext = QString::fromUtf8(text);
        row.Anr = anr;
        row.Beleg = QString::number(books.journal.size() + 1);
        row.Datum = QDate(2024, 1, 1).addDays(books.journal.size());
        const AccountRow* debit = find(row.SollKnt);
        const AccountRow* credit = find(row.HabenKnt);
        const QString debitTyp = debit ? debit->Typ : QString();
        const QString creditTyp = credit ? credit->Typ : QString();
        if (isIncomeOrExpense(debitTyp) && creditTyp != QLatin1String("X")) {
            row.UstKnt = debit->UstKnt;
            row.UstP = debit->UstP;
        }
        if (isIncomeOrExpense(creditTyp) && debitTyp != QLatin1String("X")) {
            row.UstKnt = credit->UstKnt;
            row.UstP = credit->UstP;
        }
        const Money d = orZero(row.HabenBetrag) - orZero(row.SollBetrag);
        if (d > Money())
            row.UstSoll = d;
        else
            row.UstHaben = -d;
        books.journal.append(row);
        return *this;
    }

    BooksSnapshot build() const {
        BooksSnapshot result = books;
        QHash<QString, Money> balance;
        QHash<QString, int> lastAnr;
        for (qsizetype i = 0; i < result.journal.size(); ++i) {
            JournalRow& row = result.journal[i];
            if (!data::isPostedMark(row.Ok))
                continue;
            row.Bnr = i + 1;
            const auto post = [&](const QString& knr, const QString& counter, std::optional<Money> soll,
                                  std::optional<Money> haben) {
                LedgerRow ledger;
                ledger.Knr = knr;
                ledger.Bnr = row.Bnr;
                ledger.SollBetrag = soll;
                ledger.HabenBetrag = haben;
                ledger.GKnt = counter;
                ledger.Buchtext = row.Buchtext.left(45);
                ledger.Anr = orZero(row.Anr);
                ledger.Beleg = row.Beleg;
                ledger.Datum = row.Datum;
                balance[knr] += orZero(soll) - orZero(haben);
                ledger.Saldo = balance[knr];
                lastAnr[knr] = orZero(row.Anr);
                result.ledger.append(ledger);
                return ledger.Saldo;
            };
            row.SollSaldo2 = post(row.SollKnt, row.HabenKnt, row.SollBetrag, std::nullopt);
            row.HabenSaldo2 = post(row.HabenKnt, row.SollKnt, std::nullopt, row.HabenBetrag);
            if (!row.UstKnt.isEmpty()) {
                const AccountRow* debit = find(row.SollKnt);
                const QString counter = debit && isIncomeOrExpense(debit->Typ) ? row.SollKnt : row.HabenKnt;
                row.UstSaldo2 = post(row.UstKnt, counter, orZero(row.UstSoll), orZero(row.UstHaben));
            }
        }
        for (AccountRow& account : result.accounts) {
            if (balance.contains(account.Knr)) {
                account.Saldo = balance[account.Knr];
                account.LastAnr = lastAnr[account.Knr];
            }
        }
        return result;
    }

    BooksSnapshot books;

private:
    const AccountRow* find(const QString& knr) const {
        for (const AccountRow& account : books.accounts) {
            if (account.Knr == knr)
                return &account;
        }
        return nullptr;
    }
};

// A year in small: opening balance, income with VAT, a cash withdrawal, an expense with input tax,
// the current line and an appended empty line. `marks` gives the status marks, one character per
// line (blank = empty mark); lines beyond its length are left out.
BooksBuilder sample(const char* marks = "#===~ ") {
    BooksBuilder b;
    b.account("2700", "K")
        .account("2800", "B")
        .account("EBK", "X")
        .account("UST20", "U")
        .account("VST20", "U")
        .account("4000", "E", "UST20", 20)
        .account("7600", "A", "VST20", 20)
        .account("7790", "A", "", 0);
    const QList<std::function<void(const char*)>> lines = {
        [&](const char* m) { b.line(m, "2800", "EBK", "1000,00", "1000,00", "Eröffnung Bank", 1); },
        [&](const char* m) {
            b.line(m, "2800", "4000", "1200,00", "1000,00",
                   "Honorar Beratung Projekt Nord laut Rechnung 2024-001", 2);
        },
        [&](const char* m) { b.line(m, "2700", "2800", "300,00", "300,00", "Barbehebung", 2); },
        [&](const char* m) { b.line(m, "7600", "2700", "100,00", "120,00", "Druckerpapier"); },
        [&](const char* m) { b.line(m, "7790", "2700", "50,00", "50,00", "Porto"); },
        [&](const char* m) { b.line(m, "2800", "2800", "", "", ""); },
    };
    const std::string mark(marks);
    for (size_t i = 0; i < mark.size(); ++i) {
        const std::string ok = mark[i] == ' ' ? std::string() : std::string(1, mark[i]);
        lines[qsizetype(i)](ok.c_str());
    }
    return b;
}

LedgerRow& ledgerLine(BooksSnapshot& books, const char* knr, qint64 bnr) {
    for (LedgerRow& row : books.ledger) {
        if (row.Knr == QLatin1String(knr) && row.Bnr == bnr)
            return row;
    }
    throw std::logic_error("no such ledger line in the fixture");
}

AccountRow& account(BooksSnapshot& books, const char* knr) {
    for (AccountRow& row : books.accounts) {
        if (row.Knr == QLatin1String(knr))
            return row;
    }
    throw std::logic_error("no such account in the fixture");
}

std::set<int> invariantsOf(const QList<InvariantFinding>& findings) {
    std::set<int> numbers;
    for (const InvariantFinding& finding : findings)
        numbers.insert(finding.invariant);
    return numbers;
}

TEST(InvariantChecker, ConsistentBooksHaveNoFindings) {
    const BooksSnapshot books = sample().build();
    ASSERT_EQ(books.ledger.size(), 10); // 2 + 3 + 2 + 3 ledger lines
    EXPECT_EQ(findingLines(checkInvariants(books)), QStringList());
}

TEST(InvariantChecker, EmptyBooksHaveNoFindings) {
    EXPECT_TRUE(checkInvariants(BooksSnapshot()).isEmpty());
}

// The sample books, posted, with one change applied.
std::function<BooksSnapshot()> broken(std::function<void(BooksSnapshot&)> change) {
    return [change] {
        BooksSnapshot books = sample().build();
        change(books);
        return books;
    };
}

struct BrokenBooksCase {
    const char* name;
    std::function<BooksSnapshot()> books;
    std::set<int> invariants; // every rule the fault breaks; empty for states that are fine
    const char* firstFinding; // text of the first finding, when there is one
};

void PrintTo(const BrokenBooksCase& c, std::ostream* os) {
    *os << c.name;
}

class InvariantCheckerCase : public testing::TestWithParam<BrokenBooksCase> {};

TEST_P(InvariantCheckerCase, NamesTheBrokenRule) {
    const QList<InvariantFinding> findings = checkInvariants(GetParam().books());
    EXPECT_EQ(invariantsOf(findings), GetParam().invariants)
        << findingLines(findings).join(u'\n').toStdString();
    if (!findings.isEmpty()) {
        EXPECT_EQ(findings.first().text, QString::fromUtf8(GetParam().firstFinding));
    }
}

const BrokenBooksCase brokenBooksCases[] = {
    // States the program itself produces.
    {"AccountWithoutLedgerLinesHoldsZero",
     broken([](BooksSnapshot& books) {
         account(books, "7790").Saldo = Money();
         account(books, "7790").LastAnr = 0;
     }),
     {},
     ""},
    {"ExpenseAccountProtectedAfterPosting",
     broken([](BooksSnapshot& books) { account(books, "7600").Typ = QStringLiteral("a"); }),
     {},
     ""},
    {"PreparedLinesKeepOldNumbers",
     broken([](BooksSnapshot& books) {
         books.journal[4].Bnr = 5;
         books.journal[5].Bnr = -1;
     }),
     {},
     ""},
    // 1: posted and protected runs.
    {"PostedLineAfterCurrentLine",
     [] { return sample("#=~== ").build(); },
     {1},
     "Zeile 4: gebucht (=) nach der nicht gebuchten Zeile 3"},
    {"ProtectedAfterUnprotected",
     [] { return sample("=#==~ ").build(); },
     {1},
     "Zeile 2: geschützt (#) nach der ungeschützten Zeile 1"},
    {"NoCurrentLineAfterPostedRun",
     [] { return sample("#===").build(); },
     {1},
     "Journal: nach der letzten gebuchten Zeile 4 fehlt die aktuelle Zeile"},
    // 2: posting numbers.
    {"WrongBnr",
     broken([](BooksSnapshot& books) { books.journal[2].Bnr = 2; }),
     {2},
     "Zeile 3: Bnr 2 statt 3"},
    {"PostedLineWithoutBnr",
     broken([](BooksSnapshot& books) { books.journal[1].Bnr.reset(); }),
     {2},
     "Zeile 2: Bnr leer statt 2"},
    // 3: ledger lines of each posting line.
    {"VatLineWithWrongCounterAccount",
     broken([](BooksSnapshot& books) { ledgerLine(books, "VST20", 4).GKnt = QStringLiteral("2700"); }),
     {3},
     "Zeile 4: USt-Zeile (Konto VST20): GKnt 2700 statt 7600"},
    {"LedgerTextNotCutTo45",
     broken([](BooksSnapshot& books) { ledgerLine(books, "4000", 2).Buchtext = books.journal[1].Buchtext; }),
     {3},
     "Zeile 2: Habenzeile (Konto 4000): Buchtext Honorar Beratung Projekt Nord laut Rechnung 2024-001 statt "
     "Honorar Beratung Projekt Nord laut Rechnung 2"},
    {"MissingVatLine",
     broken([](BooksSnapshot& books) {
         books.ledger.removeIf([](const LedgerRow& row) { return row.Knr == QLatin1String("UST20"); });
     }),
     {3, 4, 6},
     "Zeile 2: USt-Zeile (Konto UST20) fehlt im Hauptbuch"},
    {"LedgerLineOfCurrentLine",
     broken([](BooksSnapshot& books) {
         LedgerRow stale = ledgerLine(books, "2700", 4);
         stale.Bnr = 5;
         stale.SollBetrag = Money();
         stale.HabenBetrag.reset();
         books.ledger.append(stale);
     }),
     {3},
     "Hauptbuch: Zeile für Konto 2700 mit Bnr 5, aber Zeile 5 ist nicht gebucht"},
    {"SurplusLedgerLine",
     broken([](BooksSnapshot& books) {
         LedgerRow copy = ledgerLine(books, "EBK", 1);
         copy.HabenBetrag = Money(); // same balance after it
         books.ledger.append(copy);
     }),
     {3},
     "Zeile 1: überzählige Hauptbuchzeile für Konto EBK"},
    // 4: running balances and account records.
    {"BrokenRunningBalance",
     broken([](BooksSnapshot& books) {
         ledgerLine(books, "2800", 1).Saldo = *amount("900,00");
         books.journal[0].SollSaldo2 = *amount("900,00");
     }),
     {4},
     "Konto 2800, Bnr 1: Saldo 900,00 statt 1000,00"},
    {"AccountSaldoNotFromLatestLine",
     broken([](BooksSnapshot& books) { account(books, "2700").Saldo = *amount("181,00"); }),
     {4, 7},
     "Konto 2700: Saldo 181,00 statt 180,00 (letzte Hauptbuchzeile Bnr 4)"},
    {"LastAnrNotFromLatestLine",
     broken([](BooksSnapshot& books) { account(books, "2800").LastAnr = 7; }),
     {4},
     "Konto 2800: LastAnr 7 statt 2 (letzte Hauptbuchzeile Bnr 3)"},
    {"BalanceWithoutLedgerLines",
     broken([](BooksSnapshot& books) { account(books, "7790").Saldo = *amount("5,00"); }),
     {4, 7},
     "Konto 7790: Saldo 5,00 ohne Hauptbuchzeilen"},
    {"LedgerAccountMissingFromChart",
     broken([](BooksSnapshot& books) {
         books.accounts.removeIf([](const AccountRow& row) { return row.Knr == QLatin1String("7600"); });
     }),
     {4, 7},
     "Konto 7600: Hauptbuchzeilen ohne Eintrag im Kontoplan"},
    // 5: balance previews on the posting lines.
    {"WrongSollSaldo2",
     broken([](BooksSnapshot& books) { books.journal[3].SollSaldo2 = *amount("99,00"); }),
     {5},
     "Zeile 4: SollSaldo2 99,00 statt 100,00 (Saldo Konto 7600)"},
    {"EmptyUstSaldo2",
     broken([](BooksSnapshot& books) { books.journal[1].UstSaldo2.reset(); }),
     {5},
     "Zeile 2: UstSaldo2 leer statt -200,00 (Saldo Konto UST20)"},
    // 6: sums.
    {"JournalLineNotBalanced",
     [] {
         BooksBuilder b = sample();
         b.books.journal[0].HabenBetrag = amount("999,00");
         return b.build();
     },
     {6, 7},
     "Journal: Summe SollBetrag + UstSoll 2620,00 ungleich Summe HabenBetrag + UstHaben 2619,00"},
    // 7: balance total.
    {"AccountRecordTwice",
     broken([](BooksSnapshot& books) { books.accounts.append(account(books, "2800")); }),
     {7},
     "Kontoplan: Summe der Salden 1900,00 statt 0,00"},
};

INSTANTIATE_TEST_SUITE_P(BrokenBooks, InvariantCheckerCase, testing::ValuesIn(brokenBooksCases),
                         [](const testing::TestParamInfo<BrokenBooksCase>& info) { return info.param.name; });

TEST(InvariantChecker, CapsRepeatedFindingsOfOneRule) {
    BooksBuilder b;
    b.account("2800", "B").account("EBK", "X");
    for (int i = 0; i < 120; ++i)
        b.line("=", "2800", "EBK", "1,00", "1,00", "Einlage");
    b.line("~", "2800", "EBK", "", "", "");
    BooksSnapshot books = b.build();
    for (JournalRow& row : books.journal)
        row.Bnr = row.Bnr.value_or(0) + 1000;

    const QList<InvariantFinding> findings = checkInvariants(books, 50);
    ASSERT_EQ(findings.size(), 51);
    EXPECT_EQ(findings.first().toString(), QStringLiteral("Regel 2: Zeile 1: Bnr 1001 statt 1"));
    EXPECT_EQ(findings.last().toString(), QStringLiteral("Regel 2: … und 70 weitere Abweichungen"));
}

// Wrong running balances are reported by account, then by Bnr, whether each account's lines come
// in the order they were written (the check then reads the ledger front to back) or not.
TEST(InvariantChecker, WrongRunningBalancesComeByAccountThenBnr) {
    BooksSnapshot books = sample("#===~").build();
    ledgerLine(books, "2800", 3).Saldo = *amount("1,00");
    ledgerLine(books, "2800", 1).Saldo = *amount("2,00");
    ledgerLine(books, "2700", 4).Saldo = *amount("3,00");
    const auto rule4 = [](const BooksSnapshot& checked) {
        QStringList found;
        for (const InvariantFinding& finding : checkInvariants(checked))
            if (finding.invariant == 4 && finding.text.contains(QStringLiteral(", Bnr ")))
                found << finding.text;
        return found;
    };
    const QStringList expected = {QStringLiteral("Konto 2700, Bnr 4: Saldo 3,00 statt 180,00"),
                                  QStringLiteral("Konto 2800, Bnr 1: Saldo 2,00 statt 1000,00"),
                                  QStringLiteral("Konto 2800, Bnr 2: Saldo 2200,00 statt 1202,00"),
                                  QStringLiteral("Konto 2800, Bnr 3: Saldo 1,00 statt 1900,00")};
    EXPECT_EQ(rule4(books), expected);
    std::reverse(books.ledger.begin(), books.ledger.end());
    EXPECT_EQ(rule4(books), expected);
}

// Many lines per account and per statement number, ledger in reverse order: the sorted walks must
// still line up.
TEST(InvariantChecker, LargeConsistentBooksHaveNoFindings) {
    BooksBuilder b;
    b.account("2800", "B")
        .account("2700", "K")
        .account("EBK", "X")
        .account("UST20", "U")
        .account("VST20", "U");
    b.account("4000", "E", "UST20", 20).account("7600", "A", "VST20", 20);
    b.line("#", "2800", "EBK", "1000000,00", "1000000,00", "Eröffnung", 1);
    for (int i = 0; i < 5000; ++i) {
        b.line("=", "2800", "4000", "12,00", "10,00", "Erlös", 2 + i / 100);
        b.line("=", "7600", "2800", "5,00", "6,00", "Aufwand", 2 + i / 100);
        b.line("=", "2700", "2800", "1,00", "1,00", "Kassa");
    }
    b.line("~", "2800", "2800", "", "", "");
    BooksSnapshot books = b.build();
    std::reverse(books.ledger.begin(), books.ledger.end()); // the checker must not rely on table order
    EXPECT_EQ(findingLines(checkInvariants(books)), QStringList());
}

} // namespace
} // namespace kontaro
