#include "views/kontoplan_grid.h"

#include "base/errors.h"
#include "base/field_text.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "views/t_kontoplan.h"

namespace kontaro::views {

namespace {

using namespace data::fields;

bool isMoneyColumn(const QString& field) {
    return field == Saldo || field == Budget;
}

// The grid shows money in the display form and the other fields as they are stored.
QString fieldText(const data::Cursor& cursor, const QString& field) {
    if (isMoneyColumn(field))
        return cursor.isNull(field) ? QString() : moneyDisplayText(cursor.asMoney(field));
    return cursor.asText(field);
}

} // namespace

KontoplanGrid::KontoplanGrid(data::Session& session, data::Cursor& chart)
    : m_chart(chart)
    , m_reader(std::make_unique<data::Cursor>(session, QStringLiteral("kntplan.DB"))) {}

KontoplanGrid::~KontoplanGrid() = default;

const QStringList& KontoplanGrid::columns() {
    static const QStringList names = {
        Knr,   Typ,    QStringLiteral("Name"),   UstKnt,  QStringLiteral("UstP"),
        Saldo, Budget, QStringLiteral("Gruppe"), LastAnr, QStringLiteral("Seite")};
    return names;
}

int KontoplanGrid::insertRow() const {
    return m_chart.state() == data::CursorState::Insert ? m_chart.recNo() - 1 : -1;
}

int KontoplanGrid::rowCount() const {
    return m_chart.recordCount() + (insertRow() >= 0 ? 1 : 0);
}

QString KontoplanGrid::cell(int row, int column) const {
    if (column < 0 || column >= columns().size() || row < 0 || row >= rowCount())
        return {};
    const QString& field = columns()[column];
    if (row == currentRow())
        return fieldText(m_chart, field);
    const int pending = insertRow();
    m_reader->setRecNo(pending >= 0 && row > pending ? row : row + 1);
    return fieldText(*m_reader, field);
}

QStringList KontoplanGrid::pickList(int column) const {
    if (columns().value(column) != Typ)
        return {};
    return T_Kontoplan::typAuswahl();
}

int KontoplanGrid::currentRow() const {
    const int pending = insertRow();
    if (pending >= 0)
        return pending;
    return m_chart.recNo() - 1;
}

void KontoplanGrid::setCurrentRow(int row) {
    if (row == currentRow() || row < 0 || row >= rowCount())
        return;
    const int pending = insertRow();
    // Leaving the record in edit or insert saves it first (the save rules may refuse).
    m_chart.post();
    m_chart.setRecNo(pending >= 0 && row > pending ? row : row + 1);
}

void KontoplanGrid::setCell(int row, int column, const QString& text) {
    if (row != currentRow() || column < 0 || column >= columns().size())
        return;
    setField(columns()[column], text);
}

bool KontoplanGrid::isColumnReadOnly(int column) const {
    return column < 0 || column >= columns().size() || isFieldReadOnly(columns()[column]);
}

// Only the record in edit or insert takes typing; the grid never starts an edit by itself.
bool KontoplanGrid::isRowEditable(int row) const {
    const data::CursorState state = m_chart.state();
    return (state == data::CursorState::Edit || state == data::CursorState::Insert) && row == currentRow();
}

bool KontoplanGrid::isFieldReadOnly(const QString& field) const {
    return field == Saldo || field == LastAnr || m_locked.contains(field);
}

void KontoplanGrid::setField(const QString& field, const QString& text) {
    const data::CursorState state = m_chart.state();
    if ((state != data::CursorState::Edit && state != data::CursorState::Insert) || isFieldReadOnly(field))
        return;
    QString value = text;
    if (field == Knr || field == UstKnt) {
        value = value.toUpper();
        if (field == Knr && value.isEmpty())
            throw UserError(QStringLiteral("Die Kontonummer braucht mindestens ein Zeichen."));
    } else if (field == Typ && !value.isEmpty() && !T_Kontoplan::typAuswahl().contains(value)) {
        throw UserError(QStringLiteral("Als Typ bitte einen Buchstaben aus der Liste wählen: %1")
                            .arg(T_Kontoplan::typAuswahl().join(QLatin1Char(' '))));
    } else if (isMoneyColumn(field)) {
        const std::optional<Money> amount = parseMoneyText(value);
        if (!amount && !value.trimmed().isEmpty())
            throw UserError(QStringLiteral("\"%1\" ist kein gültiger Betrag.").arg(value.trimmed()));
        if (amount)
            m_chart.setMoney(field, *amount);
        else
            m_chart.setNull(field);
        m_typed = true;
        return;
    }
    m_chart.setText(field, value);
    m_typed = true;
}

} // namespace kontaro::views
