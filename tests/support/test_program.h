#pragma once

#include "app/t_kontaro.h"
#include "forms/scripted_ui.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace kontaro::test {

// Books built from a few lines of text (see data::buildBooks) in a fresh temporary directory.
class TestBooks {
public:
    explicit TestBooks(const QStringList& lines = {}, const QString& name = QStringLiteral("KT2026"));
    const QString& directory() const { return m_directory; }

private:
    QTemporaryDir m_root;
    QString m_directory;
};

// The whole program started headless on test books, with a scripted Ui.
class TestProgram {
public:
    explicit TestProgram(const QStringList& bookLines = {});
    ~TestProgram();

    app::T_Kontaro& app() { return *m_app; }
    forms::ScriptedUi& ui() { return m_ui; }
    const QString& directory() const { return m_books.directory(); }

private:
    TestBooks m_books;
    forms::ScriptedUi m_ui;
    std::unique_ptr<app::T_Kontaro> m_app;
};

} // namespace kontaro::test
