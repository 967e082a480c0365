// Voucher files: the folder "belege" of the data directory holds one file per voucher, named after
// the voucher designation. Books copied from a case-insensitive file system may spell the folder
// and the files in any case, so both are found without regard to it.
#include "data/cursor.h"
#include "posting/t_buchen.h"

#include <QDir>

namespace kontaro::posting {

namespace {

// The entry of `directory` named `name` apart from case, as the file system spells it; `name` itself
// when there is none.
QString entryPath(const QString& directory, const QString& name, QDir::Filters filters) {
    const QDir dir(directory);
    for (const QString& entry : dir.entryList(filters | QDir::Hidden | QDir::System))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return dir.filePath(name);
}

QString voucherFolder(const QString& dataDirectory) {
    return entryPath(dataDirectory, QStringLiteral("belege"), QDir::Dirs | QDir::NoDotAndDotDot);
}

QString voucherFile(const QString& folder, const QString& name) {
    return entryPath(folder, name, QDir::Files);
}

} // namespace

void T_Buchen::showVoucher(const QString& beleg) {
    const QString folder = voucherFolder(m_windows.dataDirectory());
    if (beleg.isEmpty()) {
        ui().message(
            QStringLiteral("Erstelle Beleg im \"Arbeitsverzeichnis\\BELEGE\\\" mit beliebiger "
                           "Dateierweiterung. Vorzugsweise aber PDF, JPG, SXW, SXC, DOC, ODT, XLS, TXT"));
        return;
    }
    // A designation with an extension names the file itself; only the search below reports failure.
    if (beleg.contains(QLatin1Char('.'))) {
        ui().shellOpen(voucherFile(folder, beleg), QString());
        return;
    }
    QString tried;
    for (const char* extension : {".jpg", ".sxw", ".sxc", ".doc", ".xls", ".odt", ".pdf", ".txt"}) {
        tried = voucherFile(folder, beleg + QLatin1String(extension));
        // A file that is not there cannot be opened; the desktop is asked only for existing ones.
        if (QFileInfo::exists(tried) && ui().shellOpen(tried, QString()))
            return;
    }
    ui().message(QStringLiteral("Vermutlich Anwendungsprogramm oder \"") + tried.left(80) +
                 QStringLiteral("\" nicht vorhanden (.PDF, JPG, SXW, SXC, DOC, ODT, XLS, TXT)"));
}

void T_Buchen::pickVoucherFile() {
    const QString folder = voucherFolder(m_windows.dataDirectory());
    const std::optional<QString> file = ui().openFile(
        QStringLiteral("Beleg auswählen"), QFileInfo(folder).isDir() ? folder : m_windows.dataDirectory(),
        QStringLiteral("Alle Dateien|*"));
    editLine();
    QString beleg = file ? QFileInfo(*file).fileName() : m_j->asText(QStringLiteral("Beleg"));
    for (const char* extension : {".pdf", ".doc", ".sxw", ".sxc", ".xls", ".jpg", ".txt"}) {
        const qsizetype at = beleg.indexOf(QLatin1String(extension));
        if (at >= 0)
            beleg.truncate(at);
    }
    m_j->setText(QStringLiteral("Beleg"), beleg.left(8));
    validate();
}

} // namespace kontaro::posting
