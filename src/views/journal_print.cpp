// The journal printout.
#include "base/format.h"
#include "base/format_settings.h"
#include "data/cursor.h"
#include "output/page_buffer.h"
#include "views/t_journal.h"

namespace kontaro::views {

namespace {

const QString Heading =
    QStringLiteral(" BNR#  SollKonto         SOLL   UST-SOLL HabenKonto        HABEN  UST-HABEN  "
                   "USTKnt % Datum    Auszug Beleg    Buchungstext");
const QString LineFormat = QStringLiteral(
    "%4d%1.1s %10.10s %12.2n %10.2n %10.10s %12.2n %10.2n %6.6s %2.0d %-10.10s%5.0d %-8.8s %-25s");

bool isPosted(const QString& ok) {
    return ok == QLatin1String("#") || ok == QLatin1String("=");
}

bool isPrinted(const data::Cursor& line, int mode) {
    const QString ok = line.asText(QStringLiteral("Ok"));
    switch (mode) {
    case 0:
        return isPosted(ok);
    case 1:
        return ok == QLatin1String("=");
    case 2:
        return ok == QLatin1String("~");
    default:
        return line.asInteger(QStringLiteral("Bnr")) >= mode;
    }
}

QString printedLine(const data::Cursor& line) {
    auto text = [&](const char* field) { return line.asText(QLatin1String(field)); };
    auto money = [&](const char* field) { return line.asMoney(QLatin1String(field)); };
    auto integer = [&](const char* field) { return line.asInteger(QLatin1String(field)); };
    return format(LineFormat,
                  {integer("Bnr"), text("Ok"), text("SollKnt"), money("SollBetrag"), money("UstSoll"),
                   text("HabenKnt"), money("HabenBetrag"), money("UstHaben"), text("UstKnt"), integer("UstP"),
                   text("Datum"), integer("Anr"), text("Beleg"), text("Buchtext")});
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
    for (j.first(); !j.eof(); j.next()) {
        if (isPrinted(j, mode))
            m_re->add(printedLine(j));
        if (isPosted(j.asText(QStringLiteral("Ok")))) {
            debit += j.asMoney(QStringLiteral("SollBetrag")) + j.asMoney(QStringLiteral("UstSoll"));
            credit += j.asMoney(QStringLiteral("HabenBetrag")) + j.asMoney(QStringLiteral("UstHaben"));
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
