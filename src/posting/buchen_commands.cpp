// The commands that change the books: post, undo (with the reset of the first posting), insert and
// delete.
#include "base/errors.h"
#include "data/book_codes.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "posting/posting_amounts.h"
#include "posting/t_buchen.h"
#include "views/t_journal.h"
#include "views/t_konto.h"
#include "views/t_kontoplan.h"

namespace kontaro::posting {

namespace {

using namespace data::fields;

} // namespace

void T_Buchen::syncOtherWindows() {
    m_windows.journal().gotoBnr(m_j->asText(Bnr));
    m_windows.konto().refreshAfterPosting();
    followLineAccounts();
}

void T_Buchen::removeLedgerLines(std::int64_t bnr) {
    data::Cursor& k = *m_k;
    while (k.locate(Bnr, {qlonglong(bnr)}))
        k.remove();
}

void T_Buchen::writeLedgerLine(const QString& knr, const QString& gegenKnt, std::optional<Money> soll,
                               std::optional<Money> haben, Money saldo) {
    const data::Cursor& j = *m_j;
    data::Cursor& k = *m_k;
    k.append();
    k.setText(Knr, knr);
    k.setText(QStringLiteral("GKnt"), gegenKnt);
    if (soll)
        k.setMoney(QStringLiteral("SollBetrag"), *soll);
    if (haben)
        k.setMoney(QStringLiteral("HabenBetrag"), *haben);
    k.setMoney(Saldo, saldo);
    k.setText(QStringLiteral("Buchtext"), j.asText(QStringLiteral("Buchtext"))); // cut to 45
    k.setInteger(Anr, j.asInteger(Anr));
    k.setText(QStringLiteral("Beleg"), j.asText(QStringLiteral("Beleg")));
    k.setValue(QStringLiteral("Datum"), j.value(QStringLiteral("Datum")));
    k.setInteger(Bnr, j.asInteger(Bnr));
    k.post();
}

void T_Buchen::storeBalance(data::Cursor& account, Money saldo) {
    if (account.isEmpty())
        return;
    account.edit();
    account.setMoney(Saldo, saldo);
    account.setInteger(LastAnr, m_j->asInteger(Anr));
    account.post();
}

void T_Buchen::restoreBalance(data::Cursor& account, data::Cursor& latest) {
    if (account.isEmpty())
        return;
    // The account's ledger lines in Bnr order: the last one is the most recent.
    latest.last();
    account.edit();
    if (latest.isEmpty()) {
        account.setNull(Saldo);
        account.setNull(LastAnr);
    } else {
        account.setMoney(Saldo, latest.asMoney(Saldo));
        account.setInteger(LastAnr, latest.asInteger(Anr));
    }
    account.post();
}

void T_Buchen::post() {
    refuseOnDamage(QStringLiteral("Buchen"));
    editLine();
    if (!accountsShown()) {
        moveFocus(SollKnt);
        return;
    }
    m_euroAlt = 0;
    validate();
    saveLine();
    if (isMeldungRed()) {
        ui().message(QStringLiteral("Bitte zuerst ROTE Fehlermeldungen beseitigen!"));
        return;
    }
    data::Cursor& j = *m_j;
    const int bnr = j.recNo();
    j.setInteger(Bnr, bnr);
    if (m_k->locate(Bnr, {qlonglong(bnr)})) {
        ui().message(QStringLiteral("Interner Fehler:  AlteBuchung ") + QString::number(bnr));
        removeLedgerLines(bnr);
    }
    m_datumVorgaenger = j.asDate(QStringLiteral("Datum"));

    // Ledger lines and balances exactly as the validation previewed them.
    const QString sollKnt = j.asText(SollKnt);
    const QString habenKnt = j.asText(HabenKnt);
    const QString ustKnt = j.asText(UstKnt);
    const Money sollSaldo2 = j.asMoney(QStringLiteral("SollSaldo2"));
    const Money habenSaldo2 = j.asMoney(QStringLiteral("HabenSaldo2"));
    const Money ustSaldo2 = j.asMoney(QStringLiteral("UstSaldo2"));
    writeLedgerLine(sollKnt, habenKnt, j.asMoney(QStringLiteral("SollBetrag")), std::nullopt, sollSaldo2);
    writeLedgerLine(habenKnt, sollKnt, std::nullopt, j.asMoney(QStringLiteral("HabenBetrag")), habenSaldo2);
    if (!ustKnt.isEmpty())
        writeLedgerLine(ustKnt, isIncomeOrExpense(typOf(*m_s)) ? sollKnt : habenKnt,
                        j.asMoney(QStringLiteral("UstSoll")), j.asMoney(QStringLiteral("UstHaben")),
                        ustSaldo2);
    storeBalance(*m_s, sollSaldo2);
    storeBalance(*m_h, habenSaldo2);
    if (!ustKnt.isEmpty())
        storeBalance(*m_u, ustSaldo2);
    j.setText(Ok, data::postingMarkText(data::PostingMark::Posted));

    // Voucher counters: the highest voucher number, else the last voucher text.
    const QString beleg = j.asText(QStringLiteral("Beleg"));
    bool isNumber = false;
    const int belegNummer = beleg.toInt(&isNumber);
    if (!beleg.isEmpty() && beleg.at(0).isDigit() && isNumber && belegNummer > m_belegNR)
        m_belegNR = belegNummer;
    else
        m_belegTX = beleg.left(20);

    j.next();
    if (j.eof())
        insertLine(false);
    editLine();
    j.setText(Ok, data::postingMarkText(data::PostingMark::Prepared));
    saveLine();
    m_belegALT = j.asText(QStringLiteral("Beleg"));
    validate();
    syncOtherWindows();
    if (typOf(*m_s) == QLatin1String("B"))
        m_anrNr = int(j.asInteger(Anr));
}

void T_Buchen::undo() {
    editLine();
    data::Cursor& j = *m_j;
    m_euroAlt = 0;
    // Ledger lines left under the current line's own number. Only numbers from its position on
    // can be stale: a lower one belongs to a posted line (an inserted line moves an undone line on
    // and leaves it its old number).
    if (!j.isNull(Bnr) && j.asInteger(Bnr) >= j.recNo())
        removeLedgerLines(j.asInteger(Bnr));

    const bool first = lineIsFirst();
    if (!first)
        j.prior();
    m_datumVorgaenger = j.asDate(QStringLiteral("Datum"));
    editLine();
    if (first) {
        resetFirstPosting();
        return;
    }
    if (data::hasMark(j.asText(Ok), data::PostingMark::Protected)) {
        ui().message(QStringLiteral("Buchung ist abgeschlossen!"));
        j.next();
        editLine();
        return;
    }

    removeLedgerLines(j.asInteger(Bnr));
    restoreBalance(*m_s, *m_sl);
    restoreBalance(*m_h, *m_hl);
    if (!j.asText(UstKnt).isEmpty())
        restoreBalance(*m_u, *m_ul);

    m_belegALT = j.asText(QStringLiteral("Beleg"));
    j.setText(Ok, data::postingMarkText(data::PostingMark::Prepared));
    validate();
    syncOtherWindows();
}

void T_Buchen::resetFirstPosting() {
    ui().message(QStringLiteral("1.BUCHUNG: Salden, Journal und Konten werden gelöscht."));
    m_belegNR = 1;
    m_belegTX.clear();
    m_belegALT.clear();
    m_windows.konto().saldenAbgleich();
    m_windows.kontoplan().setSuchwort(QString());

    // Every account with a number loses its balance, statement number and page.
    data::Cursor& chart = *m_chart;
    chart.last();
    while (!chart.isEmpty() && !chart.asText(Knr).isEmpty()) {
        chart.edit();
        chart.setNull(Saldo);
        chart.setNull(LastAnr);
        chart.setNull(QStringLiteral("Seite"));
        chart.post();
        chart.prior();
        if (chart.bof())
            break;
    }
    m_k->emptyTable();

    editLine();
    moveFocus(QStringLiteral("SollBetrag"));
    ui().message(QStringLiteral("Kontoplansalden und Hauptbuch sind gelöscht"));
}

QString T_Buchen::presetAccount() const {
    const QString sollKnt = control(SollKnt).text();
    const QString habenKnt = control(HabenKnt).text();
    const QString sTyp = typOf(*m_s);
    const QString hTyp = typOf(*m_h);
    QString preset = sollKnt;
    // Later rules win: an X account first, then bank or cash, then another balance account.
    if (sTyp == QLatin1String("U"))
        preset = sollKnt;
    if (hTyp == QLatin1String("U"))
        preset = habenKnt;
    if (sTyp == QLatin1String("B") || sTyp == QLatin1String("K"))
        preset = sollKnt;
    if (hTyp == QLatin1String("B") || hTyp == QLatin1String("K"))
        preset = habenKnt;
    if (sTyp == QLatin1String("X"))
        preset = sollKnt;
    if (hTyp == QLatin1String("X"))
        preset = habenKnt;
    return preset;
}

void T_Buchen::insertLine(bool before) {
    m_einfuegung = true;
    refuseOnDamage(QStringLiteral("Einfügen"));
    editLine();
    data::Cursor& j = *m_j;
    if (j.isNull(Bnr)) {
        ui().message(QStringLiteral("Letzte Buchungszeile"));
        return;
    }
    if (j.isNull(QStringLiteral("SollBetrag"))) {
        ui().message(
            QStringLiteral("Bitte zuerst aktuelle Buchung eintragen oder Buchungszeile löschen (-)!"));
        return;
    }
    addLine(before);
}

void T_Buchen::addLine(bool before) {
    data::Cursor& j = *m_j;
    const QString preset = presetAccount();
    if (before) {
        j.insert();
        j.setInteger(Bnr, -1);
    } else {
        j.append();
    }
    j.setDate(QStringLiteral("Datum"), m_datumVorgaenger);
    j.setText(SollKnt, preset);
    j.setText(HabenKnt, preset);
    j.setNull(Anr);
    if (!preset.isEmpty() && m_chart->locate(Knr, {preset}) &&
        m_chart->asText(QStringLiteral("Typ")) == QLatin1String("B"))
        j.setValue(Anr, m_chart->value(LastAnr));
    saveLine();
    m_windows.journal().gotoBnr(QString::number(j.recNo() - 1));
    followLineAccounts();
    if (!j.isNull(Bnr))
        ui().message(QStringLiteral("Neue Buchungszeile wurde eingefügt. Wie gewohnt buchen.\nWurde EINFÜGEN "
                                    "versehentlich geklickt, dann verwende BUCHUNGSZEILE-LÖSCHEN."));
}

void T_Buchen::deleteLine() {
    editLine();
    data::Cursor& j = *m_j;
    if (j.isNull(Bnr) || j.asInteger(Bnr) == 0) {
        ui().message(QStringLiteral("Letzte Buchungszeile kann nicht gelöscht werden!"));
        return;
    }
    // The line is followed by its position: an undone line moved on by an insert keeps a number
    // that now belongs to the line before it.
    const QString n = j.asText(Bnr);
    const int position = j.recNo();
    undo();
    if (j.recNo() == position) {
        ui().message(QStringLiteral("Buchung ") + n +
                     QStringLiteral(" kann nicht gelöscht werden, möglicherweise ist vorletzte Buchung "
                                    "geschützt! (Buchungsschutz aufheben!)"));
        return;
    }
    post();
    if (j.recNo() != position) {
        ui().message(QStringLiteral("Diesen Fehler bitte Melden (BNR Löschen)"));
        return;
    }
    const bool prepared = data::hasMark(j.asText(Ok), data::PostingMark::Prepared);
    if (prepared && ui().question(QStringLiteral("Soll Buchungszeile wirklich GELÖSCHT ?"),
                                  forms::Buttons::YesNo) == forms::Answer::Yes) {
        const bool wasLast = position == j.recordCount();
        j.remove();
        if (wasLast)
            insertLine(false); // the cursor stands on the posted line before it
        editLine();
    } else {
        for (const char* field : {"SollBetrag", "HabenBetrag", "Buchtext", "Anr", "Beleg", "UstKnt", "UstP"})
            j.setNull(QString::fromLatin1(field));
        setMeldung(QStringLiteral("F: Bitte neue Buchung eingeben"));
    }
    m_windows.journal().refreshLines();
    followLineAccounts();
}

} // namespace kontaro::posting
