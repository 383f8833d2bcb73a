// How a grid is cut into printed pages.
#include "gridctrl/print_layout.hpp"

#include <gtest/gtest.h>

#include <vector>

using namespace gridctrl;

namespace {

// A fixed row of 20 and 30 rows of 30 pixels; a fixed column of 50 and four
// columns of 100. The printer: 1000 x 1400 pixels at 200 per inch, the
// screen at 100 per inch; the printer font 8 x 15 screen pixels.
struct Sheet {
    std::vector<int> heights = std::vector<int>(31, 30);
    std::vector<int> widths{50, 100, 100, 100, 100};
    PrintDevice device{1000, 1400, 200, 100, 8, 15};
    Sheet() { heights[0] = 20; }
    PrintLayout layout(bool horizontalPaging) const {
        return layoutPrintPages(heights, widths, 1, 1, device, PrintMargins{}, horizontalPaging);
    }
};

} // namespace

TEST(PrintLayout, WithoutHorizontalPagingTheGridIsScaledToThePageWidth) {
    const PrintLayout layout = Sheet().layout(false);
    // Width 450 + (4 + 4) x 8 = 514; height 514 x 1400 / 1000 = 719.
    EXPECT_EQ(layout.logicalWidth, 514);
    EXPECT_EQ(layout.logicalHeight, 719);
    // 719 - (2 + 2 + 2 x 1) x 15 - 20 = 609: twenty rows of 30 fit, the
    // 21st (630) starts page 2.
    EXPECT_EQ(layout.pageHeightForRows, 609);
    EXPECT_EQ(layout.rowStarts, (std::vector<int>{1, 21}));
    EXPECT_EQ(layout.pagesAcross(), 1);
    EXPECT_EQ(layout.pageCount(), 2);
    EXPECT_EQ(layout.firstRowOfPage(2), 21);
    EXPECT_EQ(layout.firstColOfPage(2), 1);
}

TEST(PrintLayout, HorizontalPagingSplitsWideGridsAcross) {
    const PrintLayout layout = Sheet().layout(true);
    // 1000 x 100 / 200 x 3/4 = 375 by 1400 x 100 / 200 x 3/4 = 525.
    EXPECT_EQ(layout.logicalWidth, 375);
    EXPECT_EQ(layout.logicalHeight, 525);
    // Rows: 525 - 90 - 20 = 415 holds 13 rows of 30; columns: 375 - 50 - 64
    // = 261 holds two of 100.
    EXPECT_EQ(layout.rowStarts, (std::vector<int>{1, 14, 27}));
    EXPECT_EQ(layout.colStarts, (std::vector<int>{1, 3}));
    EXPECT_EQ(layout.pageCount(), 6);
    const struct {
        int page, row, col;
    } pages[] = {{1, 1, 1}, {2, 1, 3}, {3, 14, 1}, {4, 14, 3}, {5, 27, 1}, {6, 27, 3}};
    for (const auto& p : pages) {
        EXPECT_EQ(layout.firstRowOfPage(p.page), p.row) << "page " << p.page;
        EXPECT_EQ(layout.firstColOfPage(p.page), p.col) << "page " << p.page;
    }
}

TEST(PrintLayout, AGridWithoutNonFixedRowsPrintsOnePage) {
    EXPECT_EQ(pageStarts({20}, 1, 100), (std::vector<int>{1}));
    EXPECT_EQ(pageStarts({20, 60, 60, 60}, 1, 100), (std::vector<int>{1, 2, 3}));
}
