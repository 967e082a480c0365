// Protecting posted lines up to a date, and the status check that compares the check sums of
// journal and ledger and lifts the protection with the password.
#include "base/date.h"
#include "data/book_codes.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "data/settings.h"
#include "posting/t_buchen.h"
#include "views/t_journal.h"

namespace kontaro::posting {

namespace {

using namespace data::fields;

QDate unprotectedDate() {
    return QDate(1899, 12, 31);
}

} // namespace

void T_Buchen::protect() {
    refuseOnDamage(QStringLiteral("Der Buchungsschutz"));
    editLine();
    data::Cursor& j = *m_j;
    if (lineIsFirst()) {
        // Nothing is posted yet; the steps below would mark the unposted current line.
        ui().message(QStringLiteral("Es gibt noch keine gebuchte Zeile, die geschützt werden kann."));
        return;
    }
    j.prior();
    m_datumVorgaenger = j.asDate(QStringLiteral("Datum"));
    j.next();
    editLine();
    const QDate datum = j.asDate(QStringLiteral("Datum"));
    if (!datum.isValid() || datum <= m_datumVorgaenger) {
        ui().message(QStringLiteral("Bitte zuerst Datum aktueller Buchung auf nächsten Tag stellen"));
        return;
    }
    const QDate until = datum.addDays(-1);
    if (ui().question(
            QStringLiteral("Sind alle Buchungen (auch UST-Abschluß) bis zum ") + formatDate(until) +
                QStringLiteral(" gebucht und sollen für jede weitere Manipulation geschützt werden?"),
            forms::Buttons::YesNo) != forms::Answer::Yes)
        return;

    m_datumGesichert = until;
    // Backwards from the line before the current one up to the first line already protected.
    data::Cursor& walk = *m_walk;
    walk.gotoBookmark(j.bookmark());
    for (walk.prior(); !walk.bof(); walk.prior()) {
        if (data::hasMark(walk.asText(Ok), data::PostingMark::Protected))
            break;
        walk.edit();
        walk.setText(Ok, data::postingMarkText(data::PostingMark::Protected));
        walk.post();
    }
    writeProtectionDate();
    editLine();
}

// The settings file follows the marks only once they are committed.
void T_Buchen::writeProtectionDate() {
    const QString directory = m_windows.dataDirectory();
    const QDate until = m_datumGesichert;
    m_windows.afterCommit([directory, until] { Settings(directory).setGeschuetzt(until); });
}

bool T_Buchen::checkSums() {
    editLine();
    data::Cursor& j = *m_j;
    data::Cursor& lines = m_windows.journal().lines();
    // Only a journal window that shows this very line with another mark has missed a change.
    if (lines.bookmark().id == j.bookmark().id && lines.asText(Ok) != j.asText(Ok))
        post();

    // Check sums, exact: the posted run of the journal against the whole ledger.
    // Fields by index, looked up once: the loops run over every line of journal and ledger.
    Money journalSoll;
    Money journalHaben;
    {
        const int ok = lines.fieldIndex(Ok);
        const int soll = lines.fieldIndex(QStringLiteral("SollBetrag"));
        const int ustSoll = lines.fieldIndex(QStringLiteral("UstSoll"));
        const int haben = lines.fieldIndex(QStringLiteral("HabenBetrag"));
        const int ustHaben = lines.fieldIndex(QStringLiteral("UstHaben"));
        for (lines.first(); !lines.eof(); lines.next()) {
            const QString mark = lines.asText(ok);
            if (!data::isPostedMark(mark))
                break;
            journalSoll += lines.asMoney(soll) + lines.asMoney(ustSoll);
            journalHaben += lines.asMoney(haben) + lines.asMoney(ustHaben);
        }
    }
    Money ledgerSoll;
    Money ledgerHaben;
    // The sums do not depend on the order: the ledger as stored, read front to back.
    data::Cursor k(m_windows.session(), QStringLiteral("konten.DB"));
    k.setNaturalOrder();
    k.open();
    const int soll = k.fieldIndex(QStringLiteral("SollBetrag"));
    const int haben = k.fieldIndex(QStringLiteral("HabenBetrag"));
    for (k.first(); !k.eof(); k.next()) {
        ledgerSoll += k.asMoney(soll);
        ledgerHaben += k.asMoney(haben);
    }
    if (ledgerSoll == journalSoll && ledgerHaben == journalHaben && journalSoll == journalHaben)
        return true;
    ui().message(QStringLiteral("FEHLER: SOLL/HABEN ungleich oder JOURNAL ungleich KONTO !!"));
    return false;
}

void T_Buchen::statusCheck(bool askPassword) {
    checkSums();
    if (!askPassword)
        return;
    data::Cursor& j = *m_j;

    const std::optional<QString> answer =
        ui().input(QStringLiteral("Buchungsschutz aufheben"),
                   QStringLiteral("Passwort \"Buchungsschutz aufheben\""), QString());
    if (!answer || *answer != protectionPassword())
        return;
    m_datumGesichert = unprotectedDate();
    data::Cursor& walk = *m_walk;
    const data::Bookmark current = j.bookmark();
    for (walk.first(); !walk.eof() && walk.bookmark().id != current.id; walk.next()) {
        if (!data::hasMark(walk.asText(Ok), data::PostingMark::Protected))
            continue;
        walk.edit();
        walk.setText(Ok, data::postingMarkText(data::PostingMark::Posted));
        walk.post();
    }
    writeProtectionDate();
    editLine();
}

} // namespace kontaro::posting
