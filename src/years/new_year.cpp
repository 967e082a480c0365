#include "years/new_year.h"

#include "base/clock.h"
#include "base/date.h"
#include "base/errors.h"
#include "data/book_codes.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "data/session.h"
#include "data/sqlite_db.h"
#include "data/table_layout.h"
#include "forms/ui.h"
#include "posting/t_buchen.h"
#include "years/carry_over.h"
#include "years/year_directory.h"
#include "years/year_replacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>
#include <unistd.h>

namespace kontaro::years {

namespace {

namespace f = data::fields;

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

FileError cannotWrite(const QString& directory) {
    return FileError(
        QStringLiteral("In das Verzeichnis \"%1\" kann nicht geschrieben werden.").arg(native(directory)));
}

// The directory a new year is built in beside its place, locked against the clean-up of another
// start while it is built, and removed again unless it was kept.
class TemporaryDirectory {
public:
    explicit TemporaryDirectory(QString path)
        : m_path(std::move(path)) {
        if (!QDir().mkpath(m_path))
            throw cannotWrite(QFileInfo(m_path).absolutePath());
        m_lock.emplace(m_path, true);
    }
    ~TemporaryDirectory() {
        if (!m_kept)
            QDir(m_path).removeRecursively();
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const QString& path() const { return m_path; }
    // Left for the next start, which finishes taking back what it holds.
    void keep() { m_kept = true; }
    void renameTo(const QString& target) {
        if (!QDir().rename(m_path, target))
            throw cannotWrite(QFileInfo(target).absolutePath());
        m_kept = true;
    }

private:
    QString m_path;
    std::optional<DirectoryLock> m_lock;
    bool m_kept = false;
};

// Every table written into the new year reads back whole.
void verifyTables(const QString& directory, const QStringList& written) {
    for (const QString& name : written) {
        const QString path = directory + QLatin1Char('/') + name;
        const data::TableLayout* layout = data::layouts::forFileName(path);
        if (!layout || layout->format != data::TableFormat::Sqlite)
            continue;
        bool sound = false;
        try {
            data::SqliteDb db(path);
            data::SqliteStatement check(db, QStringLiteral("PRAGMA quick_check"), path);
            sound = check.step() && check.columnText(0) == QLatin1String("ok");
        } catch (const FileError&) {
        }
        if (!sound)
            throw FileError(
                QStringLiteral("Die Tabelle \"%1\" des neuen Jahres ist beim Schreiben beschädigt "
                               "worden.")
                    .arg(native(path)));
    }
}

} // namespace

NewYear::NewYear(forms::Windows& windows)
    : m_windows(windows) {}

bool NewYear::run() {
    forms::Ui& ui = m_windows.ui();
    if (m_windows.buchen().einfuegung()) {
        ui.message(QStringLiteral("Funktion nur verfügbar wenn keine Buchungen eingefügt wurden.\n"
                                  "Also Programm beenden, neu starten und diese Funktion erneut aufrufen."));
        return false;
    }

    QString defaultDate;
    if (const std::optional<QDate> newYearsDay = parseUserDate(QStringLiteral("1.1")))
        defaultDate = formatDate(*newYearsDay);
    else
        ui.message(QStringLiteral("Datum ist nicht auf Deutsches Datum eingestellt."));
    const QString dateText = ui.input(QStringLiteral("Neues Jahr einrichten"),
                                      QStringLiteral("Datum für Eröffnungsbuchungen"), defaultDate)
                                 .value_or(defaultDate);

    const std::optional<QString> yearAnswer =
        ui.input(QStringLiteral("Buchhaltung für neues Jahr einrichten"),
                 QStringLiteral("Jahr (1957 bis 9999) : "), QString::number(Clock::currentYear()));
    if (!yearAnswer || yearAnswer->trimmed().isEmpty()) {
        ui.message(QStringLiteral("ABBRUCH"));
        return false;
    }
    const QString yearText = yearAnswer->trimmed();
    bool isNumber = false;
    const int year = yearText.toInt(&isNumber);
    if (!isNumber)
        throw UserError(QStringLiteral("\"%1\" ist keine gültige ganze Zahl.").arg(yearText));
    if (year < 1000 || year > 9999) {
        ui.message(QStringLiteral("FEHLER: JAHR falsch!"));
        return false;
    }
    // Opening lines without a date, or dated in another year, would be posted into the wrong year.
    const std::optional<QDate> openingDate = parseUserDate(dateText);
    if (!openingDate || openingDate->year() != year) {
        ui.message(QStringLiteral("Das Datum der Eröffnungsbuchungen (%1) liegt nicht im Jahr %2.")
                       .arg(dateText.trimmed(), yearText));
        return false;
    }

    const QString dataDirectory = m_windows.dataDirectory();
    const QString parent = QFileInfo(dataDirectory).absolutePath();
    const QString target = QDir::cleanPath(parent + QStringLiteral("/KT") + yearText);
    const QString shownTarget = native(target) + QDir::separator();

    data::Session& session = m_windows.session();
    {
        data::Cursor chart(session, QStringLiteral("kntplan.DB"));
        chart.open();
        if (!chart.locate(f::Knr, {QStringLiteral("EBK")})) {
            ui.message(QStringLiteral("Bitte zuerst Eröffnunskonto EBK mit Typ X einrichten !"));
            return false;
        }
    }
    if (target == dataDirectory) {
        ui.message(QStringLiteral("Selbes Verzeichnis nicht erlaubt!"));
        return false;
    }

    const QFileInfo targetInfo(target);
    const bool exists = targetInfo.exists() || targetInfo.isSymLink();
    if (exists && !targetInfo.isDir()) {
        ui.message(QStringLiteral("\"%1\" ist eine Datei und kein Verzeichnis.").arg(native(target)));
        return false;
    }
    const QString temporary = parent + QStringLiteral("/.KT") + yearText + QStringLiteral("-neu");
    std::optional<DirectoryLock> lock;
    if (exists)
        lock.emplace(target, true);
    // A year being built by another program, or one whose interrupted replacement cannot be taken
    // back yet, is left alone.
    if ((lock && lock->isBusy()) || !removeInterruptedYear(temporary)) {
        ui.message(QStringLiteral("Das Jahr %1 ist gerade in Bearbeitung.").arg(yearText));
        return false;
    }
    if (exists) {
        if (ui.question(
                QStringLiteral("ACHTUNG: Verzeichnis \"%1\" ist schon vorhanden. SOLL KOPIERT WERDEN ? "
                               "(Daten werden überschrieben !)")
                    .arg(shownTarget),
                forms::Buttons::YesNo) != forms::Answer::Yes)
            return false;
        if (::access(QFile::encodeName(target).constData(), W_OK) != 0)
            throw cannotWrite(target);
        // What a program that crashed there left half written is rolled back first, so the backup
        // holds the year as it was last committed.
        recoverTableJournals(target);
    }
    // The whole year is built under another name beside its place; it takes that place only when
    // complete.
    TemporaryDirectory fresh(temporary);

    {
        data::Cursor openingJournal(session, QStringLiteral("journal1.DB"), true);
        openingJournal.open();
        openingJournal.emptyTable();
    }
    QStringList skipped;
    if (ui.question(QStringLiteral("Saldoübertrag von B-K-U-Konten ?"), forms::Buttons::YesNo) ==
        forms::Answer::Yes) {
        try {
            skipped = writeOpeningLines(*openingDate);
        } catch (const UserError&) {
            ui.message(QStringLiteral("Fehler bei Datei \"journal1.DB\""));
        }
    }

    CarryOver carryOver(session, fresh.path(), parent);
    outsideTransaction(session, [&] { carryOver.run(); });
    // Vouchers belong to their year: the new one starts with an empty folder.
    if (!QDir(fresh.path()).mkdir(QStringLiteral("belege")))
        throw cannotWrite(parent);
    verifyTables(fresh.path(), carryOver.written());

    QString backupFolder;
    if (exists) {
        backupFolder =
            QStringLiteral("Sicherung-") + Clock::now().toString(QStringLiteral("yyyy-MM-dd-hhmmss"));
        for (int n = 2; QFileInfo::exists(target + QLatin1Char('/') + backupFolder); ++n)
            backupFolder = backupFolder.section(QLatin1Char('_'), 0, 0) + QStringLiteral("_%1").arg(n);
        YearReplacement replacement(fresh.path(), target, backupFolder);
        try {
            replacement.run();
        } catch (const FileError&) {
            if (YearReplacement::hasPlan(fresh.path()))
                fresh.keep();
            throw;
        }
    } else {
        fresh.renameTo(target);
    }

    QStringList lines = {
        QStringLiteral("Neues Jahr eingerichtet. "),
        QStringLiteral("Diese Buchhaltung wird automatisch beendet!"),
        QStringLiteral(
            "Notiere folgenden Pfad (für Datensicherung und Arbeitsverzeichnis) und starte Kontaro vom "
            "Verzeichnis:\""),
        shownTarget,
        QStringLiteral(
            "Verwende dann im Fenster BUCHEN die \"blaue Pfeil DN\"-Taste um eventuell vorbereitete "
            "Eröffnungsbuchungen einzutragen."),
    };
    if (exists)
        lines << QStringLiteral("Die ersetzten Dateien liegen in \"%1\".")
                     .arg(native(target + QLatin1Char('/') + backupFolder));
    if (!skipped.isEmpty())
        lines << QStringLiteral("Keine Eröffnungsbuchung für: %1").arg(skipped.join(QStringLiteral(", ")));
    ui.message(lines.join(QLatin1Char('\n')));
    return true;
}

QStringList NewYear::writeOpeningLines(const QDate& date) {
    data::Session& session = m_windows.session();
    data::Cursor openingJournal(session, QStringLiteral("journal1.DB"), true);
    openingJournal.open();
    data::Cursor chart(session, QStringLiteral("kntplan.DB"));
    chart.open();
    const QString ebk = QStringLiteral("EBK");
    QStringList skipped;
    for (chart.first(); !chart.eof(); chart.next()) {
        const QString typ = chart.asText(f::Typ);
        const Money saldo = chart.asMoney(f::Saldo);
        if (saldo.isZero() || !data::AccountKind::parse(typ).isCarriedIntoNewYear())
            continue;
        const QString knr = chart.asText(f::Knr);
        // One line that cannot be written must not cost the others.
        try {
            openingJournal.append();
            openingJournal.setMoney(f::SollBetrag, saldo.abs());
            openingJournal.setMoney(f::HabenBetrag, saldo.abs());
            openingJournal.setText(f::Ok, data::postingMarkText(data::PostingMark::Opening));
            openingJournal.setDate(QStringLiteral("Datum"), date);
            openingJournal.setText(QStringLiteral("Buchtext"), QStringLiteral("U-Konto Eröffnung"));
            openingJournal.setText(f::SollKnt, saldo.isNegative() ? ebk : knr);
            openingJournal.setText(f::HabenKnt, saldo.isNegative() ? knr : ebk);
            openingJournal.post();
        } catch (const UserError&) {
            if (openingJournal.state() != data::CursorState::Browse)
                openingJournal.cancel();
            skipped << knr;
        }
    }
    return skipped;
}

} // namespace kontaro::years
