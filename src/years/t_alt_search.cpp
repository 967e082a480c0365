// The search of the previous-years window through the old journals.
#include "base/format.h"
#include "base/money.h"
#include "data/cursor.h"
#include "years/t_alt.h"

#include <optional>

namespace kontaro::years {

namespace {

// Both sides of an amount comparison are taken to four decimal places; a value beyond any amount
// matches nothing.
std::optional<std::int64_t> tenThousandths(double value) {
    try {
        return Money::fromDouble(value).units();
    } catch (const MoneyOverflow&) {
        return std::nullopt;
    }
}

} // namespace

bool T_alt::rowHoldsAmount(std::optional<std::int64_t> units) const {
    if (!units)
        return false;
    for (const char* field : {"SOLLBETRAG", "HABENBETRA", "USTSOLL", "USTHABEN"})
        if (!m_journal->isNull(QString::fromLatin1(field)) &&
            tenThousandths(m_journal->asDouble(QString::fromLatin1(field))) == units)
            return true;
    return false;
}

bool T_alt::rowHoldsText(const QString& term) const {
    return m_journal->asText(QStringLiteral("BUCHTEXT")).toUpper().contains(term);
}

// Steps back from the current row (which is not tested). An amount search stops on the first row
// when nothing matches; a text search that runs past the first row starts over at the end.
void T_alt::searchPrevious() {
    if (!m_journal)
        return;
    const QString term = control(QStringLiteral("SucheText")).text();
    data::Cursor& journal = *m_journal;
    if (const std::optional<long double> amount = parseNumber(term)) {
        const std::optional<std::int64_t> units = tenThousandths(static_cast<double>(*amount));
        do {
            journal.prior();
        } while (!journal.bof() && !rowHoldsAmount(units));
    } else {
        bool match = false;
        while (!match) {
            journal.prior();
            if (journal.bof())
                break;
            match = rowHoldsText(term);
        }
        if (!match)
            journal.last();
    }
    if (geometry.height < 260)
        geometry.height = 260;

    // The account of the row found becomes the window's account; the selection then ends on the
    // account's last row, so the search goes back to the row it found.
    forms::Control& kntNr = control(QStringLiteral("kntNr"));
    const QString soll = journal.asText(QStringLiteral("SOLLKNT"));
    if (journal.isEmpty() || kntNr.text() == soll)
        return;
    const data::Bookmark found = journal.bookmark();
    kntNr.setText(soll);
    selectAccount();
    if (journal.bookmarkValid(found))
        journal.gotoBookmark(found);
}

} // namespace kontaro::years
