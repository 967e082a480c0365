#include "base/errors.h"
#include "data/dbf_storage.h"
#include "data/engine_fixture.h"
#include "data/sqlite_db.h"
#include "data/table_layout.h"

#include <QFile>
#include <shapefil.h>

namespace kontaro::data::testing {
namespace {

// A journal file whose columns differ from the program's: `Buchtext` left out or given another
// type, and an extra column the program does not know.
struct ColumnCase {
    const char* name;
    const char* dropped; // field left out
    const char* retyped; // field declared with `retypedAs`
    const char* retypedAs;
    const char* refusal; // expected end of the message; empty: the table loads
};

class JournalColumnsTest : public EngineTest, public ::testing::WithParamInterface<ColumnCase> {
protected:
    void writeJournal(const ColumnCase& c) {
        m_session.reset();
        const QString file = path(QStringLiteral("journal.DB"));
        QFile::remove(file);
        QStringList columns{QStringLiteral("id INTEGER PRIMARY KEY"), QStringLiteral("POS integer not null")};
        for (const FieldDef& f : layouts::journal().fields) {
            if (f.name == QLatin1String(c.dropped))
                continue;
            QString type = f.type == FieldType::Text || f.type == FieldType::Date
                               ? QStringLiteral("varchar(50)")
                               : QStringLiteral("int");
            if (f.name == QLatin1String(c.retyped))
                type = QLatin1String(c.retypedAs);
            columns << f.name.toLower() + QLatin1Char(' ') + type;
        }
        columns << QStringLiteral("Notiz TEXT");
        SqliteDb db(file);
        db.execute(QStringLiteral("CREATE TABLE journal (%1); INSERT INTO journal (pos, Notiz, Ok) VALUES "
                                  "(1, 'bleibt', '=')")
                       .arg(columns.join(QStringLiteral(", "))));
        reopen();
    }
};

TEST_P(JournalColumnsTest, RefusesWhatDoesNotFitAndToleratesExtraColumns) {
    const ColumnCase& c = GetParam();
    writeJournal(c);
    const QString file = path(QStringLiteral("journal.DB"));
    QFile before(file);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();
    if (*c.refusal) {
        try {
            Cursor j(session(), QStringLiteral("journal.DB"));
            FAIL() << "the table was loaded";
        } catch (const FileError& e) {
            EXPECT_EQ(e.message().toStdString(),
                      QStringLiteral("Die Tabelle \"%1\" passt nicht zu diesem Programm (%2).")
                          .arg(file, QString::fromUtf8(c.refusal))
                          .toStdString());
        }
        m_session.reset();
        QFile after(file);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), bytes);
        return;
    }
    {
        Cursor j(session(), QStringLiteral("journal.DB"));
        EXPECT_EQ(j.asText(QStringLiteral("Ok")), QStringLiteral("="));
        EXPECT_TRUE(j.isNull(QStringLiteral("Buchtext")));
        j.edit();
        j.setText(QStringLiteral("Buchtext"), QStringLiteral("Miete"));
        j.post();
        appendRows(j, {QStringLiteral("Buchtext=Strom")});
    }
    reopen();
    Cursor j(session(), QStringLiteral("journal.DB"));
    EXPECT_EQ(column(j, QStringLiteral("Buchtext")), texts({"Miete", "Strom"}));
    SqliteDb db(file);
    SqliteStatement extra(db, QStringLiteral("SELECT Notiz FROM journal ORDER BY pos"));
    ASSERT_TRUE(extra.step());
    EXPECT_EQ(extra.columnText(0), QStringLiteral("bleibt"));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, JournalColumnsTest,
    ::testing::Values(ColumnCase{"ExtraColumnAndOtherSpellingsLoad", "", "", "", ""},
                      ColumnCase{"MissingField", "Buchtext", "", "", "Feld Buchtext fehlt"},
                      ColumnCase{"TextStoredAsInteger", "", "Datum", "INTEGER",
                                 "Feld Datum hat den Typ INTEGER statt TEXT"},
                      ColumnCase{"MoneyStoredAsReal", "", "SollBetrag", "real",
                                 "Feld SollBetrag hat den Typ REAL statt INTEGER"},
                      ColumnCase{"UntypedColumn", "", "Ok", "", "Feld Ok hat den Typ BLOB statt TEXT"}),
    [](const ::testing::TestParamInfo<ColumnCase>& info) { return std::string(info.param.name); });

// A dBASE chart with a further field before the known ones, and one with a field of another type.
TEST_F(EngineTest, DbaseTableFindsItsFieldsByName) {
    const QString file = path(QStringLiteral("knt1plan.dbf")); // the name shapelib writes
    const auto create = [&](char nameType) {
        QFile::remove(file);
        DBFHandle dbf = DBFCreateEx(QFile::encodeName(file).constData(), "LDID/87");
        ASSERT_NE(dbf, nullptr);
        DBFAddField(dbf, "EXTRA", FTString, 5, 0);
        for (const FieldDef& f : layouts::knt1plan().fields) {
            const QByteArray name = f.name.toLatin1();
            if (f.name == QLatin1String("NAME") && nameType == 'N')
                DBFAddField(dbf, name.constData(), FTInteger, 8, 0);
            else if (f.type == FieldType::Text)
                DBFAddField(dbf, name.constData(), FTString, f.width, 0);
            else
                DBFAddField(dbf, name.constData(), FTDouble, 20, 2);
        }
        DBFWriteStringAttribute(dbf, 0, 0, "alt");
        DBFWriteStringAttribute(dbf, 0, DBFGetFieldIndex(dbf, "KNR"), "2800");
        DBFClose(dbf);
    };

    create('N');
    try {
        Cursor k(session(), QStringLiteral("knt1plan.DBF"));
        FAIL() << "the table was loaded";
    } catch (const FileError& e) {
        EXPECT_EQ(e.message().toStdString(),
                  QStringLiteral(
                      "Die Tabelle \"%1\" passt nicht zu diesem Programm (Feld NAME hat den Typ N statt C).")
                      .arg(file)
                      .toStdString());
    }

    create('C');
    {
        Cursor k(session(), QStringLiteral("knt1plan.DBF"));
        EXPECT_EQ(column(k, QStringLiteral("KNR")), texts({"2800"}));
        appendRows(k, {QStringLiteral("KNR=4020;NAME=Erlöse")});
    }
    reopen();
    Cursor k(session(), QStringLiteral("knt1plan.DBF"));
    EXPECT_EQ(column(k, QStringLiteral("NAME")), texts({"", "Erlöse"}));
    DBFHandle dbf = DBFOpen(QFile::encodeName(file).constData(), "rb");
    ASSERT_NE(dbf, nullptr);
    EXPECT_STREQ(DBFReadStringAttribute(dbf, 0, 0), "alt");
    DBFClose(dbf);
}

} // namespace
} // namespace kontaro::data::testing
