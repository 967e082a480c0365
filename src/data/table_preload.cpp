#include "data/table_preload.h"

#include "data/sqlite_db.h"
#include "data/sqlite_storage.h"

namespace kontaro::data {

namespace {

// Below this many rows a second thread costs more than it saves.
constexpr std::int64_t SplitFrom = 20000;

struct IdRange {
    std::int64_t first = 0;
    std::int64_t last = -1;
};

// The ids the table's rows run over; nullopt when the file cannot be read (the usual load meets
// and reports that) or the table is empty.
std::optional<IdRange> idRange(const QString& path, const TableLayout& layout) {
    try {
        SqliteDb db(path);
        if (const auto bounds = SqliteStorage(db, QStringLiteral("main"), path, layout).idBounds())
            return IdRange{bounds->first, bounds->second};
    } catch (...) {
    }
    return std::nullopt;
}

std::future<std::optional<LoadedTable>> readPart(const QString& path, const TableLayout& layout,
                                                 std::optional<IdRange> part, std::int64_t reserveRows) {
    return std::async(std::launch::async, [path, &layout, part, reserveRows]() -> std::optional<LoadedTable> {
        try {
            SqliteDb db(path);
            SqliteStorage storage(db, QStringLiteral("main"), path, layout);
            ColumnStore columns(layout);
            std::vector<Row> rows =
                part ? storage.loadIds(columns, part->first, part->last, std::size_t(reserveRows))
                     : storage.load(columns);
            return LoadedTable{std::move(columns), std::move(rows)};
        } catch (...) {
            // Whatever went wrong, the usual load meets it again and reports it.
            return std::nullopt;
        }
    });
}

} // namespace

TablePreload::TablePreload(const QString& path, const TableLayout& layout) {
    const std::optional<IdRange> ids = idRange(path, layout);
    if (!ids || ids->last - ids->first + 1 < SplitFrom) {
        m_parts.push_back(readPart(path, layout, std::nullopt, 0));
        return;
    }
    // The first half is read into a store sized for the whole table, which takes the second.
    const std::int64_t middle = ids->first + (ids->last - ids->first) / 2;
    m_parts.push_back(readPart(path, layout, IdRange{ids->first, middle}, ids->last - ids->first + 1));
    m_parts.push_back(readPart(path, layout, IdRange{middle + 1, ids->last}, ids->last - middle));
}

TablePreload::~TablePreload() {
    for (auto& part : m_parts)
        if (part.valid())
            part.wait();
}

std::optional<LoadedTable> TablePreload::take() {
    std::optional<LoadedTable> whole;
    bool complete = !m_parts.empty();
    for (auto& part : m_parts) {
        std::optional<LoadedTable> read = part.valid() ? part.get() : std::nullopt;
        complete = complete && read.has_value();
        if (!complete)
            continue; // still waits for the other parts to end
        if (!whole) {
            whole = std::move(read);
            continue;
        }
        const std::uint32_t first = whole->columns.append(std::move(read->columns));
        for (Row& row : read->rows)
            row.slot += first;
        whole->rows.insert(whole->rows.end(), read->rows.begin(), read->rows.end());
    }
    m_parts.clear();
    return complete ? std::move(whole) : std::nullopt;
}

} // namespace kontaro::data
