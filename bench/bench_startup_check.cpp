// Start-up of the program to a usable posting window, alone and followed by the full check of the
// books' invariants, on generated books. Sizes come from KONTARO_BENCH_LINES (journal lines,
// comma-separated, default 100000; three ledger lines each, 300 accounts), the generator's seed
// from KONTARO_BENCH_SEED; KONTARO_BENCH_DIR keeps the books.
//
// Each run happens in a child process of its own, so that the peak resident memory it reports
// (VmHWM) is that of one start, not of the generator or of earlier runs.
#include "app/t_kontaro.h"
#include "data/books_generator.h"
#include "data/invariant_checker.h"
#include "data/new_books.h"
#include "forms/scripted_ui.h"
#include "posting/t_buchen.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kontaro;

namespace {

unsigned seed() {
    const QByteArray env = qgetenv("KONTARO_BENCH_SEED");
    return env.isEmpty() ? 20240101u : env.toUInt();
}

QList<int> sizes() {
    const QByteArray env = qgetenv("KONTARO_BENCH_LINES");
    QList<int> lines;
    for (const QByteArray& size : (env.isEmpty() ? QByteArray("100000") : env).split(','))
        lines.append(size.toInt());
    return lines;
}

// Books of each size, generated once per run; under KONTARO_BENCH_DIR they are kept (and reused)
// for side-by-side runs of other programs on the same books.
const QString& booksDirectory(int lines) {
    static QTemporaryDir temporary;
    static const QString root = qEnvironmentVariableIsSet("KONTARO_BENCH_DIR")
                                    ? qEnvironmentVariable("KONTARO_BENCH_DIR")
                                    : temporary.path();
    static std::map<int, QString> made;
    auto found = made.find(lines);
    if (found == made.end()) {
        const QString dir = root + QStringLiteral("/%1-%2/KT2024").arg(lines).arg(seed());
        if (!QFile::exists(dir + QStringLiteral("/journal.DB"))) {
            data::createEmptyBooks(dir);
            data::generateBooks(dir, data::BooksSize{lines, 300, seed()});
        }
        found = made.emplace(lines, dir).first;
    }
    return found->second;
}

double peakResidentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// Processor time of this process so far: on a machine shared with other work, a steadier figure
// than the wall clock.
double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Figures {
    double seconds = 0;
    double checkSeconds = 0; // of `seconds`, the check's
    double processorSeconds = 0;
    double peakMegabytes = 0;
    int findings = 0;
    bool started = false;
};

// Starts the program on `directory` (and checks the books) in a child process.
Figures measureInChild(const QString& directory, bool check) {
    int channel[2];
    if (pipe(channel) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        Figures figures;
        QElapsedTimer timer;
        timer.start();
        {
            forms::ScriptedUi ui;
            app::T_Kontaro program(ui, directory);
            figures.started = program.start();
            const qint64 started = timer.nsecsElapsed();
            if (figures.started && check)
                figures.findings = int(checkInvariants(program.session()).size());
            figures.checkSeconds = double(timer.nsecsElapsed() - started) / 1e9;
            figures.seconds = double(timer.nsecsElapsed()) / 1e9;
            figures.processorSeconds = processorSeconds();
            figures.peakMegabytes = peakResidentMegabytes();
            // Ending the program is not part of the figure.
            const ssize_t written = write(channel[1], &figures, sizeof figures);
            _exit(written == sizeof figures ? 0 : 1);
        }
    }
    close(channel[1]);
    Figures figures;
    const ssize_t got = read(channel[0], &figures, sizeof figures);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return got == sizeof figures ? figures : Figures();
}

void startUp(benchmark::State& state, bool check) {
    const QString& directory = booksDirectory(int(state.range(0)));
    Figures figures;
    double processor = 0;
    double checking = 0;
    for (auto _ : state) {
        figures = measureInChild(directory, check);
        if (!figures.started) {
            state.SkipWithError("the program did not start");
            return;
        }
        state.SetIterationTime(figures.seconds);
        processor += figures.processorSeconds;
        checking += figures.checkSeconds;
    }
    state.counters["cpu_ms"] = processor * 1000 / double(state.iterations());
    state.counters["peak_MiB"] = figures.peakMegabytes;
    if (check) {
        state.counters["findings"] = figures.findings;
        state.counters["check_ms"] = checking * 1000 / double(state.iterations());
    }
}

void BM_StartUp(benchmark::State& state) {
    startUp(state, false);
}

void BM_StartUpAndCheck(benchmark::State& state) {
    startUp(state, true);
}

} // namespace

int main(int argc, char** argv) {
    for (int lines : sizes()) {
        benchmark::RegisterBenchmark("BM_StartUp", BM_StartUp)
            ->Arg(lines)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
        benchmark::RegisterBenchmark("BM_StartUpAndCheck", BM_StartUpAndCheck)
            ->Arg(lines)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
