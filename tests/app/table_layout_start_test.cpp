#include "app/t_kontaro.h"
#include "data/sqlite_db.h"
#include "forms/scripted_ui.h"
#include "support/test_program.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <gtest/gtest.h>

namespace kontaro::test {
namespace {

QMap<QString, QByteArray> fileHashes(const QString& directory) {
    QMap<QString, QByteArray> hashes;
    for (const QString& name : QDir(directory).entryList(QDir::Files)) {
        QFile file(QDir(directory).filePath(name));
        if (file.open(QIODevice::ReadOnly))
            hashes.insert(name, QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256));
    }
    return hashes;
}

// A journal that lost a column must not start: its texts would show the column name.
TEST(TableLayoutAtStart, JournalWithoutPostingTextIsRefusedAndNothingIsWritten) {
    TestBooks books({QStringLiteral("konto 2800 B \"Bank\""), QStringLiteral("konto 4010 E \"Erlöse\"")});
    const QString journal = QDir(books.directory()).filePath(QStringLiteral("journal.DB"));
    {
        data::SqliteDb db(journal);
        db.execute(QStringLiteral("ALTER TABLE journal DROP COLUMN Buchtext"));
    }
    const QMap<QString, QByteArray> before = fileHashes(books.directory());

    forms::ScriptedUi ui;
    {
        app::T_Kontaro program(ui, books.directory());
        program.start();
    }
    const QString refusal =
        QStringLiteral("Die Tabelle \"%1\" passt nicht zu diesem Programm (Feld Buchtext fehlt).")
            .arg(QDir::toNativeSeparators(journal));
    const auto shown =
        std::find_if(ui.shown().begin(), ui.shown().end(),
                     [&](const forms::ScriptedUi::Shown& s) { return s.text.contains(refusal); });
    EXPECT_NE(shown, ui.shown().end()) << "not shown: " << refusal.toStdString();
    EXPECT_EQ(fileHashes(books.directory()), before);
}

} // namespace
} // namespace kontaro::test
