#pragma once

#include <QList>
#include <QString>

namespace kontaro::data {

enum class FieldType {
    Text,     // fixed maximum width; longer values are cut when stored
    Integer,  // 32-bit integer ("Bnr")
    SmallInt, // 16-bit integer ("UstP", "Anr")
    Money,    // two decimals, stored as whole cents
    Date,     // date only
    Float,    // floating point (dBASE numeric fields, archive amounts)
};

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int width = 0; // characters of a text field; digits of a dBASE numeric field
    int decimals = 0;
};

// An ordering by one or more fields; `descending` marks fields sorted high to low.
struct IndexDef {
    QString name;
    QList<int> fields;
    QList<bool> descending;
};

enum class TableFormat { Sqlite, Dbase };

// The fields and orders of one kind of table. The same layout may live under several file
// names (journal.DB and journal1.DB).
struct TableLayout {
    QString tableName; // name of the table inside a SQLite file
    TableFormat format = TableFormat::Sqlite;
    QList<FieldDef> fields;
    bool hasPosition = false; // natural order kept in a hidden column `pos` (journal)
    QList<IndexDef> indexes;  // named orders; the first is the primary order if `primaryOrdered`
    bool primaryOrdered = false;

    // Index of the field named `name` (case-insensitive), -1 if none.
    int fieldIndex(const QString& name) const;
    // Index of the named order (case-insensitive), nullptr if none.
    const IndexDef* index(const QString& name) const;
};

namespace layouts {
const TableLayout& journal();  // journal.DB, journal1.DB
const TableLayout& kntplan();  // kntplan.DB
const TableLayout& konten();   // konten.DB
const TableLayout& knt1plan(); // knt1plan.DBF
const TableLayout& knt9plan(TableFormat format);
const TableLayout& journal9(TableFormat format);

// The layout a file name stands for (case-insensitive, any directory), nullptr if unknown.
const TableLayout* forFileName(const QString& fileName);
} // namespace layouts

} // namespace kontaro::data
