#pragma once

#include "data/column_store.h"
#include "data/table_layout.h"
#include "data/table_storage.h"

#include <QString>
#include <cstdint>
#include <future>
#include <mutex>
#include <optional>
#include <vector>

namespace kontaro::data {

// Reads a SQLite table file on threads of its own, over connections of their own, while the
// caller goes on loading other tables: the start-up reads its large tables side by side. A large
// table is read by two threads from both ends at once, block by block, until they meet: however
// the processors are shared out, both are done at about the same time. Taking the table joins
// what they read.
class TablePreload {
public:
    TablePreload(const QString& path, const TableLayout& layout);
    ~TablePreload();
    TablePreload(const TablePreload&) = delete;
    TablePreload& operator=(const TablePreload&) = delete;

    // Waits for the contents; nullopt when a read failed, so that the caller loads the table the
    // usual way and reports what is wrong with it.
    std::optional<LoadedTable> take();

private:
    enum class End { Front, Back };
    // The ids of the next block from that end; nullopt once the two ends have met.
    std::optional<std::pair<std::int64_t, std::int64_t>> nextBlock(End end);
    // One reader's rows, with the slots each of its blocks took, in the order it read them.
    struct Read {
        LoadedTable table;
        std::vector<ColumnStore::SlotRange> blocks;
    };
    std::optional<Read> readFrom(End end);

    const QString m_path;
    const TableLayout& m_layout;
    std::int64_t m_firstId = 0;
    std::int64_t m_rows = 0; // the id span
    std::int64_t m_blockRows = 0;
    std::mutex m_blocks;
    std::int64_t m_nextFront = 0; // block numbers still to read: [m_nextFront, m_nextBack]
    std::int64_t m_nextBack = -1;
    std::future<std::optional<Read>> m_front;
    std::future<std::optional<Read>> m_back;
};

} // namespace kontaro::data
