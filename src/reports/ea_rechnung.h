#pragma once

#include "base/money.h"
#include "reports/field_sums.h"

#include <QString>
#include <array>

namespace kontaro::forms {
class Windows;
}
namespace kontaro::data {
class Cursor;
}
namespace kontaro::output {
class LineList;
class PageBuffer;
} // namespace kontaro::output

namespace kontaro::reports {

// The year-end income-expense statement ("EA Rechnung"): one statement file per business code
// ("EAR" + fiscal year + code + ".txt") with the income and expense accounts of that business and the
// profit or loss, and the VAT summary "EAR-FIAMsummen.txt" over all business codes with the
// payments to the tax office and the tax-form field sums. Sums are kept in extended precision and
// rounded only when a line is printed. Changes no table.
class EaRechnung {
public:
    explicit EaRechnung(forms::Windows& windows);
    void run();

    static QString summaryFileName() { return QStringLiteral("EAR-FIAMsummen.txt"); }

private:
    // The VAT bases of one side: balances of the accounts at 0, 10 and 20 percent.
    using Bases = std::array<long double, 3>;
    struct Totals {
        Bases mwst{};  // income
        Bases vorst{}; // expense
        long double gewinn = 0;
        long double verlust = 0;
        long double nettoSumMinus = 0; // without marked business codes
        long double nettoSumPlus = 0;
    };

    void statement(data::Cursor& chart, QChar code, const QString& title, output::PageBuffer& page,
                   output::LineList& summary);
    long double scan(data::Cursor& chart, QChar code, FieldSums::Side side, Bases& bases,
                     output::PageBuffer& page);
    void addBaseLines(const Bases& mwst, const Bases& vorst, output::LineList& summary) const;
    void addGrandTotals(output::LineList& summary) const;
    void addTaxOfficeLines(output::LineList& summary);

    forms::Windows& m_windows;
    QString m_mandant;
    int m_year = 0;
    FieldSums m_fieldSums;
    Totals m_totals;
};

} // namespace kontaro::reports
