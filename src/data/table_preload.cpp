#include "data/table_preload.h"

#include "data/sqlite_db.h"
#include "data/sqlite_storage.h"

namespace kontaro::data {

TablePreload::TablePreload(const QString& path, const TableLayout& layout)
    : m_result(std::async(std::launch::async, [path, &layout]() -> std::optional<LoadedTable> {
        try {
            SqliteDb db(path);
            SqliteStorage storage(db, QStringLiteral("main"), path, layout);
            ColumnStore columns(layout);
            std::vector<Row> rows = storage.load(columns);
            return LoadedTable{std::move(columns), std::move(rows)};
        } catch (...) {
            // Whatever went wrong, the usual load meets it again and reports it.
            return std::nullopt;
        }
    })) {}

TablePreload::~TablePreload() {
    if (m_result.valid())
        m_result.wait();
}

std::optional<LoadedTable> TablePreload::take() {
    return m_result.valid() ? m_result.get() : std::nullopt;
}

} // namespace kontaro::data
