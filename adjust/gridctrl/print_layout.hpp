#pragma once
// How a grid is cut into printed pages, as arithmetic on its sizes. Sizes
// are the grid's screen pixels; the page is a logical area of such pixels
// that the printer scales to its paper. Without horizontal paging the
// logical page is as wide as the grid plus the side margins, so the whole
// grid is scaled to the page width; with it, the page is the paper's size
// in screen pixels (three quarters of it), and wide grids run over several
// pages across. Rows go down the pages in order; a row that does not fit
// starts the next page.

#include <vector>

namespace gridctrl {

// Margins in character heights (header, footer, top, bottom, gap) and
// character widths (left, right); top and bottom are kept, not laid out.
struct PrintMargins {
    int header = 2;
    int footer = 2;
    int left = 4;
    int right = 4;
    int top = 1;
    int bottom = 1;
    int gap = 1;
};

struct PrintDevice {
    int pageWidth_px = 0;  // printable width in printer pixels
    int pageHeight_px = 0; // printable height in printer pixels
    int printerPpi = 0;
    int screenPpi = 0;
    int charWidth = 0;  // of the printer font, in logical (screen) pixels
    int charHeight = 0; // likewise
};

struct PrintLayout {
    int logicalWidth = 0;
    int logicalHeight = 0;
    int pageHeightForRows = 0;
    int pageWidthForCols = 0;
    std::vector<int> rowStarts; // first non-fixed row of each page down
    std::vector<int> colStarts; // first non-fixed column of each page across
    int pageCount() const { return static_cast<int>(rowStarts.size() * colStarts.size()); }
    int pagesAcross() const { return static_cast<int>(colStarts.size()); }
    // Page number (from 1) to its first row and column.
    int firstRowOfPage(int page) const;
    int firstColOfPage(int page) const;
};

PrintLayout layoutPrintPages(const std::vector<int>& rowHeights, const std::vector<int>& colWidths,
                             int fixedRows, int fixedCols, const PrintDevice& device,
                             const PrintMargins& margins, bool horizontalPaging);

// The first line of each page: a line that takes the running sum past
// `pageSize` starts the next page. Always at least one page.
std::vector<int> pageStarts(const std::vector<int>& sizes, int first, int pageSize);

} // namespace gridctrl
