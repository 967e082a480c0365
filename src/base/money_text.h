#pragma once

#include "base/money.h"

#include <QString>

namespace kontaro {

// Money as text, one function per format. Each name says what the text looks like.

// "1.234,56": the format settings' separators with thousands groups, two decimals (as "%n").
QString moneyGroupedText(Money amount);
// "1234,56": the format settings' decimal separator, two decimals, no groups (as "%.2f").
QString moneyTwoDecimalsText(Money amount);
// "1234,56", or "1234,5678" when the amount has digits below the cent: every stored digit, a comma,
// no groups, whatever the settings say. For messages that compare amounts exactly.
QString moneyExactCommaText(Money amount);
// "1234.56": rounded to the cent (a half cent to the even cent), a point, no groups. For files that
// machines read.
QString moneyPointCentsText(Money amount);

} // namespace kontaro
