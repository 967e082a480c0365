#include "data/sqlite_db.h"

#include "base/errors.h"

#include <QDir>
#include <sqlite3.h>

namespace kontaro::data {

namespace {

QString describe(int code, const QString& file, const QString& detail) {
    const QString name = QDir::toNativeSeparators(file);
    switch (code & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return QStringLiteral("Die Tabelle \"%1\" ist beschädigt oder keine Tabelle dieses Programms.")
            .arg(name);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Die Tabelle \"%1\" ist von einem anderen Programm gesperrt.").arg(name);
    case SQLITE_FULL:
        return QStringLiteral("Die Tabelle \"%1\" kann nicht geschrieben werden: der Datenträger ist voll.")
            .arg(name);
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return QStringLiteral("Die Tabelle \"%1\" ist schreibgeschützt.").arg(name);
    case SQLITE_CANTOPEN:
        return QStringLiteral("Die Tabelle \"%1\" kann nicht geöffnet werden.").arg(name);
    case SQLITE_IOERR:
        return QStringLiteral("Lese- oder Schreibfehler in der Tabelle \"%1\".").arg(name);
    default:
        break;
    }
    // SQLite's own texts are English; the user gets a German sentence naming the file.
    if (detail.startsWith(QLatin1String("no such table")))
        return QStringLiteral("Die Tabelle \"%1\" enthält keine Daten dieses Programms.").arg(name);
    if (detail.startsWith(QLatin1String("no such column")) || detail.contains(QLatin1String("has no column")))
        return QStringLiteral("Der Tabelle \"%1\" fehlt ein Feld, das dieses Programm braucht.").arg(name);
    return QStringLiteral("Die Tabelle \"%1\" kann nicht gelesen oder geschrieben werden (SQLite-Fehler %2).")
        .arg(name)
        .arg(code);
}

} // namespace

QString quoteName(const QString& name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString quoteText(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

SqliteDb::SqliteDb(const QString& path)
    : m_path(path) {
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString detail = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
        sqlite3_close(m_db);
        m_db = nullptr;
        throw FileError(describe(rc, path, detail));
    }
    sqlite3_extended_result_codes(m_db, 1);
}

SqliteDb::~SqliteDb() {
    sqlite3_close_v2(m_db);
}

void SqliteDb::execute(const QString& sql, const QString& file) {
    char* error = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    sqlite3_free(error);
    if (rc != SQLITE_OK)
        fail(rc, file);
}

std::int64_t SqliteDb::lastInsertId() const {
    return sqlite3_last_insert_rowid(m_db);
}

void SqliteDb::setBusyTimeout(int milliseconds) {
    sqlite3_busy_timeout(m_db, milliseconds);
}

void SqliteDb::fail(int code, const QString& file) const {
    throw FileError(describe(code, file.isEmpty() ? m_path : file, QString::fromUtf8(sqlite3_errmsg(m_db))));
}

SqliteStatement::SqliteStatement(SqliteDb& db, const QString& sql, const QString& file)
    : m_db(db)
    , m_file(file) {
    const int rc = sqlite3_prepare_v2(db.handle(), sql.toUtf8().constData(), -1, &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        m_db.fail(rc, m_file);
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_stmt);
}

void SqliteStatement::bindNull(int index) {
    sqlite3_bind_null(m_stmt, index);
}

void SqliteStatement::bind(int index, std::int64_t value) {
    sqlite3_bind_int64(m_stmt, index, value);
}

void SqliteStatement::bind(int index, double value) {
    sqlite3_bind_double(m_stmt, index, value);
}

void SqliteStatement::bind(int index, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    m_db.fail(rc, m_file);
}

void SqliteStatement::execute() {
    step();
    reset();
}

void SqliteStatement::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

bool SqliteStatement::isNull(int column) const {
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

std::int64_t SqliteStatement::columnInt(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

QString SqliteStatement::columnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column));
}

int SqliteStatement::columnType(int column) const {
    return sqlite3_column_type(m_stmt, column);
}

SqliteColumnValue SqliteStatement::columnValue(int column) const {
    return SqliteColumnValue(sqlite3_column_value(m_stmt, column));
}

bool SqliteColumnValue::isNull() const {
    return sqlite3_value_type(m_value) == SQLITE_NULL;
}

std::int64_t SqliteColumnValue::integer() const {
    return sqlite3_value_int64(m_value);
}

double SqliteColumnValue::real() const {
    return sqlite3_value_double(m_value);
}

std::string_view SqliteColumnValue::utf8() const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(m_value));
    return {text, std::size_t(sqlite3_value_bytes(m_value))};
}

} // namespace kontaro::data
