#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;

namespace kontaro::data {

class SqliteDb;

// One column of the current result row, fetched from the statement once; its type and contents
// are then read without further calls into the statement. Valid until the next step.
class SqliteColumnValue {
public:
    explicit SqliteColumnValue(sqlite3_value* value)
        : m_value(value) {}

    bool isNull() const;
    std::int64_t integer() const;
    double real() const;
    std::string_view utf8() const;

private:
    sqlite3_value* m_value;
};

// One prepared statement. Bind indexes are 1-based, column indexes 0-based (as in SQLite).
// Errors are thrown as FileError naming the file the statement works on.
class SqliteStatement {
public:
    SqliteStatement(SqliteDb& db, const QString& sql, const QString& file = {});
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bindNull(int index);
    void bind(int index, std::int64_t value);
    void bind(int index, double value);
    void bind(int index, const QString& value);

    // true while a row is available; false when done.
    bool step();
    // Runs a statement that returns no rows, then resets it for the next use.
    void execute();
    void reset();

    bool isNull(int column) const;
    std::int64_t columnInt(int column) const;
    QString columnText(int column) const;
    int columnType(int column) const;
    SqliteColumnValue columnValue(int column) const;

private:
    SqliteDb& m_db;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_file;
};

// An open SQLite connection. The file named in messages is the one the connection was
// opened on unless a statement names another (an attached table file).
class SqliteDb {
public:
    explicit SqliteDb(const QString& path);
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    // Runs one or more statements without results.
    void execute(const QString& sql, const QString& file = {});
    std::int64_t lastInsertId() const;
    sqlite3* handle() const { return m_db; }
    const QString& path() const { return m_path; }
    void setBusyTimeout(int milliseconds);

    // Turns the connection's last error into a FileError with a German message naming `file`.
    [[noreturn]] void fail(int code, const QString& file) const;

private:
    sqlite3* m_db = nullptr;
    QString m_path;
};

// Quotes a name for SQL ("a""b").
QString quoteName(const QString& name);
// Quotes a text literal for SQL ('a''b').
QString quoteText(const QString& text);

} // namespace kontaro::data
