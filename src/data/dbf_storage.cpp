#include "data/dbf_storage.h"

#include "base/errors.h"
#include "base/money.h"
#include "base/text_file.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>
#include <memory>
#include <shapefil.h>

namespace kontaro::data {

namespace {

struct DbfCloser {
    void operator()(DBFInfo* handle) const { DBFClose(handle); }
};
using DbfHandle = std::unique_ptr<DBFInfo, DbfCloser>;

QString nativeName(const QString& path) {
    return QDir::toNativeSeparators(path);
}

DbfHandle openDbf(const QString& path, bool write) {
    DbfHandle handle(DBFOpen(QFile::encodeName(path).constData(), write ? "rb+" : "rb"));
    if (!handle) {
        if (!QFile::exists(path))
            throw FileError(QStringLiteral("Die Tabelle \"%1\" wurde nicht gefunden.").arg(nativeName(path)));
        throw FileError(QStringLiteral("Die Tabelle \"%1\" ist beschädigt oder kann nicht geöffnet werden.")
                            .arg(nativeName(path)));
    }
    return handle;
}

// As the program's text files: a character Windows-1252 cannot hold becomes "?".
QByteArray encode(const QString& text) {
    return text::encodeWindows1252(text);
}

QString decode(const char* bytes) {
    QStringDecoder decoder("windows-1252");
    return decoder.decode(QByteArrayView(bytes));
}

void failWrite(const QString& path) {
    throw FileError(
        QStringLiteral("Die Tabelle \"%1\" kann nicht geschrieben werden.").arg(nativeName(path)));
}

// The dBASE type letter a field of the layout is stored as.
char nativeType(FieldType type) {
    switch (type) {
    case FieldType::Text:
        return 'C';
    case FieldType::Date:
        return 'D';
    default:
        return 'N';
    }
}

void writeRecord(DBFInfo* dbf, int record, const TableLayout& layout, const std::vector<int>& columns,
                 const RowRecord& row, const QString& path) {
    for (int field = 0; field < layout.fields.size(); ++field) {
        const FieldValue& v = row.values[std::size_t(field)];
        const FieldDef& f = layout.fields[field];
        const int i = columns[std::size_t(field)];
        int ok = 1;
        if (isNullValue(v))
            ok = DBFWriteNULLAttribute(dbf, record, i);
        else if (f.type == FieldType::Date) {
            QByteArray raw = QDate::fromJulianDay(std::get<std::int64_t>(v))
                                 .toString(QStringLiteral("yyyyMMdd"))
                                 .toLatin1();
            ok = DBFWriteAttributeDirectly(dbf, record, i, raw.data());
        } else if (const auto* text = std::get_if<QString>(&v))
            ok = DBFWriteStringAttribute(dbf, record, i, encode(*text).constData());
        else if (const auto* d = std::get_if<double>(&v))
            ok = DBFWriteDoubleAttribute(dbf, record, i, *d);
        else if (f.type == FieldType::Money)
            ok = DBFWriteDoubleAttribute(dbf, record, i, double(std::get<std::int64_t>(v)) / 100.0);
        else
            ok = DBFWriteIntegerAttribute(dbf, record, i, int(std::get<std::int64_t>(v)));
        if (!ok)
            failWrite(path);
    }
}

void readRecord(DBFInfo* dbf, int record, const TableLayout& layout, const std::vector<int>& columns,
                RowRecord& row) {
    row.values.assign(std::size_t(layout.fields.size()), FieldValue());
    for (int f = 0; f < layout.fields.size(); ++f) {
        const int i = columns[std::size_t(f)];
        if (DBFIsAttributeNULL(dbf, record, i))
            continue;
        FieldValue& v = row.values[std::size_t(f)];
        switch (layout.fields[f].type) {
        case FieldType::Text: {
            const QString text = decode(DBFReadStringAttribute(dbf, record, i));
            if (!text.isEmpty())
                v = text;
            break;
        }
        case FieldType::Date: {
            const QDate date = QDate::fromString(QString::fromLatin1(DBFReadStringAttribute(dbf, record, i)),
                                                 QStringLiteral("yyyyMMdd"));
            if (date.isValid())
                v = std::int64_t(date.toJulianDay());
            break;
        }
        case FieldType::Float:
            v = DBFReadDoubleAttribute(dbf, record, i);
            break;
        case FieldType::Money:
            v = Money::fromDouble(DBFReadDoubleAttribute(dbf, record, i)).cents();
            break;
        default:
            v = std::int64_t(DBFReadIntegerAttribute(dbf, record, i));
        }
    }
}

} // namespace

DbfStorage::DbfStorage(QString filePath, const TableLayout& layout)
    : m_file(std::move(filePath))
    , m_layout(layout) {}

// shapelib replaces the extension of a new file with ".dbf"; this is the name it writes.
static QString createdName(const QString& filePath) {
    const QFileInfo info(filePath);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".dbf");
}

void DbfStorage::createFile(const QString& filePath, const TableLayout& layout) {
    createFileAs(filePath, layout);
    const QString created = createdName(filePath);
    if (created != filePath && !QFile::rename(created, filePath))
        failWrite(filePath);
}

void DbfStorage::createFileAs(const QString& filePath, const TableLayout& layout) {
    // "LDID/87" marks the file as Windows ANSI (code page 1252) in the header, without a .cpg file.
    DbfHandle dbf(DBFCreateEx(QFile::encodeName(filePath).constData(), "LDID/87"));
    if (!dbf)
        failWrite(filePath);
    for (const FieldDef& f : layout.fields) {
        const QByteArray name = f.name.toLatin1();
        int added = -1;
        switch (f.type) {
        case FieldType::Text:
            added = DBFAddField(dbf.get(), name.constData(), FTString, f.width, 0);
            break;
        case FieldType::Date:
            added = DBFAddNativeFieldType(dbf.get(), name.constData(), 'D', 8, 0);
            break;
        case FieldType::Float:
            added = DBFAddField(dbf.get(), name.constData(), FTDouble, f.width, f.decimals);
            break;
        case FieldType::Money:
            added = DBFAddField(dbf.get(), name.constData(), FTDouble, 20, 2);
            break;
        default:
            added = DBFAddField(dbf.get(), name.constData(), FTInteger,
                                f.type == FieldType::SmallInt ? 6 : 11, 0);
        }
        if (added < 0)
            failWrite(filePath);
    }
}

// Finds each field of the layout by name (any case); the file may hold further fields, which are
// left alone. A missing field or one of another type refuses the file.
static std::vector<int> mapColumns(DBFInfo* dbf, const TableLayout& layout, const QString& path) {
    std::vector<int> columns;
    for (const FieldDef& f : layout.fields) {
        const int column = DBFGetFieldIndex(dbf, f.name.toLatin1().constData());
        if (column < 0)
            refuseTableLayout(path, f.name);
        const char actual = DBFGetNativeFieldType(dbf, column);
        const char expected = nativeType(f.type);
        if (actual != expected && !(expected == 'N' && actual == 'F'))
            refuseTableLayout(path, f.name, QString(QLatin1Char(actual)), QString(QLatin1Char(expected)));
        columns.push_back(column);
    }
    return columns;
}

std::vector<Row> DbfStorage::load(ColumnStore& columns) {
    DbfHandle dbf = openDbf(m_file, false);
    m_columns = mapColumns(dbf.get(), m_layout, m_file);
    const int count = DBFGetRecordCount(dbf.get());
    std::vector<RowRecord> records;
    records.reserve(std::size_t(count));
    m_ids.clear();
    m_nextId = 1;
    for (int record = 0; record < count; ++record) {
        if (DBFIsRecordDeleted(dbf.get(), record))
            continue;
        RowRecord row;
        row.id = row.pos = m_nextId++;
        readRecord(dbf.get(), record, m_layout, m_columns, row);
        m_ids.push_back(row.id);
        records.push_back(std::move(row));
    }
    // Records marked deleted by another program would shift the record numbers: drop them now.
    if (int(records.size()) != count) {
        m_ids.clear();
        clear();
        for (RowRecord& row : records)
            row.id = row.pos = insert(row);
    }
    std::vector<Row> rows;
    rows.reserve(records.size());
    columns.reserve(records.size());
    for (const RowRecord& record : records)
        rows.push_back(Row{record.id, record.pos, columns.add(record.values)});
    return rows;
}

int DbfStorage::recordOf(std::int64_t id) const {
    const auto it = std::lower_bound(m_ids.begin(), m_ids.end(), id);
    if (it == m_ids.end() || *it != id)
        throw FileError(QStringLiteral("Ein Datensatz der Tabelle \"%1\" fehlt.").arg(nativeName(m_file)));
    return int(it - m_ids.begin());
}

std::int64_t DbfStorage::insert(const RowRecord& row) {
    DbfHandle dbf = openDbf(m_file, true);
    if (m_columns.empty())
        m_columns = mapColumns(dbf.get(), m_layout, m_file);
    writeRecord(dbf.get(), DBFGetRecordCount(dbf.get()), m_layout, m_columns, row, m_file);
    m_ids.push_back(m_nextId);
    return m_nextId++;
}

void DbfStorage::update(const RowRecord& row) {
    DbfHandle dbf = openDbf(m_file, true);
    if (m_columns.empty())
        m_columns = mapColumns(dbf.get(), m_layout, m_file);
    writeRecord(dbf.get(), recordOf(row.id), m_layout, m_columns, row, m_file);
}

void DbfStorage::rewriteWithout(int skipped) {
    const QString temporary = m_file + QStringLiteral(".neu.dbf");
    {
        DbfHandle dbf = openDbf(m_file, false);
        DbfHandle copy(DBFCloneEmpty(dbf.get(), QFile::encodeName(temporary).constData()));
        if (!copy)
            failWrite(m_file);
        const int count = DBFGetRecordCount(dbf.get());
        int target = 0;
        for (int record = 0; record < count && skipped >= -1; ++record) {
            if (record == skipped || skipped == -1)
                continue;
            QByteArray tuple(DBFReadTuple(dbf.get(), record), dbf->nRecordLength);
            if (!DBFWriteTuple(copy.get(), target++, tuple.data()))
                failWrite(m_file);
        }
    }
    if (!QFile::remove(m_file) || !QFile::rename(temporary, m_file))
        failWrite(m_file);
}

void DbfStorage::remove(const Row& row) {
    const int record = recordOf(row.id);
    rewriteWithout(record);
    m_ids.erase(m_ids.begin() + record);
}

void DbfStorage::clear() {
    rewriteWithout(-1);
    m_ids.clear();
}

void DbfStorage::writePositions(const std::vector<const Row*>&) {
    // Natural order is the record order; nothing to store.
}

bool DbfStorage::reread(RowRecord& row) {
    const auto it = std::lower_bound(m_ids.begin(), m_ids.end(), row.id);
    if (it == m_ids.end() || *it != row.id)
        return false;
    DbfHandle dbf = openDbf(m_file, false);
    readRecord(dbf.get(), int(it - m_ids.begin()), m_layout, m_columns, row);
    return true;
}

} // namespace kontaro::data
