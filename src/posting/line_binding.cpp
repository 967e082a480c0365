#include "posting/line_binding.h"

#include "base/date.h"
#include "base/errors.h"
#include "base/field_text.h"
#include "data/cursor.h"
#include "data/table_layout.h"

namespace kontaro::posting {

CursorFieldBinding::CursorFieldBinding(data::Cursor& cursor, QString field, FieldStyle style, bool readOnly,
                                       std::function<void()> prepare)
    : m_cursor(cursor)
    , m_field(std::move(field))
    , m_style(style)
    , m_readOnly(readOnly)
    , m_prepare(std::move(prepare)) {}

QString CursorFieldBinding::text() const {
    if (!m_cursor.isOpen() || m_cursor.isNull(m_field))
        return {};
    if (m_style == FieldStyle::MoneyDisplay)
        return moneyDisplayText(m_cursor.asMoney(m_field));
    return m_cursor.asText(m_field);
}

void CursorFieldBinding::setText(const QString& text) {
    if (m_prepare)
        m_prepare();
    if (m_style == FieldStyle::Date && !text.trimmed().isEmpty()) {
        const std::optional<QDate> date = parseUserDate(text);
        if (!date)
            throw UserError(QStringLiteral("\"%1\" ist kein gültiges Datum.").arg(text.trimmed()));
        m_cursor.setDate(m_field, *date);
        return;
    }
    m_cursor.setText(m_field, text);
}

AccountFieldBinding::AccountFieldBinding(data::Cursor& line, QString field, data::Cursor& account,
                                         data::Cursor& chart, std::function<void()> prepare)
    : m_line(line)
    , m_field(std::move(field))
    , m_account(account)
    , m_chart(chart)
    , m_prepare(std::move(prepare)) {}

QString AccountFieldBinding::text() const {
    const QString knr = m_line.asText(m_field);
    return !knr.isEmpty() && !m_account.isEmpty() ? knr : QString();
}

void AccountFieldBinding::setText(const QString& text) {
    if (m_prepare)
        m_prepare();
    QString knr = text.trimmed();
    if (!knr.isEmpty()) {
        const data::TableLayout& chart = data::layouts::kntplan();
        if (knr.size() > chart.fields[chart.fieldIndex(QStringLiteral("Knr"))].width ||
            !m_chart.locate(QStringLiteral("Knr"), {knr}, {.caseInsensitive = true}))
            throw UserError(QStringLiteral("Konto %1 gibt es nicht.").arg(knr));
        knr = m_chart.asText(QStringLiteral("Knr"));
    }
    m_line.setText(m_field, knr);
}

AccountListSource::AccountListSource(data::Session& session)
    : m_chart(std::make_unique<data::Cursor>(session, QStringLiteral("kntplan.DB"))) {}

AccountListSource::~AccountListSource() = default;

int AccountListSource::rowCount() const {
    return m_chart->recordCount();
}

QString AccountListSource::cell(int row, int column) const {
    static const char* const Columns[] = {"Knr", "Typ", "UstP", "Saldo", "Name"};
    if (column < 0 || column >= int(std::size(Columns)))
        return {};
    m_chart->setRecNo(row + 1);
    const QString field = QString::fromLatin1(Columns[column]);
    if (column == 3)
        return m_chart->isNull(field) ? QString() : moneyDisplayText(m_chart->asMoney(field));
    return m_chart->asText(field);
}

int AccountListSource::currentRow() const {
    return m_chart->recNo() - 1;
}

void AccountListSource::setCurrentRow(int row) {
    m_chart->setRecNo(row + 1);
}

} // namespace kontaro::posting
