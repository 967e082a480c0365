#pragma once

#include <QString>
#include <QStringList>

namespace kontaro::data {

// Builds books for tests and scenarios from a few lines of text, in a new directory:
//   ini SECTION KEY=VALUE
//   konto KNR TYP ["Name"] [Field=Value ...]        an account record
//   zeile MARK [Field=Value ...]                    a journal line; MARK is ~ = # * or - (empty)
//   hauptbuch Field=Value ...                       a ledger line
//   ohne FILE                                       removes a table file after building
// Values with blanks are quoted. Bad lines throw UserError.
void buildBooks(const QString& directory, const QStringList& lines);

} // namespace kontaro::data
