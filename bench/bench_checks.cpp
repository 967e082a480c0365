// Figures of the commands that read the whole books: the consistency check (prüfung.txt), the
// ledger export (konten.csv) and the group-sums printout. The size comes from KONTARO_BENCH_LINES
// (posted journal lines, default 100000, three ledger lines each; 300 accounts).
#include "forms/scripted_ui.h"
#include "generated_program.h"
#include "views/consistency_check.h"
#include "views/ledger_export.h"
#include "views/t_kontoplan.h"

#include <benchmark/benchmark.h>

using namespace kontaro;

namespace {

// Keeps no print jobs and no messages, so that many runs do not pile them up.
class ForgetfulUi : public forms::ScriptedUi {
public:
    void print(const forms::PrintJob& job) override { printedLines = job.lines.size(); }
    void message(const QString& text, int) override { lastMessage = text; }
    std::size_t printedLines = 0;
    QString lastMessage;
};

bench::GeneratedProgram<ForgetfulUi>& books() {
    static bench::GeneratedProgram<ForgetfulUi> generated;
    return generated;
}

void BM_ConsistencyCheck(benchmark::State& state) {
    app::T_Kontaro& app = *books().app;
    bool clean = false;
    for (auto _ : state)
        app.run([&] { clean = views::checkBooks(app, app.ag()); });
    state.counters["clean"] = clean ? 1 : 0;
    state.counters["lines"] = double(app.ag().count());
}
BENCHMARK(BM_ConsistencyCheck)->Unit(benchmark::kMillisecond);

void BM_LedgerExport(benchmark::State& state) {
    app::T_Kontaro& app = *books().app;
    for (auto _ : state)
        app.run([&] { views::exportLedger(app, app.ag()); });
    state.counters["lines"] = double(app.ag().count());
}
BENCHMARK(BM_LedgerExport)->Unit(benchmark::kMillisecond);

void BM_GroupSums(benchmark::State& state) {
    app::T_Kontaro& app = *books().app;
    for (auto _ : state)
        app.run([&] { app.kontoplan().printGroupSums(); });
    state.counters["lines"] = double(books().ui.printedLines);
}
BENCHMARK(BM_GroupSums)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
