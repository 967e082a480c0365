#pragma once

#include <QString>

namespace kontaro::forms {

// The heading a grid shows above a column of a table field: words where the field name is an
// abbreviation ("GKnt" -> "Gegenkonto"), else the field name. Case does not matter (the archive
// tables spell their fields in capitals).
QString columnHeading(const QString& field);

} // namespace kontaro::forms
