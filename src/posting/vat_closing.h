#pragma once

#include "base/money.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace kontaro::posting {

// One account record as the VAT closing reads it, in the chart's order.
struct VatChartAccount {
    QString knr;
    Money saldo;
    QString ustKnt;
    std::int64_t ustP = 0;
};

// The settings the closing reads: the VAT account list in file order and the payable (P), surplus
// (Q) and tax-office clearing (F) accounts.
struct VatClosingAccounts {
    QStringList ustKonten;
    QString zahllast;
    QString ueberschuss;
    QString finanzamt;
};

// A prepared journal line: debit, credit and the amount of both sides.
struct ClosingLine {
    QString sollKnt;
    QString habenKnt;
    Money amount;

    friend bool operator==(const ClosingLine&, const ClosingLine&) = default;
};

// What the user enters for every closing line besides its accounts and amount.
struct ClosingHead {
    QString buchtext;
    QString beleg;
    QDate datum;
};

// The VAT closing computed from the chart and the settings alone: the closing lines that move every
// VAT account's balance to the target account (payable or surplus) and the target against the
// tax-office clearing account, and the lines of the VAT return. Nothing here touches a table.
struct VatClosing {
    // The closing of one VAT account of the list.
    struct Account {
        QString listName; // as the list spells it; the line uses the chart's spelling
        // Empty when its computation failed: it then has neither a line nor a page line.
        std::optional<ClosingLine> line;
        QString reportLine;
    };

    // The message when the settings do not allow a closing; empty otherwise.
    QString refusal;
    Money sum; // of all VAT balances: positive is a surplus, zero or negative a payable amount
    QString target;
    ClosingLine taxOfficeLine;
    QString taxOfficeReportLine;
    std::vector<Account> accounts;
    // Account records whose `UstKnt` names in its 4th and 5th character a rate other than their
    // own `UstP` ("UST20" with 10 %).
    int rateErrors = 0;

    // Throws MoneyOverflow when the sum of the VAT balances cannot be carried.
    static VatClosing compute(const std::vector<VatChartAccount>& chart, const VatClosingAccounts& settings);

    // The return page: heading, the tax-office line and one line per account that has its closing line.
    QStringList reportLines(const ClosingHead& head, const QString& mandant) const;
};

} // namespace kontaro::posting
