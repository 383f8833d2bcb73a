// The focus cell and the selection, held as state bits and as a map.
#include "gridctrl/grid_model.hpp"

#include <gtest/gtest.h>

using namespace gridctrl;

TEST(GridSelection, RangesAreRaisedPastTheHeadingsAndKeptInStateAndMap) {
    GridModel grid(5, 5, 1, 1);
    grid.SetSelectedRange(0, 0, 2, 2);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 1, 2, 2));
    EXPECT_EQ(grid.selectedCount(), 4u);
    EXPECT_EQ(grid.GetCellState(2, 2) & GRIDSTATE_SELECTED, GRIDSTATE_SELECTED);
    grid.SetCellState(2, 2, 0);
    EXPECT_EQ(grid.selectedCount(), 3u);
    grid.SetSelectedRange(3, 3, 4, 4);
    EXPECT_FALSE(grid.IsCellSelected(1, 1)) << "a new range replaces the old";
    EXPECT_EQ(grid.selectedCount(), 4u);
    grid.options().selectionEnabled = false;
    EXPECT_FALSE(grid.IsCellSelected(3, 3));
}

TEST(GridSelection, ExtendingFromTheAnchorAndAddingToAKeptSelection) {
    GridModel grid(6, 6, 1, 1);
    grid.SetSelectionAnchor(CCellID(1, 1));
    grid.SelectCells(CCellID(2, 3));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 1, 2, 3));
    grid.keepSelectionForDrag(true);
    grid.SetSelectionAnchor(CCellID(5, 5));
    grid.SelectCells(CCellID(5, 5));
    EXPECT_EQ(grid.selectedCount(), 7u) << "the kept rectangle plus the new cell";
    // Deselecting from the anchor to a cell (a Ctrl click on a selected cell).
    grid.keepSelectionForDrag(false);
    grid.SetSelectionAnchor(CCellID(1, 1));
    grid.SelectCells(CCellID(1, 1), false, false);
    EXPECT_FALSE(grid.IsCellSelected(1, 1));
    EXPECT_TRUE(grid.IsCellSelected(1, 2));
}

TEST(GridSelection, RowsColumnsAndAll) {
    GridModel grid(5, 4, 1, 1);
    grid.SetSelectionAnchor(CCellID(2, 2));
    grid.SelectRows(CCellID(3, 0));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(2, 1, 3, 3));
    grid.SelectColumns(CCellID(0, 3));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 2, 4, 3));
    grid.options().singleColSelection = true;
    grid.SelectColumns(CCellID(0, 3));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 3, 4, 3));
    grid.SelectAllCells();
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 1, 4, 3));
    grid.SelectCells(CCellID(0, 2));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellSpan(1, 1, 4, 3)) << "a fixed cell selects nothing";
}

TEST(GridSelection, FocusCellCarriesItsBitAndResetClearsEverything) {
    GridModel grid(4, 4, 1, 1);
    EXPECT_EQ(grid.SetFocusCell(0, 0), CCellID());
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1)) << "raised past the headings";
    EXPECT_EQ(grid.GetCellState(1, 1) & GRIDSTATE_FOCUSED, GRIDSTATE_FOCUSED);
    EXPECT_EQ(grid.SetFocusCell(2, 3), CCellID(1, 1));
    EXPECT_EQ(grid.GetCellState(1, 1) & GRIDSTATE_FOCUSED, 0u);
    grid.SelectAllCells();
    grid.ResetSelectedRange();
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    EXPECT_EQ(grid.selectedCount(), 0u);
    EXPECT_EQ(grid.GetCellState(2, 3), 0u);
}
