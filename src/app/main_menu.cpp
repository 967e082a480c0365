#include "app/main_menu.h"

namespace kontaro::app {

namespace {

MenuEntry menu(const char* caption, const char* hint = "") {
    return {QString::fromUtf8(caption), {}, QString::fromUtf8(hint), Command::None, false};
}

MenuEntry item(const char* menuCaption, const char* caption, Command command, const char* hint = "") {
    return {QString::fromUtf8(menuCaption), QString::fromUtf8(caption), QString::fromUtf8(hint), command,
            false};
}

MenuEntry separator(const char* menuCaption) {
    return {QString::fromUtf8(menuCaption), {}, {}, Command::None, true};
}

std::vector<MenuEntry> buildMenu() {
    const char* datei = "Datei";
    const char* fenster = "&Fenster";
    const char* druck = "&Druck";
    const char* hilfe = "&Hilfe";
    return {
        menu(datei),
        item(datei, "Neues Jahr", Command::NeuesJahr,
             "Aktuelle Datenstruktur und Kontoplan in ein neues Verzeichnis kopieren."),
        item(datei, "Hauptbuch&Export", Command::HauptbuchExport),
        item(datei, "Knt9plan und Journal9 (db(f)) mit Daten aller Jahre erzeugen", Command::ArchivErzeugen),
        item(datei, "Prüfen (Ergebnis siehe prüfung.txt)", Command::Pruefen),
        item(datei, "Budget mit Saldo überschreiben", Command::BudgetUeberschreiben),
        item(datei, "&Beenden", Command::Beenden, "Programmende"),

        menu(fenster, "Befehle zum Anordnen von Fenstern"),
        item(fenster, "Fensteranordnung &1 (Vorbesetzung) laden", Command::Layout1Laden,
             "Fenstergröße und Position laden"),
        item(fenster, "Fensteranordnung &2 laden", Command::Layout2Laden),
        item(fenster, "Ü&berlappend", Command::Ueberlappend),
        item(fenster, "&Nebeneinander", Command::Nebeneinander),
        separator(fenster),
        item(fenster, "&Verkleinern", Command::Verkleinern, "Alle Fenster verkleinern"),
        item(fenster, "Symbole &Anordnen", Command::SymboleAnordnen,
             "Fenstersymbole am unteren Rand des Hauptfensters anordnen"),
        item(fenster, "&Öffnen", Command::Oeffnen, "Alle Fenster öffnen"),
        separator(fenster),
        item(fenster, "Fensteranordnung 1 speichern", Command::Layout1Speichern,
             "Fenstergrößen und Lagen speichern"),
        item(fenster, "Fensteranordnung 2 speichern", Command::Layout2Speichern),

        menu(druck),
        item(druck, "Alle Konten", Command::DruckAlleKonten),
        item(druck, "Alle Konten außer B und K", Command::DruckKontenOhneBK),
        item(druck, "Einzelkonto", Command::DruckEinzelkonto),
        separator(druck),
        item(druck, "Journal gesamt oder ab BNR", Command::DruckJournalAbBnr),
        item(druck, "Journal nur ungesicherte (=)", Command::DruckJournalUngesichert, "Journal drucken"),
        item(druck, "Journal vorbereitet (~)", Command::DruckJournalVorbereitet),
        separator(druck),
        item(druck, "Kontoplan gesamt", Command::DruckKontoplan, "Kontoplan mit Saldo und Voranschlag "),
        item(druck, "Kontoplan (nur Gruppeneinträge)", Command::DruckKontoplanGruppen),
        separator(druck),
        item(druck, "Gruppensummen", Command::Gruppensummen),
        item(druck, "EA Rechnung", Command::EaRechnung),
        item(druck, "IG-Erwerb (für UST Voranmeldung)", Command::IgErwerb),
        item(druck, "UST-Voranmeldung nochmals drucken", Command::UstMeldungDrucken,
             "Die zuletzt gespeicherte UST-Voranmeldung (ustmeldung.txt) drucken"),
        item(druck, "UVA-Export (FinanzOnline)", Command::UvaExport,
             "Umsatzsteuervoranmeldung (U30) eines Monats oder Quartals als XML-Datei zum Hochladen"),

        // "&Beleg" is a command of its own on the menu bar, without entries.
        {QStringLiteral("&Beleg"),
         {},
         QStringLiteral("Beleganzeige (.\\belege\\... .jpg .xls .doc)"),
         Command::Beleg,
         false},

        menu(hilfe, "Hilfethemen"),
        item(hilfe, "&Hilfethemen", Command::Hilfethemen, "Hilfedatei anzeigen"),
        item(hilfe, "KtDoku.pdf Dokumentation anzeigen", Command::Dokumentation),
        separator(hilfe),
        item(hilfe, "Kontaro Homepage", Command::Homepage),
        item(hilfe, "Kontaro Fragen und Antworten", Command::FragenUndAntworten),
        separator(hilfe),
        item(hilfe, "&Info zu Kontaro", Command::Info, "Programminformation"),
        item(
            hilfe, "\"KtInfo.doc\" bearbeiten", Command::KtInfoBearbeiten,
            "Datei \"KtInfo.doc\" mit beliebigen (selbst erstellten) Informationen anzeigen und bearbeiten."),
    };
}

} // namespace

const std::vector<MenuEntry>& mainMenu() {
    static const std::vector<MenuEntry> entries = buildMenu();
    return entries;
}

QString withoutAccessKey(const QString& caption) {
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i; // "&&" stands for one "&"; "&x" for x with access key
        }
        plain += caption[i];
    }
    return plain;
}

const MenuEntry* findMenuEntry(const QString& path) {
    const qsizetype slash = path.indexOf(QLatin1Char('/'));
    const QString menuPart = slash < 0 ? QString() : path.left(slash);
    const QString captionPart = slash < 0 ? path : path.mid(slash + 1);
    for (const MenuEntry& entry : mainMenu()) {
        if (entry.separator)
            continue;
        const QString caption = entry.caption.isEmpty() ? entry.menu : entry.caption;
        if (!entry.caption.isEmpty() || entry.command != Command::None) {
            const bool menuMatches = menuPart.isEmpty() || withoutAccessKey(entry.menu) == menuPart;
            if (menuMatches && withoutAccessKey(caption) == captionPart)
                return &entry;
        }
    }
    return nullptr;
}

} // namespace kontaro::app
