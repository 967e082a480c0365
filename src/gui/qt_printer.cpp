#include "gui/qt_printer.h"

#include "base/errors.h"
#include "gui/look.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace kontaro::gui {

QtPrinter::QtPrinter(QString dataDirectory)
    : m_dataDirectory(std::move(dataDirectory)) {}

QString QtPrinter::pdfPath(const QString& title) const {
    QString name = title.trimmed();
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':'))
            c = QLatin1Char('_');
    if (name.isEmpty())
        name = QStringLiteral("Druck");
    return m_dataDirectory + QLatin1Char('/') + name + QStringLiteral(".pdf");
}

QString QtPrinter::print(const forms::PrintJob& job) const {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    const bool toPdf = forcePdf || info.isNull();
    QPrinter printer(QPrinter::HighResolution);
    QString target;
    if (toPdf) {
        target = pdfPath(job.title);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target);
        printer.setResolution(600);
        printer.setPageSize(QPageSize(QPageSize::A4));
    } else {
        printer.setPrinterName(info.printerName());
    }
    printer.setDocName(job.title);
    printer.setPageOrientation(job.orientation == forms::PrintJob::Orientation::Landscape
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer))
        throw UserError(toPdf
                            ? QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden.").arg(target)
                            : QStringLiteral("Der Drucker \"%1\" ist nicht bereit.").arg(info.printerName()));

    // The page rectangle in device pixels from the printable area's origin; all zero: the whole area.
    QRect page(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    if (job.left || job.top || job.right || job.bottom)
        page = QRect(QPoint(job.left, job.top), QPoint(job.right, job.bottom));
    painter.setClipRect(page);

    int y = page.top();
    for (const forms::PrintJob::Line& line : job.lines) {
        QFont font(line.fontName.isEmpty() ? job.baseFont : line.fontName);
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        font.setPointSize(line.pointSize > 0 ? line.pointSize : job.basePointSize);
        font.setBold(line.bold);
        painter.setFont(font);
        const QFontMetrics metrics(font, &printer);
        if (y + metrics.height() > page.bottom() && y > page.top()) {
            printer.newPage();
            y = page.top();
        }
        const QColor color = qColor(line.color);
        painter.setPen(color.isValid() ? color : QColor(Qt::black));
        painter.drawText(page.left(), y + metrics.ascent(), line.text);
        y += metrics.height();
    }
    painter.end();
    return target;
}

} // namespace kontaro::gui
