// The VAT closing: prepared lines that move every VAT account's balance to the payable or surplus
// account and that against the tax-office clearing account, and the VAT return page.
#include "base/date.h"
#include "base/errors.h"
#include "base/format.h"
#include "base/money_text.h"
#include "data/book_codes.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "data/settings.h"
#include "output/page_buffer.h"
#include "posting/t_buchen.h"
#include "views/t_journal.h"

#include <map>
#include <set>

namespace kontaro::posting {

namespace {

using namespace data::fields;

const QString Caption = QStringLiteral("Ust Abschluß");
const QString Indent(16, QLatin1Char(' '));

// What every closing line carries besides its accounts and amount.
struct ClosingHead {
    QString buchtext;
    QString beleg;
    QDate datum;
};

// A VAT account's rate: the one `UstP` of every account that names it as `UstKnt`, 0 when they
// disagree or when no account names it.
struct ChartRates {
    std::map<QString, std::optional<std::int64_t>> byUstKnt;
    // Account records whose `UstKnt` carries, in its 4th and 5th character, a rate other than their
    // own `UstP` ("UST20" with 10 %). Each record counts once.
    int errors = 0;

    std::int64_t rateOf(const QString& ustKnt) const {
        const auto it = byUstKnt.find(ustKnt);
        return it == byUstKnt.end() ? 0 : it->second.value_or(0);
    }
};

ChartRates readRates(data::Cursor& chart) {
    ChartRates rates;
    const int ustKntField = chart.fieldIndex(UstKnt);
    const int ustPField = chart.fieldIndex(UstP);
    std::map<QString, std::set<std::int64_t>> seen;
    for (chart.first(); !chart.eof(); chart.next()) {
        const QString ustKnt = chart.asText(ustKntField);
        const std::int64_t ustP = chart.asInteger(ustPField);
        if (!ustKnt.isEmpty())
            seen[ustKnt].insert(ustP);
        bool isNumber = false;
        const int named = ustKnt.mid(3, 2).toInt(&isNumber);
        if (isNumber && named != ustP)
            ++rates.errors;
    }
    for (const auto& [ustKnt, values] : seen)
        rates.byUstKnt[ustKnt] = values.size() == 1 ? std::optional(*values.begin()) : std::nullopt;
    return rates;
}

// A new line before the cursor's current line, saved at once; the cursor then stands on it.
void insertClosingLine(data::Cursor& j, const ClosingHead& head, const QString& sollKnt,
                       const QString& habenKnt, Money amount) {
    j.insert();
    j.setDate(QStringLiteral("Datum"), head.datum);
    j.setText(QStringLiteral("Beleg"), head.beleg);
    j.setText(QStringLiteral("Buchtext"), head.buchtext);
    j.setInteger(Bnr, -2);
    j.setNull(Ok);
    j.setText(SollKnt, sollKnt);
    j.setText(HabenKnt, habenKnt);
    j.setMoney(SollBetrag, amount);
    j.setMoney(HabenBetrag, amount);
    j.post();
}

// Posted lines dated after the closing date: their amounts are already in the running balances.
int postedLinesAfter(data::Cursor& journal, const QDate& datum) {
    int count = 0;
    for (journal.first(); !journal.eof(); journal.next()) {
        if (data::isPostedMark(journal.asText(Ok)) && journal.asDate(QStringLiteral("Datum")) > datum)
            ++count;
    }
    return count;
}

} // namespace

void T_Buchen::closeVat() {
    refuseOnDamage(QStringLiteral("Der Ust-Abschluss"));
    data::Cursor& j = *m_j;
    editLine();
    // The date of the line before the current one (of the current one when it is the first).
    if (j.recNo() > 1) {
        m_walk->setRecNo(j.recNo() - 1);
        m_datumVorgaenger = m_walk->asDate(QStringLiteral("Datum"));
    } else {
        m_datumVorgaenger = j.asDate(QStringLiteral("Datum"));
    }

    if (ui().question(QStringLiteral("UST Abschlußbuchungen einfügen ?"), forms::Buttons::OkCancel) !=
        forms::Answer::Ok)
        return;

    const Settings settings(m_windows.dataDirectory());
    const QString zahllast = settings.zahllast();
    const QString ueberschuss = settings.ueberschuss();
    const QString finanzamt = settings.fiamVerrechnung();
    data::Cursor& chart = *m_chart;
    for (const QString& knr : {zahllast, ueberschuss, finanzamt})
        if (!chart.locate(Knr, {knr})) {
            ui().message(
                QStringLiteral("Bitte Zahllast-, Überschuß- und Finanzamtkonto RICHTIG einrichten !"));
            return;
        }

    // The VAT accounts as the chart spells them; the sum of their balances decides the target.
    const QStringList ustKonten = settings.ustKonten();
    QStringList chartKnr;
    Money s;
    for (const QString& v : ustKonten) {
        if (!chart.locate(Knr, {v}, {.caseInsensitive = true})) {
            chartKnr.clear();
            break;
        }
        chartKnr << chart.asText(Knr);
        s += chart.asMoney(Saldo);
    }
    if (chartKnr.isEmpty()) {
        ui().message(QStringLiteral("Bitte UST-Konten im Fenster EINSTELLUNGEN richtig einrichten !"));
        return;
    }
    const QString target = s.isPositive() ? ueberschuss : zahllast;

    const std::optional<QString> buchtext =
        ui().input(Caption, QStringLiteral("Buchungstext"), QStringLiteral("Umsatzsteuervoranmeldung "));
    if (!buchtext)
        return;
    const std::optional<QString> beleg = ui().input(Caption, QStringLiteral("Belegnummer"), QString());
    if (!beleg)
        return;
    const QString proposal = formatDate(m_datumVorgaenger);
    const QString datumText = ui().input(Caption, QStringLiteral("Datum"), proposal).value_or(proposal);
    const std::optional<QDate> datum = parseUserDate(datumText);
    if (!datum)
        throw UserError(QStringLiteral("\"%1\" ist kein gültiges Datum.").arg(datumText.trimmed()));
    const ClosingHead head{*buchtext, *beleg, *datum};
    m_datumVorgaenger = *datum;
    if (const int later = postedLinesAfter(*m_walk, *datum);
        later > 0 &&
        ui().question(QStringLiteral("Es gibt %1 gebuchte Zeilen nach dem %2. Trotzdem abschließen?")
                          .arg(later)
                          .arg(formatDate(*datum)),
                      forms::Buttons::YesNo) != forms::Answer::Yes)
        return;

    output::PageBuffer& page = *m_druUst;
    page.clear();
    page.add(Indent + QStringLiteral("U M S A T Z S T E U E R   V O R A N M E L D U N G"));
    page.add(QString());
    page.add(Indent + QStringLiteral("Mandant      : ") + m_windows.liveSettings().mandant());
    page.add(Indent + QStringLiteral("Buchungstext : ") + head.buchtext);
    page.add(Indent + QStringLiteral("Belegnummer  : ") + head.beleg);
    page.add(Indent + QStringLiteral("Datum        : ") + formatDate(head.datum));
    page.add(QString());

    if (!finanzamt.isEmpty() && s.isPositive()) {
        page.add(Indent + QStringLiteral("Überschuß    : ") + moneyGroupedText(s));
        insertClosingLine(j, head, finanzamt, target, s);
    } else {
        page.add(Indent + QStringLiteral("Vorauszahlung(-): ") + moneyGroupedText(s));
        insertClosingLine(j, head, target, finanzamt, s.abs());
    }
    page.add(QString());

    const ChartRates rates = readRates(chart);
    // One account's failure keeps the lines written so far and goes on with the next account.
    const auto accountFailed = [this, &j] {
        if (j.state() == data::CursorState::Insert)
            j.cancel();
        ui().message(QStringLiteral("Fehler bei UST-Berechnung"));
    };
    for (qsizetype i = 0; i < ustKonten.size(); ++i) {
        const QString& v = ustKonten[i];
        try {
            const std::int64_t rate = rates.rateOf(chartKnr[i]);
            if (!chart.locate(Knr, {v}, {.caseInsensitive = true}))
                throw UserError(v);
            const Money b = chart.asMoney(Saldo);
            const bool outputTax = b.isNegative();
            if (outputTax)
                insertClosingLine(j, head, chartKnr[i], target, b.abs());
            else
                insertClosingLine(j, head, target, chartKnr[i], b.abs());
            if (rate != 0)
                page.add(Indent + v + QStringLiteral(" = ") + generalNumber(b.toLongDouble() * 100 / rate) +
                         (outputTax ? QStringLiteral("   -->    ") : QStringLiteral("    -+>    ")) +
                         moneyGroupedText(b));
            else
                page.add(Indent + v + QStringLiteral(" =  . . . . . . . . . . ") +
                         generalNumber(b.toLongDouble()));
        } catch (const UserError&) {
            accountFailed();
        } catch (const MoneyOverflow&) {
            accountFailed();
        }
    }

    saveLine();
    validate();
    m_windows.journal().gotoBnr(QString::number(j.recNo() - 1));
    if (rates.errors > 0)
        ui().message(QString::number(rates.errors) +
                     QStringLiteral(" FEHLER bei UST% Zuordnung im Kontoplan (Ust-Konto ungleich UstP oder "
                                    "Ust-Konto unleich UST..) "));

    // The files come first: a printer that fails leaves the return on disk and the lines in place.
    const QString month = QString::number(head.datum.month());
    try {
        page.save(m_windows.dataDirectory() + QStringLiteral("/ustmeldung.txt"));
        page.save(m_windows.dataDirectory() + QStringLiteral("/ustmeldung") + month + QStringLiteral(".txt"));
        ui().print(page.job(QStringLiteral("Ust Voranmeldung"), forms::PrintJob::Orientation::Portrait));
    } catch (const UserError& e) {
        ui().error(e.message());
        return;
    }
    ui().message(QStringLiteral("Beleg für UST-Voranmeldung auch in der Datei \"ustmeldung") + month +
                 QStringLiteral(".txt\" gespeichert"));
}

} // namespace kontaro::posting
