// The account search of the posting window: parts of account numbers and names, from the end of the
// chart backwards; a term the chart does not hold goes on to the journal's search.
#include "data/cursor.h"
#include "data/field_names.h"
#include "posting/t_buchen.h"
#include "views/t_journal.h"
#include "views/t_kontoplan.h"

namespace kontaro::posting {

namespace {

using namespace data::fields;

// Steps back from the cursor's account until a number or name holds the term. The step comes
// before each test, so the account the walk starts on is never tested. False when the walk ran out
// at the first account.
bool stepBackToMatch(data::Cursor& chart, const QString& term) {
    const int knrField = chart.fieldIndex(Knr);
    const int nameField = chart.fieldIndex(QStringLiteral("Name"));
    for (;;) {
        chart.prior();
        if (chart.bof())
            return false;
        if (chart.asText(nameField).toUpper().contains(term) ||
            chart.asText(knrField).toUpper().contains(term))
            return true;
    }
}

} // namespace

void T_Buchen::searchAccount() {
    m_windows.kontoplan().table().last();
    // A cancelled dialog searches again with the previous term.
    const QString answer =
        ui().input(QStringLiteral("Sollkonto"), QStringLiteral("Suchbegriff"), m_suchbegriff)
            .value_or(m_suchbegriff);
    m_suchbegriff = answer.toUpper().left(20);
    continueAccountSearch();
}

void T_Buchen::continueAccountSearch() {
    views::T_Kontoplan& kontoplan = m_windows.kontoplan();
    data::Cursor& table = kontoplan.table();
    // The walk runs on a cursor of our own, so the other windows follow the chart only to the
    // account it stops on.
    data::Cursor& walk = *m_chart;
    if (table.isEmpty())
        return;
    if (table.bof()) {
        table.last();
        ui().message(QStringLiteral("Dateiende"));
    }
    walk.locate(Knr, {table.asText(Knr)});
    const bool found = stepBackToMatch(walk, m_suchbegriff);
    if (found)
        table.locate(Knr, {walk.asText(Knr)});
    else
        table.first();
    // Taken before the journal's search, which may select another account in the chart.
    const QString knr = table.asText(Knr);

    views::T_Journal& journal = m_windows.journal();
    journal.control(QStringLiteral("SucheText")).setText(m_suchbegriff);
    if (!found) {
        ui().message(QLatin1Char('"') + m_suchbegriff +
                     QStringLiteral("\" im Kontoplan nicht gefunden. Suche an JOURNAL übergeben."));
        journal.sucheNeueste();
    }

    const QString focused = focusedControl();
    if (focused == SollKnt || focused == HabenKnt) {
        editLine();
        m_j->setText(focused, knr);
        validate();
    }
}

} // namespace kontaro::posting
