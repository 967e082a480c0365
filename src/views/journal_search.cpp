// The journal window's searches and its account selection.
#include "base/format.h"
#include "data/book_codes.h"
#include "data/cursor.h"
#include "posting/t_buchen.h"
#include "views/t_journal.h"
#include "views/t_konto.h"
#include "views/t_kontoplan.h"

#include <cmath>
#include <optional>

namespace kontaro::views {

namespace {

const QString SucheText = QStringLiteral("SucheText");
const QString SucheBnr = QStringLiteral("sucheBnr");

// The search term as an amount, when it reads as a number in the user's notation.
std::optional<Money> searchedAmount(const QString& term) {
    const std::optional<long double> number = parseNumber(term);
    if (!number || !std::isfinite(*number))
        return std::nullopt;
    if (const std::optional<Money> exact = Money::parse(term))
        return exact;
    // Forms such as "1E2" read as numbers but not as amounts: take the number to 1/10000.
    const long double units = std::round(*number * Money::Scale);
    if (std::fabs(units) > 9.2e18L)
        return std::nullopt;
    return Money::fromUnits(static_cast<std::int64_t>(units));
}

bool hasAmount(const data::Cursor& line, Money amount) {
    for (const char* field : {"SollBetrag", "HabenBetrag", "UstSoll", "UstHaben"})
        if (line.asMoney(QLatin1String(field)) == amount)
            return true;
    return false;
}

} // namespace

void T_Journal::sucheAelter() {
    searchBackwards();
}

void T_Journal::sucheNeueste() {
    m_lines->last();
    searchBackwards();
}

void T_Journal::searchKey(const QString& key) {
    if (key != QLatin1String("Enter"))
        return;
    // At the start of the journal the previous search ran out: begin again at the end.
    if (m_lines->bof() || m_searchRanOut)
        sucheNeueste();
    else
        sucheAelter();
}

// Steps back from the current line, which is never tested itself, until a line matches or the
// first line is reached.
void T_Journal::searchBackwards() {
    data::Cursor& j = *m_lines;
    const QString term = control(SucheText).text();
    try {
        if (const std::optional<Money> amount = searchedAmount(term)) {
            for (j.prior(); !j.bof() && !hasAmount(j, *amount); j.prior()) {
            }
        } else {
            // An empty term matches nothing: the search runs out at the start of the journal.
            const auto matches = [&] {
                return !term.isEmpty() && j.asText(QStringLiteral("Buchtext")).toUpper().contains(term);
            };
            for (j.prior(); !j.bof() && !matches(); j.prior()) {
            }
        }
    } catch (...) {
        showFoundLine();
        throw;
    }
    const bool ranOut = j.bof();
    showFoundLine();
    m_searchRanOut = ranOut;
}

// The line a search ended on becomes the shown posting number, and its account the chart's: the
// credit account while the posting window's credit field has the focus, else the debit account.
void T_Journal::showFoundLine() {
    const QString bnr = m_lines->asText(QStringLiteral("Bnr"));
    if (control(SucheBnr).text() != bnr)
        gotoBnr(bnr);
    const bool creditFocused = m_windows.buchen().focusedControl() == QLatin1String("HabenKnt");
    m_windows.kontoplan().setSuchwort(
        m_lines->asText(creditFocused ? QStringLiteral("HabenKnt") : QStringLiteral("SollKnt")));
}

// A click on a posted line selects its debit account in the chart, a second click its credit
// account; the ledger window follows and shows the line's ledger line.
void T_Journal::selectAccounts() {
    data::Cursor& j = *m_lines;
    if (!data::isPostedMark(j.asText(QStringLiteral("Ok"))))
        return;
    T_Kontoplan& chart = m_windows.kontoplan();
    chart.windowState = forms::WindowState::Normal; // from minimised and from maximised
    T_Konto& konto = m_windows.konto();
    konto.control(QStringLiteral("fixeKontowahl")).checked = false;
    const QString soll = j.asText(QStringLiteral("SollKnt"));
    chart.setSuchwort(chart.control(QStringLiteral("Suchwort")).text() != soll
                          ? soll
                          : j.asText(QStringLiteral("HabenKnt")));
    konto.zeilen().locate(QStringLiteral("Bnr"), {qlonglong(j.asInteger(QStringLiteral("Bnr")))});
}

} // namespace kontaro::views
