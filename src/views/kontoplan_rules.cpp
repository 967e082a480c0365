#include "views/kontoplan_rules.h"

#include "base/errors.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "forms/ui.h"
#include "forms/windows.h"

namespace kontaro::views {

namespace {

using namespace data::fields;

// Income and expense accounts, protected or not, are the only ones that carry a VAT account.
// A record without a type counts as any other kind: its VAT entries must go, but it can be saved
// (the chart's placeholder record has no type).
bool carriesVat(const QString& typ) {
    return !typ.isEmpty() && QStringLiteral("AEae").contains(typ.front());
}

} // namespace

KontoplanRules::KontoplanRules(forms::Windows& windows, std::function<bool()> protecting)
    : m_windows(windows)
    , m_protecting(std::move(protecting)) {}

KontoplanRules::~KontoplanRules() = default;

void KontoplanRules::install(data::Cursor& chart) {
    chart.events().beforePost = [this](data::Cursor& c) { beforeSave(c); };
    chart.events().beforeDelete = [this](data::Cursor& c) { beforeDelete(c); };
}

void KontoplanRules::refuse(const QString& message) {
    m_windows.ui().message(message);
    throw Abort();
}

void KontoplanRules::beforeSave(data::Cursor& chart) {
    const QString ustKnt = chart.asText(UstKnt);
    if (!ustKnt.isEmpty() && !m_windows.liveSettings().isUstKonto(ustKnt))
        refuse(QStringLiteral(
            "UST-Konto ist falsch oder in \"Fenster/Einstellungen/Ust-Konten\" nicht eingestellt."));

    if (chart.isNull(LastAnr))
        chart.setInteger(LastAnr, 0);

    if (!carriesVat(chart.asText(Typ)) && (!ustKnt.isEmpty() || !chart.isNull(UstP))) {
        const forms::Answer answer = m_windows.ui().question(
            QStringLiteral("Ust Konto nur bei EA-Konten erlaubt. Ust Einträge löschen ?"),
            forms::Buttons::YesCancel);
        if (answer != forms::Answer::Yes)
            throw Abort();
        chart.setNull(UstKnt);
        chart.setNull(UstP);
    }

    refuseDuplicate(chart);
}

void KontoplanRules::refuseDuplicate(data::Cursor& chart) {
    if (!m_others)
        m_others = std::make_unique<data::Cursor>(m_windows.session(), chart.fileName());
    const QString knr = chart.asText(Knr);
    if (!m_others->locate(Knr, {knr}))
        return;
    if (chart.state() == data::CursorState::Edit && m_others->bookmark().id == chart.bookmark().id) {
        // The record itself; a second one with the number would follow it in number order.
        m_others->next();
        if (m_others->eof() || m_others->asText(Knr) != knr)
            return;
    }
    m_windows.ui().error(knr.isEmpty()
                             ? QStringLiteral("Es gibt schon ein Konto ohne Kontonummer.")
                             : QStringLiteral("Die Kontonummer \"%1\" ist schon vergeben.").arg(knr));
    throw Abort();
}

void KontoplanRules::beforeDelete(data::Cursor& chart) {
    if (m_protecting())
        refuse(QStringLiteral("Konto geschützt"));
    if (isUsedInJournal(chart.asText(Knr)))
        refuse(QStringLiteral("Konto wird verwendet"));
    if (m_windows.ui().question(QStringLiteral("Konto löschen ? "), forms::Buttons::YesNo) !=
        forms::Answer::Yes)
        throw Abort();
}

bool KontoplanRules::isUsedInJournal(const QString& knr) {
    // A cursor of its own, so that looking does not move the journal window.
    if (!m_journal)
        m_journal = std::make_unique<data::Cursor>(m_windows.session(), QStringLiteral("journal.DB"));
    for (const QString& field : {QStringLiteral("SollKnt"), QStringLiteral("HabenKnt"), UstKnt})
        if (m_journal->locate(field, {knr}))
            return true;
    return false;
}

} // namespace kontaro::views
