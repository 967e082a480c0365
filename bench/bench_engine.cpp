// Figures of the table engine on large books. The size comes from KONTARO_BENCH_LINES (journal
// lines, default 100000; the ledger gets three times as many lines, the chart 300 accounts).
#include "data/books_generator.h"
#include "data/cursor.h"
#include "data/session.h"
#include "data/transaction.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>

using namespace kontaro;
using namespace kontaro::data;

namespace {

int journalLines() {
    const QByteArray env = qgetenv("KONTARO_BENCH_LINES");
    return env.isEmpty() ? 100000 : env.toInt();
}

// Books generated once per run.
const QString& booksDirectory() {
    static QTemporaryDir dir;
    static const QString path = [] {
        generateBooks(dir.path(), BooksSize{journalLines(), 300});
        return dir.path();
    }();
    return path;
}

double residentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// All tables open, as the program has them while it runs.
struct OpenBooks {
    OpenBooks()
        : session(booksDirectory())
        , journal(session, QStringLiteral("journal.DB"))
        , chart(session, QStringLiteral("kntplan.DB"))
        , ledger(session, QStringLiteral("konten.DB")) {}
    Session session;
    Cursor journal;
    Cursor chart;
    Cursor ledger;
};

void BM_OpenAllTables(benchmark::State& state) {
    booksDirectory();
    const double before = residentMegabytes();
    double after = 0;
    for (auto _ : state) {
        OpenBooks books;
        benchmark::DoNotOptimize(books.ledger.recordCount());
        state.PauseTiming();
        after = residentMegabytes();
        state.ResumeTiming();
    }
    state.counters["VmRSS_MB"] = after;
    state.counters["tables_MB"] = after - before;
}
BENCHMARK(BM_OpenAllTables)->Unit(benchmark::kMillisecond)->Iterations(3);

// One table at a time, each in a session of its own.
void BM_OpenTable(benchmark::State& state) {
    static const char* files[] = {"journal.DB", "kntplan.DB", "konten.DB"};
    const QString file = QString::fromLatin1(files[state.range(0)]);
    booksDirectory();
    for (auto _ : state) {
        Session session(booksDirectory());
        Cursor cursor(session, file);
        benchmark::DoNotOptimize(cursor.recordCount());
    }
    state.SetLabel(files[state.range(0)]);
}
BENCHMARK(BM_OpenTable)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);

std::vector<Bookmark> randomBookmarks(Cursor& cursor) {
    std::mt19937 random(7);
    std::vector<Bookmark> marks;
    const int count = cursor.recordCount();
    for (int i = 0; i < 1024; ++i) {
        cursor.setRecNo(1 + int(random() % unsigned(count)));
        marks.push_back(cursor.bookmark());
    }
    return marks;
}

void BM_JumpAndRecNo(benchmark::State& state) {
    OpenBooks books;
    Cursor& cursor = state.range(0) == 0 ? books.journal : books.ledger;
    const std::vector<Bookmark> marks = randomBookmarks(cursor);
    std::size_t i = 0;
    for (auto _ : state) {
        cursor.gotoBookmark(marks[i++ & 1023]);
        benchmark::DoNotOptimize(cursor.recNo());
    }
    state.SetLabel(state.range(0) == 0 ? "journal natural order" : "ledger Knr;Bnr");
}
BENCHMARK(BM_JumpAndRecNo)->Arg(0)->Arg(1);

void BM_Locate(benchmark::State& state) {
    OpenBooks books;
    std::mt19937 random(11);
    const int lines = books.journal.recordCount();
    bool found = true;
    const auto locate = [&](int bnr) {
        switch (state.range(0)) {
        case 0:
            found &= books.journal.locate(QStringLiteral("bnr"), {bnr});
            break;
        case 1:
            found &= books.chart.locate(QStringLiteral("knr"), {QString::number(5000 + 10 + 3 * (bnr % 90))});
            break;
        default:
            books.journal.setRecNo(bnr);
            found &= books.ledger.locate(QStringLiteral("knr;bnr"),
                                         {books.journal.asText(QStringLiteral("SollKnt")), bnr});
        }
    };
    // The first locate on a set of fields builds its lookup index; time it on its own.
    QElapsedTimer first;
    first.start();
    locate(1);
    state.counters["first_ms"] = double(first.nsecsElapsed()) / 1e6;
    for (auto _ : state)
        locate(1 + int(random() % unsigned(lines)));
    if (!found)
        state.SkipWithError("not found");
    static const char* labels[] = {"journal bnr", "chart knr", "ledger knr;bnr (with a journal jump)"};
    state.SetLabel(labels[state.range(0)]);
}
BENCHMARK(BM_Locate)->Arg(0)->Arg(1)->Arg(2);

void BM_InsertBeforeAndPost(benchmark::State& state) {
    OpenBooks books;
    std::mt19937 random(3);
    books.session.begin();
    const int lines = books.journal.recordCount();
    for (auto _ : state) {
        books.journal.setRecNo(1 + int(random() % unsigned(lines)));
        books.journal.insert();
        books.journal.setText(QStringLiteral("SollKnt"), QStringLiteral("5010"));
        books.journal.setText(QStringLiteral("HabenKnt"), QStringLiteral("2702"));
        books.journal.setText(QStringLiteral("SollBetrag"), QStringLiteral("12,34"));
        books.journal.setText(QStringLiteral("Buchtext"), QStringLiteral("Eingefügt"));
        books.journal.post();
    }
    books.session.rollback(); // after the timed loop
}
BENCHMARK(BM_InsertBeforeAndPost)->Unit(benchmark::kMicrosecond);

void BM_WalkAccountLedger(benchmark::State& state) {
    OpenBooks books;
    books.ledger.setIndexName(QStringLiteral("absteigend"));
    books.ledger.setMaster(books.chart, QStringLiteral("Knr"));
    std::int64_t rows = 0;
    int account = 0;
    for (auto _ : state) {
        state.PauseTiming();
        books.chart.setRecNo(3 + (account++ % 290));
        state.ResumeTiming();
        Money sum;
        for (books.ledger.first(); !books.ledger.eof(); books.ledger.next()) {
            sum += books.ledger.asMoney(QStringLiteral("SollBetrag"));
            ++rows;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(rows);
    state.counters["rows_per_account"] = double(rows) / double(state.iterations());
}
BENCHMARK(BM_WalkAccountLedger)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
