#include "data/engine_fixture.h"

namespace kontaro::data::testing {

QStringList texts(std::initializer_list<const char*> items) {
    QStringList list;
    for (const char* item : items)
        list << QString::fromUtf8(item);
    return list;
}

void EngineTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    m_session = std::make_unique<Session>(m_dir.path());
    for (const char* name : {"journal.DB", "kntplan.DB", "konten.DB"})
        m_session->createTable(QString::fromLatin1(name));
}

void EngineTest::reopen() {
    m_session.reset();
    m_session = std::make_unique<Session>(m_dir.path());
}

void EngineTest::appendRows(Cursor& cursor, const QStringList& rows) {
    for (const QString& row : rows) {
        cursor.append();
        for (const QString& assignment : row.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const qsizetype eq = assignment.indexOf(QLatin1Char('='));
            cursor.setText(assignment.left(eq), assignment.mid(eq + 1));
        }
        cursor.post();
    }
}

QStringList EngineTest::column(Cursor& cursor, const QString& field) {
    QStringList values;
    for (cursor.first(); !cursor.eof(); cursor.next())
        values << cursor.asText(field);
    return values;
}

} // namespace kontaro::data::testing
