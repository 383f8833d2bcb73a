// Which cell lies where: the geometry arithmetic of the grid window.
#include "gridctrl/grid_layout.hpp"

#include <gtest/gtest.h>

#include <vector>

using namespace gridctrl;

namespace {

// One fixed row of height 20 and one fixed column of width 30; non-fixed
// rows of height 10 and columns of width 50 (column 3 hidden); a client
// area of 200 x 65.
struct Layout {
    std::vector<int> heights{20, 10, 10, 10, 10, 10, 10};
    std::vector<int> widths{30, 50, 50, 0, 50, 50};
    GridGeometry geometry(int scrollX = 0, int scrollY = 0, int width = 200, int height = 65) {
        return GridGeometry{heights, widths, 1, 1, scrollX, scrollY, width, height};
    }
};

} // namespace

TEST(GridLayout, TopLeftCellPassesWholeLinesBelowTheScrollPosition) {
    Layout layout;
    const struct {
        int scrollX, scrollY;
        CCellID expected;
    } cases[] = {
        {0, 0, {1, 1}},
        {50, 10, {2, 2}},
        {49, 9, {2, 2}},
        // 100 passes columns 1 and 2; 101 passes the hidden column 3 and column 4 too.
        {100, 0, {1, 3}},
        {101, 0, {1, 5}},
        {1000, 1000, {6, 5}}, // never past the last line
    };
    for (const auto& c : cases)
        EXPECT_EQ(topLeftNonFixedCell(layout.geometry(c.scrollX, c.scrollY)), c.expected)
            << c.scrollX << "," << c.scrollY;
}

TEST(GridLayout, CellRectanglesHoldTheirLastPixel) {
    Layout layout;
    const GridGeometry g = layout.geometry();
    GridRect rect;
    ASSERT_TRUE(cellRect(g, topLeftNonFixedCell(g), 0, 0, rect));
    EXPECT_EQ(rect, (GridRect{0, 0, 29, 19}));
    ASSERT_TRUE(cellRect(g, topLeftNonFixedCell(g), 2, 2, rect));
    // x = 30 + 50, y = 20 + 10.
    EXPECT_EQ(rect, (GridRect{80, 30, 129, 39}));
    const GridGeometry scrolled = layout.geometry(50, 10);
    const CCellID topLeft = topLeftNonFixedCell(scrolled);
    EXPECT_FALSE(cellRect(scrolled, topLeft, 1, 1, rect)) << "scrolled out to the left and above";
    ASSERT_TRUE(cellRect(scrolled, topLeft, 0, 2, rect)) << "fixed rows never scroll";
    EXPECT_EQ(rect, (GridRect{30, 0, 79, 19}));
    EXPECT_FALSE(cellRect(g, topLeft, 7, 0, rect));
}

TEST(GridLayout, CellFromPointWithAndWithoutFixedCells) {
    Layout layout;
    const GridGeometry g = layout.geometry();
    const CCellID topLeft = topLeftNonFixedCell(g);
    const struct {
        int x, y;
        bool allowFixed;
        CCellID expected;
    } cases[] = {
        {5, 5, true, {0, 0}},     {5, 5, false, {-1, -1}}, {29, 25, true, {1, 0}},
        {29, 25, false, {1, -1}}, {30, 20, false, {1, 1}}, {129, 39, true, {2, 2}},
        {130, 40, true, {3, 4}},  {-1, 5, true, {0, -1}},  {250, 5, true, {0, -1}},
        {40, 95, true, {-1, 1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cellFromPoint(g, topLeft, c.x, c.y, c.allowFixed), c.expected)
            << c.x << "," << c.y << (c.allowFixed ? " fixed allowed" : "");
}

TEST(GridLayout, VisibilityEndsAtTheClientEdge) {
    Layout layout;
    // Columns start at 30, 80, 130 (hidden), 130, 180: a width of 180 puts
    // column 5's left edge exactly on the client's right edge.
    const GridGeometry g = layout.geometry(0, 0, 180, 65);
    const CCellID topLeft = topLeftNonFixedCell(g);
    EXPECT_TRUE(isCellVisible(g, topLeft, 1, 4));
    EXPECT_FALSE(isCellVisible(g, topLeft, 1, 5));
    EXPECT_TRUE(isCellVisible(g, topLeft, 5, 1)) << "row 5 starts at 60 < 65";
    EXPECT_FALSE(isCellVisible(g, topLeft, 6, 1));
    const GridGeometry scrolled = layout.geometry(50, 0, 180, 65);
    EXPECT_FALSE(isCellVisible(scrolled, topLeftNonFixedCell(scrolled), 1, 1));
    EXPECT_TRUE(isCellVisible(scrolled, topLeftNonFixedCell(scrolled), 1, 0));
}

TEST(GridLayout, VisibleRangeAndItsExtent) {
    Layout layout;
    const GridGeometry g = layout.geometry();
    GridRect extent;
    // Column 5 starts at 180 and reaches into the 200-pixel client area.
    EXPECT_EQ(visibleNonFixedRange(g, topLeftNonFixedCell(g), &extent), CCellSpan(1, 1, 5, 5));
    EXPECT_EQ(extent, (GridRect{0, 0, 200, 65}));
    const GridGeometry wide = layout.geometry(0, 0, 1000, 1000);
    EXPECT_EQ(visibleNonFixedRange(wide, topLeftNonFixedCell(wide), &extent),
              CCellSpan(1, 1, 6, 5));
    // 30 + 4 x 50 and 20 + 6 x 10: the cells end before the client area does.
    EXPECT_EQ(extent, (GridRect{0, 0, 230, 80}));
}
