#include "data/table_preload.h"

#include "data/sqlite_db.h"
#include "data/sqlite_storage.h"

#include <algorithm>

namespace kontaro::data {

namespace {

// Below this many rows a second thread costs more than it saves.
constexpr std::int64_t SplitFrom = 20000;
// Blocks per table: the two readers end at most a block apart.
constexpr std::int64_t Blocks = 64;

// The smallest and the largest id; nullopt when the file cannot be read (the usual load meets
// and reports that) or the table is empty.
std::optional<std::pair<std::int64_t, std::int64_t>> idBounds(const QString& path,
                                                              const TableLayout& layout) {
    try {
        SqliteDb db(path);
        return SqliteStorage(db, QStringLiteral("main"), path, layout).idBounds();
    } catch (...) {
        return std::nullopt;
    }
}

} // namespace

TablePreload::TablePreload(const QString& path, const TableLayout& layout)
    : m_path(path)
    , m_layout(layout) {
    if (const auto bounds = idBounds(path, layout)) {
        m_firstId = bounds->first;
        m_rows = bounds->second - bounds->first + 1;
    }
    const bool split = m_rows >= SplitFrom;
    m_blockRows = split ? (m_rows + Blocks - 1) / Blocks : std::max<std::int64_t>(m_rows, 1);
    m_nextBack = m_rows > 0 ? (m_rows - 1) / m_blockRows : 0;
    m_front = std::async(std::launch::async, [this] { return readFrom(End::Front); });
    if (split)
        m_back = std::async(std::launch::async, [this] { return readFrom(End::Back); });
}

TablePreload::~TablePreload() {
    for (auto* reader : {&m_front, &m_back})
        if (reader->valid())
            reader->wait();
}

std::optional<std::pair<std::int64_t, std::int64_t>> TablePreload::nextBlock(End end) {
    const std::lock_guard lock(m_blocks);
    if (m_nextFront > m_nextBack)
        return std::nullopt;
    const std::int64_t block = end == End::Front ? m_nextFront++ : m_nextBack--;
    const std::int64_t first = m_firstId + block * m_blockRows;
    return std::pair(first, std::min(first + m_blockRows, m_firstId + m_rows) - 1);
}

std::optional<TablePreload::Read> TablePreload::readFrom(End end) {
    try {
        SqliteDb db(m_path);
        SqliteStorage storage(db, QStringLiteral("main"), m_path, m_layout);
        if (m_rows == 0) { // empty, or the bounds could not be read: the usual load
            ColumnStore columns(m_layout);
            std::vector<Row> rows = storage.load(columns);
            return Read{LoadedTable{std::move(columns), std::move(rows)}, {}};
        }
        storage.checkReadable();
        // The front's store is sized for the whole table, which takes the back's rows.
        const auto reserve =
            std::size_t(std::min<std::int64_t>(end == End::Front ? m_rows : m_rows / 2, 1 << 22));
        Read read{LoadedTable{ColumnStore(m_layout), {}}, {}};
        read.table.columns.reserve(reserve);
        read.table.rows.reserve(reserve);
        while (const auto block = nextBlock(end)) {
            const auto begin = std::uint32_t(read.table.rows.size());
            storage.appendIds(read.table.columns, read.table.rows, block->first, block->second);
            read.blocks.emplace_back(begin, std::uint32_t(read.table.rows.size()));
        }
        return read;
    } catch (...) {
        // Whatever went wrong, the usual load meets it again and reports it.
        return std::nullopt;
    }
}

std::optional<LoadedTable> TablePreload::take() {
    std::optional<Read> front = m_front.valid() ? m_front.get() : std::nullopt;
    if (!m_back.valid())
        return front ? std::optional<LoadedTable>(std::move(front->table)) : std::nullopt;
    std::optional<Read> back = m_back.get();
    if (!front || !back)
        return std::nullopt;
    // The back's blocks were read last block first: turned round, they follow the front.
    std::vector<ColumnStore::SlotRange> blocks(back->blocks.rbegin(), back->blocks.rend());
    LoadedTable& whole = front->table;
    std::uint32_t slot = whole.columns.append(std::move(back->table.columns), blocks);
    whole.rows.reserve(whole.rows.size() + back->table.rows.size());
    for (const auto& [begin, end] : blocks)
        for (std::uint32_t i = begin; i < end; ++i)
            whole.rows.push_back({back->table.rows[i].id, back->table.rows[i].pos, slot++});
    return std::move(whole);
}

} // namespace kontaro::data
