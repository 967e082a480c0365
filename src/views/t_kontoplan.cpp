#include "views/t_kontoplan.h"

#include "data/cursor.h"
#include "forms/control_def.h"
#include "output/line_list.h"
#include "output/page_buffer.h"
#include "views/kontoplan_grid.h"
#include "views/kontoplan_rules.h"
#include "views/t_konto.h"
#include "years/t_alt.h"

namespace kontaro::views {

namespace {

using forms::ControlDef;
using enum forms::ControlKind;

constexpr ControlDef Controls[] = {
    // All fields of kntplan.DB in Knr order. Knr and UstKnt are upper case, Typ is picked from
    // typAuswahl(), Saldo and LastAnr are read-only; the grid never starts an edit by itself.
    {.name = u"Kontenliste",
     .kind = Grid,
     .items = u"Knr;Typ;Name;UstKnt;UstP;Saldo;Budget;Gruppe;LastAnr;Seite"},
    // Setting it moves the cursor to the matching account.
    {.name = u"Suchwort", .upperCase = true, .followsTyping = true, .text = u"SUCHWORT"},
    {.name = u"B_einfuegen", .kind = Button, .caption = u"E&infügen"},
    {.name = u"B_edit", .kind = Button, .caption = u"&EDIT"},
    // Its tag is set while the command toggles the protection.
    {.name = u"B_schutzwechsel", .kind = Button, .caption = u"&Schutz"},
    {.name = u"B_loeschen", .kind = Button, .caption = u"Knt&Löschen"},
    // Save and cancel are usable only while a record is in edit or insert.
    {.name = u"B_esc", .kind = Button, .caption = u"ESC", .enabled = false},
    {.name = u"B_ok", .kind = Button, .caption = u"&OK", .enabled = false},
    // Print button; its tag is the print mode (0 all accounts, 1 group entries only).
    {.name = u"B_druKontoplan", .kind = Button},
    // Hidden command of the main menu's group-sums report.
    {.name = u"up_Gruppensummen", .kind = Button, .visible = false},
};

} // namespace

T_Kontoplan::T_Kontoplan(forms::Windows& windows)
    : Form(QStringLiteral("_Kontoplan"), windows.ui())
    , m_windows(windows) {
    caption = QStringLiteral("Kontoplan");
    helpContext = 3;
    windowState = forms::WindowState::Minimized;

    for (const ControlDef& def : Controls)
        forms::applyDef(addControl(def.name.toString(), def.kind, def.parent.toString()), def);

    m_re = std::make_unique<output::PageBuffer>(QStringLiteral("Courier New"), 8);
    m_gru = std::make_unique<output::LineList>(true);

    m_table = std::make_unique<data::Cursor>(windows.session(), QStringLiteral("kntplan.DB"));
    m_grid = std::make_shared<KontoplanGrid>(windows.session(), *m_table);
    m_rules = std::make_unique<KontoplanRules>(windows, [this] { return schutzwechsel(); });
    m_rules->install(*m_table);
    data::CursorEvents& events = m_table->events();
    events.afterScroll = [this](data::Cursor&) { cursorMoved(); };
    events.afterPost = [this](data::Cursor& t) {
        m_saved = Saved{t.asText(QStringLiteral("Knr")), t.asText(QStringLiteral("UstKnt")),
                        t.asText(QStringLiteral("Gruppe"))};
        afterSaveOrCancel();
    };
    events.stateChange = [this](data::Cursor&) { stateChanged(); };

    forms::Control& grid = control(QStringLiteral("Kontenliste"));
    grid.grid = m_grid;
    grid.onExit = [this] { gridExit(); };
    grid.onKey = [this](const QString& key) { gridKey(key); };
    control(QStringLiteral("Suchwort")).onChange = [this] { search(); };
    control(QStringLiteral("B_einfuegen")).onClick = [this] { einfuegen(); };
    control(QStringLiteral("B_edit")).onClick = [this] { editieren(); };
    control(QStringLiteral("B_schutzwechsel")).onClick = [this] { schutz(); };
    control(QStringLiteral("B_loeschen")).onClick = [this] { loeschen(); };
    control(QStringLiteral("B_esc")).onClick = [this] { abbrechen(); };
    control(QStringLiteral("B_ok")).onClick = [this] { speichern(); };
    control(QStringLiteral("B_druKontoplan")).onClick = [this] {
        printChart(control(QStringLiteral("B_druKontoplan")).tag);
    };
    control(QStringLiteral("up_Gruppensummen")).onClick = [this] { printGroupSums(); };
    cursorMoved();
}

T_Kontoplan::~T_Kontoplan() = default;

// --- Account selection -------------------------------------------------------------------------

void T_Kontoplan::setSuchwort(const QString& word) {
    control(QStringLiteral("Suchwort")).setText(word);
    search();
}

QString T_Kontoplan::currentKnr() const {
    return m_table->asText(QStringLiteral("Knr"));
}

void T_Kontoplan::search() {
    const QString word = control(QStringLiteral("Suchwort")).text();
    data::Cursor& t = *m_table;
    if (t.locate(QStringLiteral("Knr"), {word}, {.caseInsensitive = true, .partial = true}))
        return;
    // No number starts with the word: the account nearest the end whose number or name holds it.
    // The last record itself is not tested; without a match the cursor ends on the first record.
    t.last();
    for (;;) {
        t.prior();
        if (t.bof())
            return;
        if (word.isEmpty())
            continue;
        if (t.asText(QStringLiteral("Knr")).toUpper().contains(word) ||
            t.asText(QStringLiteral("Name")).toUpper().contains(word))
            return;
    }
}

void T_Kontoplan::cursorMoved() {
    const QString knr = currentKnr();
    T_Konto& konto = m_windows.konto();
    if (!konto.fixeKontowahl())
        konto.setKontoWahl(knr);
    // The previous-years window follows only while its archive tables are there; whatever goes
    // wrong there must not stop a move in the chart.
    forms::Form& alt = m_windows.alt();
    const QString kntNr = QStringLiteral("kntNr");
    if (!alt.hasControl(kntNr) || alt.control(QStringLiteral("ALT_INFO")).visible)
        return;
    try {
        forms::Control& field = alt.control(kntNr);
        if (field.text() == knr)
            return;
        field.setText(knr);
        if (field.onChange)
            field.onChange();
    } catch (const std::exception&) {
    }
}

void T_Kontoplan::onDeactivate() {
    setSuchwort(QString());
}

QStringList T_Kontoplan::typAuswahl() {
    return {QStringLiteral("B"), QStringLiteral("K"), QStringLiteral("U"), QStringLiteral("A"),
            QStringLiteral("E"), QStringLiteral("X"), QStringLiteral(":"), QStringLiteral("b"),
            QStringLiteral("k"), QStringLiteral("u"), QStringLiteral("a"), QStringLiteral("e"),
            QStringLiteral("x")};
}

} // namespace kontaro::views
