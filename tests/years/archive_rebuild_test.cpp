#include "app/main_menu.h"
#include "base/clock.h"
#include "data/books_builder.h"
#include "data/cursor.h"
#include "data/session.h"
#include "data/sqlite_db.h"
#include "forms/scripted_ui.h"
#include "support/test_program.h"
#include "years/t_alt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kontaro;

// A year open in another program is left out and not counted. The data directory's own journal is
// open in this program's windows: its chart is archived, its lines are not.
TEST(ArchiveRebuild, LeavesOutAYearOpenElsewhereAndTheOwnJournal) {
    FixedClock clock(QDate(2027, 1, 10));
    test::TestProgram program(
        {"konto 2800 B Bank", "zeile = Bnr=1 SollKnt=2800 HabenKnt=2800 Datum=02.01.2026"});
    const QString parent = QFileInfo(program.directory()).absolutePath();
    data::buildBooks(parent + "/KT2025",
                     {"konto 1000 B Alt", "zeile = SollKnt=1000 HabenKnt=1000 Datum=02.01.2025"});
    data::buildBooks(parent + "/KT2024",
                     {"konto 1000 B Alt", "zeile = SollKnt=1000 HabenKnt=1000 Datum=02.01.2024"});
    data::Session other(parent + "/KT2025");

    program.app().command(app::Command::ArchivErzeugen);

    EXPECT_EQ(
        program.ui().shownTexts("message"),
        QStringList{"Datei \"knt9plan.db(f)\" und \"journal9.db(f)\" wurde erzeugt und enthält nun Daten der "
                    "vergangenen 2 Jahre."});
    data::Cursor charts(program.app().session(), "knt9plan.db");
    charts.open();
    QStringList years;
    for (charts.first(); !charts.eof(); charts.next())
        years << charts.asText("JAHR");
    EXPECT_EQ(years, QStringList({"2024", "2026"}));
    data::Cursor journals(program.app().session(), "journal9.db");
    journals.open();
    ASSERT_EQ(journals.recordCount(), 1);
    EXPECT_EQ(journals.asText("JAHR"), "2024");
}

namespace {

// A directory this process cannot write: by its mode, or for root (who writes anyway) by the
// immutable attribute. Inactive where neither works.
class WriteProtected {
public:
    explicit WriteProtected(const QString& directory)
        : m_path(QFile::encodeName(directory)) {
        if (::geteuid() != 0) {
            ::chmod(m_path.constData(), 0555);
        } else if (const int fd = ::open(m_path.constData(), O_RDONLY | O_DIRECTORY); fd >= 0) {
            int flags = 0;
            if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags |= FS_IMMUTABLE_FL;
                ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
            ::close(fd);
        }
        m_active = ::access(m_path.constData(), W_OK) != 0;
    }
    ~WriteProtected() {
        if (const int fd = ::open(m_path.constData(), O_RDONLY | O_DIRECTORY); fd >= 0) {
            int flags = 0;
            if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL)) {
                flags &= ~FS_IMMUTABLE_FL;
                ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
            ::close(fd);
        }
        ::chmod(m_path.constData(), 0755);
    }
    WriteProtected(const WriteProtected&) = delete;
    WriteProtected& operator=(const WriteProtected&) = delete;

    bool active() const { return m_active; }

private:
    QByteArray m_path;
    bool m_active = false;
};

} // namespace

// A year that cannot be written (an old year kept write-protected) is read without a lock.
TEST(ArchiveRebuild, ReadsAWriteProtectedYear) {
    FixedClock clock(QDate(2027, 1, 10));
    test::TestProgram program({"konto 2800 B Bank", "zeile ~ SollKnt=2800 HabenKnt=2800 Datum=02.01.2026"});
    const QString old = QFileInfo(program.directory()).absolutePath() + "/KT2025";
    data::buildBooks(old, {"konto 1000 B Alt Saldo=7,00",
                           "zeile = Bnr=1 SollKnt=1000 HabenKnt=1000 SollBetrag=7,00 HabenBetrag=7,00 "
                           "Datum=02.01.2025"});
    const QStringList filesBefore = QDir(old).entryList(QDir::Files | QDir::Hidden);
    const WriteProtected protection(old);
    if (!protection.active())
        GTEST_SKIP() << "no way to write-protect a directory here";

    program.app().command(app::Command::ArchivErzeugen);

    EXPECT_EQ(
        program.ui().shownTexts("message"),
        QStringList{"Datei \"knt9plan.db(f)\" und \"journal9.db(f)\" wurde erzeugt und enthält nun Daten der "
                    "vergangenen 2 Jahre."});
    data::Cursor journals(program.app().session(), "journal9.db");
    journals.open();
    ASSERT_EQ(journals.recordCount(), 1);
    EXPECT_EQ(journals.asText("JAHR"), "2025");
    EXPECT_EQ(journals.asText("SOLLKNT"), "1000");
    EXPECT_EQ(QDir(old).entryList(QDir::Files | QDir::Hidden), filesBefore);
}

// An archive written by a newer program version is called so, in the window and by the rebuild,
// which then changes nothing.
TEST(ArchiveRebuild, AnArchiveOfANewerVersionIsCalledSo) {
    FixedClock clock(QDate(2027, 1, 10));
    test::TestBooks books({"konto 2800 B Bank", "zeile ~ SollKnt=2800 HabenKnt=2800 Datum=02.01.2026"});
    const QString archive = books.directory() + "/journal9.db";
    data::SqliteDb(archive).execute("PRAGMA user_version=99");
    forms::ScriptedUi ui;
    app::T_Kontaro program(ui, books.directory());
    ASSERT_TRUE(program.start());
    const QString newer =
        QString("Die Tabelle \"%1\" stammt von einer neueren Programmversion.").arg(archive);

    const forms::Control& notice = program.alt().control("ALT_INFO");
    EXPECT_TRUE(notice.visible);
    EXPECT_EQ(notice.caption, newer);
    const auto bytesOf = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = bytesOf(archive);
    program.command(app::Command::ArchivErzeugen);
    EXPECT_EQ(ui.shownTexts("message").value(0), newer);
    EXPECT_EQ(bytesOf(archive), before);
}
