// Figures of the tax reports on large books: the income-expense statement (two passes over the
// chart per business code, the tax-office lines of the ledger) and the VAT pre-return list (twelve
// passes over the journal). The size comes from KONTARO_BENCH_LINES (journal lines, default
// 100000; 300 accounts).
#include "app/t_init.h"
#include "app/t_kontaro.h"
#include "data/settings.h"
#include "forms/scripted_ui.h"
#include "generated_program.h"
#include "reports/ea_rechnung.h"
#include "reports/ig_erwerb.h"
#include "reports/uva_export.h"

#include <benchmark/benchmark.h>
#include <memory>

using namespace kontaro;

namespace {

// Keeps only the size of what is printed, so repeated runs do not pile up in memory; the export
// asks for the second quarter.
class CountingUi : public forms::ScriptedUi {
public:
    void print(const forms::PrintJob& job) override { printedLines = job.lines.size(); }
    std::size_t printedLines = 0;

protected:
    std::optional<QString> askInput(const QString&, const QString&, const QString&) override {
        return QStringLiteral("Q2");
    }
};

// Generated books with one business code, the four VAT accounts and a tax number.
struct Program : bench::GeneratedProgram<CountingUi> {
    Program() {
        Settings settings(directory);
        settings.file().writeString(QStringLiteral("Firmenkennungen"), QStringLiteral("A"),
                                    QStringLiteral("Firma"));
        settings.setUstKonten(
            {QStringLiteral("3500"), QStringLiteral("2500"), QStringLiteral("3501"), QStringLiteral("2501")});
        app->init().control(QStringLiteral("FASTNR")).setText(QStringLiteral("123456789"));
    }
};

Program& program() {
    static Program p;
    return p;
}

void BM_EaRechnung(benchmark::State& state) {
    Program& p = program();
    for (auto _ : state)
        p.app->run([&] { reports::EaRechnung(*p.app).run(); });
}
BENCHMARK(BM_EaRechnung)->Unit(benchmark::kMillisecond);

void BM_IgErwerb(benchmark::State& state) {
    Program& p = program();
    for (auto _ : state)
        p.app->run([&] { reports::IgErwerb(*p.app).run(); });
    state.counters["lines"] = double(p.ui.printedLines);
}
BENCHMARK(BM_IgErwerb)->Unit(benchmark::kMillisecond);

void BM_UvaExportQuarter(benchmark::State& state) {
    Program& p = program();
    for (auto _ : state)
        p.app->run([&] { reports::UvaExport(*p.app).run(); });
}
BENCHMARK(BM_UvaExportQuarter)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
