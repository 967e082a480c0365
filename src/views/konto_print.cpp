// The ledger-account printout: one account, all accounts with ledger lines, or all of them except
// bank and cash accounts.
#include "base/format.h"
#include "base/format_settings.h"
#include "base/program_info.h"
#include "data/cursor.h"
#include "data/table.h"
#include "output/page_buffer.h"
#include "views/t_konto.h"

namespace kontaro::views {

namespace {

const QString AccountFormat =
    QStringLiteral("%-10.10s %1.1s %-60.60s                          %7.7s %2.0d %14.2n");
const QString ColumnsFormat =
    QStringLiteral("%-4.4s %-10.10s %5.5s %-8.8s %10.10s %14.14s %14.14s %-52.52s%14.14s");
const Format LineFormat(QStringLiteral("%-4d %-10.10s %5.0d %-8.8s %10.10s %14.2n %14.2n %-52.52s%14.2n"));

// The program name and version that open the main window's caption.

bool isBankOrCash(const QString& typ) {
    return typ == QLatin1String("B") || typ == QLatin1String("b") || typ == QLatin1String("K") ||
           typ == QLatin1String("k");
}

} // namespace

void T_Konto::printAllAccounts(bool withoutBankAndCash) {
    printAccounts(withoutBankAndCash ? PrintWithoutBankAndCash : PrintAll);
}

void T_Konto::printAccounts(int mode) {
    control(QStringLiteral("up_kontodruck")).tag = mode;
    const auto orientation = forms::PrintJob::Orientation::Landscape;
    output::PageBuffer& re = *m_re;
    re.setRect(output::landscapeRect(ui().printerPage(orientation)));
    // The title line as every titled report has it; the body font is set per account below.
    re.clear();
    re.setSize(20);
    re.add(m_windows.liveSettings().mandant() + QStringLiteral("   -   Kontaro-Konto-Druck"));

    data::Cursor& konto = *m_konten;
    const bool single = mode != PrintAll && mode != PrintWithoutBankAndCash;
    if (!single) // every ledger line at most, and four lines per account
        re.reserve(std::size_t(m_zeilen->table().size() + 4 * konto.table().size()));
    int printed = 0;
    auto printIfBooked = [&] {
        if (m_zeilen->isEmpty())
            return;
        if (mode == PrintWithoutBankAndCash && isBankOrCash(konto.asText(QStringLiteral("Typ"))))
            return;
        ++printed;
        printAccount(re);
    };
    if (single)
        printIfBooked();
    else
        for (konto.first(); !konto.eof(); konto.next())
            printIfBooked();

    re.add(QString());
    if (single)
        re.add(QStringLiteral("Gedruckt am %1 um %2 von Programm %3 Version %4")
                   .arg(currentDateText(), currentTimeText(), homePageAddress(), programVersion()));
    else
        re.add(QStringLiteral("%1 bebuchte Konten (ohne Bank Konten) gedruckt am %2 um %3")
                   .arg(printed)
                   .arg(currentDateText(), currentTimeText()));
    control(QStringLiteral("up_kontodruck")).tag = 0;
    ui().print(re.job(QStringLiteral("Kontaro-Konto-Druck"), orientation));
}

// The current account with its ledger lines, most recent first: a bold account line, then the
// column heading and the lines in grey.
void T_Konto::printAccount(output::PageBuffer& re) {
    const data::Cursor& konto = *m_konten;
    re.add(QString());
    re.setFontName(QStringLiteral("Courier New"));
    re.setSize(10);
    re.setBold(true);
    re.setColor(forms::Color::Default);
    auto text = [&](const char* field) { return konto.asText(QLatin1String(field)); };
    re.add(format(AccountFormat,
                  {text("Knr"), text("Typ"), text("Name"), text("UstKnt"),
                   konto.asInteger(QStringLiteral("UstP")), konto.asMoney(QStringLiteral("Saldo"))}));
    re.setColor(forms::Color::Gray);
    re.add(format(ColumnsFormat, {"Bnr", "Datum", "Anr", "Beleg", "Gegenknt", "  SOLL", "  HABEN",
                                  "Buchungstext", "  Saldo"}));
    data::Cursor& z = *m_zeilen;
    // Looked up once per account rather than once per line.
    const int bnr = z.fieldIndex(QStringLiteral("Bnr"));
    const int datum = z.fieldIndex(QStringLiteral("Datum"));
    const int anr = z.fieldIndex(QStringLiteral("Anr"));
    const int beleg = z.fieldIndex(QStringLiteral("Beleg"));
    const int gknt = z.fieldIndex(QStringLiteral("GKnt"));
    const int soll = z.fieldIndex(QStringLiteral("SollBetrag"));
    const int haben = z.fieldIndex(QStringLiteral("HabenBetrag"));
    const int buchtext = z.fieldIndex(QStringLiteral("Buchtext"));
    const int saldo = z.fieldIndex(QStringLiteral("Saldo"));
    // The texts of a line are written into buffers kept from line to line, not into a text of
    // their own each: the walk reaches the ledger's rows out of table order.
    QString datumText, belegText, gkntText, buchtextText;
    const auto lineText = [&z](QString& buffer, int field) -> const QString& {
        buffer.truncate(0);
        z.appendText(buffer, field);
        return buffer;
    };
    for (z.first(); !z.eof(); z.next())
        re.add(LineFormat({z.asInteger(bnr), lineText(datumText, datum), z.asInteger(anr),
                           lineText(belegText, beleg), lineText(gkntText, gknt), z.asMoney(soll),
                           z.asMoney(haben), lineText(buchtextText, buchtext), z.asMoney(saldo)}));
    z.first();
}

} // namespace kontaro::views
