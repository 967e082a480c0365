#include "posting/vat_closing.h"

#include "base/date.h"
#include "base/format.h"

#include <map>
#include <set>

namespace kontaro::posting {

namespace {

const QString Indent(16, QLatin1Char(' '));

// A VAT account's rate: the one `UstP` of every account that names it as `UstKnt`, 0 when they
// disagree or when no account names it.
struct ChartRates {
    std::map<QString, std::optional<std::int64_t>> byUstKnt;
    int errors = 0;

    std::int64_t rateOf(const QString& ustKnt) const {
        const auto it = byUstKnt.find(ustKnt);
        return it == byUstKnt.end() ? 0 : it->second.value_or(0);
    }
};

ChartRates readRates(const std::vector<VatChartAccount>& chart) {
    ChartRates rates;
    std::map<QString, std::set<std::int64_t>> seen;
    for (const VatChartAccount& account : chart) {
        if (!account.ustKnt.isEmpty())
            seen[account.ustKnt].insert(account.ustP);
        bool isNumber = false;
        const int named = account.ustKnt.mid(3, 2).toInt(&isNumber);
        if (isNumber && named != account.ustP)
            ++rates.errors;
    }
    for (const auto& [ustKnt, values] : seen)
        rates.byUstKnt[ustKnt] = values.size() == 1 ? std::optional(*values.begin()) : std::nullopt;
    return rates;
}

// The first record in the chart's order, as a look-up by account number finds it.
const VatChartAccount* findAccount(const std::vector<VatChartAccount>& chart, const QString& knr,
                                   Qt::CaseSensitivity cs) {
    for (const VatChartAccount& account : chart)
        if (account.knr.compare(knr, cs) == 0)
            return &account;
    return nullptr;
}

QString amountText(Money amount) {
    return format(QStringLiteral("%n"), {amount});
}

// Output tax (a credit balance) goes from the VAT account to the target, input tax the other way.
VatClosing::Account closeAccount(const QString& listName, const VatChartAccount& account,
                                 const ChartRates& rates, const QString& target) {
    VatClosing::Account closing{listName, std::nullopt, {}};
    const std::int64_t rate = rates.rateOf(account.knr);
    const Money b = account.saldo;
    const bool outputTax = b.isNegative();
    const ClosingLine line =
        outputTax ? ClosingLine{account.knr, target, b.abs()} : ClosingLine{target, account.knr, b.abs()};
    if (rate != 0)
        closing.reportLine =
            Indent + listName + QStringLiteral(" = ") + generalNumber(b.toLongDouble() * 100 / rate) +
            (outputTax ? QStringLiteral("   -->    ") : QStringLiteral("    -+>    ")) + amountText(b);
    else
        closing.reportLine =
            Indent + listName + QStringLiteral(" =  . . . . . . . . . . ") + generalNumber(b.toLongDouble());
    closing.line = line;
    return closing;
}

} // namespace

VatClosing VatClosing::compute(const std::vector<VatChartAccount>& chart,
                               const VatClosingAccounts& settings) {
    VatClosing closing;
    for (const QString& knr : {settings.zahllast, settings.ueberschuss, settings.finanzamt})
        if (!findAccount(chart, knr, Qt::CaseSensitive)) {
            closing.refusal =
                QStringLiteral("Bitte Zahllast-, Überschuß- und Finanzamtkonto RICHTIG einrichten !");
            return closing;
        }

    // The VAT accounts as the chart spells them; the sum of their balances decides the target.
    std::vector<const VatChartAccount*> vatAccounts;
    for (const QString& v : settings.ustKonten) {
        const VatChartAccount* account = findAccount(chart, v, Qt::CaseInsensitive);
        if (!account)
            break;
        vatAccounts.push_back(account);
        closing.sum += account->saldo;
    }
    if (vatAccounts.empty() || vatAccounts.size() != std::size_t(settings.ustKonten.size())) {
        closing.refusal = QStringLiteral("Bitte UST-Konten im Fenster EINSTELLUNGEN richtig einrichten !");
        return closing;
    }
    const Money s = closing.sum;
    closing.target = s.isPositive() ? settings.ueberschuss : settings.zahllast;

    if (!settings.finanzamt.isEmpty() && s.isPositive()) {
        closing.taxOfficeReportLine = Indent + QStringLiteral("Überschuß    : ") + amountText(s);
        closing.taxOfficeLine = {settings.finanzamt, closing.target, s};
    } else {
        closing.taxOfficeReportLine = Indent + QStringLiteral("Vorauszahlung(-): ") + amountText(s);
        closing.taxOfficeLine = {closing.target, settings.finanzamt, s.abs()};
    }

    const ChartRates rates = readRates(chart);
    closing.rateErrors = rates.errors;
    for (qsizetype i = 0; i < settings.ustKonten.size(); ++i) {
        try {
            closing.accounts.push_back(
                closeAccount(settings.ustKonten[i], *vatAccounts[i], rates, closing.target));
        } catch (const MoneyOverflow&) {
            // This account fails alone; the others are closed.
            closing.accounts.push_back({settings.ustKonten[i], std::nullopt, {}});
        }
    }
    return closing;
}

QStringList VatClosing::reportLines(const ClosingHead& head, const QString& mandant) const {
    QStringList lines = {
        Indent + QStringLiteral("U M S A T Z S T E U E R   V O R A N M E L D U N G"),
        QString(),
        Indent + QStringLiteral("Mandant      : ") + mandant,
        Indent + QStringLiteral("Buchungstext : ") + head.buchtext,
        Indent + QStringLiteral("Belegnummer  : ") + head.beleg,
        Indent + QStringLiteral("Datum        : ") + formatDate(head.datum),
        QString(),
        taxOfficeReportLine,
        QString(),
    };
    for (const Account& account : accounts)
        if (account.line)
            lines << account.reportLine;
    return lines;
}

} // namespace kontaro::posting
