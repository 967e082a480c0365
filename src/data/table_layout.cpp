#include "data/table_layout.h"

#include <QFileInfo>

namespace kontaro::data {

int TableLayout::fieldIndex(const QString& name) const {
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const IndexDef* TableLayout::index(const QString& name) const {
    for (const IndexDef& def : indexes)
        if (def.name.compare(name, Qt::CaseInsensitive) == 0)
            return &def;
    return nullptr;
}

namespace layouts {

namespace {

FieldDef text(const char* name, int width) {
    return {QString::fromLatin1(name), FieldType::Text, width, 0};
}

FieldDef field(const char* name, FieldType type) {
    // dBASE numeric fields need a width; SQLite ignores it.
    return {QString::fromLatin1(name), type, type == FieldType::Float ? 20 : 0,
            type == FieldType::Float ? 4 : 0};
}

TableLayout makeJournal() {
    TableLayout t;
    t.tableName = QStringLiteral("journal");
    t.hasPosition = true;
    t.fields = {field("Bnr", FieldType::Integer),
                text("SollKnt", 10),
                text("HabenKnt", 10),
                text("UstKnt", 10),
                field("UstP", FieldType::SmallInt),
                field("SollBetrag", FieldType::Money),
                field("HabenBetrag", FieldType::Money),
                field("UstSoll", FieldType::Money),
                field("UstHaben", FieldType::Money),
                text("Buchtext", 50),
                field("Anr", FieldType::SmallInt),
                text("Beleg", 8),
                field("Datum", FieldType::Date),
                field("SollSaldo2", FieldType::Money),
                field("HabenSaldo2", FieldType::Money),
                field("UstSaldo2", FieldType::Money),
                text("Ok", 1)};
    return t;
}

TableLayout makeKntplan() {
    TableLayout t;
    t.tableName = QStringLiteral("kntplan");
    t.fields = {text("Knr", 10),
                text("Typ", 1),
                text("Name", 60),
                text("UstKnt", 10),
                field("UstP", FieldType::SmallInt),
                field("Saldo", FieldType::Money),
                field("Budget", FieldType::Money),
                text("Gruppe", 4),
                field("LastAnr", FieldType::SmallInt),
                field("Seite", FieldType::SmallInt)};
    t.indexes = {{QStringLiteral("Knr"), {0}, {false}}};
    t.primaryOrdered = true;
    return t;
}

TableLayout makeKonten() {
    TableLayout t;
    t.tableName = QStringLiteral("konten");
    t.fields = {text("Knr", 10),
                field("Bnr", FieldType::Integer),
                field("SollBetrag", FieldType::Money),
                field("HabenBetrag", FieldType::Money),
                text("GKnt", 10),
                text("Buchtext", 45),
                field("Anr", FieldType::SmallInt),
                text("Beleg", 8),
                field("Datum", FieldType::Date),
                field("Saldo", FieldType::Money),
                text("Kz", 2)};
    t.indexes = {{QStringLiteral("Knr;Bnr"), {0, 1}, {false, false}},
                 {QStringLiteral("absteigend"), {0, 1}, {false, true}}};
    t.primaryOrdered = true;
    return t;
}

TableLayout makeKnt1plan() {
    TableLayout t;
    t.tableName = QStringLiteral("knt1plan");
    t.format = TableFormat::Dbase;
    t.fields = {text("KNR", 10),
                text("TYP", 1),
                text("NAME", 60),
                field("SALDO", FieldType::Float),
                field("BUDGET", FieldType::Float),
                text("GRUPPE", 4)};
    return t;
}

TableLayout makeKnt9plan(TableFormat format) {
    TableLayout t;
    t.tableName = QStringLiteral("knt9plan");
    t.format = format;
    t.fields = {text("KNR", 10),
                field("SALDO", FieldType::Float),
                field("SALDO_X", FieldType::Float),
                field("TOTAL", FieldType::Float),
                text("JAHR", 4),
                text("NAME", 60),
                field("BUDGET", FieldType::Float),
                text("GRUPPE", 4),
                text("TYP", 1)};
    t.indexes = {{QStringLiteral("KNR"), {0}, {false}}};
    return t;
}

TableLayout makeJournal9(TableFormat format) {
    TableLayout t;
    t.tableName = QStringLiteral("journal9");
    t.format = format;
    t.fields = {text("SOLLKNT", 10),
                text("HABENKNT", 10),
                text("USTKNT", 10),
                field("USTP", FieldType::Float),
                field("SOLLBETRAG", FieldType::Float),
                field("HABENBETRA", FieldType::Float),
                field("USTSOLL", FieldType::Float),
                field("USTHABEN", FieldType::Float),
                text("BUCHTEXT", 50),
                field("ANR", FieldType::Float),
                text("BELEG", 8),
                field("DATUM", FieldType::Date),
                text("JAHR", 4)};
    return t;
}

} // namespace

const TableLayout& journal() {
    static const TableLayout layout = makeJournal();
    return layout;
}

const TableLayout& kntplan() {
    static const TableLayout layout = makeKntplan();
    return layout;
}

const TableLayout& konten() {
    static const TableLayout layout = makeKonten();
    return layout;
}

const TableLayout& knt1plan() {
    static const TableLayout layout = makeKnt1plan();
    return layout;
}

const TableLayout& knt9plan(TableFormat format) {
    static const TableLayout sqlite = makeKnt9plan(TableFormat::Sqlite);
    static const TableLayout dbase = makeKnt9plan(TableFormat::Dbase);
    return format == TableFormat::Sqlite ? sqlite : dbase;
}

const TableLayout& journal9(TableFormat format) {
    static const TableLayout sqlite = makeJournal9(TableFormat::Sqlite);
    static const TableLayout dbase = makeJournal9(TableFormat::Dbase);
    return format == TableFormat::Sqlite ? sqlite : dbase;
}

const TableLayout* forFileName(const QString& fileName) {
    const QFileInfo info(fileName);
    const QString base = info.completeBaseName().toLower();
    const QString suffix = info.suffix().toLower();
    const TableFormat format = suffix == QLatin1String("dbf") ? TableFormat::Dbase : TableFormat::Sqlite;
    if (suffix != QLatin1String("db") && suffix != QLatin1String("dbf"))
        return nullptr;
    if (format == TableFormat::Sqlite) {
        if (base == QLatin1String("journal") || base == QLatin1String("journal1"))
            return &journal();
        if (base == QLatin1String("kntplan"))
            return &kntplan();
        if (base == QLatin1String("konten"))
            return &konten();
    } else if (base == QLatin1String("knt1plan")) {
        return &knt1plan();
    }
    if (base == QLatin1String("knt9plan"))
        return &knt9plan(format);
    if (base == QLatin1String("journal9"))
        return &journal9(format);
    return nullptr;
}

} // namespace layouts

} // namespace kontaro::data
