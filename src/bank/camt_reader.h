#pragma once

#include "bank/camt_statement.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace kontaro::bank {

// Reads a bank-to-customer statement (camt.053.001.02 and every later version; the namespace
// decides, elements are read by local name). A file that is not such a statement (camt.052,
// camt.054, another XML, no XML at all), that is not well-formed, that declares entities, or that
// holds a malformed amount or date throws UserError with a German message naming `fileName` and,
// where one is to blame, the statement and entry. Nothing is returned half read.
CamtDocument readCamt(const QByteArray& xml, const QString& fileName);

// An ISO 20022 amount ("1234.5", at most four decimals that are not zero); nullopt when malformed.
std::optional<Money> parseIsoAmount(const QString& text);

} // namespace kontaro::bank
