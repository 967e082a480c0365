#include "data/new_books.h"

#include "base/errors.h"
#include "data/session.h"

#include <QDir>

namespace kontaro::data {

QStringList bookTableFiles() {
    return {
        QStringLiteral("journal.DB"),  QStringLiteral("journal1.DB"),  QStringLiteral("kntplan.DB"),
        QStringLiteral("konten.DB"),   QStringLiteral("knt1plan.DBF"), QStringLiteral("knt9plan.db"),
        QStringLiteral("journal9.db"), QStringLiteral("knt9plan.DBF"), QStringLiteral("journal9.DBF"),
    };
}

void createEmptyBooks(const QString& directory) {
    if (!QDir().mkpath(directory))
        throw FileError(QStringLiteral("Das Verzeichnis \"%1\" kann nicht angelegt werden.")
                            .arg(QDir::toNativeSeparators(directory)));
    Session session(directory);
    for (const QString& file : bookTableFiles())
        if (!session.tableExists(file))
            session.createTable(file);
        else
            throw FileError(QStringLiteral("Die Tabelle \"%1\" gibt es bereits.").arg(file));
}

} // namespace kontaro::data
