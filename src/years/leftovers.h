#pragma once

#include <QString>

namespace kontaro::years {

// Removes what a run that ended abruptly left behind: this program's temporary files in the data
// directory (a partial report or ledger export among them) and, beside it, the hidden folders of
// new years that were not finished, after taking back a replacement of a year one of them
// interrupted. Runs while the data directory is locked, so no temporary file of it is in use; a
// new year another program is still building is left alone.
void removeLeftovers(const QString& dataDirectory);

} // namespace kontaro::years
