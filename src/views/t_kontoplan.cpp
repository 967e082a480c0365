#include "views/t_kontoplan.h"

#include "forms/control_spec.h"

namespace kontaro::views {

namespace {

using forms::ControlSpec;
using enum forms::ControlKind;

constexpr ControlSpec Controls[] = {
    // All fields of kntplan.DB in Knr order. Knr and UstKnt are upper case, Typ is picked from
    // typAuswahl(), Saldo and LastAnr are read-only; the grid never starts an edit by itself.
    {.name = u"Kontenliste",
     .kind = Grid,
     .items = u"Knr;Typ;Name;UstKnt;UstP;Saldo;Budget;Gruppe;LastAnr;Seite"},
    // Setting it moves the cursor to the matching account.
    {.name = u"Suchwort", .upperCase = true, .text = u"SUCHWORT"},
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

    for (const ControlSpec& spec : Controls)
        forms::applySpec(addControl(spec.name.toString(), spec.kind, spec.parent.toString()), spec);
}

QStringList T_Kontoplan::typAuswahl() {
    return {QStringLiteral("B"), QStringLiteral("K"), QStringLiteral("U"), QStringLiteral("A"),
            QStringLiteral("E"), QStringLiteral("X"), QStringLiteral(":"), QStringLiteral("b"),
            QStringLiteral("k"), QStringLiteral("u"), QStringLiteral("a"), QStringLiteral("e"),
            QStringLiteral("x")};
}

} // namespace kontaro::views
