#pragma once

#include "app/t_kontaro.h"
#include "data/books_generator.h"
#include "data/new_books.h"

#include <QTemporaryDir>
#include <memory>
#include <stdexcept>

namespace kontaro::bench {

// Journal lines of the generated books: KONTARO_BENCH_LINES, default 100000.
inline int journalLines() {
    const QByteArray env = qgetenv("KONTARO_BENCH_LINES");
    return env.isEmpty() ? 100000 : env.toInt();
}

// The program started headless on generated books (300 accounts) with the Ui a benchmark gives it.
template <typename Ui> struct GeneratedProgram {
    GeneratedProgram() {
        directory = root.path() + QStringLiteral("/KT2026");
        data::createEmptyBooks(directory);
        data::generateBooks(directory, data::BooksSize{journalLines(), 300});
        app = std::make_unique<app::T_Kontaro>(ui, directory);
        if (!app->start())
            throw std::runtime_error("the program did not start");
    }
    QTemporaryDir root;
    QString directory;
    Ui ui;
    std::unique_ptr<app::T_Kontaro> app;
};

} // namespace kontaro::bench
