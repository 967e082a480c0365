#include "reports/u30_return.h"

#include "base/format.h"
#include "data/book_codes.h"

#include <algorithm>
#include <limits>

namespace kontaro::reports {

namespace {

using K = KennzahlKind;

constexpr int AcquisitionRateX = 13; // "*EX" accounts are reported as acquisitions at 13 %
constexpr int DefaultReverseChargeRate = 20;
constexpr int InputTaxField = 60;

// Integer division rounding half away from zero.
std::int64_t divideRounded(std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t half = denominator / 2;
    return numerator >= 0 ? (numerator + half) / denominator : (numerator - half) / denominator;
}

QString amount(Money value) {
    return format(QStringLiteral("%n"), {value});
}

[[noreturn]] void refuseOutOfRange(const QString& figure) {
    throw U30Refusal(
        QStringLiteral("UVA-Export nicht möglich: Betrag außerhalb des darstellbaren Bereichs (%1).")
            .arg(figure));
}

} // namespace

const U30Field* U30Figures::field(int number) const {
    for (const U30Field& f : fields)
        if (f.kennzahl->number == number)
            return &f;
    return nullptr;
}

Money U30Figures::value(int number) const {
    const U30Field* f = field(number);
    return f ? f->value : Money();
}

void U30Return::Bucket::add(const QString& account, Money amount, int rate) {
    if (amount.isZero())
        return;
    sum += amount.units();
    byAccount[account] += amount.units();
    byRate[rate] += amount.units();
}

QStringList U30Return::Bucket::accounts() const {
    QStringList list;
    for (auto it = byAccount.cbegin(); it != byAccount.cend(); ++it)
        if (it.value() != 0)
            list << it.key();
    list.sort();
    return list;
}

U30Return::U30Return(QHash<QString, U30Account> accounts, QHash<QString, int> mapping, int rateX)
    : m_accounts(std::move(accounts))
    , m_mapping(std::move(mapping))
    , m_rateX(rateX) {}

Money U30Return::percentToCent(Money amount, int percent) {
    // units × percent / 100 gives 1/10000; another / 100 gives cents. The product is checked.
    const std::int64_t scaled = (amount * percent).units();
    return Money::fromCents(divideRounded(scaled, 100 * Money::UnitsPerCent));
}

void U30Return::add(const PostingLine& line) {
    const int sollField = m_mapping.value(line.sollKnt);
    const int habenField = m_mapping.value(line.habenKnt);
    if (sollField)
        addMapped(line.sollKnt, sollField, line.sollBetrag, Money());
    else
        addAcquisitions(line.sollKnt, line.sollBetrag);
    if (habenField)
        addMapped(line.habenKnt, habenField, Money(), line.habenBetrag);
    else
        addAcquisitions(line.habenKnt, -line.habenBetrag);
    addByChart(line);
    if (!line.ustKnt.isEmpty())
        m_vatBalance += (line.ustHaben - line.ustSoll).units();
}

void U30Return::addMapped(const QString& knr, int number, Money debit, Money credit) {
    const Kennzahl* k = findKennzahl(number);
    const Money movement = k->isSupply() ? credit - debit : debit - credit;
    int rate = 0;
    if (k->kind == K::ReverseChargeReceived) {
        const U30Account account = m_accounts.value(knr);
        rate = account.hasUstP ? account.ustP : DefaultReverseChargeRate;
    }
    m_buckets[std::size_t(number)].add(knr, movement, rate);
}

void U30Return::addAcquisitions(const QString& knr, Money amount) {
    if (!Acquisitions::isAcquisitionAccount(knr))
        return;
    if (knr.contains(QLatin1String("*E20")))
        m_buckets[72].add(knr, amount);
    if (knr.contains(QLatin1String("*E10")))
        m_buckets[73].add(knr, amount);
    if (knr.contains(QLatin1String("*E13")))
        m_buckets[8].add(knr, amount);
    if (knr.contains(QLatin1String("*EX")))
        m_rateXBucket.add(knr, amount);
}

// The income or expense account of the line, as posting chooses it, by the rules of the chart.
void U30Return::addByChart(const PostingLine& line) {
    const auto kind = [this](const QString& knr) {
        return data::AccountKind::parse(m_accounts.value(knr).typ);
    };
    QString account = line.sollKnt;
    data::AccountKind type = kind(line.sollKnt);
    if (!type.isIncomeOrExpense()) {
        account = line.habenKnt;
        type = kind(line.habenKnt);
    }
    if (!type.isIncomeOrExpense() || m_mapping.contains(account))
        return;
    if (type.isIncome()) {
        Money net;
        if (line.habenKnt == account)
            net += line.habenBetrag;
        if (line.sollKnt == account)
            net -= line.sollBetrag;
        switch (line.ustP) {
        case 20:
            m_buckets[22].add(account, net);
            break;
        case 10:
            m_buckets[29].add(account, net);
            break;
        case 13:
            m_buckets[6].add(account, net);
            break;
        default:
            m_notReported.add(account, net);
            break;
        }
    } else if (!Acquisitions::isAcquisitionAccount(line.sollKnt) &&
               !Acquisitions::isAcquisitionAccount(line.habenKnt)) {
        m_buckets[InputTaxField].add(account, line.ustSoll - line.ustHaben);
    }
}

U30Figures U30Return::finish() const {
    const auto toMoney = [](Wide units, const QString& figure) {
        if (units > std::numeric_limits<std::int64_t>::max() ||
            units < std::numeric_limits<std::int64_t>::min())
            refuseOutOfRange(figure);
        return Money::fromUnits(std::int64_t(units));
    };
    const auto taxOf = [](Money base, int percent, const QString& figure) {
        try {
            return percentToCent(base, percent);
        } catch (const MoneyOverflow&) {
            refuseOutOfRange(QStringLiteral("Steuer zur ") + figure);
        }
    };

    Bucket rateX = m_rateXBucket;
    if (rateX.sum != 0 && m_rateX != AcquisitionRateX)
        throw U30Refusal(
            QStringLiteral("UVA-Export nicht möglich: Erwerbe auf \"*EX\"-Konten werden mit 13 Prozent "
                           "gemeldet, der Satz X (IGprozent) ist aber %1 Prozent.")
                .arg(m_rateX));

    std::map<int, U30Field> byNumber;
    Bucket supplies;     // what KZ000 sums
    Bucket acquisitions; // what KZ070 sums
    Wide owed = 0;       // tax the business owes
    Wide deductible = 0; // input tax
    const auto merge = [](Bucket& into, const Bucket& from) {
        into.sum += from.sum;
        for (auto it = from.byAccount.cbegin(); it != from.byAccount.cend(); ++it)
            into.byAccount[it.key()] += it.value();
    };
    for (const Kennzahl& k : kennzahlen()) {
        Bucket bucket = m_buckets[std::size_t(k.number)];
        if (k.number == 8)
            merge(bucket, rateX);
        U30Field field{&k, {}, {}, {}, bucket.accounts()};
        switch (k.kind) {
        case K::TaxFree:
        case K::ReverseChargeSupplied:
        case K::Taxed:
        case K::TaxFreeAcquisition:
        case K::Acquisition:
            field.base = toMoney(bucket.sum, k.name());
            field.tax = k.percent ? taxOf(field.base, k.percent, k.name()) : Money();
            field.value = field.base;
            merge(k.isSupply() ? supplies : acquisitions, bucket);
            owed += field.tax.units();
            break;
        case K::ReverseChargeReceived: {
            Wide tax = 0;
            for (const auto& [rate, base] : bucket.byRate)
                tax += taxOf(toMoney(base, k.name()), rate, k.name()).units();
            field.base = toMoney(bucket.sum, k.name());
            field.tax = field.value = toMoney(tax, k.name());
            owed += tax;
            break;
        }
        case K::InputTax:
        case K::SuppliesTotal:
        case K::AcquisitionsTotal:
            break;
        }
        byNumber.emplace(k.number, field);
    }

    // The totals and the input taxes that follow from the fields above.
    const auto total = [&](int number, const Bucket& parts) {
        U30Field& field = byNumber.at(number);
        field.base = field.value = toMoney(parts.sum, field.kennzahl->name());
        field.accounts = parts.accounts();
    };
    total(0, supplies);
    total(70, acquisitions);
    const auto inputTax = [&](int number, Wide amount, const QStringList& accounts) {
        U30Field& field = byNumber.at(number);
        field.tax = field.value = toMoney(amount, field.kennzahl->name());
        field.accounts = accounts;
        deductible += amount;
    };
    inputTax(InputTaxField, m_buckets[InputTaxField].sum, m_buckets[InputTaxField].accounts());
    Wide acquisitionTax = 0;
    QStringList acquisitionAccounts;
    for (const Kennzahl& k : kennzahlen()) {
        const U30Field& field = byNumber.at(k.number);
        if (k.kind == K::Acquisition) {
            acquisitionTax += field.tax.units();
            acquisitionAccounts += field.accounts;
        } else if (k.kind == K::ReverseChargeReceived) {
            inputTax(k.inputTax, field.tax.units(), field.accounts);
        }
    }
    acquisitionAccounts.removeDuplicates();
    acquisitionAccounts.sort();
    inputTax(65, acquisitionTax, acquisitionAccounts);

    U30Figures figures;
    // The parts first, so that a refusal names the field the accounts feed directly.
    for (const bool totals : {false, true})
        for (const Kennzahl& k : kennzahlen()) {
            const U30Field& field = byNumber.at(k.number);
            const bool isTotal = k.kind == K::SuppliesTotal || k.kind == K::AcquisitionsTotal;
            if (isTotal != totals || !field.value.isNegative())
                continue;
            throw U30Refusal(
                QStringLiteral("UVA-Export nicht möglich: %1 wäre negativ (%2 aus %3). Das Formular nimmt in "
                               "diesem Feld keinen negativen Betrag an.")
                    .arg(k.name(), amount(field.value),
                         field.accounts.isEmpty() ? QStringLiteral("keinem Konto")
                                                  : (field.accounts.size() == 1 ? QStringLiteral("Konto ")
                                                                                : QStringLiteral("Konten ")) +
                                                        field.accounts.join(QStringLiteral(", "))));
        }
    for (const Kennzahl& k : kennzahlen()) {
        const U30Field& field = byNumber.at(k.number);
        if (k.number == 0 || !field.value.isZero())
            figures.fields.append(field);
    }
    figures.payable = toMoney(owed - deductible, QStringLiteral("Zahllast"));
    figures.vatBalance = toMoney(m_vatBalance, QStringLiteral("Saldo der UST-Konten"));
    figures.notReported = toMoney(m_notReported.sum, QStringLiteral("nicht gemeldete Umsätze"));
    figures.notReportedAccounts = m_notReported.accounts();
    return figures;
}

} // namespace kontaro::reports
