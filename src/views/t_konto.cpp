#include "views/t_konto.h"

#include "base/money.h"
#include "data/cursor.h"
#include "forms/control_def.h"
#include "output/page_buffer.h"

namespace kontaro::views {

namespace {

using forms::ControlDef;
using enum forms::ControlKind;

constexpr QStringView Header = u"Kopfleiste";

// The header strip shows the current record of the window's own cursor on kntplan.DB (the field
// named by each display); a double-click on it re-syncs every account balance.
constexpr ControlDef HeaderControls[] = {
    {.name = u"L_kontoWahl", .kind = Label, .caption = u"Kontonummer"},
    // Shown in bold. Set by the chart window and the account list, never by typing.
    {.name = u"kontoWahl", .readOnly = true, .upperCase = true, .maxLength = 10},
    {.name = u"L_Typ", .kind = Label, .caption = u"Art"},
    {.name = u"Typ", .readOnly = true},
    {.name = u"L_UstKnt", .kind = Label, .caption = u"UstKnt"},
    {.name = u"UstKnt", .readOnly = true},
    {.name = u"L_UstP", .kind = Label, .caption = u"UstP"},
    {.name = u"UstP", .readOnly = true},
    {.name = u"L_Budget", .kind = Label, .caption = u"Budget"},
    {.name = u"Budget", .readOnly = true},
    {.name = u"L_Saldo", .kind = Label, .caption = u"Saldo"},
    {.name = u"Saldo", .readOnly = true},
    {.name = u"L_Gruppe", .kind = Label, .caption = u"Gruppe"},
    {.name = u"Gruppe", .readOnly = true},
    {.name = u"L_Name", .kind = Label, .caption = u"Kontobezeichnung"},
    {.name = u"Name", .readOnly = true},
};

constexpr ControlDef Controls[] = {
    // Ticked: manual choice, the account no longer follows the chart window.
    {.name = u"fixeKontowahl", .kind = CheckBox, .caption = u"Kontoaswahl"},
    // Lookup over the chart of accounts (columns Knr, Typ, UstP, Saldo, Name; 26 rows).
    {.name = u"Kontoauswahl", .kind = DropDown, .listRows = 26, .listWidth = 600},
    // The ledger lines of the account from konten.DB, index "absteigend". The posting window reads
    // a dropped row by column position, so the order of the columns is fixed.
    {.name = u"Hauptbuchzeilen",
     .kind = Grid,
     .readOnly = true,
     .items = u"SollBetrag;HabenBetrag;GKnt;Buchtext;Datum;Beleg;Anr;Kz;Saldo;Bnr"},
    // Prints the current account.
    {.name = u"B_kontodruck", .kind = Button},
    // Hidden commands run by the main menu and the posting window: the printout with the mode in
    // its tag, and the balance re-sync.
    {.name = u"up_kontodruck", .kind = Button, .visible = false},
    {.name = u"B_pruefe", .kind = Button, .caption = u"pruefe", .visible = false},
};

} // namespace

T_Konto::T_Konto(forms::Windows& windows)
    : Form(QStringLiteral("_Konto"), windows.ui())
    , m_windows(windows) {
    caption = QStringLiteral("Hauptbuch");
    helpContext = 5;
    windowState = forms::WindowState::Minimized;

    addControl(Header.toString(), Panel);
    for (const ControlDef& def : HeaderControls)
        forms::applyDef(addControl(def.name.toString(), def.kind, Header.toString()), def);
    for (const ControlDef& def : Controls)
        forms::applyDef(addControl(def.name.toString(), def.kind, def.parent.toString()), def);

    m_konten = std::make_unique<data::Cursor>(windows.session(), QStringLiteral("kntplan.DB"));
    m_zeilen = std::make_unique<data::Cursor>(windows.session(), QStringLiteral("konten.DB"));
    m_zeilen->setReadOnly(true);
    m_zeilen->setIndexName(QStringLiteral("absteigend"));
    m_zeilen->setMaster(*m_konten, QStringLiteral("Knr"));

    control(QStringLiteral("B_pruefe")).onClick = [this] { saldenAbgleich(); };
    control(Header.toString()).onDoubleClick = [this] { saldenAbgleich(); };

    setUpDisplays();
    m_re = std::make_unique<output::PageBuffer>(QStringLiteral("Courier New"), 9);
    control(QStringLiteral("B_kontodruck")).onClick = [this] { printAccounts(PrintCurrent); };
    control(QStringLiteral("up_kontodruck")).onClick = [this] {
        printAccounts(control(QStringLiteral("up_kontodruck")).tag);
    };
}

T_Konto::~T_Konto() = default;

// --- Account shown, refresh after posting, balance re-sync ------------------------------------

bool T_Konto::fixeKontowahl() const {
    return control(QStringLiteral("fixeKontowahl")).checked;
}

void T_Konto::setKontoWahl(const QString& knr) {
    control(QStringLiteral("kontoWahl")).setText(knr);
    showAccount();
}

void T_Konto::showAccount() {
    const QString wanted = control(QStringLiteral("kontoWahl")).text();
    if (wanted.isEmpty())
        m_konten->first(); // every number starts with the empty text
    else
        m_konten->locate(QStringLiteral("Knr"), {wanted}, {.partial = true});
}

void T_Konto::refreshAfterPosting() {
    m_zeilen->first();
    forms::Control& saldo = control(QStringLiteral("Saldo"));
    if (!saldo.isBound())
        saldo.setText(QString());
}

void T_Konto::saldenAbgleich() {
    setKontoWahl(QString());
    data::Cursor& konto = *m_konten;
    for (konto.first(); !konto.eof(); konto.next()) {
        // The detail cursor follows the account: its first line is the most recent one.
        m_zeilen->first();
        const Money latest = m_zeilen->isEmpty() ? Money() : m_zeilen->asMoney(QStringLiteral("Saldo"));
        if (konto.asMoney(QStringLiteral("Saldo")) == latest)
            continue;
        konto.edit();
        konto.setMoney(QStringLiteral("Saldo"), latest);
        konto.post();
    }
    ui().message(QStringLiteral("SALDOPRÜFUNG ABGESCHLOSSEN"));
}

} // namespace kontaro::views
