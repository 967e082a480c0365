#pragma once

#include "forms/color.h"

#include <QString>
#include <vector>

namespace kontaro::forms {

// One printout as the desktop lays it out: lines of monospaced text with the character attributes
// in force for each, a page rectangle and a document title. Reports build it; the Ui prints it.
struct PrintJob {
    struct Line {
        QString text;
        int pointSize = 0; // 0: the job's base size
        bool bold = false;
        Color color = Color::Default;
        QString fontName; // empty: the job's base font
    };
    enum class Orientation { Portrait, Landscape };

    QString title; // the document title, also names the PDF written when no printer exists
    QString baseFont = QStringLiteral("Courier New");
    int basePointSize = 9;
    Orientation orientation = Orientation::Portrait;
    // In printer device pixels from the origin of the printable area; all zero: the whole area.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    std::vector<Line> lines;
};

// What the printer reports for an orientation: resolution in pixels per inch and the printable
// page in device pixels.
struct PrinterPage {
    int dpiX = 600;
    int dpiY = 600;
    int width = 0;
    int height = 0;
};

// A4 at 600 dpi, as a printer without its own figures (and the tests' printer) reports it.
inline PrinterPage a4At600Dpi(PrintJob::Orientation orientation) {
    return orientation == PrintJob::Orientation::Portrait ? PrinterPage{600, 600, 4960, 7016}
                                                          : PrinterPage{600, 600, 7016, 4960};
}

} // namespace kontaro::forms
