// The VAT closing command: asks, reads the chart and the settings, inserts the closing lines that
// VatClosing computed before the current line, and hands the VAT return to the printer and files.
#include "base/date.h"
#include "base/errors.h"
#include "data/book_codes.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "data/settings.h"
#include "posting/t_buchen.h"
#include "posting/vat_closing.h"
#include "posting/vat_return.h"
#include "views/t_journal.h"

namespace kontaro::posting {

namespace {

using namespace data::fields;

const QString Caption = QStringLiteral("Ust Abschluß");
// The number a closing line carries until it is posted.
constexpr std::int64_t ClosingLineBnr = -2;

std::vector<VatChartAccount> readChart(data::Cursor& chart) {
    std::vector<VatChartAccount> accounts;
    const int knrField = chart.fieldIndex(Knr);
    const int saldoField = chart.fieldIndex(Saldo);
    const int ustKntField = chart.fieldIndex(UstKnt);
    const int ustPField = chart.fieldIndex(UstP);
    for (chart.first(); !chart.eof(); chart.next())
        accounts.push_back({chart.asText(knrField), chart.asMoney(saldoField), chart.asText(ustKntField),
                            chart.asInteger(ustPField)});
    return accounts;
}

VatClosingAccounts readClosingAccounts(const Settings& settings) {
    return {settings.ustKonten(), settings.zahllast(), settings.ueberschuss(), settings.fiamVerrechnung()};
}

// A new line before the cursor's current line, saved at once; the cursor then stands on it.
void insertClosingLine(data::Cursor& j, const ClosingHead& head, const ClosingLine& line) {
    j.insert();
    j.setDate(Datum, head.datum);
    j.setText(Beleg, head.beleg);
    j.setText(Buchtext, head.buchtext);
    j.setInteger(Bnr, ClosingLineBnr);
    j.setNull(Ok);
    j.setText(SollKnt, line.sollKnt);
    j.setText(HabenKnt, line.habenKnt);
    j.setMoney(SollBetrag, line.amount);
    j.setMoney(HabenBetrag, line.amount);
    j.post();
}

// Closing lines of an earlier run that are not posted yet (posting gives a line its number). A
// second run would close the same balances again.
int unpostedClosingLines(data::Cursor& journal) {
    const int bnrField = journal.fieldIndex(Bnr);
    const int okField = journal.fieldIndex(Ok);
    int count = 0;
    for (journal.first(); !journal.eof(); journal.next())
        if (journal.asInteger(bnrField) == ClosingLineBnr && !data::isPostedMark(journal.asText(okField)))
            ++count;
    return count;
}

// Posted lines dated after the closing date: their amounts are already in the running balances.
int postedLinesAfter(data::Cursor& journal, const QDate& datum) {
    int count = 0;
    for (journal.first(); !journal.eof(); journal.next()) {
        if (data::isPostedMark(journal.asText(Ok)) && journal.asDate(Datum) > datum)
            ++count;
    }
    return count;
}

} // namespace

void T_Buchen::closeVat() {
    refuseOnDamage(QStringLiteral("Der Ust-Abschluss"));
    if (const int open = unpostedClosingLines(*m_walk); open > 0) {
        ui().message(
            QStringLiteral("Es gibt noch %1 nicht gebuchte %2 eines früheren UST-Abschlusses. Bitte "
                           "zuerst buchen oder löschen.")
                .arg(open)
                .arg(open == 1 ? QStringLiteral("Abschlusszeile") : QStringLiteral("Abschlusszeilen")));
        return;
    }
    data::Cursor& j = *m_j;
    editLine();
    // The date of the line before the current one (of the current one when it is the first).
    if (j.recNo() > 1) {
        m_walk->setRecNo(j.recNo() - 1);
        m_datumVorgaenger = m_walk->asDate(Datum);
    } else {
        m_datumVorgaenger = j.asDate(Datum);
    }

    if (ui().question(QStringLiteral("UST Abschlußbuchungen einfügen ?"), forms::Buttons::OkCancel) !=
        forms::Answer::Ok)
        return;

    VatClosing closing =
        VatClosing::compute(readChart(*m_chart), readClosingAccounts(Settings(m_windows.dataDirectory())));
    if (!closing.refusal.isEmpty()) {
        ui().message(closing.refusal);
        return;
    }

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
    // A date of another year would give closing lines that can never be posted.
    if (const int year = fiscalYear(); datum->year() != year)
        throw UserError(QStringLiteral("Das Datum %1 liegt nicht im Geschäftsjahr %2.")
                            .arg(formatDate(*datum))
                            .arg(year));
    const ClosingHead head{*buchtext, *beleg, *datum};
    m_datumVorgaenger = *datum;
    if (const int later = postedLinesAfter(*m_walk, *datum);
        later > 0 &&
        ui().question(QStringLiteral("Es gibt %1 gebuchte Zeilen nach dem %2. Trotzdem abschließen?")
                          .arg(later)
                          .arg(formatDate(*datum)),
                      forms::Buttons::YesNo) != forms::Answer::Yes)
        return;

    // Each insert goes in front of the one before: the journal shows the accounts' lines in reverse
    // list order above the tax-office line. One account's failure keeps the lines written so far.
    insertClosingLine(j, head, closing.taxOfficeLine);
    const auto failed = [this, &j](VatClosing::Account& account) {
        if (j.state() == data::CursorState::Insert)
            j.cancel();
        account.line.reset(); // and so no page line
        ui().message(QStringLiteral("Fehler bei UST-Berechnung"));
    };
    for (VatClosing::Account& account : closing.accounts) {
        if (!account.line) {
            failed(account);
            continue;
        }
        try {
            insertClosingLine(j, head, *account.line);
        } catch (const UserError&) {
            failed(account);
        } catch (const MoneyOverflow&) {
            failed(account);
        }
    }

    saveLine();
    validate();
    m_windows.journal().gotoBnr(QString::number(j.recNo() - 1));
    if (closing.rateErrors > 0)
        ui().message(QString::number(closing.rateErrors) +
                     QStringLiteral(" FEHLER bei UST% Zuordnung im Kontoplan (Ust-Konto ungleich UstP oder "
                                    "Ust-Konto unleich UST..) "));

    // The return files follow the commit: lines that are rolled back must leave no return behind.
    m_windows.afterCommit([&windows = m_windows,
                           lines = closing.reportLines(head, m_windows.liveSettings().mandant()),
                           month = head.datum.month()] { saveAndPrintVatReturn(windows, lines, month); });
}

} // namespace kontaro::posting
