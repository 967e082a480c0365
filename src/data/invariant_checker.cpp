#include "data/invariant_checker.h"

#include "data/books_loader.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

namespace kontaro {

namespace {

constexpr int LedgerTextWidth = 45;
constexpr int InvariantCount = 7;

QString amountText(Money amount) {
    const std::int64_t units = amount.units();
    const std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : units;
    const std::uint64_t scale = Money::Scale;
    const std::uint64_t fraction = magnitude % scale;
    // Cents as stored; the two extra digits only when a value carries them.
    const QString decimals =
        fraction % Money::UnitsPerCent == 0
            ? QStringLiteral("%1").arg(fraction / Money::UnitsPerCent, 2, 10, QLatin1Char('0'))
            : QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
    return QStringLiteral("%1%2,%3")
        .arg(units < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / scale)
        .arg(decimals);
}

QString amountText(const std::optional<Money>& amount) {
    return amount ? amountText(*amount) : QStringLiteral("leer");
}

QString numberText(const std::optional<int>& number) {
    return number ? QString::number(*number) : QStringLiteral("leer");
}

QString accountText(const QString& knr) {
    return knr.isEmpty() ? QStringLiteral("(leer)") : knr;
}

bool isIncomeOrExpenseType(const QString& typ) {
    // Protecting an account later flips the case of its letter; the lines posted before stay right.
    const QString upper = typ.toUpper();
    return upper == QLatin1String("A") || upper == QLatin1String("E");
}

// The ledger line a posted line must have on one account, as the posting writes it.
struct ExpectedLine {
    QString role;
    QString Knr;
    QString GKnt;
    Money SollBetrag;
    Money HabenBetrag;
    QString saldoField;
    std::optional<Money> saldo2;
    // A VAT line whose debit account has no record any more: its type is unknown, so the counter
    // account may be either account of the line.
    QString otherGKnt;
    bool eitherGKnt = false;
    int matched = -1; // index into the ledger
};

bool counterMatches(const ExpectedLine& expected, const LedgerRow& actual) {
    return actual.GKnt == expected.GKnt || (expected.eitherGKnt && actual.GKnt == expected.otherGKnt);
}

class Checker {
public:
    Checker(const BooksSnapshot& books, int maxPerInvariant)
        : m_books(books)
        , m_max(std::max(maxPerInvariant, 0)) {
        for (const AccountRow& account : books.accounts) {
            if (!m_accounts.contains(account.Knr))
                m_accounts.insert(account.Knr, &account);
        }
    }

    QList<InvariantFinding> run() {
        indexLedger();
        checkPostedRun();
        checkPostingNumbers();
        checkLedgerLines();
        checkRunningBalances();
        checkSums();
        checkBalanceTotal();
        for (int invariant = 1; invariant <= InvariantCount; ++invariant) {
            const int omitted = m_counts[invariant] - m_max;
            if (omitted > 0)
                m_findings.append({invariant, QStringLiteral("… und %1 weitere Abweichungen").arg(omitted)});
        }
        std::stable_sort(
            m_findings.begin(), m_findings.end(),
            [](const InvariantFinding& a, const InvariantFinding& b) { return a.invariant < b.invariant; });
        return m_findings;
    }

private:
    void report(int invariant, const QString& text) {
        if (++m_counts[invariant] <= m_max)
            m_findings.append({invariant, text});
    }

    const JournalRow& line(qsizetype position) const { return m_books.journal[position - 1]; }
    bool isPosted(qint64 position) const {
        return position >= 1 && position <= m_books.journal.size() && isPostedMark(line(position).Ok);
    }

    // Ledger lines sorted two ways: by Bnr for the lines of one posting, by account and Bnr for the
    // running balances. Ties keep the table order; a line without Bnr sorts first. Accounts are
    // ranked once, so the sort compares integers instead of account texts.
    void indexLedger() {
        const QList<LedgerRow>& ledger = m_books.ledger;
        const auto bnrOf = [&](int i) { return ledger[i].Bnr.value_or(std::numeric_limits<qint64>::min()); };
        QHash<QString, int> rank;
        for (const LedgerRow& row : ledger)
            rank.insert(row.Knr, 0);
        QStringList accounts = rank.keys();
        std::sort(accounts.begin(), accounts.end());
        for (qsizetype i = 0; i < accounts.size(); ++i)
            rank[accounts[i]] = int(i);

        std::vector<std::tuple<int, qint64, int>> byAccount;
        m_byBnr.reserve(ledger.size());
        byAccount.reserve(ledger.size());
        for (int i = 0; i < int(ledger.size()); ++i) {
            m_byBnr.emplace_back(bnrOf(i), i);
            byAccount.emplace_back(rank.value(ledger[i].Knr), bnrOf(i), i);
        }
        std::sort(m_byBnr.begin(), m_byBnr.end());
        std::sort(byAccount.begin(), byAccount.end());
        m_byAccount.reserve(ledger.size());
        for (const auto& entry : byAccount)
            m_byAccount.push_back(std::get<2>(entry));
    }

    void ledgerLinesOf(qint64 bnr, std::vector<int>& lines) const {
        lines.clear();
        const auto first = std::lower_bound(m_byBnr.begin(), m_byBnr.end(), std::pair(bnr, 0));
        for (auto it = first; it != m_byBnr.end() && it->first == bnr; ++it)
            lines.push_back(it->second);
    }

    void checkPostedRun() {
        const QList<JournalRow>& journal = m_books.journal;
        qsizetype firstUnposted = 0;
        while (firstUnposted < journal.size() && isPostedMark(journal[firstUnposted].Ok))
            ++firstUnposted;
        if (!journal.isEmpty() && firstUnposted == journal.size())
            report(1, QStringLiteral("Journal: nach der letzten gebuchten Zeile %1 fehlt die aktuelle Zeile")
                          .arg(journal.size()));
        for (qsizetype i = firstUnposted + 1; i < journal.size(); ++i) {
            if (isPostedMark(journal[i].Ok))
                report(1, QStringLiteral("Zeile %1: gebucht (%2) nach der nicht gebuchten Zeile %3")
                              .arg(i + 1)
                              .arg(journal[i].Ok)
                              .arg(firstUnposted + 1));
        }
        qsizetype firstUnprotected = 0;
        while (firstUnprotected < firstUnposted && journal[firstUnprotected].Ok == QLatin1String("#"))
            ++firstUnprotected;
        for (qsizetype i = firstUnprotected + 1; i < firstUnposted; ++i) {
            if (journal[i].Ok == QLatin1String("#"))
                report(1, QStringLiteral("Zeile %1: geschützt (#) nach der ungeschützten Zeile %2")
                              .arg(i + 1)
                              .arg(firstUnprotected + 1));
        }
    }

    void checkPostingNumbers() {
        for (qsizetype position = 1; position <= m_books.journal.size(); ++position) {
            const JournalRow& row = line(position);
            if (isPostedMark(row.Ok) && row.Bnr != position)
                report(2, QStringLiteral("Zeile %1: Bnr %2 statt %1")
                              .arg(position)
                              .arg(row.Bnr ? QString::number(*row.Bnr) : QStringLiteral("leer")));
        }
    }

    // Fills `lines` (reused from line to line) with the ledger lines `row` must have.
    void expectedLines(const JournalRow& row, std::vector<ExpectedLine>& lines) const {
        const auto add = [&](const QString& role, const QString& knr, const QString& counter, Money soll,
                             Money haben, const QString& saldoField, const std::optional<Money>& saldo2) {
            ExpectedLine& line = lines.emplace_back();
            line.role = role;
            line.Knr = knr;
            line.GKnt = counter;
            line.SollBetrag = soll;
            line.HabenBetrag = haben;
            line.saldoField = saldoField;
            line.saldo2 = saldo2;
            return &line;
        };
        lines.clear();
        add(QStringLiteral("Sollzeile"), row.SollKnt, row.HabenKnt, orZero(row.SollBetrag), Money(),
            QStringLiteral("SollSaldo2"), row.SollSaldo2);
        add(QStringLiteral("Habenzeile"), row.HabenKnt, row.SollKnt, Money(), orZero(row.HabenBetrag),
            QStringLiteral("HabenSaldo2"), row.HabenSaldo2);
        if (!row.UstKnt.isEmpty()) {
            const AccountRow* debit = m_accounts.value(row.SollKnt);
            const QString counter = debit && isIncomeOrExpenseType(debit->Typ) ? row.SollKnt : row.HabenKnt;
            ExpectedLine* vat = add(QStringLiteral("USt-Zeile"), row.UstKnt, counter, orZero(row.UstSoll),
                                    orZero(row.UstHaben), QStringLiteral("UstSaldo2"), row.UstSaldo2);
            vat->otherGKnt = row.SollKnt;
            vat->eitherGKnt = debit == nullptr;
        }
    }

    static bool sameLine(const ExpectedLine& expected, const JournalRow& row, const LedgerRow& actual) {
        return actual.Knr == expected.Knr && counterMatches(expected, actual) &&
               orZero(actual.SollBetrag) == expected.SollBetrag &&
               orZero(actual.HabenBetrag) == expected.HabenBetrag &&
               QStringView(row.Buchtext).left(LedgerTextWidth) == actual.Buchtext &&
               orZero(actual.Anr) == orZero(row.Anr) && actual.Beleg == row.Beleg &&
               actual.Datum == row.Datum;
    }

    static QStringList differences(const ExpectedLine& expected, const JournalRow& row,
                                   const LedgerRow& actual) {
        QStringList found;
        const auto differs = [&](const QString& field, const QString& is, const QString& should) {
            if (is != should)
                found.append(QStringLiteral("%1 %2 statt %3").arg(field, is, should));
        };
        if (!counterMatches(expected, actual))
            differs(QStringLiteral("GKnt"), accountText(actual.GKnt), accountText(expected.GKnt));
        if (orZero(actual.SollBetrag) != expected.SollBetrag)
            differs(QStringLiteral("SollBetrag"), amountText(actual.SollBetrag),
                    amountText(expected.SollBetrag));
        if (orZero(actual.HabenBetrag) != expected.HabenBetrag)
            differs(QStringLiteral("HabenBetrag"), amountText(actual.HabenBetrag),
                    amountText(expected.HabenBetrag));
        differs(QStringLiteral("Buchtext"), actual.Buchtext, row.Buchtext.left(LedgerTextWidth));
        if (orZero(actual.Anr) != orZero(row.Anr))
            differs(QStringLiteral("Anr"), numberText(actual.Anr), numberText(row.Anr));
        differs(QStringLiteral("Beleg"), actual.Beleg, row.Beleg);
        if (actual.Datum != row.Datum)
            differs(QStringLiteral("Datum"), actual.Datum.toString(QStringLiteral("dd.MM.yyyy")),
                    row.Datum.toString(QStringLiteral("dd.MM.yyyy")));
        return found;
    }

    void checkLedgerLines() {
        const QList<LedgerRow>& ledger = m_books.ledger;
        std::vector<ExpectedLine> expected;
        std::vector<int> actual;
        std::vector<bool> used;
        for (qsizetype position = 1; position <= m_books.journal.size(); ++position) {
            const JournalRow& row = line(position);
            if (!isPostedMark(row.Ok))
                continue;
            expectedLines(row, expected);
            ledgerLinesOf(position, actual);
            used.assign(actual.size(), false);
            // Exact matches first, so that a faulty line is compared with the line it was meant to be.
            for (ExpectedLine& wanted : expected) {
                for (size_t i = 0; i < actual.size() && wanted.matched < 0; ++i) {
                    if (!used[i] && sameLine(wanted, row, ledger[actual[i]])) {
                        used[i] = true;
                        wanted.matched = actual[i];
                    }
                }
            }
            for (ExpectedLine& wanted : expected) {
                for (size_t i = 0; i < actual.size() && wanted.matched < 0; ++i) {
                    if (!used[i] && ledger[actual[i]].Knr == wanted.Knr) {
                        used[i] = true;
                        wanted.matched = actual[i];
                        report(
                            3,
                            QStringLiteral("Zeile %1: %2 (Konto %3): %4")
                                .arg(position)
                                .arg(wanted.role, accountText(wanted.Knr),
                                     differences(wanted, row, ledger[actual[i]]).join(QStringLiteral(", "))));
                    }
                }
                if (wanted.matched < 0)
                    report(3, QStringLiteral("Zeile %1: %2 (Konto %3) fehlt im Hauptbuch")
                                  .arg(position)
                                  .arg(wanted.role, accountText(wanted.Knr)));
            }
            for (size_t i = 0; i < actual.size(); ++i) {
                if (!used[i])
                    report(3, QStringLiteral("Zeile %1: überzählige Hauptbuchzeile für Konto %2")
                                  .arg(position)
                                  .arg(accountText(ledger[actual[i]].Knr)));
            }
            checkBalancePreviews(position, expected);
        }
        for (const auto& entry : m_byBnr) {
            const LedgerRow& orphan = ledger[entry.second];
            if (!orphan.Bnr)
                report(3,
                       QStringLiteral("Hauptbuch: Zeile für Konto %1 ohne Bnr").arg(accountText(orphan.Knr)));
            else if (isPosted(*orphan.Bnr))
                continue;
            else if (*orphan.Bnr >= 1 && *orphan.Bnr <= m_books.journal.size())
                report(3, QStringLiteral(
                              "Hauptbuch: Zeile für Konto %1 mit Bnr %2, aber Zeile %2 ist nicht gebucht")
                              .arg(accountText(orphan.Knr))
                              .arg(*orphan.Bnr));
            else
                report(3, QStringLiteral("Hauptbuch: Zeile für Konto %1 mit Bnr %2 ohne Journalzeile")
                              .arg(accountText(orphan.Knr))
                              .arg(*orphan.Bnr));
        }
    }

    void checkRunningBalances() {
        const QList<LedgerRow>& ledger = m_books.ledger;
        QHash<QString, int> latest; // account -> its ledger line with the highest Bnr
        for (size_t start = 0; start < m_byAccount.size();) {
            const QString& knr = ledger[m_byAccount[start]].Knr;
            size_t end = start;
            Money balance;
            for (; end < m_byAccount.size() && ledger[m_byAccount[end]].Knr == knr; ++end) {
                const LedgerRow& row = ledger[m_byAccount[end]];
                const Money expected = balance + orZero(row.SollBetrag) - orZero(row.HabenBetrag);
                if (orZero(row.Saldo) != expected)
                    report(4, QStringLiteral("Konto %1, Bnr %2: Saldo %3 statt %4")
                                  .arg(accountText(knr))
                                  .arg(row.Bnr ? QString::number(*row.Bnr) : QStringLiteral("leer"))
                                  .arg(amountText(row.Saldo), amountText(expected)));
                // Go on from the stored balance, so one wrong line is not repeated on every later one.
                balance = orZero(row.Saldo);
            }
            latest.insert(knr, m_byAccount[end - 1]);
            if (!m_accounts.contains(knr))
                report(4, QStringLiteral("Konto %1: Hauptbuchzeilen ohne Eintrag im Kontoplan")
                              .arg(accountText(knr)));
            start = end;
        }
        for (const AccountRow& account : m_books.accounts) {
            const auto found = latest.constFind(account.Knr);
            if (found == latest.constEnd()) {
                // Without ledger lines the balance is empty; 0 is what the chart and the re-sync store.
                if (!orZero(account.Saldo).isZero())
                    report(4, QStringLiteral("Konto %1: Saldo %2 ohne Hauptbuchzeilen")
                                  .arg(accountText(account.Knr), amountText(account.Saldo)));
                if (orZero(account.LastAnr) != 0)
                    report(4, QStringLiteral("Konto %1: LastAnr %2 ohne Hauptbuchzeilen")
                                  .arg(accountText(account.Knr), numberText(account.LastAnr)));
                continue;
            }
            const LedgerRow& last = ledger[*found];
            const QString bnr = last.Bnr ? QString::number(*last.Bnr) : QStringLiteral("leer");
            if (orZero(account.Saldo) != orZero(last.Saldo))
                report(4, QStringLiteral("Konto %1: Saldo %2 statt %3 (letzte Hauptbuchzeile Bnr %4)")
                              .arg(accountText(account.Knr), amountText(account.Saldo),
                                   amountText(last.Saldo), bnr));
            if (orZero(account.LastAnr) != orZero(last.Anr))
                report(4, QStringLiteral("Konto %1: LastAnr %2 statt %3 (letzte Hauptbuchzeile Bnr %4)")
                              .arg(accountText(account.Knr), numberText(account.LastAnr),
                                   numberText(last.Anr), bnr));
        }
    }

    void checkBalancePreviews(qsizetype position, const std::vector<ExpectedLine>& lines) {
        for (const ExpectedLine& line : lines) {
            if (line.matched < 0)
                continue; // reported as missing
            const std::optional<Money>& saldo = m_books.ledger[line.matched].Saldo;
            if (orZero(line.saldo2) != orZero(saldo))
                report(5, QStringLiteral("Zeile %1: %2 %3 statt %4 (Saldo Konto %5)")
                              .arg(position)
                              .arg(line.saldoField, amountText(line.saldo2), amountText(saldo),
                                   accountText(line.Knr)));
        }
    }

    void checkSums() {
        Money journalDebit;
        Money journalCredit;
        for (const JournalRow& row : m_books.journal) {
            if (!isPostedMark(row.Ok))
                continue;
            journalDebit += orZero(row.SollBetrag) + orZero(row.UstSoll);
            journalCredit += orZero(row.HabenBetrag) + orZero(row.UstHaben);
        }
        Money ledgerDebit;
        Money ledgerCredit;
        for (const LedgerRow& row : m_books.ledger) {
            ledgerDebit += orZero(row.SollBetrag);
            ledgerCredit += orZero(row.HabenBetrag);
        }
        if (journalDebit != journalCredit)
            report(6, QStringLiteral(
                          "Journal: Summe SollBetrag + UstSoll %1 ungleich Summe HabenBetrag + UstHaben %2")
                          .arg(amountText(journalDebit), amountText(journalCredit)));
        if (ledgerDebit != journalDebit)
            report(6, QStringLiteral("Hauptbuch: Summe SollBetrag %1 ungleich Journal %2")
                          .arg(amountText(ledgerDebit), amountText(journalDebit)));
        if (ledgerCredit != journalCredit)
            report(6, QStringLiteral("Hauptbuch: Summe HabenBetrag %1 ungleich Journal %2")
                          .arg(amountText(ledgerCredit), amountText(journalCredit)));
    }

    void checkBalanceTotal() {
        Money total;
        for (const AccountRow& account : m_books.accounts)
            total += orZero(account.Saldo);
        if (!total.isZero())
            report(7, QStringLiteral("Kontoplan: Summe der Salden %1 statt 0,00").arg(amountText(total)));
    }

    const BooksSnapshot& m_books;
    const int m_max;
    QHash<QString, const AccountRow*> m_accounts;
    std::vector<std::pair<qint64, int>> m_byBnr;
    std::vector<int> m_byAccount;
    std::array<int, InvariantCount + 1> m_counts{};
    QList<InvariantFinding> m_findings;
};

} // namespace

QString InvariantFinding::toString() const {
    return QStringLiteral("Regel %1: %2").arg(invariant).arg(text);
}

QList<InvariantFinding> checkInvariants(const BooksSnapshot& books, int maxFindingsPerInvariant) {
    return Checker(books, maxFindingsPerInvariant).run();
}

QList<InvariantFinding> checkInvariants(data::Session& session, int maxFindingsPerInvariant) {
    return checkInvariants(data::loadBooks(session), maxFindingsPerInvariant);
}

QStringList findingLines(const QList<InvariantFinding>& findings) {
    QStringList lines;
    lines.reserve(findings.size());
    for (const InvariantFinding& finding : findings)
        lines.append(finding.toString());
    return lines;
}

} // namespace kontaro
