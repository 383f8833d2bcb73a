// The cell model: what a cell leaves unset comes from its default cell.
#include "gridctrl/grid_model.hpp"

#include <gtest/gtest.h>

using namespace gridctrl;

TEST(GridCell, UnsetFormatMarginAndFontComeFromTheDefaultCell) {
    GridModel grid(2, 2, 1, 1);
    CGridCell cell;
    cell.SetGrid(&grid);
    cell.SetState(GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW);
    CGridDefaultCell* fixedRow = grid.GetDefaultCell(true, false);
    fixedRow->SetFormat(DT_CENTER);
    fixedRow->SetMargin(6);
    EXPECT_EQ(cell.GetFormat(), DT_CENTER);
    EXPECT_EQ(cell.GetMargin(), 6);
    EXPECT_EQ(cell.GetFont(), fixedRow->GetFont());
    EXPECT_TRUE(cell.HasDefaultFont());
    const CellFont bold{"Sans", 11, 700};
    cell.SetFont(&bold);
    EXPECT_EQ(*cell.GetFont(), bold);
    cell.SetFont(nullptr);
    EXPECT_EQ(cell.GetFont(), fixedRow->GetFont());
    CGridCell loose;
    EXPECT_EQ(loose.GetFormat(), 0u) << "no grid, no default cell";
    EXPECT_EQ(loose.GetDefaultCell(), nullptr);
}

TEST(GridCell, TheFixedBitsChooseTheDefaultCell) {
    GridModel grid;
    const struct {
        unsigned state;
        bool fixedRow, fixedCol;
    } cases[] = {{0, false, false},
                 {GRIDSTATE_FIXED | GRIDSTATE_FIXEDCOL, false, true},
                 {GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW, true, false},
                 {GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW | GRIDSTATE_FIXEDCOL, true, true}};
    for (const auto& c : cases) {
        CGridCell cell;
        cell.SetGrid(&grid);
        cell.SetState(c.state);
        EXPECT_EQ(cell.GetDefaultCell(), grid.GetDefaultCell(c.fixedRow, c.fixedCol))
            << "state " << c.state;
    }
}

TEST(GridCell, ADefaultCellIsAlwaysReadOnlyAndKeepsNoData) {
    CGridDefaultCell cell;
    cell.SetState(GRIDSTATE_SELECTED);
    cell.SetDataWord(42);
    EXPECT_EQ(cell.GetState(), GRIDSTATE_READONLY);
    EXPECT_EQ(cell.GetDataWord(), 0);
    EXPECT_TRUE(cell.IsReadOnly());
    EXPECT_EQ(cell.GetFormat(), 0x8824u);
    ASSERT_NE(cell.GetFont(), nullptr) << "a default cell always has a font";
    cell.SetFont(nullptr);
    EXPECT_NE(cell.GetFont(), nullptr);
    // Without a screen: margin 3, width 40, height 16.
    EXPECT_EQ(cell.GetMargin(), 3);
    EXPECT_EQ(cell.GetWidth(), 40);
    EXPECT_EQ(cell.GetHeight(), 16);
}

TEST(GridCell, CopySettingsMakesFormatAndMarginExplicit) {
    GridModel grid(2, 2, 0, 0);
    CGridCell source;
    source.SetGrid(&grid);
    source.SetText("t");
    source.SetImage(2);
    source.SetDataWord(7);
    source.SetBackColour(rgb(1, 1, 1));
    CGridCell copy;
    copy.CopySettings(source);
    EXPECT_EQ(copy.GetText(), "t");
    EXPECT_EQ(copy.GetImage(), 2);
    EXPECT_EQ(copy.GetDataWord(), 7);
    EXPECT_EQ(copy.GetBackColour(), rgb(1, 1, 1));
    EXPECT_EQ(copy.GetTextColour(), CLR_DEFAULT) << "colours keep following the default";
    EXPECT_TRUE(copy.HasDefaultFont());
    grid.GetDefaultCell(false, false)->SetFormat(DT_RIGHT);
    grid.GetDefaultCell(false, false)->SetMargin(9);
    EXPECT_EQ(source.GetFormat(), DT_RIGHT);
    EXPECT_EQ(copy.GetFormat(), 0x8824u) << "the copy holds the format it was given";
    EXPECT_EQ(copy.GetMargin(), 3);
    copy.Reset();
    EXPECT_EQ(copy.GetText(), "");
    EXPECT_EQ(copy.GetImage(), -1);
    EXPECT_EQ(copy.GetGrid(), nullptr);
    EXPECT_EQ(copy.GetBackColour(), CLR_DEFAULT);
}

// A cell whose in-place editor cannot be made (here: a grid without a
// window) is not left "editing" and says it did not start.
TEST(GridCell, AnEditorThatCannotBeMadeLeavesTheCellNotEditing) {
    GridModel grid(2, 2, 0, 0);
    CGridCellBase* cell = grid.GetCell(1, 1);
    EXPECT_FALSE(cell->StartEdit(1, 1, GridRect{0, 0, 40, 16}, 0, 0, IDC_INPLACE_CONTROL, 'x'));
    EXPECT_FALSE(cell->IsEditing());
    EXPECT_EQ(cell->GetEditWindow(), nullptr);
    EXPECT_FALSE(grid.IsCellEditing(1, 1));
}

TEST(CellSpan, ValidityAndContainment) {
    EXPECT_TRUE(CCellSpan(2, 1, 2, 1).IsValid());
    EXPECT_TRUE(CCellSpan(2, 1, 2, 1).Contains(2, 1));
    EXPECT_FALSE(CCellSpan(2, 1, 2, 1).Contains(2, 2));
    EXPECT_FALSE(CCellSpan(2, 1, 2, 1).Contains(CCellID(1, 1)));
    EXPECT_FALSE(CCellSpan(-1, 0, 2, 2).IsValid());
    EXPECT_FALSE(CCellSpan(3, 0, 2, 5).IsValid());
    EXPECT_TRUE(CCellSpan(0, 0, 3, 5).Contains(CCellID(3, 5)));
    EXPECT_EQ(CCellID(1, 2), CCellID(1, 2));
    EXPECT_NE(CCellID(1, 2), CCellID(2, 1));
}
