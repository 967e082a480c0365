#include "app/t_init.h"

#include "data/settings.h"

namespace kontaro::app {

using forms::Color;
using forms::Control;
using forms::ControlKind;

namespace {

const QString Panel1 = QStringLiteral("Panel1");
const QString Panel2 = QStringLiteral("Panel2");

} // namespace

T_init::T_init(forms::Windows& windows)
    : Form(QStringLiteral("_init"), windows.ui())
    , m_dataDirectory(windows.dataDirectory()) {
    caption = QStringLiteral("Einstellungen");
    hint = QStringLiteral("... EINSTELLUNGEN ...");
    helpContext = 9;
    windowState = forms::WindowState::Minimized;
    maximizable = false;

    Control& panel1 = addControl(Panel1, ControlKind::Panel);
    panel1.hint = QStringLiteral("Daten für automatische Umsatzsteuerberechnung");
    panel1.helpContext = 705;
    panel1.enabled = false;
    Control& panel2 = addControl(Panel2, ControlKind::Panel);
    panel2.helpContext = 9;
    panel2.enabled = false;

    addControl(QStringLiteral("ListBoxUst"), ControlKind::List, Panel1).hint =
        QStringLiteral("Tabelle mit Umsatzsteuerkonten für UST-Voranmeldung");
    Control& neu = addControl(QStringLiteral("UstkontoNeu"), ControlKind::Edit, Panel1);
    neu.upperCase = true;
    neu.setText(QStringLiteral("USTKONTONEU"));
    neu.hint =
        QStringLiteral("Ust-Konto (muß im Kontoplan vorhanden sein) der Ust-Kontenliste (oben) zufügen.");

    Control& add = addControl(QStringLiteral("Button2"), ControlKind::Button, Panel1);
    add.caption = QStringLiteral("Einfügen");
    add.hint = QStringLiteral("MWST oder VORSTEUERKONTO  (obenstehendes Feld) einfügen.");
    add.onClick = [this] { addUstKonto(); };
    Control& remove = addControl(QStringLiteral("Button3"), ControlKind::Button, Panel1);
    remove.caption = QStringLiteral("Löschen");
    remove.hint = QStringLiteral("Ustkonto aus Liste löschen (muß vorher markiert werden).");
    remove.onClick = [this] { deleteUstKonto(); };

    struct AccountField {
        const char* name;
        const char* label;
        const char* hint;
    };
    const AccountField accountFields[] = {
        {"Zahllast", "UST Zahllast- Konto:",
         "UST Zahllast-Konto [U] (MWST ist größer VORST, die Differenz ist an das FIAM abzuführen)"},
        {"Ueberschuss", "Vorsteuerüberschuß-Konto:",
         "Vorsteuerüberschuß-Konto [U] (VORST ist größer MWST und kann von FIAM gefordert werden)"},
        {"Fiam", "Finanzamt-Verrechnungskonto:",
         "Finanzamt-Verrechnungskonto [U] (zeigt den aktuellen Stand gegenüber dem Finanzamt)"},
    };
    for (const AccountField& f : accountFields) {
        Control& field = addControl(QString::fromUtf8(f.name), ControlKind::Edit, Panel1);
        field.caption = QString::fromUtf8(f.label);
        field.hint = QString::fromUtf8(f.hint);
        field.upperCase = true;
        field.maxLength = 10;
    }

    addControl(QStringLiteral("autoinsert"), ControlKind::CheckBox, Panel1).caption =
        QStringLiteral("Autoinsert Buchungstext bei erstmaliger Feldanwahl.");
    addControl(QStringLiteral("strengesDatum"), ControlKind::CheckBox, Panel1).caption =
        QStringLiteral("Strenge Datumsprüfung");
    Control& monthly = addControl(QStringLiteral("monatsberechnung"), ControlKind::CheckBox, Panel1);
    monthly.caption = QStringLiteral("UST Voranmeldung pro Monat ");
    monthly.hint =
        QStringLiteral("UST Voranmeldung (für Druck Voranmeldung) pro Monat oder pro Quartal erstellen.");

    Control& rate = addControl(QStringLiteral("EuroKurs"), ControlKind::Edit);
    rate.caption = QStringLiteral("Kurs für \"*/=\" Umrechnung:");
    rate.hint = QStringLiteral("Umrechnungskurs");
    rate.upperCase = true;
    rate.maxLength = 10;

    Control& mandant = addControl(QStringLiteral("mandant"), ControlKind::Edit, Panel2);
    mandant.caption = QStringLiteral("Mandant");
    mandant.hint = QStringLiteral("Überschrift für Kontoausdruck");
    mandant.enabled = false;

    Control& fastnr = addControl(QStringLiteral("FASTNR"), ControlKind::Edit, Panel2);
    fastnr.caption = QStringLiteral("Steuernummer (FASTNR)");
    fastnr.hint = QStringLiteral("Finanzamtsnummer und Steuernummer, 9 Ziffern (für den UVA-Export)");
    // Not cut: a number of the wrong length must reach the export's check whole.
    fastnr.enabled = false;

    Control& unlockButton = addControl(QStringLiteral("Button4"), ControlKind::Button);
    unlockButton.caption = QStringLiteral("Eingabefelder freischalten");
    unlockButton.onClick = [this] { unlock(); };

    color = Color::Yellow;
    // The window loads its settings when it is created, as on every activation.
    onActivate();
}

QString T_init::mandant() const {
    return control(QStringLiteral("mandant")).text();
}

QString T_init::fastnr() const {
    return control(QStringLiteral("FASTNR")).text().trimmed();
}

QStringList T_init::ustKonten() const {
    return control(QStringLiteral("ListBoxUst")).items;
}

bool T_init::isUstKonto(const QString& knr) const {
    return ustKonten().contains(knr, Qt::CaseInsensitive);
}

bool T_init::autoinsert() const {
    return control(QStringLiteral("autoinsert")).checked;
}

bool T_init::strengesDatum() const {
    return control(QStringLiteral("strengesDatum")).checked;
}

bool T_init::monatsberechnung() const {
    return control(QStringLiteral("monatsberechnung")).checked;
}

QString T_init::euroKurs() const {
    return control(QStringLiteral("EuroKurs")).text();
}

void T_init::onActivate() {
    control(Panel1).enabled = false;
    load(Settings(m_dataDirectory));
}

void T_init::onDeactivate() {
    // Locking happens even when the file cannot be written; the error still reaches the user.
    struct LockOnExit {
        T_init* form;
        ~LockOnExit() { form->lock(); }
    } lockOnExit{this};
    Settings settings(m_dataDirectory);
    save(settings);
}

void T_init::load(const Settings& settings) {
    Control& list = control(QStringLiteral("ListBoxUst"));
    list.items = settings.ustKonten();
    list.selected = -1;
    control(QStringLiteral("Zahllast")).setText(settings.zahllast());
    control(QStringLiteral("Ueberschuss")).setText(settings.ueberschuss());
    control(QStringLiteral("Fiam")).setText(settings.fiamVerrechnung());
    control(QStringLiteral("autoinsert")).checked = settings.autoinsert();
    control(QStringLiteral("strengesDatum")).checked = settings.strengesDatum();
    control(QStringLiteral("monatsberechnung")).checked = settings.monatsberechnung();
    control(QStringLiteral("EuroKurs")).setText(settings.euroKurs());
    control(QStringLiteral("mandant")).setText(settings.mandantName());
    control(QStringLiteral("FASTNR")).setText(settings.fastnr());
    m_programmpfad = settings.programmpfad();
}

void T_init::save(Settings& settings) {
    settings.setAutoinsert(autoinsert());
    settings.setStrengesDatum(strengesDatum());
    settings.setMonatsberechnung(monatsberechnung());
    settings.setMandantName(mandant());
    // Books without a tax number keep their settings file as it was.
    if (!fastnr().isEmpty() || !settings.fastnr().isEmpty())
        settings.setFastnr(fastnr());
    settings.setZahllast(control(QStringLiteral("Zahllast")).text());
    settings.setUeberschuss(control(QStringLiteral("Ueberschuss")).text());
    settings.setFiamVerrechnung(control(QStringLiteral("Fiam")).text());
    settings.setEuroKurs(euroKurs());
    settings.setProgrammpfad(m_programmpfad);
    settings.setUstKonten(ustKonten());
}

void T_init::lock() {
    control(Panel1).enabled = false;
    control(Panel2).enabled = false;
    color = Color::Yellow;
}

void T_init::unlock() {
    control(Panel1).enabled = true;
    control(Panel2).enabled = true;
    control(QStringLiteral("mandant")).enabled = true;
    control(QStringLiteral("FASTNR")).enabled = true;
    color = Color::Green;
}

void T_init::addUstKonto() {
    Control& field = control(QStringLiteral("UstkontoNeu"));
    const QString account = field.text();
    if (!account.isEmpty()) {
        Control& list = control(QStringLiteral("ListBoxUst"));
        if (list.items.size() >= Settings::maxUstKonten)
            ui().message(QStringLiteral("Die Liste der Umsatzsteuerkonten ist voll (höchstens %1 Einträge).")
                             .arg(Settings::maxUstKonten));
        else
            list.items << account;
    }
    field.setText(QString());
}

void T_init::deleteUstKonto() {
    Control& list = control(QStringLiteral("ListBoxUst"));
    if (list.selected < 0 || list.selected >= list.items.size())
        return;
    list.items.removeAt(list.selected);
    list.selected = -1;
}

} // namespace kontaro::app
