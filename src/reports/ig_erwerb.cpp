#include "reports/ig_erwerb.h"

#include "base/format.h"
#include "data/cursor.h"
#include "data/settings.h"
#include "forms/ui.h"
#include "forms/windows.h"
#include "output/line_list.h"
#include "output/page_buffer.h"
#include "views/t_journal.h"

#include <QFileInfo>

namespace kontaro::reports {

namespace {

const QString Indent = QStringLiteral("          ");
const QString AcquisitionHeading = Indent + QStringLiteral("I.g.Erwerbsteuer");
constexpr int VatReturnBlockStart = 15; // the acquisition block starts on line 16
constexpr int EmptyJournalYear = 1899;

const Format Rate10Line(Indent + QStringLiteral("I.g.Erwerbsteuer 10%%: %15.2n %15.2n"));
const Format Rate20Line(Indent + QStringLiteral("I.g.Erwerbsteuer 20%%: %15.2n %15.2n"));
const Format RateXLine(Indent + QStringLiteral("I.g.Erwerbsteuer %2d%%: %15.2n %15.2n"));
const Format SumLine(Indent + QStringLiteral("I.g.Erwerbsteuer sum: %15.2n %15.2n"));
const Format YearSumLine(Indent + QStringLiteral("I.g.Erwerbsteuer SUM: %15.2n"));
const Format UstKontoLine(Indent + QStringLiteral("UST-Knt:%-15.15s%15.15s%15.2n"));
const Format VorauszahlungLine(Indent + QStringLiteral("UST-Vorauszahlung(+)   %30.2n"));

bool endsPeriod(int month, bool monthly) {
    return monthly || month % 3 == 0;
}

Money percentOf(Money amount, int percent) {
    return amount.mulDiv(percent, 100, Rounding::HalfEven);
}

} // namespace

IgErwerb::IgErwerb(forms::Windows& windows)
    : m_windows(windows) {}

void IgErwerb::run() {
    const QString directory = m_windows.dataDirectory();
    Settings settings(directory);
    m_ustKonten = settings.ustKonten();
    m_ustIndex.clear();
    for (int i = 0; i < m_ustKonten.size(); ++i)
        m_ustIndex.insert(m_ustKonten[i], i);
    const QString mandant = settings.reportMandant().left(30);
    m_rateX = settings.igProzent();
    settings.setIgProzent(m_rateX);
    const bool monthly = m_windows.liveSettings().monatsberechnung();

    data::Cursor& journal = m_windows.journal().lines();
    const PostingLineReader reader(journal);
    journal.first();
    const QDate firstDate = journal.eof() ? QDate() : reader.datum(journal);
    m_year = firstDate.isValid() ? firstDate.year() : EmptyJournalYear;

    output::PageBuffer page(QStringLiteral("Courier New"), 9, false);
    page.setBold(true);
    page.add(Indent + format(QStringLiteral("Buchhaltung %4.4d %-86.86s"), {m_year, mandant}));
    page.add(Indent + format(QStringLiteral("%-91.91s"), {QString(101, QLatin1Char('='))}));

    const Figures zero{{}, std::vector<Money>(std::size_t(m_ustKonten.size()))};
    Figures year = zero;
    Figures period = zero;
    Money allAcquisitions;
    int outsideYear = 0;
    for (int month = 1; month <= 12; ++month) {
        if (monthly || month % 3 == 1)
            period = zero;
        int previousMonth = 0;
        for (journal.first(); !journal.eof(); journal.next()) {
            const QString ok = reader.ok(journal);
            const QDate datum = reader.datum(journal);
            const bool posted = data::isPostedMark(ok);
            // Lines out of date order show up once, in the first pass.
            if (month == 1 && datum.month() < previousMonth && posted)
                page.add(
                    QStringLiteral("          Datumfehler bei # %1 (%2)")
                        .arg(journal.asText(QStringLiteral("Bnr")), journal.asText(QStringLiteral("Datum"))));
            previousMonth = datum.month();
            if (month == 1 && posted && datum.year() != m_year)
                ++outsideYear;
            if (posted && datum.month() == month && datum.year() == m_year)
                countLine(reader.read(journal), period, allAcquisitions);
        }
        if (!endsPeriod(month, monthly))
            continue;
        year.acquisitions += period.acquisitions;
        for (std::size_t i = 0; i < year.ustBalances.size(); ++i)
            year.ustBalances[i] += period.ustBalances[i];
        page.add(Indent + QStringLiteral("Monat %1").arg(month));
        for (const QString& line : acquisitionLines(period.acquisitions, false))
            page.add(line);
        updateVatReturnFile(month, period.acquisitions);
        addBalanceLines(period.ustBalances, page);
    }

    page.add(QString());
    page.add(QString());
    page.add(Indent + QStringLiteral("Monat 1-12"));
    for (const QString& line : acquisitionLines(year.acquisitions, true))
        page.add(line);
    page.add(YearSumLine({allAcquisitions}));
    page.add(QString());
    addBalanceLines(year.ustBalances, page);

    page.save(directory + QLatin1Char('/') + listFileName());
    QString message = QStringLiteral("Datei ./UST Voranmeldung.txt erstellt");
    if (outsideYear > 0)
        message += QLatin1Char('\n') + outsideFiscalYearNote(outsideYear, m_year);
    m_windows.ui().message(message);
    m_windows.ui().print(
        page.job(QStringLiteral("UST Voranmeldung"), forms::PrintJob::Orientation::Portrait));
}

void IgErwerb::countLine(const PostingLine& line, Figures& period, Money& allAcquisitions) const {
    period.acquisitions.add(line);
    allAcquisitions += Acquisitions::amountFor(QStringLiteral("*E"), line);
    const auto account = m_ustIndex.constFind(line.ustKnt);
    if (account != m_ustIndex.cend())
        period.ustBalances[std::size_t(*account)] += line.ustHaben - line.ustSoll;
}

QStringList IgErwerb::acquisitionLines(const Acquisitions& a, bool evenWhenZero) const {
    QStringList lines;
    if (evenWhenZero || !a.rate10.isZero())
        lines << Rate10Line({a.rate10, percentOf(a.rate10, 10)});
    if (evenWhenZero || !a.rate20.isZero())
        lines << Rate20Line({a.rate20, percentOf(a.rate20, 20)});
    if (evenWhenZero || !a.rateX.isZero())
        lines << RateXLine({m_rateX, a.rateX, percentOf(a.rateX, m_rateX)});
    return lines;
}

void IgErwerb::addBalanceLines(const std::vector<Money>& balances, output::PageBuffer& page) const {
    Money sum;
    for (std::size_t i = 0; i < balances.size(); ++i) {
        page.add(UstKontoLine({m_ustKonten[qsizetype(i)], QString(), balances[i]}));
        sum += balances[i];
    }
    page.add(VorauszahlungLine({sum}));
}

// Appends the period's acquisition block to the VAT return file of its last month. Every line the
// VAT closing wrote stays; only the block of an earlier run (with the empty lines before it) is
// replaced, so running the command again gives the same file.
void IgErwerb::updateVatReturnFile(int month, const Acquisitions& a) const {
    const QString path = m_windows.dataDirectory() + QStringLiteral("/ustmeldung%1.txt").arg(month);
    if (!QFileInfo::exists(path))
        return;
    output::LineList list;
    list.load(path);
    int blockStart = -1;
    for (int i = 0; i < list.count() && blockStart < 0; ++i)
        if (list.at(i).startsWith(AcquisitionHeading))
            blockStart = i;
    if (blockStart >= 0) {
        while (list.count() > blockStart)
            list.removeAt(list.count() - 1);
        while (list.count() > 0 && list.at(list.count() - 1).isEmpty())
            list.removeAt(list.count() - 1);
    }
    if (list.count() < VatReturnBlockStart)
        while (list.count() < VatReturnBlockStart)
            list.add(QString());
    else
        list.add(QString());
    for (const QString& line : acquisitionLines(a, true))
        list.add(line);
    // The tax of the three rates together, rounded once.
    const Money tax = (a.rate10 * 10 + a.rate20 * 20 + a.rateX * m_rateX).dividedBy(100, Rounding::HalfEven);
    list.add(SumLine({a.sum(), tax}));
    list.save(path);
}

} // namespace kontaro::reports
