#include "posting/t_buchen.h"

#include "base/clock.h"
#include "base/errors.h"
#include "base/text_file.h"
#include "data/book_codes.h"
#include "data/books_structure.h"
#include "data/cursor.h"
#include "data/settings.h"
#include "forms/control_def.h"
#include "posting/line_binding.h"
#include "views/t_journal.h"
#include "views/t_kontoplan.h"

namespace kontaro::posting {

namespace {

using forms::ControlDef;
using enum forms::ControlKind;
using enum forms::Color;

// Every control of the window lies in this area; a double-click on its background switches the
// ledger window between the two accounts of the line.
constexpr QStringView ScrollArea = u"Scrollbereich";

// Entry fields are bound to the current line of the journal (the field of the same name; `ustSoll`
// shows `UstSoll`). They start cyan; the validation recolours them. The account, type, balance and
// budget displays of the three accounts show the records that follow `SollKnt`, `HabenKnt` and
// `UstKnt` in the chart (`Name`, `Typ`, `Saldo`, `Budget`).
constexpr ControlDef Controls[] = {
    // Entry fields. The account fields look their value up in the chart window's table (list
    // columns Knr, Typ, Ustp, Saldo, Name; 24 rows); Buchtext offers the templates of vorlagen.txt.
    {.name = u"SollKnt",
     .kind = DropDown,
     .hint = u"|SOLL Konto empfängt Geld oder Güter (BLANK=Namenssuche)",
     .helpContext = 702,
     .color = Cyan,
     .maxLength = 10,
     .listRows = 24,
     .listWidth = 580},
    {.name = u"HabenKnt",
     .kind = DropDown,
     .hint = u"|HABEN Konto gibt Geld oder Güter (BLANK=Namenssuche)",
     .helpContext = 702,
     .color = Cyan,
     .maxLength = 10,
     .listRows = 24,
     .listWidth = 580},
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
     .hint = u"|Buchungstext als Vorlage in Datei \"vorlagen.txt\" speichern."},
    {.name = u"B_delVorlage",
     .kind = Button,
     .caption = u"Vorlagentext löschen",
     .hint = u"|Buchungstext aus Vorlagendatei \"vorlagen.txt\" löschen."},
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

// Where Enter moves the focus to.
constexpr QStringView EntryOrder[] = {u"SollKnt", u"HabenKnt", u"SollBetrag", u"HabenBetrag", u"Buchtext",
                                      u"Anr",     u"Beleg",    u"Datum",      u"JournalPlus"};

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
    for (const ControlDef& def : Controls)
        forms::applyDef(addControl(def.name.toString(), def.kind, ScrollArea.toString()), def);

    // Damaged books are shown once at start; the commands that would build on the damage refuse
    // until it is mended.
    m_damage = data::structureDamage(m_windows.session());
    if (!m_damage.isEmpty())
        ui().message(QStringLiteral("Die Bücher sind beschädigt:\n") + m_damage.join(QLatin1Char('\n')) +
                     QStringLiteral("\nBuchen, Einfügen, Schützen, Ust-Abschluss, Budget überschreiben und "
                                    "Neues Jahr sind gesperrt, bis das behoben ist."));
    startUp();
}

void T_Buchen::refuseOnDamage(const QString& command) {
    // The program's own commands keep the structure; only the ways out (undo, delete, chart edits)
    // can mend it, so the check runs again only while damage is known.
    if (m_damage.isEmpty())
        return;
    m_damage = data::structureDamage(m_windows.session());
    if (m_damage.isEmpty())
        return;
    ui().message(data::damageRefusal(command, m_damage));
    throw Abort();
}

T_Buchen::~T_Buchen() = default;

QString T_Buchen::protectionPassword() {
    return QStringLiteral("SCHUTZWEG");
}

void T_Buchen::startUp() {
    Settings settings(m_windows.dataDirectory());
    m_einfuegung = false;
    m_belegTX = settings.belegTX();
    m_anrNr = settings.anrNr();
    m_belegALT = settings.belegALT();
    m_belegNR = settings.belegNR();
    m_textdateikennung = settings.textdateikennung().left(3);
    settings.setTextdateikennung(m_textdateikennung);
    m_datumGesichert = settings.geschuetzt();

    try {
        m_vorlagen = text::readLines(m_windows.dataDirectory() + QStringLiteral("/vorlagen.txt"));
    } catch (const UserError&) {
        m_vorlagen.clear(); // no templates: an empty list, no message
    }
    m_vorlagen.removeAll(QString());
    m_vorlagen.sort();
    control(QStringLiteral("Buchtext")).items = m_vorlagen;

    data::Session& session = m_windows.session();
    const auto open = [&session](const char* file) {
        return std::make_unique<data::Cursor>(session, QString::fromLatin1(file));
    };
    m_j = open("journal.DB");
    m_s = open("kntplan.DB");
    m_h = open("kntplan.DB");
    m_u = open("kntplan.DB");
    m_k = open("konten.DB");
    m_sl = open("konten.DB");
    m_hl = open("konten.DB");
    m_ul = open("konten.DB");
    m_chart = open("kntplan.DB");
    m_walk = open("journal.DB");
    m_s->setMaster(*m_j, QStringLiteral("SollKnt"));
    m_h->setMaster(*m_j, QStringLiteral("HabenKnt"));
    m_u->setMaster(*m_j, QStringLiteral("UstKnt"));
    m_sl->setMaster(*m_s, QStringLiteral("Knr"));
    m_hl->setMaster(*m_h, QStringLiteral("Knr"));
    m_ul->setMaster(*m_u, QStringLiteral("Knr"));
    bindControls();
    connectHandlers();

    data::Cursor& j = *m_j;
    if (j.isEmpty()) {
        j.append();
        const QString knr = m_windows.kontoplan().currentKnr();
        j.setText(QStringLiteral("SollKnt"), knr);
        j.setText(QStringLiteral("HabenKnt"), knr);
        j.setText(QStringLiteral("Ok"), data::postingMarkText(data::PostingMark::Prepared));
        j.setDate(QStringLiteral("Datum"), Clock::today());
        j.post();
        j.edit();
        try {
            undo();
        } catch (const UserError&) {
        } catch (const Abort&) {
        }
        ui().message(QStringLiteral("Neue Buchhaltung angelegt"));
    }

    if (data::hasMark(j.asText(QStringLiteral("Ok")), data::PostingMark::Opening)) {
        // Opening postings prepared by the new year: post and undo once to get clean balances.
        post();
        undo();
        try {
            undo();
        } catch (const UserError&) {
        } catch (const Abort&) {
        }
        ui().message(QStringLiteral("Vorbereitete EBK-Buchungen mit \"Blauer-Pfeil-Taste-Runter\" (im "
                                    "Buchungsfenster) buchen.)"));
    } else {
        j.last();
    }

    // The current line is the first one after the posted run.
    const auto posted = [&j] { return data::isPostedMark(j.asText(QStringLiteral("Ok"))); };
    while (!posted() && !j.bof())
        j.prior();
    m_datumVorgaenger = j.asDate(QStringLiteral("Datum"));
    if (posted()) {
        j.next();
        if (j.eof()) {
            // Every line is posted: the books need a current line after them, appended as post
            // appends one (preset account from the last line). It is not an insert by the user, so
            // the new year stays possible.
            addLine(false);
            editLine();
            j.setText(QStringLiteral("Ok"), data::postingMarkText(data::PostingMark::Prepared));
            j.post();
        }
    }
    j.edit();
    m_shownSoll = control(QStringLiteral("SollKnt")).text();
    m_shownHaben = control(QStringLiteral("HabenKnt")).text();

    m_windows.journal().gotoBnr(j.asText(QStringLiteral("Bnr")));
    statusCheck(false);
    m_started = true;
}

void T_Buchen::bindControls() {
    const auto prepare = [this] { editLine(); };
    const auto bindLine = [&](const char* name, const char* field, FieldStyle style, bool readOnly) {
        control(QString::fromLatin1(name))
            .bind(std::make_shared<CursorFieldBinding>(*m_j, QString::fromLatin1(field), style, readOnly,
                                                       prepare));
    };
    bindLine("SollBetrag", "SollBetrag", FieldStyle::MoneyEdit, false);
    bindLine("HabenBetrag", "HabenBetrag", FieldStyle::MoneyEdit, false);
    bindLine("Buchtext", "Buchtext", FieldStyle::Plain, false);
    bindLine("Anr", "Anr", FieldStyle::Plain, false);
    bindLine("Beleg", "Beleg", FieldStyle::Plain, false);
    bindLine("Datum", "Datum", FieldStyle::Date, false);
    bindLine("Bnr", "Bnr", FieldStyle::Plain, true);
    bindLine("UstKnt", "UstKnt", FieldStyle::Plain, true);
    bindLine("UstP", "UstP", FieldStyle::Plain, true);
    bindLine("ustSoll", "UstSoll", FieldStyle::MoneyDisplay, true);
    bindLine("UstHaben", "UstHaben", FieldStyle::MoneyDisplay, true);
    bindLine("SollSaldo2", "SollSaldo2", FieldStyle::MoneyDisplay, true);
    bindLine("HabenSaldo2", "HabenSaldo2", FieldStyle::MoneyDisplay, true);
    bindLine("UstSaldo2", "UstSaldo2", FieldStyle::MoneyDisplay, true);
    bindLine("Ok", "Ok", FieldStyle::Plain, true);

    for (const auto& [name, field, account] :
         {std::tuple{"SollKnt", "SollKnt", m_s.get()}, std::tuple{"HabenKnt", "HabenKnt", m_h.get()}}) {
        forms::Control& c = control(QString::fromLatin1(name));
        c.bind(std::make_shared<AccountFieldBinding>(*m_j, QString::fromLatin1(field), *account, *m_chart,
                                                     prepare));
        c.items = QString::fromLatin1("Knr;Typ;UstP;Saldo;Name").split(QLatin1Char(';'));
        c.grid = std::make_shared<AccountListSource>(m_windows.session());
    }

    struct AccountDisplay {
        const char* prefix;
        data::Cursor* cursor;
    };
    for (const AccountDisplay& d : {AccountDisplay{"soll", m_s.get()}, AccountDisplay{"haben", m_h.get()},
                                    AccountDisplay{"ust", m_u.get()}}) {
        const QString prefix = QString::fromLatin1(d.prefix);
        const auto bindAccount = [&](const char* suffix, const char* field, FieldStyle style) {
            const QString name = prefix + QString::fromLatin1(suffix);
            if (hasControl(name))
                control(name).bind(
                    std::make_shared<CursorFieldBinding>(*d.cursor, QString::fromLatin1(field), style, true));
        };
        bindAccount("Name", "Name", FieldStyle::Plain);
        bindAccount("Typ", "Typ", FieldStyle::Plain);
        bindAccount("Saldo", "Saldo", FieldStyle::MoneyDisplay);
        bindAccount("Budget", "Budget", FieldStyle::MoneyDisplay);
    }
}

void T_Buchen::connectHandlers() {
    const auto onEnterKey = [this](const QString& name) {
        control(name).onKey = [this, name](const QString& key) {
            if (key == QLatin1String("Enter"))
                moveToNextField(name);
        };
    };
    for (const QStringView name : EntryOrder)
        onEnterKey(name.toString());

    for (const char* name : {"SollKnt", "HabenKnt"}) {
        const QString field = QString::fromLatin1(name);
        control(field).onChange = [this, field] { accountChanged(field); };
        control(field).onExit = [this] { validate(); };
    }
    control(QStringLiteral("SollBetrag")).onEnter = [this] { m_euroAlt = 0; };
    control(QStringLiteral("HabenBetrag")).onEnter = [this] { m_euroAlt = 0; };
    for (const char* name : {"SollBetrag", "HabenBetrag"}) {
        const QString field = QString::fromLatin1(name);
        control(field).onDrop = [this, field](const QString& source) { dropAmount(field, source); };
    }
    control(QStringLiteral("SollBetrag")).onExit = [this] { amountRule(true); };
    control(QStringLiteral("HabenBetrag")).onExit = [this] { amountRule(false); };
    control(QStringLiteral("Buchtext")).onEnter = [this] { enterBuchtext(); };
    control(QStringLiteral("Buchtext")).onChange = [this] { colourBuchtext(); };
    for (const char* name : {"Buchtext", "Anr", "Beleg", "Datum"})
        control(QString::fromLatin1(name)).onExit = [this] { validate(); };
    // "+" and "-" step the date instead of being typed.
    control(QStringLiteral("Datum")).keys = {QStringLiteral("+"), QStringLiteral("-")};
    control(QStringLiteral("Datum")).onKey = [this](const QString& key) {
        if (key == QLatin1String("Enter"))
            moveToNextField(QStringLiteral("Datum"));
        else if (key == QLatin1String("+"))
            stepDate(1);
        else if (key == QLatin1String("-"))
            stepDate(-1);
    };
    // Entering the date selects its day, the part one changes most.
    control(QStringLiteral("Datum")).selectionOnEnter = [](const QString& text) {
        const qsizetype dot = text.indexOf(QLatin1Char('.'));
        return dot < 0 ? -1 : int(dot);
    };
    control(QStringLiteral("meldung")).onEnter = [this] { moveFocus(QStringLiteral("JournalPlus")); };
    // Tab follows Enter through the line, then reaches the other commands.
    for (const QStringView name : EntryOrder)
        tabOrder << name.toString();
    tabOrder << QStringLiteral("JournalMinus") << QStringLiteral("JournalEinfuegen")
             << QStringLiteral("JournalLoeschen") << QStringLiteral("BuchenVerboten");

    control(QStringLiteral("JournalPlus")).onClick = [this] { post(); };
    control(QStringLiteral("JournalMinus")).onClick = [this] { undo(); };
    control(QStringLiteral("JournalEinfuegen")).onClick = [this] {
        insertLine(focusedControl() == QLatin1String("JournalEinfuegen"));
    };
    control(QStringLiteral("JournalLoeschen")).onClick = [this] { deleteLine(); };
    control(QStringLiteral("BuchenVerboten")).onClick = [this] { protect(); };
    control(QStringLiteral("B_ust")).onClick = [this] { closeVat(); };
    connectAids();
    control(QStringLiteral("Ok")).onClick = [this] {
        if (m_started)
            statusCheck(true);
    };
}

void T_Buchen::moveToNextField(const QString& from) {
    const auto* it = std::find(std::begin(EntryOrder), std::end(EntryOrder), from);
    if (it == std::end(EntryOrder))
        return;
    ++it;
    moveFocus((it == std::end(EntryOrder) ? EntryOrder[0] : *it).toString());
}

void T_Buchen::stepDate(int days) {
    editLine();
    const QDate datum = m_j->asDate(QStringLiteral("Datum"));
    m_j->setDate(QStringLiteral("Datum"), (datum.isValid() ? datum : Clock::today()).addDays(days));
    validate();
}

void T_Buchen::onDeactivate() {
    validate();
}

void T_Buchen::saveCounters() const {
    Settings settings(m_windows.dataDirectory());
    settings.setBelegTX(m_belegTX);
    settings.setAnrNr(m_anrNr);
    settings.setBelegALT(m_belegALT);
    settings.setBelegNR(m_belegNR);
}

T_Buchen::MemoryState T_Buchen::memoryState() const {
    return {m_datumGesichert, m_datumVorgaenger, m_euroAlt, m_originalBetrag, m_einfuegung,
            m_belegTX,        m_belegALT,        m_belegNR, m_anrNr};
}

void T_Buchen::restoreMemoryState(const MemoryState& state) {
    m_datumGesichert = state.datumGesichert;
    m_datumVorgaenger = state.datumVorgaenger;
    m_euroAlt = state.euroAlt;
    m_originalBetrag = state.originalBetrag;
    m_einfuegung = state.einfuegung;
    m_belegTX = state.belegTX;
    m_belegALT = state.belegALT;
    m_belegNR = state.belegNR;
    m_anrNr = state.anrNr;
}

} // namespace kontaro::posting
