// Posting aids that fill the current line: templates, account names as text, voucher and statement
// numbers, swapping debit and credit, the last ledger amount and the switch of the ledger window.
#include "base/text_file.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "posting/t_buchen.h"
#include "views/t_konto.h"
#include "views/t_kontoplan.h"

#include <map>

namespace kontaro::posting {

namespace {

using namespace data::fields;

const QString Buchtext = QStringLiteral("Buchtext");
const QString Beleg = QStringLiteral("Beleg");

// The template whose text is `text` apart from case; -1 when there is none.
qsizetype templateIndex(const QStringList& templates, const QString& text) {
    for (qsizetype i = 0; i < templates.size(); ++i)
        if (templates[i].compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

void T_Buchen::connectAids() {
    // Character keys a field takes for itself; other keys (Enter) keep their earlier handler.
    const auto addKeys = [this](const QString& field, std::map<QString, std::function<void()>> actions) {
        forms::Control& c = control(field);
        for (const auto& entry : actions)
            c.keys << entry.first;
        c.onKey = [previous = c.onKey, actions = std::move(actions)](const QString& key) {
            if (const auto it = actions.find(key); it != actions.end())
                it->second();
            else if (previous)
                previous(key);
        };
    };
    const auto onClick = [this](const char* name, std::function<void()> action) {
        control(QString::fromLatin1(name)).onClick = std::move(action);
    };

    onClick("B_StoVorlage", [this] { storeTemplate(); });
    onClick("B_delVorlage", [this] { deleteTemplate(); });
    // A template picked from the list stays selected until the text is changed by hand.
    forms::Control& buchtext = control(Buchtext);
    buchtext.onChange = [this, previous = buchtext.onChange] {
        forms::Control& c = control(Buchtext);
        c.selected = int(c.items.indexOf(c.text()));
        if (previous)
            previous();
    };
    control(QStringLiteral("sollName")).onDoubleClick = [this] { nameAsBuchtext(*m_s); };
    control(QStringLiteral("habenName")).onDoubleClick = [this] { nameAsBuchtext(*m_h); };

    const auto belegPlus = [this] { setBeleg(QString::number(m_belegNR + 1)); };
    const auto belegMinus = [this] { setBeleg(QString::number(m_belegNR)); };
    const auto showBeleg = [this] { showVoucher(control(Beleg).text()); };
    onClick("BelegPlus", belegPlus);
    onClick("BelegMinus", belegMinus);
    onClick("B_BelegALT", [this] { setBeleg(m_belegALT); });
    onClick("L_beleg", showBeleg);
    onClick("SpeedButton1", [this] { pickVoucherFile(); });
    control(Beleg).onDoubleClick = [this] { pickVoucherFile(); };
    addKeys(Beleg, {{QStringLiteral("+"), belegPlus},
                    {QStringLiteral("-"), belegMinus},
                    {QStringLiteral("#"), showBeleg}});

    const auto anrPlus = [this] { setAnr(m_anrNr + 1); };
    const auto anrMinus = [this] { setAnr(m_anrNr); };
    onClick("AnrPlus", anrPlus);
    onClick("AnrMinus", anrMinus);
    addKeys(Anr, {{QStringLiteral("+"), anrPlus}, {QStringLiteral("-"), anrMinus}});

    const auto stepDay = [this](int days) {
        moveFocus(QStringLiteral("Datum"));
        stepDate(days);
    };
    onClick("DatumPlus", [stepDay] { stepDay(1); });
    onClick("DatumMinus", [stepDay] { stepDay(-1); });

    onClick("KontoWechsel", [this] { swapAccounts(); });
    onClick("B_2ATS", [this] { convertCurrency(true); });
    onClick("B_2EURO", [this] { convertCurrency(false); });
    onClick("Button1", [this] { restoreEuroAlt(); });
    onClick("BetragPlus", [this] { takeLastLedgerAmount(); });
    onClick("B_suche", [this] { searchAccount(); });
    onClick("SucheKonto", [this] { continueAccountSearch(); });
    for (const QString& field : {SollKnt, HabenKnt})
        addKeys(field, {{QStringLiteral("Space"), [this] { searchAccount(); }}});
    control(QStringLiteral("Scrollbereich")).onDoubleClick = [this] { switchLedgerAccount(); };

    // These commands work on the field that has the focus (their access keys are pressed while
    // typing there), so pressing them leaves the focus where it is.
    for (const char* name : {"KontoWechsel", "BetragPlus", "B_suche", "SucheKonto", "BelegPlus", "BelegMinus",
                             "B_BelegALT", "AnrPlus", "AnrMinus", "DatumPlus", "DatumMinus"})
        control(QString::fromLatin1(name)).takesFocus = false;
}

void T_Buchen::storeTemplate() {
    const QString text = control(Buchtext).text();
    if (!text.isEmpty() && templateIndex(m_vorlagen, text) < 0) {
        m_vorlagen << text;
        m_vorlagen.sort(Qt::CaseInsensitive);
    }
    text::writeLines(m_windows.dataDirectory() + QStringLiteral("/vorlagen.txt"), m_vorlagen);
    control(Buchtext).items = m_vorlagen;
    control(Buchtext).selected = int(m_vorlagen.indexOf(text));
    moveFocus(Buchtext);
}

void T_Buchen::deleteTemplate() {
    forms::Control& c = control(Buchtext);
    if (c.selected >= 0 && c.selected < c.items.size()) {
        m_vorlagen.removeOne(c.items[c.selected]);
        c.items = m_vorlagen;
        c.selected = -1;
    }
    text::writeLines(m_windows.dataDirectory() + QStringLiteral("/vorlagen.txt"), m_vorlagen);
    moveFocus(Buchtext);
}

void T_Buchen::nameAsBuchtext(const data::Cursor& account) {
    editLine();
    m_j->setText(Buchtext, account.isEmpty() ? QString() : account.asText(QStringLiteral("Name")));
    validate();
}

void T_Buchen::setBeleg(const QString& beleg) {
    moveFocus(Beleg);
    editLine();
    m_j->setText(Beleg, beleg);
    validate();
}

void T_Buchen::setAnr(int anr) {
    moveFocus(Anr);
    editLine();
    m_j->setInteger(Anr, anr);
    validate();
}

void T_Buchen::swapAccounts() {
    editLine();
    data::Cursor& j = *m_j;
    for (const auto& [a, b] : {std::pair{SollKnt, HabenKnt}, std::pair{SollBetrag, HabenBetrag}}) {
        const data::FieldValue first = j.value(a);
        j.setValue(a, j.value(b));
        j.setValue(b, first);
    }
    // The focus moves to the other amount field; leaving the first runs its amount rule.
    const QString focused = focusedControl();
    if (focused == SollBetrag)
        moveFocus(HabenBetrag);
    else if (focused == HabenBetrag)
        moveFocus(SollBetrag);
    validate();
    followLineAccounts();
}

void T_Buchen::takeLastLedgerAmount() {
    const data::Cursor& line = m_windows.konto().zeilen();
    if (line.isEmpty())
        return;
    editLine();
    const Money soll = line.asMoney(SollBetrag);
    const QString& field = soll.isPositive() ? SollBetrag : HabenBetrag;
    moveFocus(field);
    m_j->setMoney(field, soll.isPositive() ? soll : line.asMoney(HabenBetrag));
    m_j->setText(Buchtext, line.asText(Buchtext));
    validate();
}

void T_Buchen::switchLedgerAccount() {
    views::T_Konto& konto = m_windows.konto();
    konto.windowState = forms::WindowState::Normal;
    konto.control(QStringLiteral("fixeKontowahl")).checked = false;
    views::T_Kontoplan& chart = m_windows.kontoplan();
    const QString sollKnt = m_j->asText(SollKnt);
    chart.setSuchwort(chart.control(QStringLiteral("Suchwort")).text() != sollKnt ? sollKnt
                                                                                  : m_j->asText(HabenKnt));
}

} // namespace kontaro::posting
