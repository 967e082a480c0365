#include "years/archive_rebuild.h"

#include "base/clock.h"
#include "base/errors.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "data/session.h"
#include "forms/ui.h"
#include "years/t_alt.h"
#include "years/year_directory.h"

#include <QDir>
#include <QHash>
#include <functional>
#include <vector>

namespace kontaro::years {

namespace {

namespace f = data::fields;

const QString Knt9plan = QStringLiteral("knt9plan.db");
const QString Journal9 = QStringLiteral("journal9.db");

// The fixed schilling-to-euro rate; years up to 2001 were kept in schillings.
constexpr double SchillingPerEuro = 13.7603;

double toDouble(Money amount) {
    return static_cast<double>(amount.toLongDouble());
}

// Appends one archive row per source row, filled by `fill`. A row that cannot be written ends the
// year's copying; the rows before it stay. False then.
bool copyRows(data::Cursor& source, data::Cursor& archive, const std::function<void()>& fill) {
    try {
        for (source.first(); !source.eof(); source.next()) {
            archive.append();
            fill();
            archive.post();
        }
    } catch (const UserError&) {
        if (archive.state() != data::CursorState::Browse)
            archive.cancel();
        return false;
    }
    return true;
}

} // namespace

ArchiveRebuild::ArchiveRebuild(forms::Windows& windows)
    : m_windows(windows) {
    m_lastYear = Clock::currentYear() - 1;
    m_firstYear = m_lastYear - 6;
}

QString ArchiveRebuild::yearDirectory(int year) const {
    const QString& directory = m_windows.dataDirectory();
    const QString yearText = directory.right(4);
    bool isYear = false;
    yearText.toInt(&isYear);
    if (!isYear || yearText.size() != 4)
        return {}; // not a year directory: there are no other years to find
    return directory.left(directory.size() - 4) + QString::number(year);
}

bool ArchiveRebuild::ensureTables() {
    data::Session& session = m_windows.session();
    if (session.tableExists(Knt9plan) && session.tableExists(Journal9))
        return true;
    try {
        outsideTransaction(session, [&] {
            for (const QString& table : {Knt9plan, Journal9})
                if (!session.tableExists(table))
                    session.createTable(table);
        });
    } catch (const FileError&) {
        return false;
    }
    return true;
}

void ArchiveRebuild::run() {
    forms::Ui& ui = m_windows.ui();
    if (!ensureTables()) {
        ui.message(QStringLiteral("Funktion in dieser Version nicht verfügbar"));
        return;
    }
    T_alt& alt = m_windows.alt();
    alt.closeArchive();
    const int years = copyCharts();
    copyJournals();
    computeBalances();
    alt.openArchive();
    ui.message(
        QStringLiteral("Datei \"knt9plan.db(f)\" und \"journal9.db(f)\" wurde erzeugt und enthält nun Daten der "
                       "vergangenen %1 Jahre.")
            .arg(years));
}

int ArchiveRebuild::copyCharts() {
    forms::Ui& ui = m_windows.ui();
    data::Session& session = m_windows.session();
    ui.status(QStringLiteral("*** Erzeuge \"knt9plan\" (Kontoplan über alle Jahre)"));
    data::Cursor archive(session, Knt9plan);
    archive.open();
    archive.emptyTable();
    int years = 0;
    for (int year = m_firstYear; year <= m_lastYear; ++year) {
        const YearBooks books(session, yearDirectory(year));
        if (!books.session() || !books.session()->tableExists(QStringLiteral("kntplan.DB")))
            continue;
        data::Cursor chart(*books.session(), QStringLiteral("kntplan.DB"));
        chart.setReadOnly(true);
        try {
            chart.open();
        } catch (const UserError&) {
            continue; // a chart that cannot be read leaves its year out
        }
        const QString yearText = QString::number(year);
        const bool complete = copyRows(chart, archive, [&] {
            archive.setText(QStringLiteral("JAHR"), yearText);
            archive.setText(QStringLiteral("KNR"), chart.asText(f::Knr));
            archive.setText(QStringLiteral("TYP"), chart.asText(f::Typ));
            archive.setText(QStringLiteral("NAME"), chart.asText(QStringLiteral("Name")));
            archive.setDouble(QStringLiteral("SALDO"), toDouble(chart.asMoney(f::Saldo)));
            archive.setDouble(QStringLiteral("BUDGET"), toDouble(chart.asMoney(f::Budget)));
            archive.setText(QStringLiteral("GRUPPE"), chart.asText(QStringLiteral("Gruppe")));
        });
        if (complete)
            ++years;
    }
    ui.status(QStringLiteral("*** \"knt9plan\" OK"));
    return years;
}

void ArchiveRebuild::copyJournals() {
    forms::Ui& ui = m_windows.ui();
    data::Session& session = m_windows.session();
    data::Cursor archive(session, Journal9);
    archive.open();
    archive.emptyTable();
    for (int year = m_firstYear; year <= m_lastYear; ++year) {
        const QString directory = yearDirectory(year);
        ui.status(QStringLiteral("*** Erzeuge \"journal9\" (Journal über alle Jahre): ") +
                  QDir::toNativeSeparators(directory + QStringLiteral("/journal.DB")));
        // A journal is read exclusively. The data directory's own journal is open in this program's
        // windows, so its lines stay out, as those of a year open in another program do; the
        // archive's last year is then the one before the books at hand.
        const YearBooks books(session, directory);
        if (!books.session() || books.session() == &session ||
            !books.session()->tableExists(QStringLiteral("journal.DB")))
            continue;
        data::Cursor journal(*books.session(), QStringLiteral("journal.DB"), true);
        journal.setReadOnly(true);
        try {
            journal.open();
        } catch (const UserError&) {
            continue;
        }
        const QString yearText = QString::number(year);
        const auto money = [&](const QString& field) { return toDouble(journal.asMoney(field)); };
        copyRows(journal, archive, [&] {
            archive.setText(QStringLiteral("SOLLKNT"), journal.asText(f::SollKnt));
            archive.setText(QStringLiteral("HABENKNT"), journal.asText(f::HabenKnt));
            archive.setText(QStringLiteral("USTKNT"), journal.asText(f::UstKnt));
            if (!journal.isNull(f::UstP))
                archive.setDouble(QStringLiteral("USTP"), double(journal.asInteger(f::UstP)));
            archive.setDouble(QStringLiteral("SOLLBETRAG"), money(f::SollBetrag));
            archive.setDouble(QStringLiteral("HABENBETRA"), money(f::HabenBetrag));
            archive.setDouble(QStringLiteral("USTSOLL"), money(f::UstSoll));
            archive.setDouble(QStringLiteral("USTHABEN"), money(f::UstHaben));
            archive.setText(QStringLiteral("BUCHTEXT"), journal.asText(QStringLiteral("Buchtext")));
            if (!journal.isNull(f::Anr))
                archive.setDouble(QStringLiteral("ANR"), double(journal.asInteger(f::Anr)));
            archive.setText(QStringLiteral("BELEG"), journal.asText(QStringLiteral("Beleg")));
            archive.setDate(QStringLiteral("DATUM"), journal.asDate(QStringLiteral("Datum")));
            archive.setText(QStringLiteral("JAHR"), yearText);
        });
    }
}

// SALDO_X per account and year: the sum of the year's journal lines on the account, lines that touch
// an X account left out. Summed in the journal's order, as adding line by line to the field would.
void ArchiveRebuild::computeBalances() {
    forms::Ui& ui = m_windows.ui();
    data::Session& session = m_windows.session();
    data::Cursor chart(session, Knt9plan);
    chart.open();
    struct Account {
        data::Bookmark row;
        bool isX = false;
        double saldoX = 0;
        bool changed = false;
    };
    // The first row of each account and year, as a locate on "knr;jahr" finds it.
    std::vector<Account> accounts;
    QHash<QString, std::size_t> byKey;
    const auto key = [](const QString& knr, const QString& jahr) { return knr + QChar(0) + jahr; };
    for (chart.first(); !chart.eof(); chart.next()) {
        const QString k = key(chart.asText(QStringLiteral("KNR")), chart.asText(QStringLiteral("JAHR")));
        if (byKey.contains(k))
            continue;
        byKey.insert(k, accounts.size());
        accounts.push_back({chart.bookmark(),
                            chart.asText(QStringLiteral("TYP")).toUpper() == QLatin1String("X"),
                            chart.asDouble(QStringLiteral("SALDO_X")), false});
    }

    data::Cursor journal(session, Journal9);
    journal.open();
    QString shownYear;
    for (journal.first(); !journal.eof(); journal.next()) {
        const QString jahr = journal.asText(QStringLiteral("JAHR"));
        Account* soll = nullptr;
        Account* haben = nullptr;
        if (const auto it = byKey.constFind(key(journal.asText(QStringLiteral("SOLLKNT")), jahr));
            it != byKey.cend())
            soll = &accounts[*it];
        if (const auto it = byKey.constFind(key(journal.asText(QStringLiteral("HABENKNT")), jahr));
            it != byKey.cend())
            haben = &accounts[*it];
        if ((soll && soll->isX) || (haben && haben->isX))
            continue;
        if (jahr != shownYear) {
            shownYear = jahr;
            ui.status(QStringLiteral("*** Saldo ohne X-Buchungen wird berechnet: ") + jahr);
        }
        const bool schilling = jahr <= QLatin1String("2001");
        const auto inEuro = [schilling](double amount) {
            return schilling ? amount / SchillingPerEuro : amount;
        };
        if (soll) {
            soll->saldoX += inEuro(journal.asDouble(QStringLiteral("SOLLBETRAG")));
            soll->changed = true;
        }
        if (haben) {
            haben->saldoX -= inEuro(journal.asDouble(QStringLiteral("HABENBETRA")));
            haben->changed = true;
        }
    }
    for (const Account& account : accounts) {
        if (!account.changed)
            continue;
        chart.gotoBookmark(account.row);
        chart.edit();
        chart.setDouble(QStringLiteral("SALDO_X"), account.saldoX);
        chart.post();
    }
}

} // namespace kontaro::years
