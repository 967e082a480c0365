#pragma once

#include "forms/print_job.h"

#include <QString>

class QPrinter;

namespace kontaro::gui {

// Prints a job on the default printer without a dialog. Without any printer the job goes into a
// PDF named after its title in the data directory.
class QtPrinter {
public:
    explicit QtPrinter(QString dataDirectory);

    // Where the job went: empty when a printer took it, else the path of the PDF. Throws
    // kontaro::UserError when printing fails.
    QString print(const forms::PrintJob& job) const;
    // The PDF a job of this title is written to when there is no printer.
    QString pdfPath(const QString& title) const;
    // What the printer (or the PDF without one) offers for an orientation: resolution and
    // printable page in device pixels.
    forms::PrinterPage page(forms::PrintJob::Orientation orientation) const;
    // Prints into a PDF even when a printer exists.
    bool forcePdf = false;

private:
    bool toPdf() const;
    void setUp(QPrinter& printer, forms::PrintJob::Orientation orientation) const;

    QString m_dataDirectory;
};

} // namespace kontaro::gui
