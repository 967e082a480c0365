#pragma once

#include "base/errors.h"
#include "base/money.h"
#include "reports/kennzahlen.h"
#include "reports/posting_line.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <map>

namespace kontaro::reports {

// The export cannot give a return the portal takes; the message says which figure and why.
class U30Refusal : public UserError {
public:
    using UserError::UserError;
};

// What the return needs of an account of the chart.
struct U30Account {
    QString typ;
    int ustP = 0;
    bool hasUstP = false;
};

// One field of the return as the export writes it.
struct U30Field {
    const Kennzahl* kennzahl = nullptr;
    Money base;           // the base of turnover, acquisitions and received reverse charge
    Money tax;            // the tax on the base; the amount of an input-tax field
    Money value;          // what the upload carries: the base, or the tax of a tax-only field
    QStringList accounts; // the accounts whose movement makes it
};

struct U30Figures {
    QList<U30Field> fields; // KZ000 and every field that is not 0, in the order of the upload
    Money payable;          // positive: payable, negative: credit
    Money vatBalance;       // the balance the period's lines left on the VAT accounts
    Money notReported;      // income at a rate the return has no field for, and not mapped
    QStringList notReportedAccounts;

    const U30Field* field(int number) const;
    Money value(int number) const;
};

// The sums of the VAT pre-return (form U30) over the posted lines of one period, exact.
//
// An account mapped to a field in [Kennzahlen] counts there with its net movement and nowhere else.
// The others follow the chart: the income account of a line by its rate (20, 10, 13 %; other rates
// are not reported), acquisitions by their number ("*E20", "*E10", "*E13"; "*EX" at the rate X,
// which must be 13), and the VAT of the expense lines without acquisitions as input tax.
class U30Return {
public:
    U30Return(QHash<QString, U30Account> accounts, QHash<QString, int> mapping, int rateX);

    // A posted line of the period.
    void add(const PostingLine& line);
    // Checks every figure and computes the taxes; throws U30Refusal naming the field that failed.
    U30Figures finish() const;

    // Percent of an amount, rounded half away from zero to the cent.
    static Money percentToCent(Money amount, int percent);

private:
    __extension__ typedef __int128 Wide;
    struct Bucket {
        Wide sum = 0;
        QHash<QString, Wide> byAccount;
        std::map<int, Wide> byRate; // received reverse charge: the base per rate of its accounts
        void add(const QString& account, Money amount, int rate = 0);
        QStringList accounts() const;
    };

    void addMapped(const QString& knr, int kennzahl, Money debit, Money credit);
    void addAcquisitions(const QString& knr, Money amount);
    void addByChart(const PostingLine& line);

    QHash<QString, U30Account> m_accounts;
    QHash<QString, int> m_mapping;
    int m_rateX;
    std::array<Bucket, 100> m_buckets; // by field number
    Bucket m_rateXBucket;
    Bucket m_notReported;
    Wide m_vatBalance = 0;
};

} // namespace kontaro::reports
