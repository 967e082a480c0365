#include "years/t_alt.h"

#include "forms/control_def.h"

namespace kontaro::years {

namespace {

using forms::ControlDef;
using enum forms::ControlKind;
using enum forms::Color;

constexpr ControlDef Controls[] = {
    {.name = u"Label10", .kind = Label, .caption = u"Hochrechnung bis Jahresende"},
    {.name = u"hoch1"},

    // Horizontal bars of the eight balances: no axes, legend, title or marks, flat. The series
    // holds the values, current year first.
    {.name = u"Chart1", .kind = Chart},
    {.name = u"Series1", .kind = List, .parent = u"Chart1", .color = Red},

    // journal9, filtered to the account's lines while "Filter" is ticked.
    {.name = u"DBGrid1",
     .kind = Grid,
     .readOnly = true,
     .items = u"DATUM;SOLLBETRAG;HABENBETRA;ANR;BELEG;BUCHTEXT;SOLLKNT;HABENKNT;USTP;USTSOLL;USTHABEN;USTKNT;"
              u"JAHR"},
    {.name = u"kontofilter", .kind = CheckBox, .caption = u"Filter", .checked = true},

    {.name = u"LabelBlau", .kind = Label, .caption = u"Suche in alten Journalen:", .fontColor = Blue},
    {.name = u"SucheText", .hint = u"Suchbegriff (Betrag oder Text)", .upperCase = true},
    {.name = u"sucheNext", .kind = Button, .hint = u"Suche nächsten zurückliegenen Suchbegriff"},

    // Lookup over the chart of accounts (Knr, Typ, Ustp, Saldo, Name; 26 rows), for reading only.
    {.name = u"Label9", .kind = Label, .caption = u"Kontowahl:"},
    {.name = u"Kontoauswahl", .kind = DropDown, .hint = u"Eingabeliste für manuelle Kontoauswahl."},

    // Shown when the archive tables cannot be opened; the chart window then leaves kntNr alone.
    {.name = u"ALT_INFO", .kind = Label, .caption = u"Knt9plan.db(f) u. Journal9 fehlt !", .visible = false},
};

} // namespace

T_alt::T_alt(forms::Windows& windows)
    : Form(QStringLiteral("_alt"), windows.ui())
    , m_windows(windows) {
    caption = QStringLiteral("Vorjahre");
    windowState = forms::WindowState::Normal;

    addControl(QStringLiteral("kntNr"), Edit).upperCase = true;
    // Label8/edit8: the current year and the account's balance in kntplan.DB; Label7/edit7 down to
    // Label1/edit1: the seven years before, latest first, with SALDO_X of knt9plan. The labels get
    // their years when an account is chosen.
    for (int k = 8; k >= 1; --k) {
        addControl(QStringLiteral("Label%1").arg(k), Label);
        addControl(QStringLiteral("edit%1").arg(k), Edit);
    }
    for (const ControlDef& def : Controls)
        forms::applyDef(addControl(def.name.toString(), def.kind, def.parent.toString()), def);
}

} // namespace kontaro::years
