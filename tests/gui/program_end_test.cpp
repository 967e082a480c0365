#include "data/invariant_checker.h"
#include "data/session.h"
#include "data/settings.h"
#include "gui/qt_ui.h"
#include "gui_fixture.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <csignal>

namespace kontaro::test {

namespace {

const QStringList Books = {
    QStringLiteral("ini Mandant Name=Musterfirma"),
    QStringLiteral("ini DATEN BelegNR=41"),
    QStringLiteral("konto 2800 B \"Bank\" Saldo=100,00"),
    QStringLiteral("konto 4000 E \"Erlöse\" Saldo=-100,00"),
    QStringLiteral("zeile = Bnr=1 SollKnt=2800 HabenKnt=4000 SollBetrag=100,00 HabenBetrag=100,00 "
                   "SollSaldo2=100,00 HabenSaldo2=-100,00 Datum=02.01.2026 Buchtext=Honorar"),
    QStringLiteral("zeile ~ SollKnt=2800 Datum=03.01.2026"),
    QStringLiteral("hauptbuch Knr=2800 Bnr=1 SollBetrag=100,00 GKnt=4000 Saldo=100,00 Datum=02.01.2026 "
                   "Buchtext=Honorar"),
    QStringLiteral("hauptbuch Knr=4000 Bnr=1 HabenBetrag=100,00 GKnt=2800 Saldo=-100,00 Datum=02.01.2026 "
                   "Buchtext=Honorar"),
};

// Whether the process has installed its own handler for the signal (Linux: SigCgt in its status).
bool catchesSignal(qint64 pid, int signal) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1U;
    return false;
}

} // namespace

// How the program ends when it is told to from outside, and when its start fails.
class ProgramEndTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Logout and shutdown send SIGTERM: the program ends as "Beenden" does, keeps its settings and
    // leaves consistent books.
    void sigtermEndsTheProgramCleanly() {
        TestBooks books(Books);
        QProcess program;
        program.setWorkingDirectory(books.directory());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(KONTARO_PROGRAM), {});
        QVERIFY(program.waitForStarted(30000));
        // The handler goes in once the main window runs; a signal before that would kill it.
        const QDeadlineTimer deadline(60000);
        while (!catchesSignal(program.processId(), SIGTERM) && !deadline.hasExpired() &&
               program.state() == QProcess::Running)
            QTest::qWait(20);
        QVERIFY2(catchesSignal(program.processId(), SIGTERM), program.readAllStandardError().constData());
        program.terminate();
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);

        const Settings settings(books.directory());
        QCOMPARE(settings.mandantName(), QStringLiteral("Musterfirma"));
        QCOMPARE(settings.belegNR(), 41);
        data::Session session(books.directory());
        QCOMPARE(findingLines(checkInvariants(session)), QStringList());
    }

    // A start on a damaged journal shows its message once; the program does not go on.
    void aFailedStartShowsItsMessageOnce() {
        TestBooks books(Books);
        QFile journal(books.directory() + QStringLiteral("/journal.DB"));
        QVERIFY(journal.open(QIODevice::WriteOnly | QIODevice::Truncate));
        journal.write(QByteArray("kaputt ").repeated(300));
        journal.close();

        gui::QtUi ui(books.directory());
        QStringList shown;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        closer.start(20);
        app::T_Kontaro program(ui, books.directory());
        QVERIFY(!program.start());
        closer.stop();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.front().contains(QStringLiteral("journal.DB")), qPrintable(shown.front()));
    }
};

namespace {
const bool registered = registerGuiTestClass<ProgramEndTest>();
}

} // namespace kontaro::test

#include "program_end_test.moc"
