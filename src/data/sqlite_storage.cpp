#include "data/sqlite_storage.h"

#include "base/errors.h"

#include <QDate>
#include <QDir>
#include <QHash>
#include <QStringList>
#include <algorithm>
#include <sqlite3.h>

namespace kontaro::data {

namespace {

QString sqlType(FieldType type) {
    switch (type) {
    case FieldType::Text:
    case FieldType::Date:
        return QStringLiteral("TEXT");
    case FieldType::Float:
        return QStringLiteral("REAL");
    default:
        return QStringLiteral("INTEGER");
    }
}

// The affinity SQLite gives a column of this declared type.
QString affinity(const QString& declared) {
    const QString type = declared.toUpper();
    if (type.contains(QLatin1String("INT")))
        return QStringLiteral("INTEGER");
    if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) ||
        type.contains(QLatin1String("TEXT")))
        return QStringLiteral("TEXT");
    if (type.isEmpty() || type.contains(QLatin1String("BLOB")))
        return QStringLiteral("BLOB");
    if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA")) ||
        type.contains(QLatin1String("DOUB")))
        return QStringLiteral("REAL");
    return QStringLiteral("NUMERIC");
}

// "YYYY-MM-DD" without building a QString first; anything else goes the long way.
QDate parseIsoDate(std::string_view text) {
    const auto digits = [&](std::size_t from, std::size_t count) {
        int n = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            n = n * 10 + (text[i] - '0');
        }
        return n;
    };
    if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        const int year = digits(0, 4);
        const int month = digits(5, 2);
        const int day = digits(8, 2);
        if (year >= 0 && month >= 0 && day >= 0)
            return QDate(year, month, day);
    }
    return QDate::fromString(QString::fromUtf8(text.data(), qsizetype(text.size())), Qt::ISODate);
}

} // namespace

SqliteStorage::SqliteStorage(SqliteDb& db, QString schema, QString filePath, const TableLayout& layout)
    : m_db(db)
    , m_schema(std::move(schema))
    , m_file(std::move(filePath))
    , m_layout(layout) {}

SqliteStorage::~SqliteStorage() = default;

void SqliteStorage::createFile(const QString& filePath, const TableLayout& layout) {
    QStringList columns{QStringLiteral("id INTEGER PRIMARY KEY")};
    if (layout.hasPosition)
        columns << QStringLiteral("pos INTEGER NOT NULL");
    for (const FieldDef& f : layout.fields)
        columns << quoteName(f.name) + QLatin1Char(' ') + sqlType(f.type);
    SqliteDb db(filePath);
    db.execute(QStringLiteral(
                   "PRAGMA journal_mode=DELETE; BEGIN; CREATE TABLE %1 (%2); PRAGMA user_version=%3; COMMIT")
                   .arg(quoteName(layout.tableName), columns.join(QStringLiteral(", ")))
                   .arg(SchemaVersion),
               filePath);
}

QString SqliteStorage::qualified() const {
    return quoteName(m_schema) + QLatin1Char('.') + quoteName(m_layout.tableName);
}

QString SqliteStorage::columnList() const {
    QStringList names;
    for (const FieldDef& f : m_layout.fields)
        names << quoteName(f.name);
    return names.join(QStringLiteral(", "));
}

SqliteStatement& SqliteStorage::cached(std::unique_ptr<SqliteStatement>& slot,
                                       const std::function<QString()>& sql) {
    if (!slot)
        slot = std::make_unique<SqliteStatement>(m_db, sql(), m_file);
    return *slot;
}

void SqliteStorage::bindValues(SqliteStatement& st, const RowRecord& row, int first) const {
    for (int i = 0; i < m_layout.fields.size(); ++i) {
        const FieldValue& v = row.values[std::size_t(i)];
        const int at = first + i;
        if (isNullValue(v))
            st.bindNull(at);
        else if (m_layout.fields[i].type == FieldType::Date)
            st.bind(at, QDate::fromJulianDay(std::get<std::int64_t>(v)).toString(Qt::ISODate));
        else if (const auto* n = std::get_if<std::int64_t>(&v))
            st.bind(at, *n);
        else if (const auto* d = std::get_if<double>(&v))
            st.bind(at, *d);
        else
            st.bind(at, std::get<QString>(v));
    }
}

// Every field of the layout (and the hidden columns) must be there with a type of the same
// affinity; columns the program does not know are left alone.
void SqliteStorage::checkColumns() {
    SqliteStatement info(
        m_db,
        QStringLiteral("PRAGMA %1.table_info(%2)").arg(quoteName(m_schema), quoteName(m_layout.tableName)),
        m_file);
    QHash<QString, QString> declared; // folded column name -> declared type
    while (info.step())
        declared.insert(info.columnText(1).toCaseFolded(), info.columnText(2));
    const auto require = [&](const QString& name, const QString& expected) {
        const auto found = declared.constFind(name.toCaseFolded());
        if (found == declared.constEnd())
            refuseTableLayout(m_file, name);
        if (affinity(*found) != expected)
            refuseTableLayout(m_file, name, found->isEmpty() ? affinity(*found) : found->toUpper(), expected);
    };
    require(QStringLiteral("id"), QStringLiteral("INTEGER"));
    if (m_layout.hasPosition)
        require(QStringLiteral("pos"), QStringLiteral("INTEGER"));
    for (const FieldDef& f : m_layout.fields)
        require(f.name, sqlType(f.type));
}

// The fields of a result row, from column `first` on, straight onto the ends of their typed
// columns; returns the row's slot.
std::uint32_t SqliteStorage::loadRow(SqliteStatement& st, int first, ColumnStore& columns) const {
    for (int i = 0; i < m_layout.fields.size(); ++i) {
        const SqliteColumnValue value = st.columnValue(first + i);
        if (value.isNull()) {
            columns.pushNull(i);
            continue;
        }
        switch (m_layout.fields[i].type) {
        case FieldType::Text:
            columns.pushTextUtf8(i, value.utf8());
            break;
        case FieldType::Date:
            if (const QDate date = parseIsoDate(value.utf8()); date.isValid())
                columns.pushInteger(i, date.toJulianDay());
            else
                columns.pushNull(i);
            break;
        case FieldType::Float:
            columns.pushReal(i, value.real());
            break;
        default:
            columns.pushInteger(i, value.integer());
        }
    }
    return columns.endRow();
}

void SqliteStorage::checkReadable() {
    SqliteStatement version(m_db, QStringLiteral("PRAGMA %1.user_version").arg(quoteName(m_schema)), m_file);
    version.step();
    if (version.columnInt(0) > SchemaVersion)
        throw FileError(QStringLiteral("Die Tabelle \"%1\" stammt von einer neueren Programmversion.")
                            .arg(QDir::toNativeSeparators(m_file)));
    checkColumns();
}

QString SqliteStorage::selectAll() const {
    const QString pos = m_layout.hasPosition ? QStringLiteral("pos") : QStringLiteral("id");
    return QStringLiteral("SELECT id, %1, %2 FROM %3").arg(pos, columnList(), qualified());
}

void SqliteStorage::loadRows(SqliteStatement& st, ColumnStore& columns, std::vector<Row>& rows) {
    while (st.step()) {
        Row& row = rows.emplace_back();
        row.id = st.columnInt(0);
        row.pos = st.columnInt(1);
        row.slot = loadRow(st, 2, columns); // after id and position
    }
}

std::optional<std::pair<std::int64_t, std::int64_t>> SqliteStorage::idBounds() {
    // Each bound on its own: SQLite answers a lone min() or max() of the row id from the b-tree's
    // ends, both together by reading the whole table.
    SqliteStatement bounds(
        m_db, QStringLiteral("SELECT (SELECT min(id) FROM %1), (SELECT max(id) FROM %1)").arg(qualified()),
        m_file);
    if (!bounds.step() || bounds.isNull(0))
        return std::nullopt;
    return std::pair(bounds.columnInt(0), bounds.columnInt(1));
}

std::vector<Row> SqliteStorage::load(ColumnStore& columns) {
    checkReadable();
    SqliteStatement st(m_db, selectAll(), m_file);
    const auto bounds = idBounds();
    const std::int64_t expected = bounds ? bounds->second - bounds->first + 1 : 0;
    const auto reserve = std::size_t(std::clamp<std::int64_t>(expected, 0, 1 << 22));
    std::vector<Row> rows;
    rows.reserve(reserve);
    columns.reserve(reserve);
    loadRows(st, columns, rows);
    return rows;
}

void SqliteStorage::appendIds(ColumnStore& columns, std::vector<Row>& rows, std::int64_t first,
                              std::int64_t last) {
    SqliteStatement& st = cached(m_idRange, [this] {
        return selectAll() + QStringLiteral(" WHERE id BETWEEN ?1 AND ?2 ORDER BY id");
    });
    st.bind(1, first);
    st.bind(2, last);
    loadRows(st, columns, rows);
    st.reset();
}

std::int64_t SqliteStorage::insert(const RowRecord& row) {
    // ?1 is the natural-order position; tables without one leave it unused.
    SqliteStatement& st = cached(m_insert, [this] {
        QStringList marks;
        for (int i = 0; i < m_layout.fields.size(); ++i)
            marks << QStringLiteral("?%1").arg(i + 2);
        return QStringLiteral("INSERT INTO %1 (%2%3) VALUES (%4%5)")
            .arg(qualified(), m_layout.hasPosition ? QStringLiteral("pos, ") : QString(), columnList(),
                 m_layout.hasPosition ? QStringLiteral("?1, ") : QString(), marks.join(QStringLiteral(", ")));
    });
    st.bind(1, row.pos);
    bindValues(st, row, 2);
    st.execute();
    return m_db.lastInsertId();
}

void SqliteStorage::update(const RowRecord& row) {
    SqliteStatement& st = cached(m_update, [this] {
        QStringList sets;
        for (int i = 0; i < m_layout.fields.size(); ++i)
            sets << QStringLiteral("%1 = ?%2").arg(quoteName(m_layout.fields[i].name)).arg(i + 2);
        return QStringLiteral("UPDATE %1 SET %2 WHERE id = ?1")
            .arg(qualified(), sets.join(QStringLiteral(", ")));
    });
    st.bind(1, row.id);
    bindValues(st, row, 2);
    st.execute();
}

void SqliteStorage::remove(const Row& row) {
    SqliteStatement& st =
        cached(m_delete, [this] { return QStringLiteral("DELETE FROM %1 WHERE id = ?1").arg(qualified()); });
    st.bind(1, row.id);
    st.execute();
}

void SqliteStorage::clear() {
    m_db.execute(QStringLiteral("DELETE FROM %1").arg(qualified()), m_file);
}

void SqliteStorage::writePositions(const std::vector<const Row*>& rows) {
    SqliteStatement st(m_db, QStringLiteral("UPDATE %1 SET pos = ?1 WHERE id = ?2").arg(qualified()), m_file);
    for (const Row* row : rows) {
        st.bind(1, row->pos);
        st.bind(2, row->id);
        st.execute();
    }
}

bool SqliteStorage::reread(RowRecord& row) {
    SqliteStatement st(m_db, QStringLiteral("SELECT %1 FROM %2 WHERE id = ?1").arg(columnList(), qualified()),
                       m_file);
    st.bind(1, row.id);
    if (!st.step())
        return false;
    // Read as a load reads, into a store of one row.
    ColumnStore one(m_layout);
    const std::uint32_t slot = loadRow(st, 0, one);
    row.values = one.values(slot);
    return true;
}

} // namespace kontaro::data
