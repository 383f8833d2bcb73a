#include "shell/tools/grid_row_commands.hpp"

#include <algorithm>

void followCurrentRow(wxWindow& owner, const gridctrl::CGridCtrl& grid,
                      std::function<void(int)> setCurrentRow) {
    const auto follow = [setCurrentRow](gridctrl::CGridNotifyEvent& event) {
        if (event.GetRow() >= 0)
            setCurrentRow(event.GetRow());
        event.Skip();
    };
    owner.Bind(gridctrl::EVT_GRIDN_CLICK, follow, grid.GetId());
    owner.Bind(gridctrl::EVT_GRIDN_SELCHANGED, follow, grid.GetId());
}

GridRowSpan rowsToDelete(const gridctrl::CGridCtrl& grid, int currentRow) {
    const int firstRow = grid.GetFixedRowCount();
    if (currentRow < firstRow || currentRow >= grid.GetRowCount())
        return {};
    const gridctrl::CCellSpan selected = grid.GetSelectedCellRange();
    if (grid.selectedCount() == 0 || currentRow < selected.minRow || currentRow > selected.maxRow)
        return {currentRow, currentRow};
    return {std::max(selected.minRow, firstRow), std::min(selected.maxRow, grid.GetRowCount() - 1)};
}

void focusRow(gridctrl::CGridCtrl& grid, int row) {
    if (row < grid.GetFixedRowCount() || row >= grid.GetRowCount())
        return;
    const int firstCol = grid.GetFixedColumnCount();
    grid.SetFocusCell(row, firstCol);
    grid.SetSelectedRange(row, firstCol, row, grid.GetColumnCount() - 1);
    grid.EnsureVisible(row, firstCol);
}

void widenColumnsToCells(gridctrl::CGridCtrl& grid) {
    for (int row = 0; row < grid.GetRowCount(); ++row)
        for (int col = 0; col < grid.GetColumnCount(); ++col) {
            gridctrl::CGridCellBase* cell = grid.GetCell(row, col);
            if (cell == nullptr)
                continue;
            const int needed = cell->MeasureCell(nullptr).cx;
            if (needed > grid.GetColumnWidth(col))
                grid.SetColumnWidth(col, needed);
        }
}
