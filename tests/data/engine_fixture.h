#pragma once

#include "data/cursor.h"
#include "data/session.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>

namespace kontaro::data::testing {

// A list of UTF-8 literals.
QStringList texts(std::initializer_list<const char*> items);

// Books in a fresh temporary directory with empty journal, chart and ledger tables.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;

    QString path(const QString& name) const { return m_dir.filePath(name); }
    Session& session() { return *m_session; }
    // Closes the session and opens a new one on the same files.
    void reopen();

    // Appends one row per entry of `rows`; each entry is "Field=value;Field=value".
    static void appendRows(Cursor& cursor, const QStringList& rows);
    // The values of `field` in the cursor's order, from the first row on.
    static QStringList column(Cursor& cursor, const QString& field);

    QTemporaryDir m_dir;
    std::unique_ptr<Session> m_session;
};

} // namespace kontaro::data::testing
