// Figures of the posting window on large books. The size comes from KONTARO_BENCH_LINES (posted
// journal lines, default 100000; three ledger lines each, 300 accounts). Every user action runs as
// the program runs it: one session transaction with a durable commit.
#include "app/t_kontaro.h"
#include "data/books_generator.h"
#include "data/cursor.h"
#include "data/new_books.h"
#include "forms/scripted_ui.h"
#include "posting/t_buchen.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace kontaro;

namespace {

int journalLines() {
    const QByteArray env = qgetenv("KONTARO_BENCH_LINES");
    return env.isEmpty() ? 100000 : env.toInt();
}

// Generated once per run; every line posted.
const QString& booksDirectory() {
    static QTemporaryDir root;
    static const QString path = [] {
        const QString dir = root.path() + QStringLiteral("/KT2026");
        data::createEmptyBooks(dir);
        data::generateBooks(dir, data::BooksSize{journalLines(), 300});
        return dir;
    }();
    return path;
}

struct Program {
    Program()
        : app(ui, booksDirectory()) {
        if (!app.start())
            throw std::runtime_error("the program did not start");
    }
    posting::T_Buchen& buchen() { return app.buchen(); }
    forms::ScriptedUi ui;
    app::T_Kontaro app;
};

// A bank takes gross takings of an income account; the amount is typed on the bank side.
void prepareLine(posting::T_Buchen& buchen) {
    buchen.type(QStringLiteral("SollKnt"), QStringLiteral("2702"));
    buchen.type(QStringLiteral("HabenKnt"), QStringLiteral("4009"));
    buchen.type(QStringLiteral("SollBetrag"), QStringLiteral("120,00"));
    buchen.focus(QStringLiteral("Buchtext"));
    if (buchen.isMeldungRed())
        throw std::runtime_error("the benchmark line is refused");
}

void BM_StartUp(benchmark::State& state) {
    booksDirectory();
    for (auto _ : state) {
        auto program = std::make_unique<Program>();
        benchmark::DoNotOptimize(program->buchen().line().recNo());
        // The program ends outside the measurement.
        state.PauseTiming();
        program.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(5);

// Validation, ledger lines, balances, next line and the commit: one click on the post command.
void BM_PostLine(benchmark::State& state) {
    Program program;
    posting::T_Buchen& buchen = program.buchen();
    for (auto _ : state) {
        state.PauseTiming();
        prepareLine(buchen);
        state.ResumeTiming();
        buchen.click(QStringLiteral("JournalPlus"));
    }
}
BENCHMARK(BM_PostLine)->Unit(benchmark::kMillisecond)->Iterations(50)->Repetitions(3)->ReportAggregatesOnly();

void BM_Undo(benchmark::State& state) {
    Program program;
    posting::T_Buchen& buchen = program.buchen();
    prepareLine(buchen);
    for (auto _ : state) {
        state.PauseTiming();
        buchen.click(QStringLiteral("JournalPlus"));
        state.ResumeTiming();
        buchen.click(QStringLiteral("JournalMinus"));
    }
}
BENCHMARK(BM_Undo)->Unit(benchmark::kMillisecond)->Iterations(50)->Repetitions(3)->ReportAggregatesOnly();

// The check sums over the posted journal and the whole ledger (the status check without password).
void BM_StatusCheckSums(benchmark::State& state) {
    Program program;
    posting::T_Buchen& buchen = program.buchen();
    for (auto _ : state)
        program.app.run([&] { buchen.statusCheck(false); });
    if (!program.ui.shownTexts(QStringLiteral("message")).isEmpty())
        state.SkipWithError("the check sums differ");
}
BENCHMARK(BM_StatusCheckSums)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

BENCHMARK_MAIN();
