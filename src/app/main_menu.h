#pragma once

#include <QString>
#include <vector>

namespace kontaro::app {

// What a menu entry does. T_Kontaro dispatches on it.
enum class Command {
    None, // a top-level menu or a separator
    NeuesJahr,
    HauptbuchExport,
    ArchivErzeugen,
    Pruefen,
    BudgetUeberschreiben,
    Beenden,
    Layout1Laden,
    Layout2Laden,
    Ueberlappend,
    Nebeneinander,
    Verkleinern,
    SymboleAnordnen,
    Oeffnen,
    Layout1Speichern,
    Layout2Speichern,
    DruckAlleKonten,
    DruckKontenOhneBK,
    DruckEinzelkonto,
    DruckJournalAbBnr,
    DruckJournalUngesichert,
    DruckJournalVorbereitet,
    DruckKontoplan,
    DruckKontoplanGruppen,
    Gruppensummen,
    EaRechnung,
    IgErwerb,
    UstMeldungDrucken,
    UvaExport,
    Beleg,
    Hilfethemen,
    Dokumentation,
    Homepage,
    FragenUndAntworten,
    Info,
    KtInfoBearbeiten,
};

struct MenuEntry {
    QString menu;    // caption of the top-level menu, with its access key ("&Druck")
    QString caption; // caption of the entry with its access key; empty for the menu itself
    QString hint;    // empty when the entry has none
    Command command = Command::None;
    bool separator = false;
};

// The whole main menu in display order: each top-level menu first (caption empty), then its
// entries and separators. The window list of "&Fenster" is added by the desktop.
const std::vector<MenuEntry>& mainMenu();

// A caption without its access-key marker: "Fensteranordnung &1 laden" -> "Fensteranordnung 1 laden".
QString withoutAccessKey(const QString& caption);

// Finds an entry by "Menu/Entry" or by the entry's caption alone, ignoring access-key markers;
// nullptr when there is none.
const MenuEntry* findMenuEntry(const QString& path);

} // namespace kontaro::app
