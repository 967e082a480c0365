// The commands of the chart-of-accounts window: insert, EDIT, Schutz, delete, ESC and OK.
#include "base/errors.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "views/kontoplan_grid.h"
#include "views/t_kontoplan.h"

namespace kontaro::views {

namespace {

using namespace data::fields;

const QString Kontenliste = QStringLiteral("Kontenliste");

bool isEditing(const data::Cursor& table) {
    return table.state() == data::CursorState::Edit || table.state() == data::CursorState::Insert;
}

} // namespace

bool T_Kontoplan::schutzwechsel() const {
    return control(QStringLiteral("B_schutzwechsel")).tag != 0;
}

void T_Kontoplan::stateChanged() {
    const bool editing = isEditing(*m_table);
    control(QStringLiteral("B_ok")).enabled = editing;
    control(QStringLiteral("B_esc")).enabled = editing;
    if (editing)
        m_grid->resetTyped();
}

void T_Kontoplan::afterSaveOrCancel() {
    m_grid->unlockAll();
    const QString word = control(QStringLiteral("Suchwort")).text();
    if (!word.isEmpty())
        m_table->locate(Knr, {word});
}

void T_Kontoplan::einfuegen() {
    m_table->insert();
    moveFocus(Kontenliste);
}

void T_Kontoplan::editieren() {
    setSuchwort(currentKnr());
    if (schutzwechsel()) {
        ui().message(QStringLiteral("Konto geschützt"));
        return;
    }
    // A balance, zero included, means the account has ledger lines: its number must stay, and
    // while the balance is not zero its kind and VAT must stay too.
    if (!m_table->isNull(QStringLiteral("Saldo"))) {
        ui().message(
            QStringLiteral(" !! VORSICHT Konto ist in Verwendung ! Typ und UST Änderungen nur bei SALDO=0"));
        m_grid->lock(Knr);
        if (!m_table->asMoney(QStringLiteral("Saldo")).isZero()) {
            for (const QString& field : {Typ, QStringLiteral("UstKnt"), QStringLiteral("UstP")})
                m_grid->lock(field);
            ui().beep();
        }
    }
    m_table->locate(Knr, {control(QStringLiteral("Suchwort")).text()});
    m_table->edit();
    moveFocus(Kontenliste);
}

void T_Kontoplan::schutz() {
    setSuchwort(currentKnr());
    forms::Control& flag = control(QStringLiteral("B_schutzwechsel"));
    flag.tag = 1;
    try {
        m_table->edit();
        const QString typ = m_table->asText(Typ);
        const bool upper =
            !typ.isEmpty() && typ.front() >= QLatin1Char('A') && typ.front() <= QLatin1Char('Z');
        m_table->setText(Typ, upper ? typ.toLower() : typ.toUpper());
    } catch (...) {
        flag.tag = 0;
        m_table->post();
        throw;
    }
    flag.tag = 0;
    m_table->post();
}

void T_Kontoplan::loeschen() {
    deleteCurrent();
}

void T_Kontoplan::deleteCurrent() {
    m_table->remove();
    if (!m_table->isEmpty())
        return;
    // The chart never stays empty: a record without number takes the place of the last account.
    m_table->insert();
    m_table->post();
}

void T_Kontoplan::abbrechen() {
    if (!isEditing(*m_table))
        return;
    m_table->cancel();
    afterSaveOrCancel();
}

void T_Kontoplan::speichern() {
    m_saved.reset();
    m_table->post();
    if (!m_saved)
        return; // an untouched new record was dropped: nothing was saved to warn about
    if (m_saved->gruppe.isEmpty())
        ui().message(QStringLiteral("VORSICHT: Gruppe ist leer!"));
    if (m_saved->ustKnt.contains(QLatin1Char(' ')) || m_saved->knr.contains(QLatin1Char(' ')))
        ui().message(QStringLiteral("Konto enthält Blank (Zwischenraum). Bitte entfernen!"));
}

void T_Kontoplan::finishPendingEdit() {
    if (!isEditing(*m_table))
        return;
    const QString knr = currentKnr();
    try {
        m_table->post();
    } catch (const Abort&) {
        m_table->cancel();
        afterSaveOrCancel();
        ui().message(QStringLiteral("Die Änderung am Konto \"%1\" wurde nicht gespeichert.").arg(knr));
    }
}

// Ctrl+Delete deletes the current record after the grid's own confirmation.
void T_Kontoplan::gridKey(const QString& key) {
    if (key != QLatin1String("Ctrl+Delete") || m_table->isEmpty())
        return;
    if (ui().question(QStringLiteral("Datensatz löschen?"), forms::Buttons::OkCancel) != forms::Answer::Ok)
        return;
    deleteCurrent();
}

// A new record into which nothing was typed is dropped when the focus leaves the grid.
void T_Kontoplan::gridExit() {
    if (m_table->state() == data::CursorState::Insert && !m_grid->typed())
        abbrechen();
}

} // namespace kontaro::views
