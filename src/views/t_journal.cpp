#include "views/t_journal.h"

#include "base/date.h"
#include "data/cursor.h"
#include "data/settings.h"
#include "forms/control_def.h"
#include "output/page_buffer.h"
#include "views/journal_panels.h"

namespace kontaro::views {

namespace {

using forms::ControlDef;
using enum forms::ControlKind;

constexpr ControlDef Controls[] = {
    // Column headings above the list.
    {.name = u"L_Soll", .kind = Label, .caption = u"Soll"},
    {.name = u"L_Haben", .kind = Label, .caption = u"Haben"},
    {.name = u"L_Saldo", .kind = Label, .caption = u"Saldo"},
    {.name = u"L_Buchtext", .kind = Label, .caption = u"Buchungstext"},
    {.name = u"L_Anr", .kind = Label, .caption = u"Anr"},
    {.name = u"L_Beleg", .kind = Label, .caption = u"Beleg"},
    {.name = u"L_Datum", .kind = Label, .caption = u"Datum"},
    {.name = u"L_BnrOk", .kind = Label, .caption = u"Bnr Ok"},

    // One panel of three rows per line of journal.DB, in line order, laid out by
    // journalPanelFields(). The current panel is highlighted in yellow; a click on a panel selects
    // the accounts of its line.
    {.name = u"Buchungsliste", .kind = Grid, .readOnly = true},
    {.name = u"UpdateKonto",
     .kind = MenuItem,
     .caption = u"Update Soll/Haben Konto im Hauptbuch/Kontoplan",
     .parent = u"Buchungsliste"},

    // Search term (an amount or a text) and the two searches next to it.
    {.name = u"SucheText", .upperCase = true},
    {.name = u"B_sucheAelter", .kind = Button},
    {.name = u"B_sucheNeueste", .kind = Button},
    // Posting number of the current line, or the number to go to.
    {.name = u"sucheBnr", .followsTyping = true},
    // Print button; its tag is the print mode.
    {.name = u"B_DruckJournal", .kind = Button},
};

} // namespace

T_Journal::T_Journal(forms::Windows& windows)
    : Form(QStringLiteral("_Journal"), windows.ui())
    , m_windows(windows) {
    caption = QStringLiteral("Journal");
    helpContext = 4;
    windowState = forms::WindowState::Minimized;

    for (const ControlDef& def : Controls)
        forms::applyDef(addControl(def.name.toString(), def.kind, def.parent.toString()), def);

    m_lines = std::make_unique<data::Cursor>(windows.session(), QStringLiteral("journal.DB"));
    m_lines->setReadOnly(true);
    control(QStringLiteral("sucheBnr")).onChange = [this] { goToNumber(); };
    writeFirstDate();

    forms::Control& list = control(QStringLiteral("Buchungsliste"));
    list.items = journalPanelColumns();
    list.grid = makeJournalPanels(windows.session(), list.items, *m_lines);
    list.onClick = [this] { selectAccounts(); };
    control(QStringLiteral("UpdateKonto")).onClick = [this] { selectAccounts(); };
    control(QStringLiteral("SucheText")).onKey = [this](const QString& key) { searchKey(key); };
    control(QStringLiteral("B_sucheAelter")).onClick = [this] { sucheAelter(); };
    control(QStringLiteral("B_sucheNeueste")).onClick = [this] { sucheNeueste(); };
    m_re = std::make_unique<output::PageBuffer>(QStringLiteral("Courier New"), 8);
    control(QStringLiteral("B_DruckJournal")).onClick = [this] {
        printJournal(control(QStringLiteral("B_DruckJournal")).tag);
    };
}

// The date of the first posting line, for the other years' windows; the zero date without one.
void T_Journal::writeFirstDate() {
    const QDate first = m_lines->asDate(QStringLiteral("Datum"));
    Settings(m_windows.dataDirectory()).setBuchung1(first.isValid() ? first : zeroDate());
}

T_Journal::~T_Journal() = default;

// --- Go to a posting number --------------------------------------------------------------------

void T_Journal::gotoBnr(const QString& bnr) {
    control(QStringLiteral("sucheBnr")).setText(bnr);
    goToNumber();
}

void T_Journal::goToNumber() {
    m_searchRanOut = false;
    const QString wanted = control(QStringLiteral("sucheBnr")).text();
    data::Cursor& j = *m_lines;
    j.last();
    if (wanted.isEmpty())
        return;
    // Backwards from the line before the last; a number not found leaves the first line.
    for (;;) {
        j.prior();
        if (j.bof() || j.asText(QStringLiteral("Bnr")) == wanted)
            return;
    }
}

void T_Journal::refreshLines() {
    // The table is shared in memory with the posting window's cursor; only a cursor left without
    // a row (the journal was empty when the window opened) has to find one.
    if (m_lines->recNo() == 0)
        m_lines->first();
}

} // namespace kontaro::views
