#pragma once

#include "base/money.h"
#include "reports/posting_line.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace kontaro::forms {
class Windows;
}
namespace kontaro::output {
class PageBuffer;
}

namespace kontaro::reports {

// The VAT pre-return list ("IG-Erwerb (für UST Voranmeldung)"): per month or quarter of the fiscal
// year the intra-community acquisitions at 10 %, 20 % and the rate of "*EX" accounts with their
// tax, and the VAT balance of every VAT account; then the same for the year. Saved as
// "UST Voranmeldung.txt" and printed; each period's acquisition figures are also appended to the
// VAT return file "ustmeldung" + month + ".txt" of its last month, where that file exists.
// Amounts are exact.
class IgErwerb {
public:
    explicit IgErwerb(forms::Windows& windows);
    void run();

    static QString listFileName() { return QStringLiteral("UST Voranmeldung.txt"); }

private:
    // What one period (or the year) adds up.
    struct Figures {
        Acquisitions acquisitions;
        std::vector<Money> ustBalances; // one per VAT account of the list
    };

    void countLine(const PostingLine& line, Figures& period, Money& allAcquisitions) const;
    QStringList acquisitionLines(const Acquisitions& a, bool evenWhenZero) const;
    void addBalanceLines(const std::vector<Money>& balances, output::PageBuffer& page) const;
    void updateVatReturnFile(int month, const Acquisitions& a) const;

    forms::Windows& m_windows;
    QStringList m_ustKonten;
    QHash<QString, int> m_ustIndex;
    int m_rateX = 0;
    int m_year = 0;
};

} // namespace kontaro::reports
