#pragma once

#include "reports/report.h"

#include <functional>

class ReportCanvas;

// Lays a report out page by page and draws it on a canvas.
//
// Each page: the title (first page, or every page), the page header, as many detail
// rows as fit above the page footer, then the footer at the bottom of the printable
// area. The summary follows the last row, on a new page when it does not fit. A report
// without rows still prints one page with its title, header, summary and footer.
class ReportRenderer {
public:
    // Called as each page begins (index from 0); the printer's progress window uses it.
    using PageStarted = std::function<void(int pageIndex)>;

    // Draws every page and returns how many there were. Rewinds the row source first;
    // a store error from it propagates as StoreError.
    static int render(const Report& report, ReportCanvas& canvas, const PageStarted& started = {});
};
