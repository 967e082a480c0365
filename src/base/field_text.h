#pragma once

#include "base/money.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>

namespace kontaro {

// The texts table fields show and hand over. An empty (null) field gives an empty text. Money shows
// what the field holds: the amount cut toward zero to cents, never rounded. Separators and the
// date format come from FormatSettings.

// Edit form "#.00": no thousands separator, no zero before the decimal separator
// (0 -> ",00", 0,5 -> ",50", -0,5 -> "-,50", 1234,5 -> "1234,50").
QString moneyEditText(std::optional<Money> amount);

// Display form "#,##0.00": 1.234,56; 0,00; -1.234,56.
QString moneyDisplayText(std::optional<Money> amount);

// The text cut to at most `width` UTF-16 units at a character boundary: a character outside the
// Basic Multilingual Plane (an emoji, two units) is kept whole or left out, never halved.
QString cutText(const QString& text, qsizetype width);

// The text without control characters (tab, escape, CR, LF, ...): they are not text in a field or
// an answer. A memo keeps its line breaks with `keepLineBreaks`.
QString withoutControlCharacters(QString text, bool keepLineBreaks = false);

// The short date form; a null date is an empty field.
QString dateFieldText(const QDate& date);

// Plain decimal digits with a minus sign for negatives.
QString integerFieldText(std::optional<std::int64_t> value);

// Reads money typed into a field with the current separators (see Money::parse). The caller stores
// the result, which cuts it to cents.
std::optional<Money> parseMoneyText(const QString& text);

} // namespace kontaro
