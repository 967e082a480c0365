#pragma once

#include <QString>

namespace kontaro::data {
class Session;
}

namespace kontaro::years {

// Why an archive table of the data directory cannot be a table file: a folder (or anything else
// that is no file) stands in its place. Empty when there is none.
QString archiveTableInTheWay(const data::Session& session, const QString& fileName);

} // namespace kontaro::years
