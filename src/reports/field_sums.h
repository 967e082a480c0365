#pragma once

#include "base/money.h"

#include <QString>
#include <vector>

namespace kontaro::output {
class LineList;
}

namespace kontaro::reports {

// The accounts whose names start with a tax-form field number and a colon ("9040:Erlöse"),
// collected while the income-expense statement walks its accounts, then listed sorted by field
// number with a subtotal per field number and per group of field numbers sharing their first two
// characters. The user copies those subtotals into the tax forms.
class FieldSums {
public:
    enum class Side { Income, Expense };

    void clear() { m_lines.clear(); }
    // Collects the account when its name starts with a field number of 1 to 9 characters and ":".
    void add(const QString& knr, const QString& name, Money saldo, Side side);
    // Appends the sorted listing with its subtotals (or the no-data line) to the summary.
    void appendSection(output::LineList& summary) const;

    // The field number of an account name; empty when the name does not carry one.
    static QString fieldNumber(const QString& name);

private:
    struct Line {
        QString text;
        Money saldo; // summed from here: a wide balance shifts the line's columns
    };
    std::vector<Line> m_lines;
};

} // namespace kontaro::reports
