#pragma once

#include "data/table_layout.h"
#include "data/table_storage.h"

#include <QString>
#include <future>
#include <optional>

namespace kontaro::data {

// Reads a SQLite table file on a thread of its own, over a connection of its own, while the
// caller goes on loading other tables: the start-up reads its large tables side by side.
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
    std::future<std::optional<LoadedTable>> m_result;
};

} // namespace kontaro::data
