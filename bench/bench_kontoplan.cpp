// Figure of the chart-of-accounts printout with kontoplan.csv on large books: the walk moves the
// chart's cursor, so the ledger window follows every account. The size comes from
// KONTARO_BENCH_LINES (journal lines, default 100000; 300 accounts).
#include "app/t_kontaro.h"
#include "data/books_builder.h"
#include "data/books_generator.h"
#include "forms/scripted_ui.h"
#include "views/t_kontoplan.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace kontaro;

namespace {

// Counts what is printed instead of keeping every job.
class PrintCountingUi : public forms::ScriptedUi {
public:
    void print(const forms::PrintJob& job) override { lines = job.lines.size(); }
    std::size_t lines = 0;
};

struct ChartBooks {
    ChartBooks() {
        const QByteArray size = qgetenv("KONTARO_BENCH_LINES");
        directory = root.path() + QStringLiteral("/KT2026");
        data::buildBooks(directory, {});
        data::generateBooks(directory, data::BooksSize{size.isEmpty() ? 100000 : size.toInt(), 300});
        program = std::make_unique<app::T_Kontaro>(ui, directory);
        if (!program->start())
            throw std::runtime_error("the program did not start");
    }
    QTemporaryDir root;
    QString directory;
    PrintCountingUi ui;
    std::unique_ptr<app::T_Kontaro> program;
};

void BM_ChartPrintout(benchmark::State& state) {
    static ChartBooks books;
    const int mode = int(state.range(0));
    for (auto _ : state)
        books.program->run([&] { books.program->kontoplan().printChart(mode); });
    state.counters["lines"] = double(books.ui.lines);
}
BENCHMARK(BM_ChartPrintout)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
