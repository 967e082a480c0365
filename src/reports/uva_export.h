#pragma once

#include "base/money.h"
#include "reports/posting_line.h"

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
// exactly from the posted lines of the period; the payable amount or credit is shown to the user,
// since the portal computes it itself.
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

    // The fields of the return, in exact amounts.
    struct Figures {
        Money kz022;       // taxable turnover at 20 %
        Money kz029;       // at 10 %
        Money kz006;       // at 13 %
        Money notReported; // income at 0 % or another rate
        Money kz060;       // input tax without acquisition tax
        Acquisitions acquisitions;

        Money kz000() const { return kz022 + kz029 + kz006; }
        Money kz065() const; // acquisition tax
        Money outputTax() const;
        // Positive: payable; negative: credit.
        Money payable() const { return outputTax() - kz060; }
    };

    // Percent of an amount, rounded half away from zero to the cent.
    static Money percentToCent(Money amount, int percent);
    // "12345.60": decimal point, two decimals, no thousands separator.
    static QString amountText(Money amount);

private:
    Figures sumPeriod(const Period& period, int year) const;
    QHash<QString, QChar> accountTypes() const;
    QByteArray xml(const Figures& figures, const Period& period, int year, const QString& fastnr) const;

    forms::Windows& m_windows;
};

} // namespace kontaro::reports
