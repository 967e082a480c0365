// The journal printout.
#include "base/format.h"
#include "base/format_settings.h"
#include "data/book_codes.h"
#include "data/cursor.h"
#include "output/page_buffer.h"
#include "views/t_journal.h"

namespace kontaro::views {

namespace {

const QString Heading =
    QStringLiteral(" BNR#  SollKonto         SOLL   UST-SOLL HabenKonto        HABEN  UST-HABEN  "
                   "USTKnt % Datum    Auszug Beleg    Buchungstext");
const Format LineFormat(QStringLiteral(
    "%4d%1.1s %10.10s %12.2n %10.2n %10.10s %12.2n %10.2n %6.6s %2.0d %-10.10s%5.0d %-8.8s %-25s"));

// The journal's fields, looked up by name once per printout rather than once per line.
struct JournalFields {
    explicit JournalFields(const data::Cursor& j)
        : bnr(j.fieldIndex(QStringLiteral("Bnr")))
        , ok(j.fieldIndex(QStringLiteral("Ok")))
        , sollKnt(j.fieldIndex(QStringLiteral("SollKnt")))
        , sollBetrag(j.fieldIndex(QStringLiteral("SollBetrag")))
        , ustSoll(j.fieldIndex(QStringLiteral("UstSoll")))
        , habenKnt(j.fieldIndex(QStringLiteral("HabenKnt")))
        , habenBetrag(j.fieldIndex(QStringLiteral("HabenBetrag")))
        , ustHaben(j.fieldIndex(QStringLiteral("UstHaben")))
        , ustKnt(j.fieldIndex(QStringLiteral("UstKnt")))
        , ustP(j.fieldIndex(QStringLiteral("UstP")))
        , datum(j.fieldIndex(QStringLiteral("Datum")))
        , anr(j.fieldIndex(QStringLiteral("Anr")))
        , beleg(j.fieldIndex(QStringLiteral("Beleg")))
        , buchtext(j.fieldIndex(QStringLiteral("Buchtext"))) {}

    int bnr, ok, sollKnt, sollBetrag, ustSoll, habenKnt, habenBetrag, ustHaben, ustKnt, ustP, datum, anr,
        beleg, buchtext;
};

bool isPrinted(const data::Cursor& line, const JournalFields& f, const QString& ok, int mode) {
    switch (mode) {
    case 0:
        return data::isPostedMark(ok);
    case 1:
        return data::hasMark(ok, data::PostingMark::Posted);
    case 2:
        return data::hasMark(ok, data::PostingMark::Prepared);
    default:
        return line.asInteger(f.bnr) >= mode;
    }
}

QString printedLine(const data::Cursor& line, const JournalFields& f, const QString& ok) {
    return LineFormat({line.asInteger(f.bnr), ok, line.asText(f.sollKnt), line.asMoney(f.sollBetrag),
                       line.asMoney(f.ustSoll), line.asText(f.habenKnt), line.asMoney(f.habenBetrag),
                       line.asMoney(f.ustHaben), line.asText(f.ustKnt), line.asInteger(f.ustP),
                       line.asText(f.datum), line.asInteger(f.anr), line.asText(f.beleg),
                       line.asText(f.buchtext)});
}

} // namespace

void T_Journal::printJournal(int mode) {
    control(QStringLiteral("B_DruckJournal")).tag = mode;
    const auto orientation = forms::PrintJob::Orientation::Landscape;
    m_re->setRect(output::landscapeRect(ui().printerPage(orientation)));
    m_re->beginTitledReport(m_windows.liveSettings().mandant(), QStringLiteral("   -   JOURNAL"));
    m_re->add(Heading);

    // The balance check compares what the consistency check of the books compares: the debit side
    // with its VAT against the credit side with its VAT, over the posted lines.
    Money debit;
    Money credit;
    data::Cursor& j = *m_lines;
    const JournalFields f(j);
    for (j.first(); !j.eof(); j.next()) {
        const QString ok = j.asText(f.ok);
        if (isPrinted(j, f, ok, mode))
            m_re->add(printedLine(j, f, ok));
        if (data::isPostedMark(ok)) {
            debit += j.asMoney(f.sollBetrag) + j.asMoney(f.ustSoll);
            credit += j.asMoney(f.habenBetrag) + j.asMoney(f.ustHaben);
        }
    }
    m_re->add(Heading);
    control(QStringLiteral("B_DruckJournal")).tag = 0;

    QString status = QStringLiteral("OK");
    if (debit != credit) {
        status = QStringLiteral("FEHLER !!");
        ui().message(QStringLiteral("Saldoprüfung FALSCH! Buchungen rückgängig machen und neu buchen."));
    }
    m_re->add(QString());
    m_re->add(QStringLiteral("Journal gedruckt am %1 um %2 Saldoprüfung: %3")
                  .arg(currentDateText(), currentTimeText(), status));
    ui().print(m_re->job(QStringLiteral("Kontaro-Journal"), orientation));
}

void T_Journal::printJournalFromNumber() {
    const QString proposal = QStringLiteral("1");
    const QString answer =
        ui().input(QStringLiteral("Journaldruck ab Buchungsnummer"), QStringLiteral("bnr ?"), proposal)
            .value_or(proposal);
    bool isNumber = false;
    int number = answer.trimmed().toInt(&isNumber);
    if (!isNumber)
        number = 9999;
    if (number == 0)
        return;
    printJournal(number < 3 ? 0 : number);
}

} // namespace kontaro::views
