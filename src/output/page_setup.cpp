#include "output/page_setup.h"

namespace kontaro::output {

PageRect portraitRect(const PrinterPage& page) {
    return {page.dpiX / 2, page.dpiY / 2, page.width - page.dpiX / 4, page.height - (2 * page.dpiY) / 3};
}

PageRect landscapeRect(const PrinterPage& page) {
    return {page.dpiX / 2, page.dpiY / 2, page.width - page.dpiX / 6, page.height - page.dpiY / 2};
}

int pixelsToTwips(int pixels, int dpi) {
    return dpi > 0 ? static_cast<int>(static_cast<long long>(pixels) * 1440 / dpi) : 0;
}

} // namespace kontaro::output
