#include "app/t_kontaro.h"

#include "app/t_info.h"
#include "app/t_init.h"
#include "base/errors.h"
#include "base/money.h"
#include "base/program_info.h"
#include "base/text_file.h"
#include "data/cursor.h"
#include "data/session.h"
#include "data/settings.h"
#include "data/transaction.h"
#include "posting/t_buchen.h"
#include "posting/vat_return.h"
#include "reports/ea_rechnung.h"
#include "reports/ig_erwerb.h"
#include "reports/uva_export.h"
#include "views/consistency_check.h"
#include "views/ledger_export.h"
#include "views/t_journal.h"
#include "views/t_konto.h"
#include "views/t_kontoplan.h"
#include "years/archive_rebuild.h"
#include "years/leftovers.h"
#include "years/new_year.h"
#include "years/t_alt.h"

#include <QDir>
#include <QFileInfo>

namespace kontaro::app {

using forms::Answer;
using forms::Buttons;
using forms::WindowState;

namespace {

const QStringList AccessDenied = {
    QStringLiteral("Keine Zugriffsberechtigung auf Buchhaltungsdaten. Gründe:"),
    QStringLiteral("+ Arbeitsverzeichnis (Eigenschaften/Ausführen in) muss auf Datenordner zeigen."),
    QStringLiteral("+ Pfad C:\\Dokumente und Einstellungen\\....\\Desktop\\Kontaro-d\\ ist zu lange."),
    QStringLiteral(
        "+ Programm wird in C:/programme/dorvan/kontaro-p/ gestartet (Falsch! Hier ist nur das Programm"),
    QStringLiteral("+ Datenbank hat zusätzliche Verschlüsselung und das Passwort ist falsch."),
    QStringLiteral("! Üblicher Programmstart via Desktop/Buchhaltung/ktJAHR/kt.exe (gelbes KT-Logo)!"),
};

template <typename Window> Window& existing(const std::unique_ptr<Window>& window) {
    if (!window)
        throw std::logic_error("window asked for before it was created");
    return *window;
}

WindowLayout layoutOf(int number) {
    return number == 2 ? WindowLayout::Second : WindowLayout::First;
}

} // namespace

T_Kontaro::T_Kontaro(forms::Ui& ui, QString dataDirectory)
    : m_ui(ui)
    , m_dataDirectory(QDir::cleanPath(QDir(dataDirectory).absolutePath())) {
    caption = programVersion();
    hint = QStringLiteral("Das mit der Maus selektierte Feld wird in der letzten Zeile beschrieben. "
                          "Zusätzliche Hilfe mit Taste F1.");
}

T_Kontaro::~T_Kontaro() {
    closeWindows();
}

data::Session& T_Kontaro::session() const {
    return existing(m_session);
}
forms::LiveSettings& T_Kontaro::liveSettings() const {
    return existing(m_init);
}
years::T_alt& T_Kontaro::alt() const {
    return existing(m_alt);
}
views::T_Journal& T_Kontaro::journal() const {
    return existing(m_journal);
}
views::T_Konto& T_Kontaro::konto() const {
    return existing(m_konto);
}
views::T_Kontoplan& T_Kontaro::kontoplan() const {
    return existing(m_kontoplan);
}
posting::T_Buchen& T_Kontaro::buchen() const {
    return existing(m_buchen);
}
T_init& T_Kontaro::init() const {
    return existing(m_init);
}
T_Info& T_Kontaro::info() const {
    return existing(m_info);
}

QString T_Kontaro::applicationTitle() {
    return QStringLiteral("Dorvan Buchhaltung 2007");
}

bool T_Kontaro::start() {
    try {
        m_session = std::make_unique<data::Session>(m_dataDirectory);
    } catch (const UserError& e) {
        m_ui.message(e.message());
        return false;
    }
    years::removeLeftovers(m_dataDirectory);

    // The opening journal must be ours alone; if it cannot be opened so, these are not usable books.
    try {
        data::Cursor probe(*m_session, QStringLiteral("journal1.DB"), true);
        probe.open();
    } catch (const UserError&) {
        m_ui.message(AccessDenied.join(QLatin1Char('\n')));
        m_session.reset();
        return false;
    }

    caption += QStringLiteral(" >> \"%1\"").arg(QDir::toNativeSeparators(m_dataDirectory));
    m_running = true;
    // A start that fails (a damaged table, a settings file that cannot be written) must not leave a
    // program without its windows behind: it says why once and ends.
    QString failure;
    // The ledger, the largest table, is read on a second core while the others load.
    m_session->preload(QStringLiteral("konten.DB"));
    try {
        data::Transaction transaction(*m_session);
        // Every book table is loaded before a window writes anything (the settings file), so
        // that a damaged table ends the start with the files as they were.
        for (const char* name : {"journal.DB", "kntplan.DB", "konten.DB"}) {
            data::Cursor table(*m_session, QString::fromLatin1(name));
            table.open();
        }
        try {
            createWindows();
        } catch (const Abort&) {
            // a refusal keeps what was saved before it, as in every other action
        }
        transaction.commit();
        return true;
    } catch (const UserError& e) {
        failure = e.message();
    } catch (const MoneyOverflow& e) {
        failure = QString::fromUtf8(e.what());
    }
    m_ui.error(failure);
    closeWindows();
    m_session.reset();
    m_running = false;
    return false;
}

void T_Kontaro::closeWindows() {
    // Windows close their cursors before the session goes, in the reverse order of creation.
    m_info.reset();
    m_buchen.reset();
    m_init.reset();
    m_kontoplan.reset();
    m_konto.reset();
    m_journal.reset();
    m_alt.reset();
}

void T_Kontaro::createWindows() {
    m_alt = std::make_unique<years::T_alt>(*this);
    m_journal = std::make_unique<views::T_Journal>(*this);
    m_konto = std::make_unique<views::T_Konto>(*this);
    m_kontoplan = std::make_unique<views::T_Kontoplan>(*this);
    m_init = std::make_unique<T_init>(*this);
    m_buchen = std::make_unique<posting::T_Buchen>(*this);
    m_info = std::make_unique<T_Info>(*this);
    for (forms::Form* form : children())
        form->setActionRunner(this);
    m_active = m_info->componentName();
    // Every start applies window layout 1 (or its defaults).
    loadLayout(1);
}

std::vector<forms::Form*> T_Kontaro::children() const {
    std::vector<forms::Form*> list;
    for (forms::Form* form :
         std::initializer_list<forms::Form*>{m_alt.get(), m_journal.get(), m_konto.get(), m_kontoplan.get(),
                                             m_init.get(), m_buchen.get(), m_info.get()})
        if (form)
            list.push_back(form);
    return list;
}

forms::Form* T_Kontaro::child(const QString& componentName) const {
    for (forms::Form* form : children())
        if (form->componentName() == componentName)
            return form;
    return nullptr;
}

void T_Kontaro::activateWindow(const QString& componentName) {
    if (componentName == m_active)
        return;
    forms::Form* next = child(componentName);
    if (!next)
        return;
    if (forms::Form* previous = child(m_active))
        previous->deactivate();
    m_active = componentName;
    next->activate();
}

void T_Kontaro::leaveActiveWindow() {
    run([this] {
        m_kontoplan->finishPendingEdit();
        // Cleared first: a leave handler that fails must not keep the program from ending the
        // next time.
        forms::Form* active = child(m_active);
        m_active.clear();
        if (active)
            active->deactivate();
    });
}

void T_Kontaro::bringToFront(const QString& componentName) {
    forms::Form* form = child(componentName);
    if (!form)
        return;
    if (form->windowState == WindowState::Minimized)
        form->windowState = WindowState::Normal;
    activateWindow(componentName);
}

bool T_Kontaro::isEnabled(Command command) const {
    switch (command) {
    case Command::Ueberlappend:
    case Command::Nebeneinander:
    case Command::SymboleAnordnen:
    case Command::Verkleinern:
        return !children().empty();
    default:
        return true;
    }
}

void T_Kontaro::command(Command command) {
    if (!isEnabled(command))
        return;
    run([this, command] { execute(command); });
}

void T_Kontaro::execute(Command command) {
    switch (command) {
    case Command::Beenden:
        closeMainWindow();
        break;
    case Command::ArchivErzeugen:
        years::ArchiveRebuild(*this).run();
        break;
    case Command::NeuesJahr:
        m_buchen->refuseOnDamage(QStringLiteral("Neues Jahr"));
        // What the active window holds is saved first, so that it goes into the new year too. The
        // books then live on in the new directory: the program ends without the closing question.
        leaveActiveWindow();
        if (years::NewYear(*this).run())
            shutdown();
        break;
    case Command::Layout1Laden:
        loadLayout(1);
        break;
    case Command::Layout2Laden:
        loadLayout(2);
        break;
    case Command::Layout1Speichern:
        saveLayout(1);
        break;
    case Command::Layout2Speichern:
        saveLayout(2);
        break;
    case Command::Ueberlappend:
        m_ui.arrange(forms::Arrangement::Cascade);
        break;
    case Command::Nebeneinander:
        m_ui.arrange(forms::Arrangement::Tile);
        break;
    case Command::SymboleAnordnen:
        m_ui.arrange(forms::Arrangement::ArrangeIcons);
        break;
    case Command::Verkleinern:
        minimiseAll();
        break;
    case Command::Oeffnen:
        openWorkingWindows();
        break;
    case Command::DruckAlleKonten:
        m_konto->printAllAccounts(false);
        break;
    case Command::DruckKontenOhneBK:
        m_konto->printAllAccounts(true);
        break;
    case Command::DruckJournalAbBnr:
        m_journal->printJournalFromNumber();
        break;
    case Command::DruckJournalUngesichert:
        m_journal->printJournal(1);
        break;
    case Command::DruckJournalVorbereitet:
        m_journal->printJournal(2);
        break;
    case Command::DruckKontoplan:
        m_kontoplan->printChart(0);
        break;
    case Command::DruckKontoplanGruppen:
        m_kontoplan->printChart(1);
        break;
    case Command::HauptbuchExport:
        views::exportLedger(*this, m_ag);
        break;
    case Command::BudgetUeberschreiben:
        m_buchen->refuseOnDamage(QStringLiteral("Budget überschreiben"));
        views::overwriteBudgets(*this);
        break;
    case Command::Pruefen:
        views::checkBooks(*this, m_ag);
        break;
    case Command::EaRechnung:
        reports::EaRechnung(*this).run();
        break;
    case Command::Gruppensummen:
        m_kontoplan->printGroupSums();
        break;
    case Command::IgErwerb:
        reports::IgErwerb(*this).run();
        break;
    case Command::UstMeldungDrucken:
        posting::printSavedVatReturn(*this);
        break;
    case Command::UvaExport:
        reports::UvaExport(*this).run();
        break;
    case Command::DruckEinzelkonto:
        m_ui.message(QStringLiteral("Verwende \"Druck-Symbol\" im Hauptbuch!"));
        break;
    case Command::Hilfethemen:
        m_ui.shellOpen(QStringLiteral("help:0"), QStringLiteral("help"));
        break;
    case Command::Dokumentation: {
        const QString file = m_init->programmpfad() + QStringLiteral("KtDoku.pdf");
        // Without the document the built-in help stands in for it.
        if (!QFileInfo::exists(file)) {
            m_ui.status(QStringLiteral("\"%1\" fehlt; die eingebaute Hilfe wird angezeigt.").arg(file));
            m_ui.shellOpen(QStringLiteral("help:0"), QStringLiteral("help"));
            break;
        }
        openDocument(file, QStringLiteral("open"),
                     QStringLiteral("Vermutlich \"%1\" nicht vorhanden.").arg(file));
        break;
    }
    case Command::Homepage:
        openWebPage(homePageAddress());
        break;
    case Command::FragenUndAntworten:
        openWebPage(questionsPageAddress());
        break;
    case Command::KtInfoBearbeiten:
        openDocument(m_dataDirectory + QStringLiteral("/KtInfo.doc"), QString(),
                     QStringLiteral("\"KtInfo.doc\" fehlt."));
        break;
    case Command::Beleg:
        m_buchen->showVoucher(m_journal->lines().asText(QStringLiteral("Beleg")));
        break;
    case Command::Info:
        // Normal size also from maximised, unlike a pick from the window list.
        m_info->windowState = WindowState::Normal;
        bringToFront(m_info->componentName());
        break;
    case Command::None:
        break;
    default:
        notAvailable();
        break;
    }
}

void T_Kontaro::openDocument(const QString& target, const QString& verb, const QString& failure) {
    if (!m_ui.shellOpen(target, verb))
        m_ui.message(failure);
}

void T_Kontaro::openWebPage(const QString& address) {
    openDocument(address, QStringLiteral("open"),
                 QStringLiteral("Kein Webbrowser gefunden. Die Seite %1 bitte in einem Webbrowser öffnen.")
                     .arg(address));
}

void T_Kontaro::notAvailable() {
    m_ui.message(QStringLiteral("Diese Funktion ist in dieser Version noch nicht verfügbar."));
}

void T_Kontaro::minimiseAll() {
    const std::vector<forms::Form*> list = children();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        (*it)->windowState = WindowState::Minimized;
}

void T_Kontaro::openWorkingWindows() {
    for (forms::Form* form : std::initializer_list<forms::Form*>{m_konto.get(), m_kontoplan.get(),
                                                                 m_journal.get(), m_buchen.get()})
        form->windowState = WindowState::Normal;
}

void T_Kontaro::saveLayout(int number) {
    QStringList names;
    QList<WindowGeometry> geometries;
    for (forms::Form* form : children()) {
        names << form->componentName();
        const forms::Geometry& g = form->geometry;
        geometries << WindowGeometry{g.top, g.left, g.height, g.width,
                                     form->windowState != WindowState::Minimized};
    }
    Settings(m_dataDirectory).setWindowLayout(layoutOf(number), names, geometries);
}

void T_Kontaro::loadLayout(int number) {
    const std::vector<forms::Form*> list = children();
    QStringList names;
    for (forms::Form* form : list)
        names << form->componentName();
    const QList<WindowGeometry> geometries = Settings(m_dataDirectory).windowLayout(layoutOf(number), names);
    for (std::size_t i = 0; i < list.size() && i < std::size_t(Settings::layoutVisibilityCount); ++i)
        list[i]->windowState =
            geometries[qsizetype(i)].visible.value_or(true) ? WindowState::Normal : WindowState::Minimized;
    for (std::size_t i = list.size(); i-- > 0;) {
        const WindowGeometry& g = geometries[qsizetype(i)];
        list[i]->geometry = {g.top, g.left, g.height, g.width};
    }
}

void T_Kontaro::closeMainWindow() {
    if (!m_running)
        return;
    leaveActiveWindow();
    const Answer answer = m_ui.question(
        QStringLiteral("JA: Daten PRÜFEN und wenn Fehlerfrei automatisch beenden oder NEIN: nicht prüfen und "
                       "sofort beenden."),
        Buttons::YesNo, 2);
    // The question promises to end only when the check finds no error; after an error box the
    // program stays open so that prüfung.txt can be read.
    if (answer == Answer::Yes) {
        bool clean = false;
        run([this, &clean] { clean = views::checkBooks(*this, m_ag); });
        if (!clean)
            return;
    }
    shutdown();
}

void T_Kontaro::endWithoutCheck() {
    if (!m_running)
        return;
    leaveActiveWindow();
    run([this] { shutdown(); });
}

void T_Kontaro::shutdown() {
    m_running = false;
    // The posting window keeps its voucher and statement counters in the settings file.
    m_buchen->saveCounters();
    try {
        data::Cursor knt1plan(*m_session, QStringLiteral("knt1plan.DBF"));
        knt1plan.open();
        knt1plan.emptyTable();
    } catch (const UserError&) {
        // A missing or locked knt1plan.DBF does not keep the program from ending.
    }
    // The ledger export of this run is not kept beyond it.
    text::writeLines(m_dataDirectory + QStringLiteral("/konten.csv"), {});
}

void T_Kontaro::run(const std::function<void()>& action) {
    if (!m_session || m_session->inTransaction()) {
        action(); // part of an action that is already running
        return;
    }
    const std::optional<posting::T_Buchen::MemoryState> before =
        m_buchen ? std::optional(m_buchen->memoryState()) : std::nullopt;
    data::Transaction transaction(*m_session);
    // A failed action leaves no trace: tables, the posting window's memory and pending writes.
    const auto rollBack = [&](const QString& message) {
        m_afterCommit.clear();
        if (before)
            m_buchen->restoreMemoryState(*before);
        try {
            transaction.rollback();
        } catch (const UserError& e) {
            // The tables in memory may still hold the failed action: end without writing anything;
            // the next start finds the books as they were before it.
            m_running = false;
            m_ui.error(message + QStringLiteral("\n\nDie Änderungen konnten nicht zurückgenommen werden (") +
                       e.message() +
                       QStringLiteral("). Kontaro wird beendet; beim nächsten Start sind die Bücher wie "
                                      "vor diesem Befehl."));
            return;
        }
        m_ui.error(message);
    };
    try {
        action();
        transaction.commit();
    } catch (const Abort&) {
        transaction.commit(); // a refusal keeps what was saved before it
    } catch (const UserError& e) {
        rollBack(e.message());
        return;
    } catch (const MoneyOverflow& e) {
        rollBack(QString::fromUtf8(e.what()));
        return;
    }
    runWritesAfterCommit();
}

void T_Kontaro::afterCommit(std::function<void()> write) {
    m_afterCommit.push_back(std::move(write));
    if (!m_session || !m_session->inTransaction())
        runWritesAfterCommit();
}

void T_Kontaro::runWritesAfterCommit() {
    std::vector<std::function<void()>> writes;
    writes.swap(m_afterCommit);
    for (const std::function<void()>& write : writes) {
        try {
            write();
        } catch (const UserError& e) {
            m_ui.error(e.message());
        }
    }
}

} // namespace kontaro::app
