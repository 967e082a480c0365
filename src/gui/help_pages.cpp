#include "gui/help_browser.h"

#include <map>

namespace kontaro::gui {

namespace {

struct Page {
    const char* title;
    const char* body;
};

// The help of the program, one page per help context. Kept short: what the window or field is
// for and which keys it knows.
const std::map<int, Page>& pages() {
    static const std::map<int, Page> all = {
        {0,
         {"Inhalt", "<p>Kontaro ist eine doppelte Buchhaltung für einen Mandanten und ein Wirtschaftsjahr. "
                    "Das Programm arbeitet im Verzeichnis, in dem es gestartet wird.</p>"
                    "<ul><li><a href='hilfe:2'>Hauptfenster und Menü</a></li>"
                    "<li><a href='hilfe:6'>Buchen</a></li>"
                    "<li><a href='hilfe:4'>Journal</a></li>"
                    "<li><a href='hilfe:5'>Hauptbuch</a></li>"
                    "<li><a href='hilfe:3'>Kontoplan</a></li>"
                    "<li><a href='hilfe:9'>Einstellungen</a></li>"
                    "<li><a href='hilfe:1'>Info</a></li></ul>"}},
        {1,
         {"Info",
          "<p>Das Info-Fenster zeigt Programm und Version (siehe Kopfzeile des Hauptfensters).</p>"
          "<p><b>OK (Fenster 1)</b> oder <b>Esc</b> vergrößert das Hauptfenster und holt das Buchungsfenster "
          "nach vorne. <b>Fensteranordnung 2</b> lädt vorher die zweite gespeicherte Fensteranordnung.</p>"}},
        {2,
         {"Hauptfenster",
          "<p>Das Hauptfenster enthält alle Arbeitsfenster. Ein geschlossenes Fenster wird nur verkleinert; "
          "über das Menü <b>Fenster</b> holt man es zurück.</p>"
          "<p><b>Datei</b>: neues Jahr, Hauptbuch-Export, Prüfen, Programmende.<br>"
          "<b>Fenster</b>: zwei Fensteranordnungen laden und speichern, überlappend, nebeneinander, "
          "verkleinern, öffnen.<br><b>Druck</b>: Konten, Journal, Kontoplan und Auswertungen.<br>"
          "<b>Beleg</b>: zeigt den Beleg der aktuellen Journalzeile.</p>"
          "<p>Die letzte Zeile beschreibt das Feld unter dem Mauszeiger; F1 öffnet die Hilfe zum Feld.</p>"
          "<p>Beim Beenden fragt das Programm, ob die Daten vorher geprüft werden sollen.</p>"}},
        {3,
         {"Kontoplan",
          "<p>Alle Konten nach Kontonummer. Das <b>Suchwort</b> findet ein Konto nach dem Anfang der Nummer "
          "oder nach einem Teil von Nummer oder Bezeichnung.</p>"
          "<p><b>Einfügen</b> legt ein Konto an, <b>EDIT</b> ändert es, <b>OK</b> speichert, <b>ESC</b> "
          "verwirft. <b>Schutz</b> sperrt ein Konto für Buchungen (kleiner Typbuchstabe) oder gibt es frei. "
          "<b>KntLöschen</b> löscht ein Konto, das in keiner Buchung vorkommt.</p>"
          "<p>Kontotypen: B Bank, K Kassa, U Umsatzsteuer, A Ausgabe, E Einnahme, X "
          "Eröffnung/Abschluss.</p>"}},
        {4,
         {"Journal",
          "<p>Alle Buchungszeilen, je Zeile ein Feld mit Soll, Haben und Umsatzsteuer; die aktuelle Zeile "
          "ist gelb.</p><p>Im Suchfeld einen Betrag (z.&nbsp;B. 120,00) oder einen Text eingeben und Enter "
          "drücken: gesucht wird rückwärts. Die Buchungsnummer (Bnr) springt zu einer Zeile. Ein Klick auf "
          "eine gebuchte Zeile zeigt abwechselnd ihr Soll- und Habenkonto im Hauptbuch.</p>"}},
        {5,
         {"Hauptbuch",
          "<p>Ein Konto mit seinen Buchungen, die neueste zuerst. Das Konto folgt dem Kontoplan, außer "
          "<b>Kontoauswahl</b> ist angehakt; dann wählt man es aus der Liste.</p>"
          "<p>Bezeichnung, Saldo, Budget und Buchungszeilen lassen sich mit der Maus auf die Betragsfelder "
          "des Buchungsfensters ziehen. Ein Doppelklick auf den Kopf berechnet alle Salden neu.</p>"}},
        {6,
         {"Buchen",
          "<p>Eine Buchungszeile: Soll-Konto (empfängt), Haben-Konto (gibt), Betrag, Text, Auszugsnummer "
          "(Anr), Beleg und Datum. Bei Einnahme- und Ausgabekonten ist der Betrag netto; die Umsatzsteuer "
          "wird berechnet.</p><p>Enter springt zum nächsten Feld. Die Meldezeile zeigt Fehler rot "
          "(die Zeile kann nicht gebucht werden), Warnungen gelb.</p>"
          "<p><b>Dn</b> (Alt+D) bucht die Zeile ins Hauptbuch, <b>Up</b> (Alt+U) nimmt die letzte Buchung "
          "zurück. Dazu: Zeile einfügen, löschen, bis zum Datum zusperren, Umsatzsteuer abschließen.</p>"
          "<p>Farben: türkis normal, hellgrün Nettobetrag bzw. nächste Auszugsnummer, gelb Achtung.</p>"}},
        {9,
         {"Einstellungen",
          "<p>Umsatzsteuerkonten, Abrechnungskonten, Schalter des Buchungsfensters, Umrechnungskurs und "
          "Mandant. Gelb: gesperrt; <b>Eingabefelder freischalten</b> macht das Fenster grün und die Felder "
          "änderbar. Beim Verlassen des Fensters wird alles gespeichert und wieder gesperrt.</p>"}},
        {701, {"Buchungsnummer", "<p>Die Nummer der Buchung im Journal; sie wird beim Buchen vergeben.</p>"}},
        {702,
         {"Soll- und Habenkonto",
          "<p>Kontonummer eingeben oder aus der Liste wählen (Spalten Knr, Typ, Ustp, Saldo, Name). "
          "Die Leertaste startet die Suche nach einem Teil der Kontobezeichnung.</p>"}},
        {705,
         {"Umsatzsteuerdaten",
          "<p>Liste der Umsatzsteuerkonten für die Voranmeldung, dazu Zahllast-, Vorsteuerüberschuss- und "
          "Finanzamtskonto (alle Typ U), sowie Autoinsert, strenge Datumsprüfung und monatliche "
          "Voranmeldung.</p>"}},
        {708,
         {"Auszugsnummer (Anr)",
          "<p>Nummer des Bankauszugs. Hellgrün: nächster Auszug, türkis: gleicher Auszug, gelb: Nummer "
          "außer der Reihe. Tasten + und − blättern.</p>"}},
        {709,
         {"Beleg",
          "<p>Belegnummer oder Text. + nächste Belegnummer, − zuletzt gebuchter Belegtext, # zeigt die "
          "Belegdatei aus dem Ordner <i>belege</i>.</p>"}},
        {710,
         {"Buchungsdatum",
          "<p>Datum der Buchung (tt.mm.jjjj). + nächster Tag, − Vortag. Gelb: das Datum liegt vor dem der "
          "vorigen Buchung.</p>"}},
        {712,
         {"Buchungskennzeichen",
          "<p>~ vorbereitet, = gebucht, # gesichert. Ein Klick prüft die Daten oder hebt den Buchungsschutz "
          "auf.</p>"}},
    };
    return all;
}

} // namespace

QString helpPage(int context) {
    auto it = pages().find(context);
    if (it == pages().end())
        it = pages().find(0);
    QString html = QStringLiteral("<html><body style='font-family: sans-serif;'><h2>%1</h2>%2")
                       .arg(QString::fromUtf8(it->second.title), QString::fromUtf8(it->second.body));
    if (it->first != 0)
        html += QStringLiteral("<p><a href='hilfe:0'>Inhalt</a></p>");
    html += QStringLiteral("<!-- context %1 --></body></html>").arg(it->first);
    return html;
}

} // namespace kontaro::gui
