#pragma once

#include "forms/print_job.h"

namespace kontaro::output {

using forms::PrinterPage;

// A page rectangle in printer device pixels from the origin of the printable area; all zero means
// the whole printable area.
struct PageRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const PageRect&) const = default;
};

// Margins of 1/2 inch left and top, 1/4 inch right, 2/3 inch bottom.
PageRect portraitRect(const PrinterPage& page);
// Margins of 1/2 inch left, top and bottom, 1/6 inch right.
PageRect landscapeRect(const PrinterPage& page);

// Device pixels to twips (1/1440 inch), truncated.
int pixelsToTwips(int pixels, int dpi);

} // namespace kontaro::output
