#pragma once

#include "forms/field_binding.h"
#include "forms/grid_source.h"

#include <QString>
#include <functional>
#include <memory>

namespace kontaro::data {
class Cursor;
class Session;
} // namespace kontaro::data

namespace kontaro::posting {

// How a bound control shows and takes the text of its field.
enum class FieldStyle {
    Plain,        // the field's own text
    MoneyEdit,    // amounts as typed: 1234,56
    MoneyDisplay, // amounts with thousands separators: 1.234,56 (read-only displays)
    Date,         // dd.mm.yyyy; typing accepts what a German user types (1.1, 1.1.26)
};

// A control bound to one field of a cursor's current row. Before a write, `prepare` runs (it puts
// the row into edit); the cursor throws UserError for a text that does not read.
class CursorFieldBinding : public forms::FieldBinding {
public:
    CursorFieldBinding(data::Cursor& cursor, QString field, FieldStyle style, bool readOnly,
                       std::function<void()> prepare = {});

    QString text() const override;
    void setText(const QString& text) override;
    bool isReadOnly() const override { return m_readOnly; }

private:
    data::Cursor& m_cursor;
    QString m_field;
    FieldStyle m_style;
    bool m_readOnly;
    std::function<void()> m_prepare;
};

// An account field of the posting line: it shows the account number only when the chart holds
// that account (`account` follows the field), and a typed number is taken in the chart's spelling
// when it matches an account apart from case.
class AccountFieldBinding : public forms::FieldBinding {
public:
    AccountFieldBinding(data::Cursor& line, QString field, data::Cursor& account, data::Cursor& chart,
                        std::function<void()> prepare);

    QString text() const override;
    // An account number the chart does not hold (or one longer than any account number) is
    // refused with a message; the line keeps its account.
    void setText(const QString& text) override;
    bool checksLength() const override { return true; }

private:
    data::Cursor& m_line;
    QString m_field;
    data::Cursor& m_account;
    data::Cursor& m_chart;
    std::function<void()> m_prepare;
};

// The drop-down list of the account fields: the chart in number order with the columns Knr, Typ,
// UstP, Saldo, Name. It reads through a cursor of its own, so showing the list moves no window.
class AccountListSource : public forms::GridSource {
public:
    explicit AccountListSource(data::Session& session);
    ~AccountListSource() override;

    int rowCount() const override;
    QString cell(int row, int column) const override;
    int currentRow() const override;
    void setCurrentRow(int row) override;

private:
    std::unique_ptr<data::Cursor> m_chart;
};

} // namespace kontaro::posting
