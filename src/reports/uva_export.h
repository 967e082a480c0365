#pragma once

#include "reports/u30_return.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <optional>

namespace kontaro::forms {
class Windows;
}

namespace kontaro::reports {

// The VAT pre-return (U30) of one month or quarter as the upload file of the tax office's portal:
// "U30-" + year + "-" + period + ".xml" in the data directory, UTF-8. The figures are summed
// exactly from the posted lines of the period and checked before anything is written; the payable
// amount or credit is shown to the user, since the portal computes it itself.
class UvaExport {
public:
    explicit UvaExport(forms::Windows& windows);
    void run();

    // A month ("03") or a quarter ("Q1") of the fiscal year.
    struct Period {
        int firstMonth = 1;
        int lastMonth = 1;
        QString code;
    };
    // "1".."12" or "Q1".."Q4" (blanks and letter case do not matter); nullopt for anything else.
    static std::optional<Period> parsePeriod(const QString& text);
    // The last complete period before `today`; the year's last one when today lies after the
    // fiscal year, its first one when no period of it is complete yet.
    static QString proposedPeriod(const QDate& today, int fiscalYear, bool monthly);
    // The tax number as the portal takes it: blanks, "/" and "-" left out, then exactly nine
    // digits. Throws U30Refusal otherwise; never cuts.
    static QString portalFastnr(const QString& typed);

    // "12345.60": decimal point, two decimals, no thousands separator.
    static QString amountText(Money amount);
    // The upload file of checked figures: zero fields and empty groups left out, KZ000 always there.
    static QByteArray xml(const U30Figures& figures, const Period& period, int year, const QString& fastnr);

private:
    struct Sums {
        U30Figures figures;
        int outsideYear = 0; // posted lines dated outside the fiscal year
    };
    Sums sumPeriod(const Period& period, int year) const;
    QHash<QString, U30Account> chartAccounts() const;

    forms::Windows& m_windows;
};

} // namespace kontaro::reports
