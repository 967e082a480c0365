#pragma once

#include "data/table_layout.h"
#include "data/table_storage.h"

#include <QString>
#include <future>
#include <optional>
#include <vector>

namespace kontaro::data {

// Reads a SQLite table file on threads of its own, over connections of their own, while the
// caller goes on loading other tables: the start-up reads its large tables side by side. A large
// table is read in two halves at once, which are joined when the caller takes it.
class TablePreload {
public:
    TablePreload(const QString& path, const TableLayout& layout);
    ~TablePreload();
    TablePreload(const TablePreload&) = delete;
    TablePreload& operator=(const TablePreload&) = delete;

    // Waits for the contents; nullopt when the read failed, so that the caller loads the table the
    // usual way and reports what is wrong with it.
    std::optional<LoadedTable> take();

private:
    std::vector<std::future<std::optional<LoadedTable>>> m_parts;
};

} // namespace kontaro::data
