#pragma once

#include <QChar>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace kontaro::data {

// Status mark of a posting line (journal field Ok).
enum class PostingMark : std::uint8_t {
    None,      // "": appended, inserted or made by the VAT closing; not yet current
    Prepared,  // "~": the current line, or a later one that was current before an undo
    Posted,    // "=": its ledger lines exist and the balances include it
    Protected, // "#": posted, and undo stops before it
    Opening,   // "*": opening line written by the new-year command, not yet posted
};

// The mark an Ok text spells exactly; a text that is no mark gives nothing.
std::optional<PostingMark> parsePostingMark(QStringView ok);
QString postingMarkText(PostingMark mark);
constexpr bool isPosted(PostingMark mark) {
    return mark == PostingMark::Posted || mark == PostingMark::Protected;
}
// Only "=" and "#" count as posted; any other text, a mark or not, is a prepared line.
bool isPostedMark(QStringView ok);
// Whether an Ok text is exactly the given mark.
bool hasMark(QStringView ok, PostingMark mark);

// Account-type letter of the chart (field Typ): B bank, K cash, U other balance-sheet account,
// A expense, E income, X opening and closing, ":" never posted to. Only the first character counts.
//
// A lower-case letter marks a protected account of the same kind; protecting and lifting it switch
// the case. What lower case means, decided once for each use:
// - The kind predicates below ignore the case: a protected account keeps its kind. Everything that
//   reads what was posted (the invariant checker, the VAT return, reports by kind) relies on that,
//   because protecting an account later must not change how its earlier lines are read.
// - The posting window cannot post to a protected account, so there it has no kind at all: it asks
//   isUsable() before the kind (postingKind… helpers of the posting window).
// - The new year carries only unprotected balance-sheet accounts (isCarriedIntoNewYear()).
class AccountKind {
public:
    static AccountKind parse(QStringView typ);

    // The kind's letter in upper case (':' stays ':'); null for an empty type.
    QChar letter() const { return m_letter; }
    // Protected: anything but an upper-case letter A to Z first (lower case, ':' or empty).
    bool isProtected() const { return m_protected; }
    bool isUsable() const { return !m_protected; }

    bool isIncome() const { return m_letter == QLatin1Char('E'); }
    bool isExpense() const { return m_letter == QLatin1Char('A'); }
    bool isIncomeOrExpense() const { return isIncome() || isExpense(); }
    bool isBalanceSheet() const;
    bool isCarriedIntoNewYear() const { return isUsable() && isBalanceSheet(); }

private:
    QChar m_letter;
    bool m_protected = true;
};

} // namespace kontaro::data
