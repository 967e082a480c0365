#include "reports/ea_rechnung.h"

#include "base/format.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "data/settings.h"
#include "forms/ui.h"
#include "forms/windows.h"
#include "output/line_list.h"
#include "output/page_buffer.h"
#include "posting/t_buchen.h"

#include <QStringList>

namespace kontaro::reports {

namespace f = data::fields;

namespace {

const QString TaxOfficeAccount = QStringLiteral("37FIAM");
const QString SurplusAccount = QStringLiteral("25USTÜBER");
const QString PayableAccount = QStringLiteral("35USTZALA");

const QString EqualsRun(101, QLatin1Char('='));
const QString Rule91 = QStringLiteral("%-91.91s");
const QString Heading91 = QStringLiteral("%91.91s ");
const QString Section = QStringLiteral("%-92.82s ");

const Format IncomeLine(QStringLiteral("%-10.10s %-50.50s%30.2n"));
const Format ExpenseLine(QStringLiteral("%-10.10s %-50.50s%15.2n"));
const Format TotalsLine(QStringLiteral("%-10.10s %-50s%15.2n%15.2n"));
const Format TripleLine(QStringLiteral("%15.2n%15.2n%15.2n"));
const Format Amount15(QStringLiteral("%15.2n"));

// Index of a VAT rate among the bases; -1 for a rate that has no base.
int baseIndex(std::int64_t ustP) {
    switch (ustP) {
    case 0:
        return 0;
    case 10:
        return 1;
    case 20:
        return 2;
    default:
        return -1;
    }
}

bool belongsTo(const QString& gruppe, QChar code, FieldSums::Side side) {
    if (gruppe.size() < 3 || gruppe[2] != code)
        return false;
    const QChar kind = gruppe[0];
    if (side == FieldSums::Side::Income)
        return kind == QLatin1Char('E');
    return kind == QLatin1Char('A') || kind == QLatin1Char('B');
}

// Base, VAT and gross amount of one rate.
QString triple(long double base, long double rate) {
    return TripleLine({base, base * rate, base * (1 + rate)});
}

} // namespace

EaRechnung::EaRechnung(forms::Windows& windows)
    : m_windows(windows) {}

void EaRechnung::run() {
    const QString directory = m_windows.dataDirectory();
    const Settings settings(directory);
    m_mandant = settings.reportMandant();
    // Not the date of the journal's first line: in new books it has none yet (year 1899).
    m_year = m_windows.buchen().fiscalYear();
    m_fieldSums.clear();
    m_totals = {};

    output::PageBuffer page(QStringLiteral("Courier New"), 9, false);
    page.setBold(true);
    output::LineList summary;
    summary.add(format(QStringLiteral("Buchhaltung %4.4d %-86.86s"), {m_year, m_mandant}));
    summary.add(format(Rule91, {EqualsRun}));
    summary.add(format(Heading91, {"UMSATZSTEUER - SUMMEN:"}));

    data::Cursor chart(m_windows.session(), QStringLiteral("kntplan.DB"));
    chart.setReadOnly(true);
    chart.open();
    // A code named twice would count its accounts twice; each business code is taken once.
    QList<QChar> processed;
    for (const BusinessCode& business : settings.firmenkennungen()) {
        if (processed.contains(business.code))
            continue;
        processed.append(business.code);
        statement(chart, business.code, business.title, page, summary);
    }
    chart.close();

    if (processed.isEmpty())
        m_windows.ui().message(
            QStringLiteral("In \"Kontaro.Ini\" feht der Eintrag [Firmenkennungen] (3.Buchstabe in Gruppe)."));
    else
        m_windows.ui().message(
            QStringLiteral("EA Rechnungen \"EAR%1x.txt\" wurden im Pfad \"%2/\" gespeichert.")
                .arg(m_year)
                .arg(directory));

    addGrandTotals(summary);
    addTaxOfficeLines(summary);
    m_fieldSums.appendSection(summary);
    summary.save(directory + QLatin1Char('/') + summaryFileName());
}

void EaRechnung::statement(data::Cursor& chart, QChar code, const QString& title, output::PageBuffer& page,
                           output::LineList& summary) {
    const bool marked = title.startsWith(QLatin1Char('#'));
    page.clear();
    page.add(format(QStringLiteral("%-86.86s"), {m_mandant}));
    page.add(format(QStringLiteral("%86.86s %4.4d"), {title, m_year}));
    summary.add(QString());
    summary.add(format(QStringLiteral("%-86.86s "), {title}));
    page.add(format(Rule91, {EqualsRun}));
    page.add(QString());
    page.add(format(Section, {"Einnahmen (Netto)"}));
    page.add(format(Section, {"---------"}));

    Bases mwst{};
    long double income = -scan(chart, code, FieldSums::Side::Income, mwst, page);
    page.add(QString());
    page.add(format(Section, {"Ausgaben (Netto)"}));
    page.add(format(Section, {"---------"}));
    Bases vorst{};
    long double expense = scan(chart, code, FieldSums::Side::Expense, vorst, page);

    const QString dashes =
        format(QStringLiteral("%-60s %-30.30s"), {QString(), QString(60, QLatin1Char('-'))});
    page.add(dashes);
    page.add(TotalsLine({QString(), QString(), expense, income}));
    if (expense > income) {
        const long double loss = expense - income;
        page.add(format(QStringLiteral("%-60.60s %30.2n"), {"VERLUST", loss}));
        if (!marked)
            m_totals.verlust += loss;
        income = expense;
    } else {
        const long double profit = income - expense;
        page.add(format(QStringLiteral("%-60.60s %15.2n"), {"GEWINN", profit}));
        if (!marked)
            m_totals.gewinn += profit;
        expense = income;
    }
    page.add(dashes);
    page.add(TotalsLine({QString(), QString(), expense, income}));
    page.add(format(QStringLiteral("%-60s %-30.30s"), {QString(), QString(60, QLatin1Char('='))}));

    addBaseLines(mwst, vorst, summary);
    long double nettoSum = 0;
    for (std::size_t i = 0; i < mwst.size(); ++i) {
        nettoSum += mwst[i] + vorst[i];
        m_totals.mwst[i] += mwst[i];
        m_totals.vorst[i] += vorst[i];
    }
    summary.add(QStringLiteral("    NettoSum: ") + Amount15({nettoSum}));
    if (!marked)
        m_totals.nettoSumMinus += nettoSum;
    m_totals.nettoSumPlus += nettoSum;

    page.save(m_windows.dataDirectory() + QStringLiteral("/EAR%1%2.txt").arg(m_year).arg(code));
}

// One pass over the whole chart for one side of a business code: its statement lines, its VAT
// bases and the field sums. Returns the side's total of balances as stored.
long double EaRechnung::scan(data::Cursor& chart, QChar code, FieldSums::Side side, Bases& bases,
                             output::PageBuffer& page) {
    const int knr = chart.fieldIndex(f::Knr);
    const int name = chart.fieldIndex(f::Name);
    const int ustP = chart.fieldIndex(f::UstP);
    const int saldo = chart.fieldIndex(f::Saldo);
    const int gruppe = chart.fieldIndex(f::Gruppe);
    long double total = 0;
    for (chart.first(); !chart.eof(); chart.next()) {
        const Money balance = chart.asMoney(saldo);
        if (balance.isZero() || !belongsTo(chart.asText(gruppe), code, side))
            continue;
        const QString number = chart.asText(knr);
        const QString accountName = chart.asText(name);
        m_fieldSums.add(number, accountName, balance, side);
        if (side == FieldSums::Side::Income)
            page.add(IncomeLine({number, accountName, -balance}));
        else
            page.add(ExpenseLine({number, accountName, balance}));
        total += balance.toLongDouble();
        const int index = baseIndex(chart.asInteger(ustP));
        if (index >= 0)
            bases[std::size_t(index)] += balance.toLongDouble();
    }
    return total;
}

void EaRechnung::addBaseLines(const Bases& mwst, const Bases& vorst, output::LineList& summary) const {
    static const char* const labels[2][3] = {{"    MWST  0 : ", "    MWST 10 : ", "    MWST 20 : "},
                                             {"    VORST 0 : ", "    VORST10 : ", "    VORST20 : "}};
    static const long double rates[3] = {0, 0.1L, 0.2L};
    const Bases* sides[2] = {&mwst, &vorst};
    for (std::size_t side = 0; side < 2; ++side)
        for (std::size_t i = 0; i < 3; ++i) {
            const long double base = (*sides[side])[i];
            if (base != 0)
                summary.add(QString::fromUtf8(labels[side][i]) +
                            (i == 0 ? Amount15({base}) : triple(base, rates[i])));
        }
}

void EaRechnung::addGrandTotals(output::LineList& summary) const {
    const Totals& t = m_totals;
    const long double gm10 = t.mwst[1];
    const long double gm20 = t.mwst[2];
    const long double gv10 = t.vorst[1];
    const long double gv20 = t.vorst[2];
    const auto sumOfTwo = [](long double a, long double b) {
        return TripleLine({a + b, a * 0.1L + b * 0.2L, a * 1.1L + b * 1.2L});
    };
    summary.add(QString());
    summary.add(format(Rule91, {EqualsRun}));
    summary.add(format(Heading91, {"UMSATZSTEUER - GESAMTSUMMEN:"}));
    summary.add(QStringLiteral("    MWST 0   : ") + Amount15({t.mwst[0]}));
    summary.add(QStringLiteral("    MWST 10  : ") + triple(gm10, 0.1L));
    summary.add(QStringLiteral("    MWST 20  : ") + triple(gm20, 0.2L));
    summary.add(QStringLiteral("    MWST10+20: ") + sumOfTwo(gm10, gm20));
    summary.add(QStringLiteral("    VORST 0  : ") + Amount15({t.vorst[0]}));
    summary.add(QStringLiteral("    VORST10  : ") + triple(gv10, 0.1L));
    summary.add(QStringLiteral("    VORST20  : ") + triple(gv20, 0.2L));
    summary.add(QStringLiteral("    VST10+20 : ") + sumOfTwo(gv10, gv20));
    summary.add(format(QStringLiteral("    Gesamt   : %30.2n"),
                       {gm10 * 0.1L + gm20 * 0.2L + gv10 * 0.1L + gv20 * 0.2L}));
    summary.add(QString());
    summary.add(QStringLiteral("    Gewinn   : ") + Amount15({t.gewinn}));
    summary.add(QStringLiteral("    Verlust  : ") + Amount15({t.verlust}));
    summary.add(QStringLiteral("    G-V      : ") + Amount15({t.gewinn - t.verlust}) +
                QStringLiteral(" ohne Summen für LWG und Privat (Firmenkennung=#...)"));
    summary.add(QString());
    summary.add(QStringLiteral("    NettoSum-: ") + Amount15({t.nettoSumMinus}) +
                QStringLiteral(" Summe von \"NettoSum\" (oben)ohne Kennung #"));
    summary.add(QStringLiteral("    NettoSum+: ") + Amount15({t.nettoSumPlus}) +
                QStringLiteral(" Summe von \"NettoSum\" (oben) mit Kennung #"));
    summary.add(QString());
    summary.add(format(Rule91, {EqualsRun}));
    summary.add(format(Heading91, {"UMSATZSTEUER - An FIAM gemeldet:"}));
}

// Payments to and from the tax office: surplus refunds lower the sum, advance payments raise it.
void EaRechnung::addTaxOfficeLines(output::LineList& summary) {
    data::Cursor ledger(m_windows.session(), QStringLiteral("konten.DB"));
    ledger.setReadOnly(true);
    ledger.open();
    const int knr = ledger.fieldIndex(f::Knr);
    const int gknt = ledger.fieldIndex(f::GKnt);
    const int soll = ledger.fieldIndex(f::SollBetrag);
    const int haben = ledger.fieldIndex(f::HabenBetrag);
    // The ledger's order starts with the account number, so the tax-office lines stand together.
    long double sum = 0;
    const bool found = ledger.locate(f::Knr, {TaxOfficeAccount});
    for (; found && !ledger.eof() && ledger.asText(knr) == TaxOfficeAccount; ledger.next()) {
        const QString counter = ledger.asText(gknt);
        if (counter == SurplusAccount) {
            const Money amount = ledger.asMoney(soll);
            summary.add(QStringLiteral("Überschuss   :") + Amount15({amount}) + QLatin1Char(' '));
            sum -= amount.toLongDouble();
        } else if (counter == PayableAccount) {
            const Money amount = ledger.asMoney(haben);
            summary.add(QStringLiteral("Vorauszahlung:") + Amount15({amount}) + QLatin1Char(' '));
            sum += amount.toLongDouble();
        }
    }
    summary.add(format(QStringLiteral("Summe        :%15.2n %-60.60s"),
                       {sum, "Bitte mit FIAM-Belegen vergleichen [  ]"}));
}

} // namespace kontaro::reports
