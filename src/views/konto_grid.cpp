#include "views/konto_grid.h"

#include "base/field_text.h"
#include "data/cursor.h"

namespace kontaro::views {

QString cellText(const data::Cursor& cursor, const QString& field, CellStyle style) {
    if (style == CellStyle::Plain || cursor.isNull(field))
        return cursor.asText(field);
    const QString display = moneyDisplayText(cursor.asMoney(field));
    if (style == CellStyle::Money)
        return display;
    // "#,###.00" drops the lone zero before the decimal separator that "#,##0.00" keeps.
    QString text = display;
    const qsizetype zero = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.size() > zero + 1 && text.at(zero) == QLatin1Char('0') && !text.at(zero + 1).isDigit())
        text.remove(zero, 1);
    return text;
}

TableGridSource::TableGridSource(std::unique_ptr<data::Cursor> reader, std::vector<Column> columns,
                                 data::Cursor* current)
    : m_reader(std::move(reader))
    , m_columns(std::move(columns))
    , m_current(current) {
    if (!m_reader->isOpen())
        m_reader->open();
}

TableGridSource::~TableGridSource() = default;

int TableGridSource::rowCount() const {
    return m_reader->recordCount();
}

QString TableGridSource::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= int(m_columns.size()))
        return {};
    if (m_reader->recNo() != row + 1)
        m_reader->setRecNo(row + 1);
    const Column& c = m_columns[std::size_t(column)];
    return cellText(*m_reader, c.field, c.style);
}

int TableGridSource::currentRow() const {
    return m_current ? m_current->recNo() - 1 : -1;
}

void TableGridSource::setCurrentRow(int row) {
    if (m_current && row >= 0 && row < m_current->recordCount())
        m_current->setRecNo(row + 1);
}

forms::Color TableGridSource::rowColor(int row) const {
    return row == currentRow() ? m_currentColor : forms::Color::Default;
}

} // namespace kontaro::views
