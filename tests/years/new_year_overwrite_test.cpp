#include "app/main_menu.h"
#include "app/t_kontaro.h"
#include "base/clock.h"
#include "data/books_builder.h"
#include "data/cursor.h"
#include "data/session.h"
#include "data/sqlite_db.h"
#include "forms/scripted_ui.h"
#include "support/nearly_full_disk.h"
#include "years/leftovers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kontaro;
using test::NearlyFullDisk;

namespace {

// Everything in a directory tree: each file's bytes, each folder marked; the lock file a program
// keeps there left out.
QMap<QString, QByteArray> contentsOf(const QString& directory) {
    QMap<QString, QByteArray> contents;
    QDirIterator it(directory, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(directory).relativeFilePath(path);
        if (name == QLatin1String("Kontaro.lock"))
            continue;
        QFile file(path);
        contents.insert(name, it.fileInfo().isDir() || !file.open(QIODevice::ReadOnly) ? QByteArray("<dir>")
                                                                                       : file.readAll());
    }
    return contents;
}

// A writer that dies in the middle of a transaction on a table, after SQLite moved changed pages
// into the file: the table is left with a hot rollback journal.
void killWriterOf(const QString& table) {
    const pid_t child = fork();
    if (child == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(table).constData(), &db);
        sqlite3_exec(db,
                     "PRAGMA cache_size=1; BEGIN; DELETE FROM journal; CREATE TABLE ballast(x); "
                     "INSERT INTO ballast WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM c "
                     "WHERE i<5000) SELECT randomblob(200) FROM c;",
                     nullptr, nullptr, nullptr);
        raise(SIGKILL);
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    ASSERT_GT(QFileInfo(table + "-journal").size(), 0);
}

std::int64_t journalRowsOf(const QString& table) {
    data::SqliteDb db(table);
    data::SqliteStatement count(db, "SELECT count(*) FROM journal");
    count.step();
    return count.columnInt(0);
}

// The current year KT2026 and an older KT2027 beside it, overwritten by the new-year command.
class OverwriteYear : public testing::Test {
protected:
    OverwriteYear()
        : m_clock(QDateTime(QDate(2027, 1, 10), QTime(9, 15))) {
        m_current = m_root.path() + "/KT2026";
        m_next = m_root.path() + "/KT2027";
        data::buildBooks(m_current, {"konto 2800 B Bank Saldo=150,00", "konto EBK X Eröffnung",
                                     "zeile ~ SollKnt=2800 HabenKnt=2800 Datum=02.01.2026"});
        data::buildBooks(m_next,
                         {"konto 1000 B Alt", "zeile = Bnr=1 SollKnt=1000 HabenKnt=1000 Datum=02.01.2027",
                          "zeile = Bnr=2 SollKnt=1000 HabenKnt=1000 Datum=03.01.2027"});
        QFile report(m_next + "/ustmeldung.txt");
        if (report.open(QIODevice::WriteOnly))
            report.write("alt\r\n");
    }

    void start() {
        m_app = std::make_unique<app::T_Kontaro>(m_ui, m_current);
        ASSERT_TRUE(m_app->start());
    }

    void startAndOverwrite() {
        start();
        overwrite();
    }

    void overwrite() {
        m_messagesAtStart = m_ui.shownTexts("message").size();
        m_ui.answerInput(QString("01.01.2027"));
        m_ui.answerInput(QString("2027"));
        m_ui.answerQuestion(forms::Answer::Yes);
        m_ui.answerQuestion(forms::Answer::Yes);
        m_app->command(app::Command::NeuesJahr);
    }

    // The command failed with one error naming `directory`, and the old year is exactly as before.
    void expectRefusedNaming(const QString& directory, const QMap<QString, QByteArray>& before) {
        EXPECT_EQ(
            m_ui.shownTexts("error"),
            QStringList{QString("In das Verzeichnis \"%1\" kann nicht geschrieben werden.").arg(directory)});
        EXPECT_EQ(m_ui.shownTexts("message").size(), m_messagesAtStart);
        EXPECT_TRUE(m_app->isRunning());
        EXPECT_EQ(contentsOf(m_next), before);
        EXPECT_FALSE(QFileInfo::exists(m_root.path() + "/.KT2027-neu"));
    }

    FixedClock m_clock;
    QTemporaryDir m_root;
    QString m_current;
    QString m_next;
    forms::ScriptedUi m_ui;
    std::unique_ptr<app::T_Kontaro> m_app;
    qsizetype m_messagesAtStart = 0;
};

// A table of the old year that a crashed program left half written is rolled back before it is
// kept: the backup holds its last committed lines, and no journal is left to spoil the new table.
TEST_F(OverwriteYear, TableWithAHotJournalIsRecoveredBeforeItIsKept) {
    killWriterOf(m_next + "/journal.DB");

    startAndOverwrite();

    EXPECT_TRUE(m_ui.shownTexts("error").isEmpty());
    EXPECT_FALSE(m_app->isRunning());
    const QString backup = m_next + "/Sicherung-2027-01-10-091500";
    EXPECT_EQ(journalRowsOf(backup + "/journal.DB"), 2);
    for (const QString& directory : {m_next, backup})
        EXPECT_EQ(QDir(directory).entryList({"*-journal", "*-wal", "*-shm"}, QDir::Files), QStringList())
            << directory.toStdString();
    data::Session year(m_next);
    data::Cursor journal(year, "journal.DB");
    journal.open();
    ASSERT_EQ(journal.recordCount(), 1);
    EXPECT_EQ(journal.asText("Ok"), "*");
    EXPECT_EQ(journal.asText("SollKnt"), "2800");
}

// Replacing the old year's files fails half way (a folder stands where a new table goes): every
// file moved so far goes back.
TEST_F(OverwriteYear, AReplacementThatFailsHalfWayLeavesTheOldYearAsItWas) {
    ASSERT_TRUE(QFile::remove(m_next + "/kntplan.DB"));
    ASSERT_TRUE(QDir().mkpath(m_next + "/kntplan.DB/im-Weg"));
    const QMap<QString, QByteArray> before = contentsOf(m_next);

    startAndOverwrite();

    expectRefusedNaming(m_next, before);
}

// The disk fills while the new year is written: the old year is untouched and the message names
// the directory that could not be written, not a table.
TEST_F(OverwriteYear, FullDiskWhileBuildingLeavesTheOldYearAsItWas) {
    QStringList accounts = {"konto EBK X Eröffnung", "konto 2800 B Bank Saldo=150,00"};
    for (int i = 0; i < 1500; ++i)
        accounts << QString("konto %1 E \"Erlöse mit einem langen Namen %1\"").arg(5000 + i);
    QDir(m_current).removeRecursively();
    data::buildBooks(m_current, accounts);
    ASSERT_GT(QFileInfo(m_current + "/kntplan.DB").size(), 80 * 1024);
    const QMap<QString, QByteArray> before = contentsOf(m_next);

    start();
    {
        NearlyFullDisk disk(64 * 1024);
        overwrite();
    }

    expectRefusedNaming(m_root.path(), before);
}

// A file where the new year's directory belongs is refused before anything is asked or changed.
TEST_F(OverwriteYear, AFileInPlaceOfTheYearIsRefusedBeforeAnyQuestion) {
    QDir(m_next).removeRecursively();
    QFile file(m_next);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    start();
    m_ui.answerInput(QString("01.01.2027"));
    m_ui.answerInput(QString("2027"));
    m_app->command(app::Command::NeuesJahr);

    EXPECT_EQ(m_ui.shownTexts("message"),
              QStringList{QString("\"%1\" ist eine Datei und kein Verzeichnis.").arg(m_next)});
    EXPECT_TRUE(m_ui.shownTexts("question").isEmpty());
    EXPECT_TRUE(QFileInfo(m_next).isFile());
    EXPECT_TRUE(m_app->isRunning());
}

} // namespace

namespace {

void writeText(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

// A program killed while it put a new year in place of an old one: the next start beside them
// moves every file back, whichever step the replacement had reached.
TEST(InterruptedReplacement, IsTakenBackAtTheNextStart) {
    QTemporaryDir root;
    const QString target = root.path() + "/KT2027";
    const QString built = root.path() + "/.KT2027-neu";
    ASSERT_TRUE(QDir().mkpath(target + "/Sicherung-1/"));
    ASSERT_TRUE(QDir().mkpath(built + "/belege"));
    // Old a.txt and b.txt were kept in the backup, the new a.txt was put in place; then the crash.
    writeText(target + "/Sicherung-1/a.txt", "alt a");
    writeText(target + "/Sicherung-1/b.txt", "alt b");
    writeText(target + "/c.txt", "alt c");
    writeText(target + "/a.txt", "neu a");
    writeText(built + "/b.txt", "neu b");
    writeText(built + "/.kontaro-tausch", QString("target=%1\nbackup=Sicherung-1\nold=a.txt\nold=b.txt\n"
                                                  "old=c.txt\nnew=a.txt\nnew=b.txt\nnew=belege\n")
                                              .arg(target)
                                              .toUtf8());

    years::removeLeftovers(root.path() + "/KT2026");

    EXPECT_EQ(contentsOf(target),
              (QMap<QString, QByteArray>{{"a.txt", "alt a"}, {"b.txt", "alt b"}, {"c.txt", "alt c"}}));
    EXPECT_FALSE(QFileInfo::exists(built));
}
