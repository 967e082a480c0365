// Figures of the journal and ledger-account windows on large books: the printouts, the balance
// re-sync and a journal search that finds nothing. The size comes from KONTARO_BENCH_LINES (journal
// lines, default 100000; 300 accounts).
#include "data/cursor.h"
#include "forms/scripted_ui.h"
#include "generated_program.h"
#include "views/t_journal.h"
#include "views/t_konto.h"

#include <benchmark/benchmark.h>

using namespace kontaro;

namespace {

// Keeps only the size of what is printed, so repeated printouts do not pile up in memory.
class CountingUi : public forms::ScriptedUi {
public:
    void print(const forms::PrintJob& job) override { printedLines = job.lines.size(); }
    std::size_t printedLines = 0;
};

using Program = bench::GeneratedProgram<CountingUi>;

Program& program() {
    static Program p;
    return p;
}

void BM_JournalPrintout(benchmark::State& state) {
    Program& p = program();
    for (auto _ : state)
        p.app->run([&] { p.app->journal().printJournal(0); });
    state.counters["lines"] = double(p.ui.printedLines);
}
BENCHMARK(BM_JournalPrintout)->Unit(benchmark::kMillisecond);

void BM_PrintAllAccounts(benchmark::State& state) {
    Program& p = program();
    for (auto _ : state)
        p.app->run([&] { p.app->konto().printAllAccounts(false); });
    state.counters["lines"] = double(p.ui.printedLines);
}
BENCHMARK(BM_PrintAllAccounts)->Unit(benchmark::kMillisecond);

// Every account balance is wrong before each run, so every account is written.
void BM_BalanceResync(benchmark::State& state) {
    Program& p = program();
    for (auto _ : state) {
        state.PauseTiming();
        p.app->run([&] {
            data::Cursor chart(p.app->session(), QStringLiteral("kntplan.DB"));
            for (chart.first(); !chart.eof(); chart.next()) {
                chart.edit();
                chart.setMoney(QStringLiteral("Saldo"), Money::fromCents(1));
                chart.post();
            }
        });
        state.ResumeTiming();
        p.app->run([&] { p.app->konto().saldenAbgleich(); });
    }
}
BENCHMARK(BM_BalanceResync)->Unit(benchmark::kMillisecond);

// A term that no line holds: the search walks from the last line to the first, and going to the
// first line's number walks back again.
void BM_JournalSearchWithoutMatch(benchmark::State& state) {
    Program& p = program();
    views::T_Journal& journal = p.app->journal();
    journal.type(QStringLiteral("SucheText"), QStringLiteral("KEIN SOLCHER TEXT"));
    for (auto _ : state) {
        state.PauseTiming();
        journal.type(QStringLiteral("sucheBnr"), QString()); // the last line again
        state.ResumeTiming();
        p.app->run([&] { journal.sucheNeueste(); });
    }
    state.counters["lines"] = double(journal.lines().recordCount());
}
BENCHMARK(BM_JournalSearchWithoutMatch)->Unit(benchmark::kMillisecond);

void BM_JournalAmountSearchWithoutMatch(benchmark::State& state) {
    Program& p = program();
    views::T_Journal& journal = p.app->journal();
    journal.type(QStringLiteral("SucheText"), QStringLiteral("-0,01"));
    for (auto _ : state) {
        state.PauseTiming();
        journal.type(QStringLiteral("sucheBnr"), QString());
        state.ResumeTiming();
        p.app->run([&] { journal.sucheNeueste(); });
    }
}
BENCHMARK(BM_JournalAmountSearchWithoutMatch)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
