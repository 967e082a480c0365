#include "posting/t_buchen.h"

#include "forms/control_spec.h"

namespace kontaro::posting {

namespace {

using forms::ControlSpec;
using enum forms::ControlKind;
using enum forms::Color;

// Every control of the window lies in this area; a double-click on its background switches the
// ledger window between the two accounts of the line.
constexpr QStringView ScrollArea = u"Scrollbereich";

// Entry fields are bound to the current line of the journal (the field of the same name; `ustSoll`
// shows `UstSoll`). They start cyan; the validation recolours them. The account, type, balance and
// budget displays of the three accounts show the records that follow `SollKnt`, `HabenKnt` and
// `UstKnt` in the chart (`Name`, `Typ`, `Saldo`, `Budget`).
constexpr ControlSpec Controls[] = {
    // Entry fields. The account fields look their value up in the chart window's table (list
    // columns Knr, Typ, Ustp, Saldo, Name; 24 rows); Buchtext offers the templates of vorlagen.txt.
    {.name = u"SollKnt",
     .kind = DropDown,
     .hint = u"|SOLL Konto empfängt Geld oder Güter (BLANK=Namenssuche)",
     .helpContext = 702,
     .color = Cyan,
     .maxLength = 10},
    {.name = u"HabenKnt",
     .kind = DropDown,
     .hint = u"|HABEN Konto gibt Geld oder Güter (BLANK=Namenssuche)",
     .helpContext = 702,
     .color = Cyan,
     .maxLength = 10},
    {.name = u"SollBetrag",
     .hint = u"|SOLL Betrag (bei EA-Konto = Nettobetrag) wird dem SOLL-Konto gutgeschrieben (+)",
     .color = Cyan},
    {.name = u"HabenBetrag",
     .hint = u"|HABEN Betrag (bei EA-Konto = NETTO Betrag) wird dem HABEN Konto abgezogen (-)",
     .color = Cyan},
    {.name = u"Buchtext",
     .kind = DropDown,
     .hint = u"Buchungstext kann aus Vorlage gewählt werden. 2xClick bei Kontobezeichnung übernimmt "
             u"Kontobezeichnung als Buchungstext.",
     .color = Cyan,
     .maxLength = 50},
    {.name = u"Anr",
     .hint = u"Bankauszugsnummer (grün=fortlaufende Nummer, blau=gleiche Nummer, gelb=?)",
     .helpContext = 708,
     .color = Cyan},
    {.name = u"Beleg",
     .hint = u"Beleg (Nummer oder Text)",
     .helpContext = 709,
     .color = Cyan,
     .maxLength = 8},
    {.name = u"Datum",
     .hint = u"Buchungsdatum (blau=OK, gelb=Rückdatierung)",
     .helpContext = 710,
     .color = Cyan},

    // Read-only fields of the current line.
    {.name = u"Bnr", .hint = u"Buchungsnummer", .helpContext = 701, .readOnly = true},
    {.name = u"UstKnt", .hint = u"Ust Konto", .readOnly = true},
    {.name = u"UstP", .hint = u"UST Satz in %", .readOnly = true},
    {.name = u"ustSoll", .hint = u"UST Betrag (Soll)", .readOnly = true},
    {.name = u"UstHaben", .hint = u"UST Betrag (Haben)", .readOnly = true},
    {.name = u"SollSaldo2", .hint = u"SOLL Saldo nach Buchung", .readOnly = true},
    {.name = u"HabenSaldo2", .hint = u"HABEN Saldo nach Buchung", .readOnly = true},
    {.name = u"UstSaldo2", .hint = u"UST Saldo nach Buchung", .readOnly = true},
    // A click runs the status check.
    {.name = u"Ok",
     .hint = u"Buchungskennzeichen ( ~ vorbereitet, = gebucht, # gesichert ) .  Klick um Daten zu prüfen "
             u"oder Buchungsschutz aufzuheben.",
     .helpContext = 712,
     .readOnly = true},

    // The three accounts of the line. A double-click on a debit or credit name copies it into
    // the posting text.
    {.name = u"sollName",
     .hint = u"|SOLL Konto Bezeichnung.  2xClick für Buchungstext Eintrag",
     .readOnly = true},
    {.name = u"sollTyp", .hint = u"Kontotyp", .readOnly = true},
    {.name = u"sollSaldo", .hint = u"SOLL Saldo vor Buchung", .readOnly = true},
    {.name = u"sollBudget", .hint = u"SOLL Budget", .readOnly = true},
    {.name = u"sollbudgetP", .hint = u"Budgetabweichung in %", .readOnly = true},
    {.name = u"habenName",
     .hint = u"|HABEN Konto Bezeichnung. 2xClick für Buchungstext Eintrag",
     .readOnly = true},
    {.name = u"habenTyp", .hint = u"Kontotyp", .readOnly = true},
    {.name = u"habenSaldo", .hint = u"HABEN Saldo vor Buchung", .readOnly = true},
    {.name = u"habenBudget", .hint = u"HABEN Budget", .readOnly = true},
    {.name = u"HabenBudgetP", .hint = u"Budgetabweichung in %", .readOnly = true},
    {.name = u"ustName", .hint = u"UST Konto", .readOnly = true},
    {.name = u"ustTyp", .hint = u"Kontotyp", .readOnly = true},
    {.name = u"ustSaldo", .hint = u"UST Saldo vor Buchung", .readOnly = true},

    // The message line: not for typing; entering it passes the focus on to the post command. Its
    // colours follow its first character; "_" is information.
    {.name = u"meldung",
     .hint = u"Meldungszeile",
     .color = Silver,
     .fontColor = Green,
     .readOnly = true,
     .text = u"_"},

    // Commands that change the books.
    {.name = u"JournalPlus",
     .kind = Button,
     .caption = u"&Dn",
     .hint = u"ok|Buchungen in das Hauptbuch übertragen."},
    {.name = u"JournalMinus",
     .kind = Button,
     .caption = u"&Up",
     .hint = u"rückgängig|Im Journal zurückblättern und zugehörige Buchungen im Hauptbuch entfernen. Buchung "
             u"bleibt im Journal vorbereitet. "},
    {.name = u"JournalEinfuegen",
     .kind = Button,
     .hint = u"einfügen|Neue Buchungszeile einfügen. Aktuelle Buchungszeile bleibt vorbereitet."},
    {.name = u"JournalLoeschen", .kind = Button, .hint = u"löschen|Aktuelle Buchungszeile löschen."},
    {.name = u"BuchenVerboten",
     .kind = Button,
     .hint = u"Zusperren|Buchungsdaten bis Datum gemäß vorletzter Buchung schützen ! "},
    {.name = u"B_ust",
     .kind = Button,
     .caption = u"UST",
     .hint = u"Abschlußbuchungen der Umsatzsteuer auf Konto Zahllast bzw. Vorsteuerüberschuß"},

    // Posting aids.
    {.name = u"B_StoVorlage",
     .kind = Button,
     .caption = u"Vorlagentext speichern",
     .hint = u"|Buchungstext als Vorlage in Datei \"Vorlage.txt\" speichern."},
    {.name = u"B_delVorlage",
     .kind = Button,
     .caption = u"Vorlagentext löschen",
     .hint = u"|Buchungstext aus Vorlagendatei \"Vorlage.txt\" löschen."},
    {.name = u"BelegPlus", .kind = Button, .caption = u"+", .hint = u"|Letzte BelegNUMMER+1"},
    {.name = u"BelegMinus", .kind = Button, .caption = u"-", .hint = u"|Zuletzt gebuchter Beleg-TEXT"},
    {.name = u"B_BelegALT", .kind = Button, .caption = u"x", .hint = u"|Beleg RÜCKGÄNGIG"},
    // A click shows the voucher file.
    {.name = u"L_beleg",
     .kind = Label,
     .caption = u"Beleg",
     .hint = u"Beleg anzeigen (muss unter .\\Belege\\BELEGNUMMER . JPG  .SXW  .SXC  .DOC  .XLS   oder  .TXT  "
             u"abgelegt sein)"},
    {.name = u"SpeedButton1",
     .kind = Button,
     .hint = u"Belegnummer aus Dateiauswahl übernehmen.",
     .takesFocus = false},
    {.name = u"AnrPlus", .kind = Button, .caption = u"+", .hint = u"|Nächste Anr"},
    {.name = u"AnrMinus", .kind = Button, .caption = u"-", .hint = u"|Anr-1"},
    {.name = u"DatumMinus", .kind = Button, .caption = u"-", .hint = u"|Vortag"},
    {.name = u"DatumPlus", .kind = Button, .caption = u"+", .hint = u"|Nächster Tag"},
    {.name = u"KontoWechsel",
     .kind = Button,
     .caption = u"&T",
     .hint = u"SOLL  und  HABEN wird vertauscht. (Alt+T) "},
    {.name = u"B_2ATS", .kind = Button, .caption = u"*", .hint = u"EURO Umrechnung (MAL  EUROKURS)"},
    {.name = u"B_2EURO", .kind = Button, .caption = u"/", .hint = u"EURO Umrechnung (DURCH  EUROKURS)"},
    {.name = u"Button1", .kind = Button, .caption = u"=", .hint = u"Alten Betrag einfügen."},
    {.name = u"BetragPlus",
     .kind = Button,
     .caption = u"&<",
     .hint = u"|Zuletzt gebuchten Betrag aus Hauptbuch einfügen (Alt+<)"},
    {.name = u"B_suche",
     .kind = Button,
     .caption = u"&s",
     .hint = u"Teilbegriffe in Kontonummer und Kontobezeichnung suchen (Alt+S oder BLANK)"},
    {.name = u"SucheKonto", .kind = Button, .caption = u"&w", .hint = u"Kontosuche fortsetzen (Alt+W)"},
};

} // namespace

T_Buchen::T_Buchen(forms::Windows& windows)
    : Form(QStringLiteral("_Buchen"), windows.ui())
    , m_windows(windows) {
    caption = QStringLiteral("BUCHEN");
    hint = QStringLiteral("... BUCHEN ...");
    helpContext = 6;
    windowState = forms::WindowState::Normal;

    addControl(ScrollArea.toString(), Panel).hint =
        QStringLiteral("2xClick wechselt Hauptbuchanzeige (Soll/Habe-Konto)");
    for (const ControlSpec& spec : Controls)
        forms::applySpec(addControl(spec.name.toString(), spec.kind, ScrollArea.toString()), spec);
}

} // namespace kontaro::posting
