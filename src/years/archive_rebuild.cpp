#include "years/archive_rebuild.h"

#include "base/clock.h"
#include "base/errors.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "data/session.h"
#include "forms/ui.h"
#include "years/archive_tables.h"
#include "years/t_alt.h"
#include "years/year_directory.h"

#include <QDir>
#include <QHash>
#include <functional>
#include <memory>
#include <vector>

namespace kontaro::years {

namespace {

namespace f = data::fields;

const QString Knt9plan = QStringLiteral("knt9plan.db");
const QString Journal9 = QStringLiteral("journal9.db");

// The fixed schilling-to-euro rate; years up to 2001 were kept in schillings.
constexpr double SchillingPerEuro = 13.7603;

// An amount as the archive's floating-point number; an empty amount stays empty.
void copyAmount(const data::Cursor& source, const QString& field, data::Cursor& archive,
                const QString& target) {
    if (!source.isNull(field))
        archive.setDouble(target, static_cast<double>(source.asMoney(field).toLongDouble()));
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

struct ArchiveRebuild::Year {
    int year = 0;
    std::unique_ptr<YearBooks> books;
    std::unique_ptr<data::Cursor> chart;
    std::unique_ptr<data::Cursor> journal; // none: the year's lines stay out
};

QString ArchiveRebuild::ensureTables() {
    data::Session& session = m_windows.session();
    for (const QString& table : {Knt9plan, Journal9})
        if (const QString problem = archiveTableInTheWay(session, table); !problem.isEmpty())
            return problem;
    try {
        if (!session.tableExists(Knt9plan) || !session.tableExists(Journal9))
            outsideTransaction(session, [&] {
                for (const QString& table : {Knt9plan, Journal9})
                    if (!session.tableExists(table))
                        session.createTable(table);
            });
        // A table that cannot be read (damaged, of a newer program version) stops the rebuild
        // before the window lets go of the archive.
        for (const QString& table : {Knt9plan, Journal9}) {
            data::Cursor archive(session, table);
            archive.open();
        }
    } catch (const UserError& e) {
        return e.message();
    }
    return {};
}

void ArchiveRebuild::run() {
    forms::Ui& ui = m_windows.ui();
    if (const QString problem = ensureTables(); !problem.isEmpty()) {
        ui.message(problem);
        return;
    }
    T_alt& alt = m_windows.alt();
    alt.closeArchive();
    m_skipped.clear();
    int count = 0;
    {
        const std::vector<Year> years = openYears();
        count = copyCharts(years);
        copyJournals(years);
    }
    computeBalances();
    alt.openArchive();
    QStringList lines = {
        QStringLiteral(
            "Datei \"knt9plan.db(f)\" und \"journal9.db(f)\" wurde erzeugt und enthält nun Daten der "
            "vergangenen %1 Jahre.")
            .arg(count)};
    ui.message((lines + m_skipped).join(QLatin1Char('\n')));
}

std::vector<ArchiveRebuild::Year> ArchiveRebuild::openYears() {
    data::Session& session = m_windows.session();
    const auto openForReading = [](data::Session& books, const QString& table, bool exclusive) {
        auto cursor = std::make_unique<data::Cursor>(books, table, exclusive);
        cursor->setReadOnly(true);
        cursor->open();
        return cursor;
    };
    std::vector<Year> years;
    for (int year = m_firstYear; year <= m_lastYear; ++year) {
        Year entry{year, std::make_unique<YearBooks>(session, yearDirectory(year)), nullptr, nullptr};
        data::Session* books = entry.books->session();
        if (!books || !books->tableExists(QStringLiteral("kntplan.DB")))
            continue;
        try {
            entry.chart = openForReading(*books, QStringLiteral("kntplan.DB"), false);
            // A journal is read exclusively. The data directory's own journal is open in this
            // program's windows, so its lines stay out, as those of a year open in another program
            // do; the archive's last year is then the one before the books at hand.
            if (books != &session && books->tableExists(QStringLiteral("journal.DB")))
                entry.journal = openForReading(*books, QStringLiteral("journal.DB"), true);
        } catch (const UserError& e) {
            m_skipped << QStringLiteral("Das Jahr %1 wurde übersprungen: %2").arg(year).arg(e.message());
            continue;
        }
        years.push_back(std::move(entry));
    }
    return years;
}

int ArchiveRebuild::copyCharts(const std::vector<Year>& years) {
    forms::Ui& ui = m_windows.ui();
    ui.status(QStringLiteral("*** Erzeuge \"knt9plan\" (Kontoplan über alle Jahre)"));
    data::Cursor archive(m_windows.session(), Knt9plan);
    archive.open();
    archive.emptyTable();
    int count = 0;
    for (const Year& year : years) {
        data::Cursor& chart = *year.chart;
        const QString yearText = QString::number(year.year);
        const bool complete = copyRows(chart, archive, [&] {
            archive.setText(QStringLiteral("JAHR"), yearText);
            archive.setText(QStringLiteral("KNR"), chart.asText(f::Knr));
            archive.setText(QStringLiteral("TYP"), chart.asText(f::Typ));
            archive.setText(QStringLiteral("NAME"), chart.asText(QStringLiteral("Name")));
            copyAmount(chart, f::Saldo, archive, QStringLiteral("SALDO"));
            copyAmount(chart, f::Budget, archive, QStringLiteral("BUDGET"));
            archive.setText(QStringLiteral("GRUPPE"), chart.asText(QStringLiteral("Gruppe")));
        });
        if (complete)
            ++count;
    }
    ui.status(QStringLiteral("*** \"knt9plan\" OK"));
    return count;
}

void ArchiveRebuild::copyJournals(const std::vector<Year>& years) {
    forms::Ui& ui = m_windows.ui();
    data::Cursor archive(m_windows.session(), Journal9);
    archive.open();
    archive.emptyTable();
    for (const Year& year : years) {
        ui.status(QStringLiteral("*** Erzeuge \"journal9\" (Journal über alle Jahre): ") +
                  QDir::toNativeSeparators(yearDirectory(year.year) + QStringLiteral("/journal.DB")));
        if (!year.journal)
            continue;
        data::Cursor& journal = *year.journal;
        const QString yearText = QString::number(year.year);
        copyRows(journal, archive, [&] {
            archive.setText(QStringLiteral("SOLLKNT"), journal.asText(f::SollKnt));
            archive.setText(QStringLiteral("HABENKNT"), journal.asText(f::HabenKnt));
            archive.setText(QStringLiteral("USTKNT"), journal.asText(f::UstKnt));
            if (!journal.isNull(f::UstP))
                archive.setDouble(QStringLiteral("USTP"), double(journal.asInteger(f::UstP)));
            copyAmount(journal, f::SollBetrag, archive, QStringLiteral("SOLLBETRAG"));
            copyAmount(journal, f::HabenBetrag, archive, QStringLiteral("HABENBETRA"));
            copyAmount(journal, f::UstSoll, archive, QStringLiteral("USTSOLL"));
            copyAmount(journal, f::UstHaben, archive, QStringLiteral("USTHABEN"));
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
