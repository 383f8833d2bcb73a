// Clipboard text of the grid, checked before it reaches the clipboard (the
// toolkit turns CR LF into LF there).
#include "gridctrl/grid_model.hpp"

#include <gtest/gtest.h>

#include <memory>

using namespace gridctrl;

namespace {

std::unique_ptr<GridModel> gridWithTexts() {
    auto made = std::make_unique<GridModel>();
    GridModel& grid = *made;
    grid.SetRowCount(4);
    grid.SetColumnCount(4);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            grid.SetCellText(row, col, std::string(1, static_cast<char>('a' + row * 4 + col)));
    return made;
}

} // namespace

TEST(GridCopyText, TwoByTwoSelection) {
    GridModel grid(3, 3, 1, 1);
    grid.SetCellText(1, 1, "a");
    grid.SetCellText(1, 2, "b");
    grid.SetCellText(2, 1, "c");
    grid.SetCellText(2, 2, "d");
    grid.SetSelectedRange(1, 1, 2, 2);
    std::string text;
    ASSERT_TRUE(grid.CopyText(text));
    EXPECT_EQ(text, std::string("a\tb\r\nc\td"));
}

TEST(GridCopyText, HiddenLinesAndUnselectedCells) {
    auto made = gridWithTexts();
    GridModel& grid = *made;
    grid.SetSelectedRange(1, 1, 3, 3);
    grid.SetColumnWidth(2, 0);
    grid.SetRowHeight(2, 0);
    grid.SetCellState(3, 3, grid.GetCellState(3, 3) & ~GRIDSTATE_SELECTED);
    std::string text;
    ASSERT_TRUE(grid.CopyText(text));
    // Rows 1 and 3, columns 1 and 3; (3, 3) unselected gives an empty field.
    EXPECT_EQ(text, std::string("f\th\r\nn\t"));
    grid.SetSelectedRange(-1, -1, -1, -1);
    EXPECT_FALSE(grid.CopyText(text));
    EXPECT_EQ(text, "");
}

TEST(GridPasteText, FieldsAtTabsAndCommasLinesAtLineFeeds) {
    GridModel grid(4, 5, 1, 1);
    ASSERT_TRUE(grid.PasteText(CCellID(1, 1), "1,2\t3\r\n4", true));
    EXPECT_EQ(grid.GetCellText(1, 1), "1");
    EXPECT_EQ(grid.GetCellText(1, 2), "2");
    EXPECT_EQ(grid.GetCellText(1, 3), "3");
    EXPECT_EQ(grid.GetCellText(2, 1), "4");
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 1, 2, 3));
    EXPECT_TRUE(grid.IsModified(1, 3));
}

TEST(GridPasteText, ExcessDroppedHiddenLinesSkippedFieldsTrimmed) {
    GridModel grid(4, 4, 1, 1);
    grid.SetRowHeight(2, 0);
    grid.SetColumnWidth(2, 0);
    grid.SetCellText(3, 1, "m");
    ASSERT_TRUE(grid.PasteText(CCellID(1, 1), " x ,y,z,w\n\nlost", false));
    EXPECT_EQ(grid.GetCellText(1, 1), "x");
    EXPECT_EQ(grid.GetCellText(1, 2), "") << "a hidden column is passed over";
    EXPECT_EQ(grid.GetCellText(1, 3), "y");
    // The second (empty) line lands on the hidden row's successor, row 3,
    // and changes nothing; "lost" would go to row 4, past the grid.
    EXPECT_EQ(grid.GetCellText(3, 1), "m");
    EXPECT_EQ(grid.GetSelectedCellRange().maxRow, -1) << "no selection asked for";
    EXPECT_EQ(grid.lastPastedRange(), CCellSpan(1, 1, 1, 3));
}

TEST(GridPasteText, RefusedTargets) {
    GridModel grid(3, 3, 1, 1);
    EXPECT_FALSE(grid.PasteText(CCellID(5, 1), "x"));
    grid.SetCellState(1, 1, GRIDSTATE_READONLY);
    EXPECT_FALSE(grid.PasteText(CCellID(1, 1), "x"));
    grid.options().editable = false;
    EXPECT_FALSE(grid.PasteText(CCellID(2, 2), "x"));
}

TEST(GridCutText, EmptiesTheSelectedEditableCells) {
    auto made = gridWithTexts();
    GridModel& grid = *made;
    grid.SetSelectedRange(1, 1, 1, 2);
    grid.SetCellState(1, 2, grid.GetCellState(1, 2) | GRIDSTATE_READONLY);
    grid.CutSelectedText();
    EXPECT_EQ(grid.GetCellText(1, 1), "");
    EXPECT_EQ(grid.GetCellText(1, 2), "g");
}
