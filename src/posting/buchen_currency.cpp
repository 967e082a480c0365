// The currency buttons: the credit amount multiplied or divided by the rate of the settings window,
// with the original amounts kept in front of the posting text and the old amount kept for "=".
#include "base/errors.h"
#include "base/format.h"
#include "base/money_text.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "posting/t_buchen.h"

namespace kontaro::posting {

namespace {

using namespace data::fields;

// A rate as an exact fraction: "13,7603" is 137603 / 10000.
struct Rate {
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;
};

std::optional<Rate> parseRate(const QString& text) {
    QString digits = text.trimmed();
    bool negative = false;
    if (digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+'))) {
        negative = digits.startsWith(QLatin1Char('-'));
        digits.remove(0, 1);
    }
    const qsizetype comma = digits.indexOf(QLatin1Char(','));
    const qsizetype decimals = comma < 0 ? 0 : digits.size() - comma - 1;
    if (comma >= 0)
        digits.remove(comma, 1);
    // Up to 18 digits fit a 64-bit integer; a rate needs far fewer.
    if (digits.isEmpty() || digits.size() > 18 || decimals > 9)
        return std::nullopt;
    Rate rate;
    for (const QChar c : digits) {
        if (!c.isDigit())
            return std::nullopt;
        rate.numerator = rate.numerator * 10 + c.digitValue();
    }
    for (qsizetype i = 0; i < decimals; ++i)
        rate.denominator *= 10;
    if (negative)
        rate.numerator = -rate.numerator;
    return rate;
}

} // namespace

void T_Buchen::convertCurrency(bool multiply) {
    // The rate is read first: a rate that is no number changes nothing.
    const QString rateText = m_windows.liveSettings().euroKurs();
    const std::optional<Rate> rate = parseRate(rateText);
    if (!rate || (!multiply && rate->numerator == 0))
        throw UserError(QStringLiteral("\"%1\" ist kein gültiger Kurs.").arg(rateText));

    editLine();
    data::Cursor& j = *m_j;
    if (m_euroAlt != 0) {
        j.setMoney(HabenBetrag, Money::fromUnits(m_euroAlt));
    } else {
        const Money haben = j.asMoney(HabenBetrag);
        const Money soll = j.asMoney(SollBetrag);
        m_euroAlt = haben.units();
        const QString unit = multiply ? QStringLiteral("eu") : QStringLiteral("ös");
        m_originalBetrag = (soll != haben ? QLatin1Char('[') + moneyTwoDecimalsText(soll) + unit +
                                                moneyTwoDecimalsText(haben) + QLatin1Char(']')
                                          : QLatin1Char('[') + moneyTwoDecimalsText(haben) + QLatin1Char(']'))
                               .left(20);
        j.setText(QStringLiteral("Buchtext"),
                  m_originalBetrag + QLatin1Char(' ') + j.asText(QStringLiteral("Buchtext")));
    }
    // Four decimals as the rate gives them; the field keeps whole cents, cut.
    const Money haben = j.asMoney(HabenBetrag);
    j.setMoney(HabenBetrag, multiply ? haben.mulDiv(rate->numerator, rate->denominator, Rounding::HalfEven)
                                     : haben.mulDiv(rate->denominator, rate->numerator, Rounding::HalfEven));
    amountRule(false);
}

void T_Buchen::restoreEuroAlt() {
    if (m_euroAlt == 0)
        return;
    editLine();
    m_j->setMoney(HabenBetrag, Money::fromUnits(m_euroAlt));
    amountRule(false);
}

} // namespace kontaro::posting
