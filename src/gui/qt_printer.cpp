#include "gui/qt_printer.h"

#include "base/errors.h"
#include "gui/look.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace kontaro::gui {

namespace {

using forms::PrintJob;

QFont lineFont(const PrintJob& job, const PrintJob::Line& line) {
    QFont font(line.fontName.isEmpty() ? job.baseFont : line.fontName);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(line.pointSize > 0 ? line.pointSize : job.basePointSize);
    font.setBold(line.bold);
    return font;
}

// Where each line of a job goes: its page and its top in device pixels.
struct Placement {
    int page = 0;
    double top = 0;
};

// Lines top to bottom, a new page whenever the next one no longer fits.
std::vector<Placement> paginate(const std::vector<double>& heights, double top, double bottom) {
    std::vector<Placement> placed;
    placed.reserve(heights.size());
    int page = 0;
    double y = top;
    for (const double height : heights) {
        if (y + height > bottom && y > top) {
            ++page;
            y = top;
        }
        placed.push_back({page, y});
        y += height;
    }
    return placed;
}

QFont pageNumberFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(8);
    return font;
}

} // namespace

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

bool QtPrinter::toPdf() const {
    return forcePdf || QPrinterInfo::defaultPrinter().isNull();
}

void QtPrinter::setUp(QPrinter& printer, PrintJob::Orientation orientation) const {
    if (toPdf()) {
        // Without a printer: A4 at the resolution of a good laser printer.
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(600);
        printer.setPageSize(QPageSize(QPageSize::A4));
    } else {
        printer.setPrinterName(QPrinterInfo::defaultPrinter().printerName());
    }
    printer.setPageOrientation(orientation == PrintJob::Orientation::Landscape ? QPageLayout::Landscape
                                                                               : QPageLayout::Portrait);
}

forms::PrinterPage QtPrinter::page(PrintJob::Orientation orientation) const {
    QPrinter printer(QPrinter::HighResolution);
    setUp(printer, orientation);
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    return {printer.logicalDpiX(), printer.logicalDpiY(), printable.width(), printable.height()};
}

QString QtPrinter::print(const PrintJob& job) const {
    QPrinter printer(QPrinter::HighResolution);
    setUp(printer, job.orientation);
    QString target;
    if (toPdf()) {
        target = pdfPath(job.title);
        printer.setOutputFileName(target);
    }
    printer.setDocName(job.title);
    QPainter painter;
    if (!painter.begin(&printer))
        throw UserError(toPdf()
                            ? QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden.").arg(target)
                            : QStringLiteral("Der Drucker \"%1\" ist nicht bereit.")
                                  .arg(QPrinterInfo::defaultPrinter().printerName()));

    // The page rectangle in device pixels from the printable area's origin; all zero: the whole area.
    const QSize printable = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    QRect rect(QPoint(0, 0), printable);
    if (job.left || job.top || job.right || job.bottom)
        rect = QRect(QPoint(job.left, job.top), QPoint(job.right, job.bottom));

    // A line wider than the rectangle shrinks the whole job, so that no column is cut and the
    // monospaced columns stay aligned.
    double widest = 0;
    for (const PrintJob::Line& line : job.lines)
        widest = std::max(widest, QFontMetricsF(lineFont(job, line), &printer).horizontalAdvance(line.text));
    const double scale = widest > rect.width() ? rect.width() / widest : 1.0;
    std::vector<double> heights;
    heights.reserve(job.lines.size());
    for (const PrintJob::Line& line : job.lines)
        heights.push_back(QFontMetricsF(lineFont(job, line), &printer).height() * scale);

    // A job of more than one page numbers its pages in the bottom margin (made when there is none).
    const QFontMetricsF numberMetrics(pageNumberFont(), &printer);
    double bottom = rect.bottom() + 1;
    std::vector<Placement> placed = paginate(heights, rect.top(), bottom);
    const int pages = placed.empty() ? 1 : placed.back().page + 1;
    if (pages > 1 && printable.height() - bottom < numberMetrics.height() * 2) {
        bottom = printable.height() - numberMetrics.height() * 2;
        placed = paginate(heights, rect.top(), bottom);
    }
    const int pageCount = placed.empty() ? 1 : placed.back().page + 1;

    auto numberPage = [&](int page) {
        if (pageCount < 2)
            return;
        painter.setFont(pageNumberFont());
        painter.setPen(Qt::black);
        const QRectF margin(rect.left(), bottom, rect.width(), printable.height() - bottom);
        painter.drawText(margin, Qt::AlignCenter,
                         QStringLiteral("Seite %1 von %2").arg(page + 1).arg(pageCount));
    };
    int page = 0;
    for (std::size_t i = 0; i < job.lines.size(); ++i) {
        const PrintJob::Line& line = job.lines[i];
        if (placed[i].page != page) {
            numberPage(page);
            printer.newPage();
            page = placed[i].page;
        }
        const QFont font = lineFont(job, line);
        const QColor color = qColor(line.color);
        painter.save();
        painter.translate(rect.left(), placed[i].top);
        painter.scale(scale, scale);
        painter.setFont(font);
        painter.setPen(color.isValid() ? color : QColor(Qt::black));
        painter.drawText(QPointF(0, QFontMetricsF(font, &printer).ascent()), line.text);
        painter.restore();
    }
    numberPage(page);
    painter.end();
    return target;
}

} // namespace kontaro::gui
