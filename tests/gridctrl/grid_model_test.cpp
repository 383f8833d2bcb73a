// The grid's content rules without a window: counts and their state bits,
// insertion and deletion, modified flags, virtual mode and cell types.
// Without a running toolkit the default cells take the sizes a missing
// screen gives: margin 3, width 40, height 16.
#include "gridctrl/grid_model.hpp"

#include <gtest/gtest.h>

#include <vector>

using namespace gridctrl;

namespace {

// A grid that answers virtual-mode requests and records notifications.
class RecordingGrid : public GridModel {
public:
    using GridModel::GridModel;
    long NotifyParent(int row, int col, int code) override {
        notes.push_back({row, col, code});
        return code == vetoCode ? -1 : 0;
    }
    void RequestDispInfo(CGridItem& item) override {
        requested.push_back(item);
        item.text = "r" + std::to_string(item.row) + "c" + std::to_string(item.col);
    }
    struct Note {
        int row, col, code;
    };
    std::vector<Note> notes;
    std::vector<CGridItem> requested;
    int vetoCode = 0;
};

} // namespace

TEST(GridCounts, FixedRowsAndColumnsCarryTheirStateBits) {
    GridModel grid(1, 9, 1, 1);
    EXPECT_EQ(grid.GetRowCount(), 1);
    EXPECT_EQ(grid.GetColumnCount(), 9);
    EXPECT_EQ(grid.GetCellState(0, 0), 0x70u);
    for (int col = 1; col < 9; ++col)
        EXPECT_EQ(grid.GetCellState(0, col), 0x30u) << "column " << col;
    grid.SetRowCount(3);
    EXPECT_EQ(grid.GetCellState(2, 0), 0x50u);
    EXPECT_EQ(grid.GetCellState(2, 1), 0u);
    // Rows that stop being fixed lose the bits.
    grid.SetFixedRowCount(0);
    EXPECT_EQ(grid.GetCellState(0, 0), 0x50u);
    EXPECT_EQ(grid.GetCellState(0, 3), 0u);
}

TEST(GridCounts, MoreFixedRowsThanRowsGrowTheGridFirst) {
    GridModel grid(1, 2, 0, 0);
    EXPECT_TRUE(grid.SetFixedRowCount(3));
    EXPECT_EQ(grid.GetRowCount(), 3);
    EXPECT_EQ(grid.GetFixedRowCount(), 3);
    EXPECT_EQ(grid.GetCellState(2, 1), 0x30u);
}

TEST(GridCounts, ShrinkingCutsFixedCountsAndFocus) {
    GridModel grid(6, 4, 2, 1);
    grid.SetFocusCell(5, 3);
    grid.SetRowCount(1);
    EXPECT_EQ(grid.GetFixedRowCount(), 1);
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    EXPECT_EQ(grid.GetRowHeight(1), -1);
    EXPECT_EQ(static_cast<int>(grid.rowHeights().size()), 1);
}

TEST(GridCounts, SizesAndTheirSums) {
    GridModel grid(3, 3, 1, 1);
    // New rows take the ordinary default cell's height, new columns the
    // fixed-column default cell's width.
    EXPECT_EQ(grid.GetRowHeight(0), 16);
    EXPECT_EQ(grid.GetColumnWidth(2), 40);
    ASSERT_TRUE(grid.SetRowHeight(1, 5));
    ASSERT_TRUE(grid.SetColumnWidth(0, 7));
    EXPECT_FALSE(grid.SetColumnWidth(3, 10));
    EXPECT_FALSE(grid.SetRowHeight(0, -1));
    EXPECT_EQ(grid.GetFixedRowHeight(), 16);
    EXPECT_EQ(grid.GetFixedColumnWidth(), 7);
    EXPECT_EQ(grid.GetTotalHeight(), 16 + 5 + 16);
    EXPECT_EQ(grid.GetTotalWidth(), 7 + 40 + 40);
}

TEST(GridInsertion, IndexRulesOfRowsAndColumns) {
    GridModel grid(3, 3, 1, 1);
    EXPECT_EQ(grid.InsertRow("x", grid.GetRowCount()), -1);
    EXPECT_EQ(grid.InsertRow("x", 0), -1) << "among the fixed rows";
    EXPECT_EQ(grid.InsertColumn("x", DT_LEFT, 0), -1) << "among the fixed columns";
    EXPECT_EQ(grid.InsertColumn("h", DT_RIGHT, grid.GetColumnCount()), 3) << "appends";
    EXPECT_EQ(grid.GetColumnCount(), 4);
    EXPECT_EQ(grid.GetCellText(0, 3), "h");
    EXPECT_EQ(grid.GetCell(2, 3)->GetFormat(), DT_RIGHT);
    EXPECT_EQ(grid.InsertRow("", -1), 3);
    EXPECT_EQ(grid.GetRowHeight(3), grid.GetDefaultCell(true, false)->GetHeight());
    EXPECT_EQ(grid.InsertRow("mid", 1), 1);
    EXPECT_EQ(grid.GetCellText(1, 0), "mid");
    EXPECT_EQ(grid.GetRowCount(), 5);
    EXPECT_EQ(grid.GetCellState(1, 0) & ~GRIDSTATE_MODIFIED, 0x50u);
}

TEST(GridInsertion, FocusMovesWithInsertedAndDeletedLines) {
    GridModel grid(6, 5, 1, 1);
    grid.SetFocusCell(3, 3);
    grid.InsertRow("", 2);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 3));
    grid.InsertColumn("", DT_LEFT, 1);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 4));
    grid.DeleteRow(1);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 4)) << "a row above the focus moves it up";
    grid.DeleteColumn(2);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 3));
    grid.DeleteRow(3);
    EXPECT_EQ(grid.GetFocusCell(), CCellID()) << "deleting the focus row clears the focus";
}

TEST(GridInsertion, DeletingLinesKeepsCountsSizesAndFixedCountsInStep) {
    GridModel grid(5, 4, 2, 2);
    grid.SetColumnWidth(1, 11);
    ASSERT_TRUE(grid.DeleteColumn(0));
    EXPECT_EQ(grid.GetFixedColumnCount(), 1);
    EXPECT_EQ(grid.GetColumnWidth(0), 11);
    ASSERT_TRUE(grid.DeleteRow(0));
    EXPECT_EQ(grid.GetFixedRowCount(), 1);
    EXPECT_FALSE(grid.DeleteRow(4));
    ASSERT_TRUE(grid.DeleteNonFixedRows());
    EXPECT_EQ(grid.GetRowCount(), 1);
    ASSERT_TRUE(grid.DeleteAllItems());
    EXPECT_EQ(grid.GetRowCount() + grid.GetColumnCount() + grid.GetFixedRowCount() +
                  grid.GetFixedColumnCount(),
              0);
    EXPECT_TRUE(grid.rowHeights().empty());
    EXPECT_TRUE(grid.columnWidths().empty());
}

// A column inserted into a virtual grid (which holds no cell objects) goes
// in whole: its width entry and the column count stay in step.
TEST(GridInsertion, InsertColumnIsAllOrNothing) {
    RecordingGrid grid(4, 2, 1, 0);
    grid.SetVirtualMode(true);
    EXPECT_EQ(grid.InsertColumn("new", DT_LEFT, 1), 1);
    EXPECT_EQ(grid.GetColumnCount(), 3);
    EXPECT_EQ(static_cast<int>(grid.columnWidths().size()), 3);
    // A refused index changes nothing at all.
    GridModel plain(3, 3, 1, 1);
    plain.SetColumnWidth(2, 25);
    EXPECT_EQ(plain.InsertColumn("x", DT_LEFT, 7), -1);
    EXPECT_EQ(plain.GetColumnCount(), 3);
    EXPECT_EQ(plain.columnWidths(), (std::vector<int>{40, 40, 25}));
}

TEST(GridModified, FlagsOfCellsAndGrid) {
    GridModel grid(3, 3, 1, 1);
    grid.SetModified(false);
    EXPECT_FALSE(grid.IsModified());
    grid.SetModified(true, 1, 1);
    EXPECT_TRUE(grid.IsModified()) << "a cell's flag sets the grid's";
    EXPECT_TRUE(grid.IsModified(1, 1));
    EXPECT_TRUE(grid.SetCellText(2, 2, "t"));
    EXPECT_TRUE(grid.IsModified(2, 2));
    grid.SetModified(false);
    EXPECT_FALSE(grid.IsModified(1, 1));
    EXPECT_FALSE(grid.IsModified(2, 2));
    EXPECT_EQ(grid.GetCellState(1, 1) & GRIDSTATE_MODIFIED, 0u);
}

TEST(GridModified, ChangingCountsSetsTheFlagAndAnEmptyGridStartsClean) {
    EXPECT_FALSE(GridModel().IsModified());
    GridModel grid(2, 2, 0, 0);
    EXPECT_TRUE(grid.IsModified());
    grid.SetModified(false);
    grid.InsertRow("");
    EXPECT_TRUE(grid.IsModified());
}

TEST(GridVirtualMode, CellsComeFromTheOwnerWithPresetState) {
    RecordingGrid grid(5, 4, 1, 1);
    grid.SetVirtualMode(true);
    grid.SetFocusCell(2, 2);
    grid.SetSelectedRange(3, 1, 3, 2);
    EXPECT_FALSE(grid.SetCellText(2, 2, "x"));
    const CGridCellBase* focused = grid.GetCell(2, 2);
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->GetText(), "r2c2");
    EXPECT_EQ(grid.requested.back().state, GRIDSTATE_FOCUSED);
    EXPECT_EQ(grid.requested.back().mask, 0xFFFFFFFFu);
    grid.GetCell(3, 1);
    EXPECT_EQ(grid.requested.back().state, GRIDSTATE_SELECTED);
    grid.GetCell(0, 0);
    EXPECT_EQ(grid.requested.back().state, 0x70u);
    EXPECT_EQ(grid.requested.back().format, grid.GetDefaultCell(true, true)->GetFormat());
    EXPECT_EQ(grid.GetCellState(0, 2), 0x30u);
}

TEST(GridVirtualMode, ACallbackTakesThePlaceOfTheNotification) {
    RecordingGrid grid(3, 3, 0, 0);
    grid.SetVirtualMode(true);
    grid.SetCallbackFunc(
        [](CGridItem& item, std::intptr_t data) {
            item.text = std::to_string(item.row * 10 + item.col + static_cast<int>(data));
        },
        100);
    EXPECT_EQ(grid.GetCellText(2, 1), "121");
    EXPECT_TRUE(grid.requested.empty());
}

// Selection keys keep rows past 65,535 apart from the next column's.
TEST(GridVirtualMode, SelectionOfRowsBeyond65535) {
    GridModel grid;
    grid.SetVirtualMode(true);
    grid.SetRowCount(70000);
    grid.SetColumnCount(2);
    grid.SetSelectedRange(65536, 0, 65536, 0);
    EXPECT_TRUE(grid.IsCellSelected(65536, 0));
    EXPECT_FALSE(grid.IsCellSelected(0, 1));
}

TEST(GridCellType, ReplacingACellKeepsItsSettings) {
    struct Tagged : CGridCell {};
    GridModel grid(3, 3, 1, 1);
    grid.SetCellText(1, 1, "keep");
    grid.SetCellBkColor(1, 1, rgb(1, 2, 3));
    ASSERT_TRUE(grid.SetCellType(1, 1, cellClass<Tagged>()));
    const CGridCellBase* cell = grid.GetCell(1, 1);
    EXPECT_NE(dynamic_cast<const Tagged*>(cell), nullptr);
    EXPECT_EQ(cell->GetText(), "keep");
    EXPECT_EQ(cell->GetBackColour(), rgb(1, 2, 3));
    EXPECT_EQ(cell->GetGrid(), &grid);
    EXPECT_FALSE(grid.SetCellType(3, 0, cellClass<Tagged>()));
    grid.SetDefaultCellType(nullptr);
    grid.SetRowCount(4);
    EXPECT_EQ(grid.GetCell(3, 1), nullptr) << "no class: the new cells are missing";
    EXPECT_EQ(grid.GetCellText(3, 1), "");
}

TEST(GridCellItem, ItemFieldsApplyByMask) {
    GridModel grid(2, 2, 0, 0);
    CGridItem item;
    item.row = 1;
    item.col = 1;
    item.mask = GRIDITEM_TEXT | GRIDITEM_FGCOLOR | GRIDITEM_MARGIN;
    item.text = "t";
    item.fgColor = rgb(9, 9, 9);
    item.bkColor = rgb(7, 7, 7);
    item.margin = 5;
    ASSERT_TRUE(grid.SetCellFromItem(&item));
    const CGridCellBase* cell = grid.GetCell(1, 1);
    EXPECT_EQ(cell->GetText(), "t");
    EXPECT_EQ(cell->GetTextColour(), rgb(9, 9, 9));
    EXPECT_EQ(cell->GetBackColour(), CLR_DEFAULT) << "not in the mask";
    EXPECT_EQ(cell->GetMargin(), 5);
    EXPECT_FALSE(grid.SetCellFromItem(nullptr));
}

TEST(GridEditRules, TheOwnersVetoLeavesTheCellAsItWas) {
    const struct {
        const char* name;
        int vetoCode;
        bool readOnly;
        bool accepted;
    } cases[] = {
        {"accepted", 0, false, true},
        {"begin-edit refused", GRIDN_BEGINEDIT, false, false},
        {"end-edit refused", GRIDN_ENDEDIT, false, false},
        {"read-only cell", 0, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingGrid grid(3, 3, 1, 1);
        grid.SetCellText(1, 1, "old");
        grid.SetModified(false);
        grid.vetoCode = c.vetoCode;
        if (c.readOnly)
            grid.SetCellState(1, 1, GRIDSTATE_READONLY);
        EXPECT_EQ(grid.ReplaceCellText(1, 1, "new"), c.accepted);
        EXPECT_EQ(grid.GetCellText(1, 1), c.accepted ? "new" : "old");
        EXPECT_EQ(grid.IsModified(1, 1), c.accepted);
        EXPECT_EQ(grid.IsModified(), c.accepted);
    }
}

TEST(GridEditRules, AnEndedEditClearsTheEditingStateEvenWhenRefused) {
    RecordingGrid grid(3, 3, 1, 1);
    grid.SetCellText(2, 2, "old");
    grid.vetoCode = GRIDN_ENDEDIT;
    grid.OnEndEditCell(2, 2, "typed");
    EXPECT_EQ(grid.GetCellText(2, 2), "old");
    EXPECT_FALSE(grid.IsCellEditing(2, 2));
}

// Selection entries name cells by index: rows moved by an insertion would
// leave them on the wrong cells, so an insertion clears the selection.
TEST(GridInsertion, InsertingARowClearsTheSelection) {
    GridModel grid(5, 3, 1, 1);
    grid.SetSelectedRange(2, 1, 3, 2);
    grid.InsertRow("", 1);
    EXPECT_EQ(grid.selectedCount(), 0u);
    EXPECT_EQ(grid.GetCellState(3, 1) & GRIDSTATE_SELECTED, 0u);
    std::string text;
    EXPECT_FALSE(grid.CopyText(text));
}
