#include "data/table_storage.h"

#include "base/errors.h"

#include <QDir>

namespace kontaro::data {

void refuseTableLayout(const QString& filePath, const QString& field, const QString& actualType,
                       const QString& expectedType) {
    const QString detail =
        actualType.isNull()
            ? QStringLiteral("Feld %1 fehlt").arg(field)
            : QStringLiteral("Feld %1 hat den Typ %2 statt %3").arg(field, actualType, expectedType);
    throw FileError(QStringLiteral("Die Tabelle \"%1\" passt nicht zu diesem Programm (%2).")
                        .arg(QDir::toNativeSeparators(filePath), detail));
}

} // namespace kontaro::data
