// Figure of the chart-of-accounts printout with kontoplan.csv on large books: the walk moves the
// chart's cursor, so the ledger window follows every account. The size comes from
// KONTARO_BENCH_LINES (journal lines, default 100000; 300 accounts).
#include "forms/scripted_ui.h"
#include "generated_program.h"
#include "views/t_kontoplan.h"

#include <benchmark/benchmark.h>

using namespace kontaro;

namespace {

// Counts what is printed instead of keeping every job.
class PrintCountingUi : public forms::ScriptedUi {
public:
    void print(const forms::PrintJob& job) override { lines = job.lines.size(); }
    std::size_t lines = 0;
};

void BM_ChartPrintout(benchmark::State& state) {
    static bench::GeneratedProgram<PrintCountingUi> books;
    const int mode = int(state.range(0));
    for (auto _ : state)
        books.app->run([&] { books.app->kontoplan().printChart(mode); });
    state.counters["lines"] = double(books.ui.lines);
}
BENCHMARK(BM_ChartPrintout)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
