// Entry and validation of the current line: the amount rules, the VAT split, the balance preview,
// the colours of the entry fields and the message line.
#include "base/date.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "posting/posting_amounts.h"
#include "posting/t_buchen.h"
#include "views/t_journal.h"
#include "views/t_kontoplan.h"

namespace kontaro::posting {

using forms::Color;

namespace {

using namespace data::fields;

// " 87": the balance after posting in percent of a non-zero budget; empty without a budget.
QString budgetPercent(const data::Cursor& account, Money saldoAfter) {
    const Money budget = account.isEmpty() ? Money() : account.asMoney(QStringLiteral("Budget"));
    if (budget.isZero())
        return {};
    return QLatin1Char(' ') + QString::number(percentHalfEven(saldoAfter, budget));
}

} // namespace

QString T_Buchen::typOf(const data::Cursor& account) {
    return account.isEmpty() ? QString() : account.asText(Typ);
}

void T_Buchen::editLine() {
    data::Cursor& j = *m_j;
    if (j.state() == data::CursorState::Edit || j.state() == data::CursorState::Insert || j.isEmpty())
        return;
    j.edit();
    // After a command that was rolled back the account cursors may still follow older values.
    m_s->setMaster(j, SollKnt);
    m_h->setMaster(j, HabenKnt);
    m_u->setMaster(j, UstKnt);
}

void T_Buchen::saveLine() {
    m_j->post();
    m_j->edit();
}

bool T_Buchen::accountsShown() const {
    return !m_j->asText(SollKnt).isEmpty() && !m_s->isEmpty() && !m_j->asText(HabenKnt).isEmpty() &&
           !m_h->isEmpty();
}

bool T_Buchen::lineIsFirst() const {
    return m_j->recNo() <= 1;
}

bool T_Buchen::isMeldungRed() const {
    return control(QStringLiteral("meldung")).color == Color::Red;
}

void T_Buchen::setMeldung(const QString& text) {
    forms::Control& meldung = control(QStringLiteral("meldung"));
    meldung.setText(text);
    if (text.startsWith(QLatin1Char('F'))) {
        meldung.color = Color::Red;
        meldung.fontColor = Color::White;
    } else if (text.startsWith(QLatin1Char('W'))) {
        meldung.color = Color::Yellow;
        meldung.fontColor = Color::Blue;
    } else {
        meldung.color = Color::Silver;
        meldung.fontColor = Color::Green;
    }
}

void T_Buchen::accountChanged(const QString& field) {
    const data::Cursor& account = field == SollKnt ? *m_s : *m_h;
    (field == SollKnt ? m_shownSoll : m_shownHaben) = control(field).text();
    const QString knr = m_j->asText(field);
    if (!knr.isEmpty() && !account.isEmpty())
        m_windows.kontoplan().setSuchwort(knr);
}

// Typing runs the lookup of an account field; a command that changes the line under the fields
// runs it here, for each field whose shown account it changed (debit first).
void T_Buchen::followLineAccounts() {
    for (const QString& field : {SollKnt, HabenKnt})
        if (control(field).text() != (field == SollKnt ? m_shownSoll : m_shownHaben))
            accountChanged(field);
}

bool T_Buchen::takesVat(const QString& ownTyp, const QString& otherTyp) {
    return isIncomeOrExpense(ownTyp) && otherTyp != QLatin1String("X");
}

const data::Cursor* T_Buchen::vatAccount() const {
    const QString sTyp = typOf(*m_s);
    const QString hTyp = typOf(*m_h);
    if (takesVat(hTyp, sTyp))
        return m_h.get();
    if (takesVat(sTyp, hTyp))
        return m_s.get();
    return nullptr;
}

void T_Buchen::amountRule(bool sollSide) {
    editLine();
    if (!accountsShown())
        return;
    data::Cursor& j = *m_j;
    // The rate the validation is about to take, not the one an earlier validation left in the line
    // (a line never validated, or emptied by delete, has none yet).
    const data::Cursor* account = vatAccount();
    const int ustP = account ? int(account->asInteger(UstP)) : 0;
    const QString& field = sollSide ? SollBetrag : HabenBetrag;
    const QString& other = sollSide ? HabenBetrag : SollBetrag;
    const Money amount = j.asMoney(field).abs();
    j.setMoney(field, amount);
    const bool net = isIncomeOrExpense(typOf(sollSide ? *m_s : *m_h));
    j.setMoney(other, net && !amount.isZero() ? grossToCent(amount, ustP) : netToCent(amount, ustP));
    validate();
}

void T_Buchen::colourBuchtext() {
    control(QStringLiteral("Buchtext")).color =
        m_j->asText(QStringLiteral("Buchtext")).size() > 45 ? Color::Yellow : Color::Cyan;
}

void T_Buchen::enterBuchtext() {
    editLine();
    data::Cursor& j = *m_j;
    const QString field = QStringLiteral("Buchtext");
    if (!accountsShown()) {
        j.setNull(field);
        moveFocus(SollKnt);
        return;
    }
    QString text = j.asText(field);
    if (j.asText(SollKnt) == j.asText(HabenKnt)) {
        text.clear();
    } else if (text.isEmpty() && m_windows.liveSettings().autoinsert()) {
        const data::Cursor& named = isIncomeOrExpense(typOf(*m_h)) ? *m_h : *m_s;
        text = named.asText(QStringLiteral("Name"));
    }
    // Templates and account names may carry a short key before a ":".
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon >= 0)
        text = text.mid(colon + 1);
    j.setText(field, text);
    colourBuchtext();
}

void T_Buchen::validate() {
    editLine();
    if (!accountsShown())
        return;
    data::Cursor& j = *m_j;
    setMeldung(QStringLiteral(" "));
    saveLine();

    if (typOf(*m_s).isEmpty()) {
        j.setText(SollKnt, m_windows.kontoplan().currentKnr());
        ui().message(QStringLiteral("Vorbereitetes SOLL-Konto wurde gelöscht. KONTO PRÜFEN"));
    }
    if (typOf(*m_h).isEmpty()) {
        j.setText(HabenKnt, m_windows.kontoplan().currentKnr());
        ui().message(QStringLiteral("Vorbereitetes HABEN-Konto gelöscht. KONTO PRÜFEN"));
    }
    const QString sTyp = typOf(*m_s);
    const QString hTyp = typOf(*m_h);

    // VAT data from the income or expense account; with both, the credit account's stays.
    j.setNull(UstKnt);
    j.setNull(UstP);
    control(SollBetrag).color = takesVat(sTyp, hTyp) ? Color::Lime : Color::Cyan;
    control(HabenBetrag).color = takesVat(hTyp, sTyp) ? Color::Lime : Color::Cyan;
    if (const data::Cursor* account = vatAccount()) {
        j.setText(UstKnt, account->asText(UstKnt));
        j.setValue(UstP, account->value(UstP));
    }

    // The amount of the income or expense account is derived again from the other one.
    const int ustP = int(j.asInteger(UstP));
    if (!j.isNull(SollBetrag) && !j.isNull(HabenBetrag)) {
        if (isIncomeOrExpense(hTyp))
            j.setMoney(HabenBetrag, netFourDecimals(j.asMoney(SollBetrag), ustP));
        else if (isIncomeOrExpense(sTyp))
            j.setMoney(SollBetrag, netFourDecimals(j.asMoney(HabenBetrag), ustP));
    }
    const Money soll = j.asMoney(SollBetrag);
    const Money haben = j.asMoney(HabenBetrag);
    const Money d = haben - soll;
    if (d.isPositive()) {
        j.setMoney(UstSoll, d);
        j.setNull(UstHaben);
    } else {
        j.setMoney(UstHaben, d.abs());
        j.setNull(UstSoll);
    }

    // Balances after posting.
    const bool hasVat = !j.asText(UstKnt).isEmpty();
    const Money sollSaldo2 = m_s->asMoney(Saldo) + soll;
    const Money habenSaldo2 = m_h->asMoney(Saldo) - haben;
    const Money ustSaldo = hasVat && !m_u->isEmpty() ? m_u->asMoney(Saldo) : Money();
    const Money ustSaldo2 = ustSaldo + j.asMoney(UstSoll) - j.asMoney(UstHaben);
    j.setMoney(QStringLiteral("SollSaldo2"), sollSaldo2);
    j.setMoney(QStringLiteral("HabenSaldo2"), habenSaldo2);
    j.setMoney(QStringLiteral("UstSaldo2"), ustSaldo2);
    control(QStringLiteral("sollbudgetP")).setText(budgetPercent(*m_s, sollSaldo2));
    control(QStringLiteral("HabenBudgetP")).setText(budgetPercent(*m_h, habenSaldo2));

    if (sTyp == QLatin1String("A"))
        setMeldung(QStringLiteral(" A U S G A B E oder W E"));
    if (hTyp == QLatin1String("E"))
        setMeldung(QStringLiteral(" E I N N A H M E"));
    if (isBalanceSheet(sTyp) && isBalanceSheet(hTyp))
        setMeldung(QStringLiteral(" U M B U C H U N G"));

    const QDate datum = j.asDate(QStringLiteral("Datum"));
    control(QStringLiteral("Datum")).color = datum >= m_datumVorgaenger ? Color::Cyan : Color::Yellow;

    // Statement number: lime the next statement, cyan the same one, yellow out of sequence.
    const std::int64_t anr = j.asInteger(QStringLiteral("Anr"));
    const bool sollBank = sTyp == QLatin1String("B");
    const bool habenBank = hTyp == QLatin1String("B");
    const std::int64_t sollLast = m_s->asInteger(QStringLiteral("LastAnr"));
    const std::int64_t habenLast = m_h->asInteger(QStringLiteral("LastAnr"));
    Color anrColour = Color::Cyan;
    if (sollBank && (anr < sollLast || anr > sollLast + 1))
        anrColour = Color::Yellow;
    else if (habenBank && (anr < habenLast || anr > habenLast + 1))
        anrColour = Color::Yellow;
    if ((sollBank && anr == sollLast + 1) || (habenBank && anr == habenLast + 1))
        anrColour = Color::Lime;
    control(QStringLiteral("Anr")).color = anrColour;

    colourBuchtext();

    // Warnings and errors; the last one that applies stays on the message line.
    if (sTyp == QLatin1String("E"))
        setMeldung(QStringLiteral("W: GUTSCHRIFT auf EINNAHME (=AUSGABE)"));
    if (hTyp == QLatin1String("A"))
        setMeldung(QStringLiteral("W: GUTSCHRIFT auf AUSGABE (=EINNAHME)"));
    if (sollBank && habenBank)
        setMeldung(QStringLiteral("WARNUNG: Soll- und Haben-Konto ist ein B-Konto"));
    if (sTyp == QLatin1String("X") || hTyp == QLatin1String("X"))
        setMeldung(QStringLiteral(" Eröffnung-/Abschlußbuchung (ohne autom. Ust Berechnung)"));
    if ((sTyp == QLatin1String("K") && sollSaldo2.isNegative()) ||
        (hTyp == QLatin1String("K") && habenSaldo2.isNegative()))
        setMeldung(QStringLiteral("FEHLER: Saldo KASSA-KONTO kleiner 0 !"));
    if (!isUsableType(sTyp) || m_s->asText(QStringLiteral("Knr")).isEmpty())
        setMeldung(QStringLiteral("FEHLER: Soll Konto ist geschützt"));
    if (!isUsableType(hTyp) || m_h->asText(QStringLiteral("Knr")).isEmpty())
        setMeldung(QStringLiteral("FEHLER: Haben Konto ist geschützt"));
    if (!(soll.isPositive() && haben.isPositive()))
        setMeldung(QStringLiteral("FEHLER: Betrag darf nicht negativ oder null sein"));
    if (isIncomeOrExpense(sTyp) && isIncomeOrExpense(hTyp))
        setMeldung(QStringLiteral("FEHLER: Nur ein EA Konto erlaubt"));
    if (j.asText(SollKnt) == j.asText(HabenKnt)) {
        if (soll.isZero()) {
            setMeldung(QStringLiteral("F: Bitte neue Buchung eingeben"));
            if (focusedControl() == QLatin1String("JournalPlus"))
                moveFocus(SollKnt);
        } else {
            setMeldung(QStringLiteral("FEHLER: Soll u. Haben Konto darf nicht gleich sein"));
        }
    }
    if (datum <= m_datumGesichert)
        setMeldung(QStringLiteral("FEHLER: Datum gesicherter Buchungen ") + formatDate(m_datumGesichert));
    if (j.isNull(UstP) && !d.isZero())
        setMeldung(QStringLiteral("FEHLER: Beträge oder Konten falsch"));
    if (m_windows.liveSettings().strengesDatum() && !lineIsFirst() &&
        datum.month() < m_datumVorgaenger.month())
        setMeldung(QStringLiteral("FEHLER: Datum liegt nicht in Buchungsperiode"));
    checkBeyondTable();

    m_windows.journal().refreshLines();
}

// Errors that guard the books beyond the message table above. They run after it, in the order
// they were added, so none of them hides a message of the table; new checks go at the end.
void T_Buchen::checkBeyondTable() {
    const data::Cursor& j = *m_j;
    const QString ustKnt = j.asText(UstKnt);
    const bool hasVat = !ustKnt.isEmpty();
    // Posting to the line's own VAT account would give that account two ledger lines under one
    // number, each computed from the same old balance.
    if (hasVat && (ustKnt == j.asText(SollKnt) || ustKnt == j.asText(HabenKnt)))
        setMeldung(QStringLiteral("FEHLER: Ust Konto darf nicht Soll- oder Haben-Konto sein"));
    // Without its account record the VAT ledger lines would start from 0 on every posting and the
    // balances of the books would no longer add up to 0.
    if (hasVat && m_u->isEmpty())
        setMeldung(QStringLiteral("FEHLER: Ust-Konto ") + ustKnt + QStringLiteral(" fehlt im Kontoplan"));
    // A date of another year would be posted and inherited by every later line; the month-only
    // strict-date rule does not see it.
    const QDate datum = j.asDate(QStringLiteral("Datum"));
    if (const int year = fiscalYear(); datum.isValid() && datum.year() != year)
        setMeldung(QStringLiteral("FEHLER: Datum liegt nicht im Geschäftsjahr %1").arg(year));
}

int T_Buchen::fiscalYear() const {
    // The year of the first posted line; the posted lines are the run at the start of the journal.
    if (!lineIsFirst()) {
        m_walk->first();
        const QDate first = m_walk->asDate(QStringLiteral("Datum"));
        if (first.isValid())
            return first.year();
    }
    // Nothing posted yet: the year in the name of the data directory (KT2026), else this year.
    return yearOfDataDirectory(m_windows.dataDirectory());
}

} // namespace kontaro::posting
