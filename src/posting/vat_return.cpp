#include "posting/vat_return.h"

#include "base/errors.h"
#include "base/text_file.h"
#include "forms/ui.h"
#include "forms/windows.h"
#include "output/page_buffer.h"

#include <QFileInfo>

namespace kontaro::posting {

namespace {

const QString LastReturnFile = QStringLiteral("ustmeldung.txt");

void print(forms::Ui& ui, const QStringList& lines) {
    output::PageBuffer page(QStringLiteral("Courier New"), 10, false);
    for (const QString& line : lines)
        page.add(line);
    ui.print(page.job(QStringLiteral("Ust Voranmeldung"), forms::PrintJob::Orientation::Portrait));
}

} // namespace

void saveAndPrintVatReturn(forms::Windows& windows, const QStringList& lines, int month) {
    forms::Ui& ui = windows.ui();
    const QString monthFile = QStringLiteral("ustmeldung%1.txt").arg(month);
    try {
        // The files come first: a printer that fails leaves the return on disk.
        text::writeLines(windows.dataDirectory() + QLatin1Char('/') + LastReturnFile, lines);
        text::writeLines(windows.dataDirectory() + QLatin1Char('/') + monthFile, lines);
    } catch (const UserError& e) {
        ui.error(e.message());
        return;
    }
    try {
        print(ui, lines);
    } catch (const UserError& e) {
        ui.error(e.message());
        ui.message(QStringLiteral("Die UST-Voranmeldung ist in den Dateien \"%1\" und \"%2\" gespeichert. "
                                  "Sie kann mit \"Druck/UST-Voranmeldung nochmals drucken\" gedruckt werden.")
                       .arg(LastReturnFile, monthFile));
        return;
    }
    ui.message(QStringLiteral("Beleg für UST-Voranmeldung auch in der Datei \"ustmeldung%1.txt\" gespeichert")
                   .arg(month));
}

void printSavedVatReturn(forms::Windows& windows) {
    const QString path = windows.dataDirectory() + QLatin1Char('/') + LastReturnFile;
    if (!QFileInfo::exists(path)) {
        windows.ui().message(
            QStringLiteral("Es gibt noch keine gespeicherte UST-Voranmeldung (\"%1\").").arg(LastReturnFile));
        return;
    }
    print(windows.ui(), text::readLines(path));
}

} // namespace kontaro::posting
