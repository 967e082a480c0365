#include "base/errors.h"
#include "data/engine_fixture.h"
#include "data/table.h"
#include "data/transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gmock/gmock.h>
#include <unistd.h>

namespace kontaro::data::testing {
namespace {

using ::testing::HasSubstr;

using SessionTest = EngineTest;

std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& e) {
        return e.message().toStdString();
    }
    return "(kein Fehler)";
}

// Every field of every row, in natural order: enough to compare memory with the files.
QStringList dump(Session& session) {
    QStringList out;
    for (const char* name : {"journal.DB", "kntplan.DB", "konten.DB"}) {
        Cursor c(session, QString::fromLatin1(name));
        c.setNaturalOrder();
        for (c.first(); !c.eof(); c.next()) {
            QStringList fields;
            for (const FieldDef& f : c.table().layout().fields)
                fields << c.asText(f.name);
            out << QString::fromLatin1(name) + QLatin1Char(':') + fields.join(QLatin1Char('|'));
        }
    }
    return out;
}

class FilledSessionTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Cursor j(session(), QStringLiteral("journal.DB"));
        appendRows(j, {QStringLiteral("Bnr=1;SollKnt=2800;HabenKnt=4020;SollBetrag=10;Ok=="),
                       QStringLiteral("SollKnt=2800;Ok=~")});
        Cursor k(session(), QStringLiteral("konten.DB"));
        appendRows(k, {QStringLiteral("Knr=2800;Bnr=1;SollBetrag=10;Saldo=10"),
                       QStringLiteral("Knr=4020;Bnr=1;HabenBetrag=10;Saldo=-10")});
        Cursor p(session(), QStringLiteral("kntplan.DB"));
        appendRows(p, {QStringLiteral("Knr=2800;Saldo=10"), QStringLiteral("Knr=4020;Saldo=-10")});
        m_before = dump(session());
    }

    // Posts a line in all three tables, the way a posting command writes.
    void writeAcrossTables() {
        Cursor j(session(), QStringLiteral("journal.DB"));
        j.last();
        j.edit();
        j.setText(QStringLiteral("Ok"), QStringLiteral("="));
        j.setText(QStringLiteral("Bnr"), QStringLiteral("2"));
        j.post();
        j.insert();
        j.setText(QStringLiteral("Buchtext"), QStringLiteral("neu"));
        j.post();
        Cursor k(session(), QStringLiteral("konten.DB"));
        appendRows(k, {QStringLiteral("Knr=2800;Bnr=2;SollBetrag=5;Saldo=15")});
        Cursor p(session(), QStringLiteral("kntplan.DB"));
        p.first();
        p.remove();
    }

    QStringList m_before;
};

TEST_F(FilledSessionTest, RollbackLeavesFilesAndMemoryEqual) {
    Cursor watcher(session(), QStringLiteral("journal.DB"));
    watcher.last();
    {
        Transaction t(session());
        writeAcrossTables();
        EXPECT_NE(dump(session()), m_before);
    } // no commit
    EXPECT_EQ(dump(session()), m_before);
    EXPECT_EQ(watcher.asText(QStringLiteral("Ok")), QStringLiteral("~")); // kept its row
    reopen();
    EXPECT_EQ(dump(session()), m_before);
}

TEST_F(FilledSessionTest, CommitKeepsEveryTable) {
    {
        Transaction t(session());
        writeAcrossTables();
        t.commit();
    }
    const QStringList after = dump(session());
    EXPECT_NE(after, m_before);
    reopen();
    EXPECT_EQ(dump(session()), after);
}

TEST_F(FilledSessionTest, FullDiskRollsBackAndNamesTheFile) {
    // A file that may not grow stands in for a full disk.
    Cursor k(session(), QStringLiteral("konten.DB"));
    SqliteStatement list(session().database(), QStringLiteral("SELECT name, file FROM pragma_database_list"));
    while (list.step()) {
        if (!list.columnText(1).endsWith(QLatin1String("konten.DB")))
            continue;
        SqliteStatement pages(session().database(),
                              QStringLiteral("PRAGMA %1.page_count").arg(list.columnText(0)));
        ASSERT_TRUE(pages.step());
        session().database().execute(
            QStringLiteral("PRAGMA %1.max_page_count = %2").arg(list.columnText(0)).arg(pages.columnInt(0)));
    }
    const std::string message = messageOf([&] {
        Transaction t(session());
        Cursor j(session(), QStringLiteral("journal.DB"));
        appendRows(j, {QStringLiteral("Buchtext=vor dem Fehler")});
        for (int i = 0; i < 200; ++i)
            appendRows(k, {QStringLiteral("Knr=2800;Buchtext=") + QString(45, QLatin1Char('x'))});
        t.commit();
    });
    EXPECT_THAT(message, HasSubstr("konten.DB"));
    EXPECT_THAT(message, HasSubstr("voll"));
    EXPECT_EQ(dump(session()), m_before);
    reopen();
    EXPECT_EQ(dump(session()), m_before);
}

TEST_F(FilledSessionTest, TableLockedByAnotherProgram) {
    session().setBusyTimeout(50);
    Cursor j(session(), QStringLiteral("journal.DB"));
    SqliteDb other(path(QStringLiteral("journal.DB")));
    other.execute(QStringLiteral("BEGIN EXCLUSIVE"));
    j.first();
    j.edit();
    j.setText(QStringLiteral("Buchtext"), QStringLiteral("geändert"));
    const std::string message = messageOf([&] { j.post(); });
    EXPECT_THAT(message, HasSubstr("journal.DB"));
    EXPECT_THAT(message, HasSubstr("gesperrt"));
    EXPECT_EQ(j.state(), CursorState::Edit); // nothing taken over into memory
    j.cancel();
    other.execute(QStringLiteral("ROLLBACK"));
    EXPECT_EQ(dump(session()), m_before);
}

TEST_F(SessionTest, SecondProgramOnTheSameBooksIsRefused) {
    const QStringList filesBefore = QDir(m_dir.path()).entryList(QDir::Files);
    const std::string message = messageOf([&] { Session second(m_dir.path()); });
    EXPECT_EQ(message,
              QStringLiteral("Die Bücher in \"%1\" sind bereits in einem anderen Kontaro-Programm geöffnet.")
                  .arg(QDir::toNativeSeparators(m_dir.path()))
                  .toStdString());
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), filesBefore);
    m_session.reset();
    EXPECT_NO_THROW(Session third(m_dir.path()));
}

TEST_F(SessionTest, DirectoryThatCannotBeWritten) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write everywhere";
    const QString locked = path(QStringLiteral("gesperrt"));
    QDir().mkdir(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_THAT(messageOf([&] { Session s(locked); }), HasSubstr("kann nicht geschrieben werden"));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(SessionTest, MissingAndDamagedTables) {
    EXPECT_EQ(messageOf([&] { Cursor c(session(), QStringLiteral("journal1.DB")); }),
              QStringLiteral("Die Tabelle \"%1\" wurde nicht gefunden.")
                  .arg(QDir::toNativeSeparators(path(QStringLiteral("journal1.DB"))))
                  .toStdString());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("journal1.DB")))); // never created silently

    QFile damaged(path(QStringLiteral("journal1.DB")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, 'x'));
    damaged.close();
    const std::string message = messageOf([&] { Cursor c(session(), QStringLiteral("journal1.DB")); });
    EXPECT_THAT(message, HasSubstr("journal1.DB"));
    EXPECT_THAT(message, HasSubstr("beschädigt"));
    EXPECT_EQ(QFileInfo(damaged).size(), 4096); // nothing overwritten
    // The session still works.
    Cursor j(session(), QStringLiteral("journal.DB"));
    appendRows(j, {QStringLiteral("Buchtext=ok")});
}

TEST_F(SessionTest, FileNamesMatchWithoutCase) {
    Cursor a(session(), QStringLiteral("JOURNAL.db"));
    Cursor b(session(), QStringLiteral("journal.DB"));
    EXPECT_EQ(&a.table(), &b.table());
    EXPECT_EQ(QFileInfo(a.filePath()).fileName(), QStringLiteral("journal.DB"));
}

TEST_F(SessionTest, ExclusiveOpenIsSingle) {
    session().createTable(QStringLiteral("journal1.DB"));
    {
        Cursor first(session(), QStringLiteral("journal1.DB"), true);
        EXPECT_THAT(messageOf([&] { Cursor second(session(), QStringLiteral("journal1.DB"), true); }),
                    HasSubstr("journal1.DB"));
        EXPECT_THROW(Cursor shared(session(), QStringLiteral("journal1.DB")), FileError);
    }
    EXPECT_NO_THROW(Cursor again(session(), QStringLiteral("journal1.DB"), true));
}

TEST_F(SessionTest, CopyTakesUncommittedRowsAndOtherDirectoriesOpenByPath) {
    QTemporaryDir other;
    const QString target = other.filePath(QStringLiteral("journal.DB"));
    {
        Transaction t(session());
        Cursor j(session(), QStringLiteral("journal.DB"));
        appendRows(j, {QStringLiteral("Buchtext=eins"), QStringLiteral("Buchtext=zwei")});
        j.first();
        j.insert();
        j.setText(QStringLiteral("Buchtext"), QStringLiteral("null"));
        j.post();
        session().copyTable(QStringLiteral("journal.DB"), target);
        // Opened inside a running transaction: a connection of its own.
        Cursor copy(session(), target);
        EXPECT_EQ(column(copy, QStringLiteral("Buchtext")), texts({"null", "eins", "zwei"}));
        copy.emptyTable();
    }
    Cursor j(session(), QStringLiteral("journal.DB"));
    EXPECT_EQ(j.recordCount(), 0);
    Cursor copy(session(), target);
    EXPECT_EQ(copy.recordCount(), 0); // its own writes committed at once
    EXPECT_THROW(session().createTable(target), FileError);
}

TEST_F(SessionTest, FileKeepsCentsIsoDatesAndPositions) {
    {
        Cursor j(session(), QStringLiteral("journal.DB"));
        appendRows(j, {QStringLiteral("SollBetrag=12,0167;Datum=31.12.2023")});
    }
    m_session.reset();
    SqliteDb raw(path(QStringLiteral("journal.DB")));
    SqliteStatement st(raw, QStringLiteral("SELECT typeof(SollBetrag), SollBetrag, Datum, pos IS NOT NULL, "
                                           "Bnr IS NULL FROM journal"));
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.columnText(0), QStringLiteral("integer"));
    EXPECT_EQ(st.columnInt(1), 1201);
    EXPECT_EQ(st.columnText(2), QStringLiteral("2023-12-31"));
    EXPECT_EQ(st.columnInt(3), 1);
    EXPECT_EQ(st.columnInt(4), 1);
    SqliteStatement version(raw, QStringLiteral("PRAGMA user_version"));
    version.step();
    EXPECT_EQ(version.columnInt(0), 1);
    SqliteStatement mode(raw, QStringLiteral("PRAGMA journal_mode"));
    mode.step();
    EXPECT_EQ(mode.columnText(0), QStringLiteral("delete"));
}

// A kill during a commit over several tables may leave the master journal behind; once every
// table is recovered nothing refers to it, and a start removes it.
TEST_F(SessionTest, OrphanedMasterJournalIsRemovedAtStart) {
    QFile orphan(path(QStringLiteral("Kontaro.lock-mj5A3C0D1E")));
    ASSERT_TRUE(orphan.open(QIODevice::WriteOnly));
    orphan.write("journal.DB-journal");
    orphan.close();
    reopen();
    EXPECT_FALSE(QFileInfo::exists(orphan.fileName()));
}

} // namespace
} // namespace kontaro::data::testing
