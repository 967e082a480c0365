#include "data/invariant_checker.h"

#include "base/field_text.h"
#include "data/book_codes.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "data/invariant_sources.h"

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
constexpr qsizetype Uncut = std::numeric_limits<qsizetype>::max();
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

QString numberText(const std::optional<qint64>& number) {
    return number ? QString::number(*number) : QStringLiteral("leer");
}

QString accountText(const QString& knr) {
    return knr.isEmpty() ? QStringLiteral("(leer)") : knr;
}

// The ledger line a posted line must have on one account, as the posting writes it. The account
// numbers are the books' own texts, which stay in place while the check reads them.
struct ExpectedLine {
    QLatin1StringView role;
    const QString* Knr = nullptr;
    const QString* GKnt = nullptr;
    Money SollBetrag;
    Money HabenBetrag;
    QLatin1StringView saldoField;
    std::optional<Money> saldo2;
    // A VAT line whose debit account has no record any more: its type is unknown, so the counter
    // account may be either account of the line.
    const QString* otherGKnt = nullptr;
    bool eitherGKnt = false;
    qsizetype matched = -1; // index into the ledger
};

// Reads the books through `Books` (see invariant_sources.h). Journal positions in texts are
// 1-based; indexes into the tables 0-based. Every walk is linear in the rows of the books.
template <typename Books> class Checker {
public:
    Checker(const Books& books, int maxPerInvariant)
        : m_books(books)
        , m_max(std::max(maxPerInvariant, 0)) {
        m_accounts.reserve(books.accountCount());
        for (qsizetype a = 0; a < books.accountCount(); ++a)
            if (!m_accounts.contains(books.text(books.aKnr, a))) // the first record of a number counts
                m_accounts.insert(books.text(books.aKnr, a), int(a));
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

    const QString& ok(qsizetype i) const { return m_books.text(m_books.jOk, i); }
    bool isPosted(qint64 position) const {
        return position >= 1 && position <= m_books.journalSize() && data::isPostedMark(ok(position - 1));
    }
    const QString& ledgerKnr(qsizetype l) const { return m_books.text(m_books.lKnr, l); }

    // Ledger lines in two orders, both by bucketing (linear): by Bnr for the lines of one posting,
    // by account and Bnr for the running balances. Ties keep the table order; lines without a Bnr
    // or with one outside the journal come first, in table order.
    void indexLedger() {
        const qsizetype size = m_books.ledgerSize();
        const qsizetype journal = m_books.journalSize();
        std::vector<qint64> bnr(std::size_t(size), 0); // 0: none or outside the journal
        std::vector<std::size_t> perBnr(std::size_t(journal) + 2, 0);
        std::vector<std::pair<qint64, qsizetype>> below, above; // few, in damaged books only
        for (qsizetype l = 0; l < size; ++l) {
            const std::optional<qint64> n = m_books.integer(m_books.lBnr, l);
            if (n && *n >= 1 && *n <= journal) {
                bnr[std::size_t(l)] = *n;
                ++perBnr[std::size_t(*n)];
            } else if (n && *n > journal) {
                above.emplace_back(*n, l);
            } else {
                below.emplace_back(n ? *n : std::numeric_limits<qint64>::min(), l);
            }
        }
        const auto byNumber = [](const auto& a, const auto& b) { return a.first < b.first; };
        std::stable_sort(below.begin(), below.end(), byNumber);
        std::stable_sort(above.begin(), above.end(), byNumber);
        m_firstOfBnr.assign(std::size_t(journal) + 2, below.size());
        for (std::size_t n = 1; n < m_firstOfBnr.size(); ++n)
            m_firstOfBnr[n] = m_firstOfBnr[n - 1] + perBnr[n - 1];
        m_byBnr.assign(std::size_t(size), 0);
        std::vector<std::size_t> next(m_firstOfBnr);
        for (std::size_t i = 0; i < below.size(); ++i)
            m_byBnr[i] = below[i].second;
        for (qsizetype l = 0; l < size; ++l)
            if (bnr[std::size_t(l)] != 0)
                m_byBnr[next[std::size_t(bnr[std::size_t(l)])]++] = l;
        for (std::size_t i = 0; i < above.size(); ++i)
            m_byBnr[m_firstOfBnr.back() + i] = above[i].second;

        // Accounts ranked by number (few), then the Bnr order split stably by account.
        QHash<QString, int> rank;
        std::vector<int> accountOf(static_cast<std::size_t>(size));
        std::vector<int> rankOfKey(m_books.textKeyCount(m_books.lKnr), -1); // look each text up once
        for (qsizetype l = 0; l < size; ++l) {
            int& known = rankOfKey[m_books.textKey(m_books.lKnr, l)];
            if (known < 0) {
                auto it = rank.find(ledgerKnr(l));
                if (it == rank.end())
                    it = rank.insert(ledgerKnr(l), int(rank.size()));
                known = it.value();
            }
            accountOf[std::size_t(l)] = known;
        }
        QStringList accounts(rank.size());
        for (auto it = rank.cbegin(); it != rank.cend(); ++it)
            accounts[it.value()] = it.key();
        std::vector<int> byName(std::size_t(accounts.size()));
        for (std::size_t i = 0; i < byName.size(); ++i)
            byName[i] = int(i);
        std::sort(byName.begin(), byName.end(), [&](int a, int b) { return accounts[a] < accounts[b]; });
        std::vector<int> position(byName.size());
        for (std::size_t i = 0; i < byName.size(); ++i)
            position[std::size_t(byName[i])] = int(i);
        m_accountOf = std::move(accountOf);
        m_accountStart.assign(byName.size() + 1, 0);
        for (int& account : m_accountOf) {
            account = position[std::size_t(account)];
            ++m_accountStart[std::size_t(account) + 1];
        }
        for (std::size_t i = 1; i < m_accountStart.size(); ++i)
            m_accountStart[i] += m_accountStart[i - 1];
        std::vector<std::size_t> nextOfAccount(m_accountStart);
        m_byAccount.assign(std::size_t(size), 0);
        for (const qsizetype l : m_byBnr)
            m_byAccount[nextOfAccount[std::size_t(m_accountOf[std::size_t(l)])]++] = l;
    }

    void ledgerLinesOf(qint64 bnr, std::vector<qsizetype>& lines) const {
        lines.clear();
        if (bnr < 1 || bnr > m_books.journalSize())
            return;
        for (std::size_t i = m_firstOfBnr[std::size_t(bnr)]; i < m_firstOfBnr[std::size_t(bnr) + 1]; ++i)
            lines.push_back(m_byBnr[i]);
    }

    void checkPostedRun() {
        const qsizetype size = m_books.journalSize();
        qsizetype firstUnposted = 0;
        while (firstUnposted < size && data::isPostedMark(ok(firstUnposted)))
            ++firstUnposted;
        if (size > 0 && firstUnposted == size)
            report(1, QStringLiteral("Journal: nach der letzten gebuchten Zeile %1 fehlt die aktuelle Zeile")
                          .arg(size));
        for (qsizetype i = firstUnposted + 1; i < size; ++i) {
            if (data::isPostedMark(ok(i)))
                report(1, QStringLiteral("Zeile %1: gebucht (%2) nach der nicht gebuchten Zeile %3")
                              .arg(i + 1)
                              .arg(ok(i))
                              .arg(firstUnposted + 1));
        }
        qsizetype firstUnprotected = 0;
        while (firstUnprotected < firstUnposted &&
               data::hasMark(ok(firstUnprotected), data::PostingMark::Protected))
            ++firstUnprotected;
        for (qsizetype i = firstUnprotected + 1; i < firstUnposted; ++i) {
            if (data::hasMark(ok(i), data::PostingMark::Protected))
                report(1, QStringLiteral("Zeile %1: geschützt (#) nach der ungeschützten Zeile %2")
                              .arg(i + 1)
                              .arg(firstUnprotected + 1));
        }
    }

    void checkPostingNumbers() {
        for (qsizetype i = 0; i < m_books.journalSize(); ++i) {
            const std::optional<qint64> bnr = m_books.integer(m_books.jBnr, i);
            if (data::isPostedMark(ok(i)) && bnr != i + 1)
                report(2, QStringLiteral("Zeile %1: Bnr %2 statt %1")
                              .arg(i + 1)
                              .arg(bnr ? QString::number(*bnr) : QStringLiteral("leer")));
        }
    }

    // Fills `lines` (reused from line to line) with the ledger lines journal line `i` must have.
    void expectedLines(qsizetype i, std::vector<ExpectedLine>& lines) {
        const auto add = [&](QLatin1StringView role, const QString& knr, const QString& counter, Money soll,
                             Money haben, QLatin1StringView saldoField, const std::optional<Money>& saldo2) {
            ExpectedLine& line = lines.emplace_back();
            line.role = role;
            line.Knr = &knr;
            line.GKnt = &counter;
            line.SollBetrag = soll;
            line.HabenBetrag = haben;
            line.saldoField = saldoField;
            line.saldo2 = saldo2;
            return &line;
        };
        const Books& b = m_books;
        const QString& sollKnt = b.text(b.jSollKnt, i);
        const QString& habenKnt = b.text(b.jHabenKnt, i);
        lines.clear();
        add(QLatin1StringView("Sollzeile"), sollKnt, habenKnt, orZero(b.money(b.jSollBetrag, i)), Money(),
            QLatin1StringView("SollSaldo2"), b.money(b.jSollSaldo2, i));
        add(QLatin1StringView("Habenzeile"), habenKnt, sollKnt, Money(), orZero(b.money(b.jHabenBetrag, i)),
            QLatin1StringView("HabenSaldo2"), b.money(b.jHabenSaldo2, i));
        const QString& ustKnt = b.text(b.jUstKnt, i);
        if (!ustKnt.isEmpty()) {
            const DebitAccount debit = debitAccount(i);
            const QString& counter = debit == DebitAccount::IncomeOrExpense ? sollKnt : habenKnt;
            ExpectedLine* vat = add(QLatin1StringView("USt-Zeile"), ustKnt, counter,
                                    orZero(b.money(b.jUstSoll, i)), orZero(b.money(b.jUstHaben, i)),
                                    QLatin1StringView("UstSaldo2"), b.money(b.jUstSaldo2, i));
            vat->otherGKnt = &sollKnt;
            vat->eitherGKnt = debit == DebitAccount::Unknown;
        }
    }

    // What the chart says of the debit account of journal line `i`, looked up once per account.
    enum class DebitAccount : std::int8_t { NotLookedUp, Unknown, IncomeOrExpense, Other };
    DebitAccount debitAccount(qsizetype i) {
        const Books& b = m_books;
        if (m_debitAccounts.empty())
            m_debitAccounts.assign(b.textKeyCount(b.jSollKnt), DebitAccount::NotLookedUp);
        DebitAccount& known = m_debitAccounts[b.textKey(b.jSollKnt, i)];
        if (known == DebitAccount::NotLookedUp) {
            const auto debit = m_accounts.constFind(b.text(b.jSollKnt, i));
            known = debit == m_accounts.constEnd() ? DebitAccount::Unknown
                    : data::AccountKind::parse(b.text(b.aTyp, *debit)).isIncomeOrExpense()
                        ? DebitAccount::IncomeOrExpense
                        : DebitAccount::Other;
        }
        return known;
    }

    bool counterMatches(const ExpectedLine& expected, qsizetype l) const {
        const QString& gknt = m_books.text(m_books.lGKnt, l);
        return gknt == *expected.GKnt || (expected.eitherGKnt && gknt == *expected.otherGKnt);
    }

    bool sameLine(const ExpectedLine& expected, qsizetype i, qsizetype l) const {
        const Books& b = m_books;
        return b.text(b.lKnr, l) == *expected.Knr && counterMatches(expected, l) &&
               orZero(b.money(b.lSollBetrag, l)) == expected.SollBetrag &&
               orZero(b.money(b.lHabenBetrag, l)) == expected.HabenBetrag &&
               b.sameCutText(b.jBuchtext, i, b.lBuchtext, l, LedgerTextWidth) &&
               orZero(b.integer(b.lAnr, l)) == orZero(b.integer(b.jAnr, i)) &&
               b.sameCutText(b.jBeleg, i, b.lBeleg, l, Uncut) && b.date(b.lDatum, l) == b.date(b.jDatum, i);
    }

    static qint64 orZero(const std::optional<qint64>& number) { return number.value_or(0); }
    static Money orZero(const std::optional<Money>& amount) { return amount.value_or(Money()); }

    QStringList differences(const ExpectedLine& expected, qsizetype i, qsizetype l) const {
        const Books& b = m_books;
        QStringList found;
        const auto differs = [&](const QString& field, const QString& is, const QString& should) {
            if (is != should)
                found.append(QStringLiteral("%1 %2 statt %3").arg(field, is, should));
        };
        if (!counterMatches(expected, l))
            differs(QStringLiteral("GKnt"), accountText(b.text(b.lGKnt, l)), accountText(*expected.GKnt));
        if (orZero(b.money(b.lSollBetrag, l)) != expected.SollBetrag)
            differs(QStringLiteral("SollBetrag"), amountText(b.money(b.lSollBetrag, l)),
                    amountText(expected.SollBetrag));
        if (orZero(b.money(b.lHabenBetrag, l)) != expected.HabenBetrag)
            differs(QStringLiteral("HabenBetrag"), amountText(b.money(b.lHabenBetrag, l)),
                    amountText(expected.HabenBetrag));
        differs(QStringLiteral("Buchtext"), b.text(b.lBuchtext, l),
                cutText(b.text(b.jBuchtext, i), LedgerTextWidth));
        if (orZero(b.integer(b.lAnr, l)) != orZero(b.integer(b.jAnr, i)))
            differs(QStringLiteral("Anr"), numberText(b.integer(b.lAnr, l)),
                    numberText(b.integer(b.jAnr, i)));
        differs(QStringLiteral("Beleg"), b.text(b.lBeleg, l), b.text(b.jBeleg, i));
        if (b.date(b.lDatum, l) != b.date(b.jDatum, i))
            differs(QStringLiteral("Datum"), b.date(b.lDatum, l).toString(QStringLiteral("dd.MM.yyyy")),
                    b.date(b.jDatum, i).toString(QStringLiteral("dd.MM.yyyy")));
        return found;
    }

    void checkLedgerLines() {
        std::vector<ExpectedLine> expected;
        std::vector<qsizetype> actual;
        std::vector<bool> used;
        for (qsizetype i = 0; i < m_books.journalSize(); ++i) {
            if (!data::isPostedMark(ok(i)))
                continue;
            const qint64 position = i + 1;
            expectedLines(i, expected);
            ledgerLinesOf(position, actual);
            used.assign(actual.size(), false);
            // Exact matches first, so that a faulty line is compared with the line it was meant to be.
            for (ExpectedLine& wanted : expected) {
                for (size_t a = 0; a < actual.size() && wanted.matched < 0; ++a) {
                    if (!used[a] && sameLine(wanted, i, actual[a])) {
                        used[a] = true;
                        wanted.matched = actual[a];
                    }
                }
            }
            for (ExpectedLine& wanted : expected) {
                for (size_t a = 0; a < actual.size() && wanted.matched < 0; ++a) {
                    if (!used[a] && ledgerKnr(actual[a]) == *wanted.Knr) {
                        used[a] = true;
                        wanted.matched = actual[a];
                        report(3, QStringLiteral("Zeile %1: %2 (Konto %3): %4")
                                      .arg(position)
                                      .arg(wanted.role, accountText(*wanted.Knr),
                                           differences(wanted, i, actual[a]).join(QStringLiteral(", "))));
                    }
                }
                if (wanted.matched < 0)
                    report(3, QStringLiteral("Zeile %1: %2 (Konto %3) fehlt im Hauptbuch")
                                  .arg(position)
                                  .arg(wanted.role, accountText(*wanted.Knr)));
            }
            for (size_t a = 0; a < actual.size(); ++a) {
                if (!used[a])
                    report(3, QStringLiteral("Zeile %1: überzählige Hauptbuchzeile für Konto %2")
                                  .arg(position)
                                  .arg(accountText(ledgerKnr(actual[a]))));
            }
            checkBalancePreviews(position, expected);
        }
        for (const qsizetype l : m_byBnr) {
            const std::optional<qint64> bnr = m_books.integer(m_books.lBnr, l);
            if (!bnr)
                report(
                    3,
                    QStringLiteral("Hauptbuch: Zeile für Konto %1 ohne Bnr").arg(accountText(ledgerKnr(l))));
            else if (isPosted(*bnr))
                continue;
            else if (*bnr >= 1 && *bnr <= m_books.journalSize())
                report(3, QStringLiteral(
                              "Hauptbuch: Zeile für Konto %1 mit Bnr %2, aber Zeile %2 ist nicht gebucht")
                              .arg(accountText(ledgerKnr(l)))
                              .arg(*bnr));
            else
                report(3, QStringLiteral("Hauptbuch: Zeile für Konto %1 mit Bnr %2 ohne Journalzeile")
                              .arg(accountText(ledgerKnr(l)))
                              .arg(*bnr));
        }
    }

    // A ledger line whose stored balance is not the one before it plus its amounts.
    struct WrongBalance {
        int account; // in account order
        qsizetype line;
        Money expected;
    };

    // Whether each account's lines, in Bnr order, come in table order: then the running
    // balances can be followed in one pass over the table, which reads the ledger front to
    // back instead of hopping from account to account through all of it.
    bool accountsInTableOrder() const {
        for (std::size_t account = 0; account + 1 < m_accountStart.size(); ++account)
            for (std::size_t i = m_accountStart[account] + 1; i < m_accountStart[account + 1]; ++i)
                if (m_byAccount[i - 1] > m_byAccount[i])
                    return false;
        return true;
    }

    // The balance check goes on from the stored balance, so one wrong line is not repeated on
    // every later one. The result is in account order, then Bnr order.
    std::vector<WrongBalance> wrongBalances() const {
        const Books& b = m_books;
        std::vector<WrongBalance> wrong;
        const auto follow = [&](Money& balance, int account, qsizetype l) {
            const Money expected =
                balance + orZero(b.money(b.lSollBetrag, l)) - orZero(b.money(b.lHabenBetrag, l));
            balance = orZero(b.money(b.lSaldo, l));
            if (balance != expected)
                wrong.push_back({account, l, expected});
        };
        if (accountsInTableOrder()) {
            std::vector<Money> balances(m_accountStart.size());
            for (qsizetype l = 0; l < b.ledgerSize(); ++l) {
                const int account = m_accountOf[std::size_t(l)];
                follow(balances[std::size_t(account)], account, l);
            }
            std::stable_sort(wrong.begin(), wrong.end(), [](const WrongBalance& x, const WrongBalance& y) {
                return x.account < y.account;
            });
            return wrong;
        }
        for (std::size_t account = 0; account + 1 < m_accountStart.size(); ++account) {
            Money balance;
            for (std::size_t i = m_accountStart[account]; i < m_accountStart[account + 1]; ++i)
                follow(balance, int(account), m_byAccount[i]);
        }
        return wrong;
    }

    void checkRunningBalances() {
        const Books& b = m_books;
        const std::vector<WrongBalance> wrong = wrongBalances();
        auto nextWrong = wrong.begin();
        QHash<QString, qsizetype> latest; // account -> its ledger line with the highest Bnr
        for (std::size_t account = 0; account + 1 < m_accountStart.size(); ++account) {
            const std::size_t begin = m_accountStart[account];
            const std::size_t end = m_accountStart[account + 1];
            if (begin == end)
                continue;
            const QString& knr = ledgerKnr(m_byAccount[begin]);
            for (; nextWrong != wrong.end() && nextWrong->account == int(account); ++nextWrong) {
                const std::optional<qint64> bnr = b.integer(b.lBnr, nextWrong->line);
                report(4, QStringLiteral("Konto %1, Bnr %2: Saldo %3 statt %4")
                              .arg(accountText(knr))
                              .arg(bnr ? QString::number(*bnr) : QStringLiteral("leer"))
                              .arg(amountText(b.money(b.lSaldo, nextWrong->line)),
                                   amountText(nextWrong->expected)));
            }
            latest.insert(knr, m_byAccount[end - 1]);
            if (!m_accounts.contains(knr))
                report(4, QStringLiteral("Konto %1: Hauptbuchzeilen ohne Eintrag im Kontoplan")
                              .arg(accountText(knr)));
        }
        for (qsizetype a = 0; a < b.accountCount(); ++a) {
            const QString& knr = b.text(b.aKnr, a);
            const std::optional<Money> saldo = b.money(b.aSaldo, a);
            const std::optional<qint64> lastAnr = b.integer(b.aLastAnr, a);
            const auto found = latest.constFind(knr);
            if (found == latest.constEnd()) {
                // Without ledger lines the balance is empty; 0 is what the chart and the re-sync store.
                if (!orZero(saldo).isZero())
                    report(4, QStringLiteral("Konto %1: Saldo %2 ohne Hauptbuchzeilen")
                                  .arg(accountText(knr), amountText(saldo)));
                if (orZero(lastAnr) != 0)
                    report(4, QStringLiteral("Konto %1: LastAnr %2 ohne Hauptbuchzeilen")
                                  .arg(accountText(knr), numberText(lastAnr)));
                continue;
            }
            const qsizetype last = *found;
            const std::optional<qint64> lastBnr = b.integer(b.lBnr, last);
            const QString bnr = lastBnr ? QString::number(*lastBnr) : QStringLiteral("leer");
            if (orZero(saldo) != orZero(b.money(b.lSaldo, last)))
                report(4, QStringLiteral("Konto %1: Saldo %2 statt %3 (letzte Hauptbuchzeile Bnr %4)")
                              .arg(accountText(knr), amountText(saldo), amountText(b.money(b.lSaldo, last)),
                                   bnr));
            if (orZero(lastAnr) != orZero(b.integer(b.lAnr, last)))
                report(4, QStringLiteral("Konto %1: LastAnr %2 statt %3 (letzte Hauptbuchzeile Bnr %4)")
                              .arg(accountText(knr), numberText(lastAnr), numberText(b.integer(b.lAnr, last)),
                                   bnr));
        }
    }

    void checkBalancePreviews(qint64 position, const std::vector<ExpectedLine>& lines) {
        for (const ExpectedLine& line : lines) {
            if (line.matched < 0)
                continue; // reported as missing
            const std::optional<Money> saldo = m_books.money(m_books.lSaldo, line.matched);
            if (orZero(line.saldo2) != orZero(saldo))
                report(5, QStringLiteral("Zeile %1: %2 %3 statt %4 (Saldo Konto %5)")
                              .arg(position)
                              .arg(line.saldoField, amountText(line.saldo2), amountText(saldo),
                                   accountText(*line.Knr)));
        }
    }

    void checkSums() {
        const Books& b = m_books;
        Money journalDebit;
        Money journalCredit;
        for (qsizetype i = 0; i < b.journalSize(); ++i) {
            if (!data::isPostedMark(ok(i)))
                continue;
            journalDebit += orZero(b.money(b.jSollBetrag, i)) + orZero(b.money(b.jUstSoll, i));
            journalCredit += orZero(b.money(b.jHabenBetrag, i)) + orZero(b.money(b.jUstHaben, i));
        }
        Money ledgerDebit;
        Money ledgerCredit;
        for (qsizetype l = 0; l < b.ledgerSize(); ++l) {
            ledgerDebit += orZero(b.money(b.lSollBetrag, l));
            ledgerCredit += orZero(b.money(b.lHabenBetrag, l));
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
        for (qsizetype a = 0; a < m_books.accountCount(); ++a)
            total += orZero(m_books.money(m_books.aSaldo, a));
        if (!total.isZero())
            report(7, QStringLiteral("Kontoplan: Summe der Salden %1 statt 0,00").arg(amountText(total)));
    }

    const Books& m_books;
    const int m_max;
    QHash<QString, int> m_accounts; // account number -> its first record
    std::vector<qsizetype> m_byBnr;
    std::vector<std::size_t> m_firstOfBnr; // [n]..[n+1]: the lines of Bnr n in m_byBnr
    std::vector<qsizetype> m_byAccount;
    std::vector<DebitAccount> m_debitAccounts; // by text key of SollKnt
    std::vector<int> m_accountOf;              // by ledger line: its account, in account order
    std::vector<std::size_t> m_accountStart;   // [a]..[a+1]: the lines of account a in m_byAccount
    std::array<int, InvariantCount + 1> m_counts{};
    QList<InvariantFinding> m_findings;
};

} // namespace

QString InvariantFinding::toString() const {
    return QStringLiteral("Regel %1: %2").arg(invariant).arg(text);
}

QList<InvariantFinding> checkInvariants(const BooksSnapshot& books, int maxFindingsPerInvariant) {
    const invariants::SnapshotBooks source(books);
    return Checker(source, maxFindingsPerInvariant).run();
}

QList<InvariantFinding> checkInvariants(data::Session& session, int maxFindingsPerInvariant) {
    // Open cursors keep the tables loaded while the check reads them.
    data::Cursor journal(session, QStringLiteral("journal.DB"));
    data::Cursor ledger(session, QStringLiteral("konten.DB"));
    data::Cursor accounts(session, QStringLiteral("kntplan.DB"));
    const invariants::LiveBooks source(journal.table(), ledger.table(), accounts.table());
    return Checker(source, maxFindingsPerInvariant).run();
}

QStringList findingLines(const QList<InvariantFinding>& findings) {
    QStringList lines;
    lines.reserve(findings.size());
    for (const InvariantFinding& finding : findings)
        lines.append(finding.toString());
    return lines;
}

} // namespace kontaro
