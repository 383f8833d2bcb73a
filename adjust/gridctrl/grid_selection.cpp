// The focus cell and the selection. The selection is held twice: each
// selected cell has GRIDSTATE_SELECTED in its state (outside virtual mode)
// and an entry in the selection map; SetCellState keeps both in step.
#include "gridctrl/grid_model.hpp"

#include <algorithm>

namespace gridctrl {

namespace {

// Rows and columns each get 32 bits, so grids past 65,535 rows (virtual
// ones) keep their cells apart.
std::uint64_t selectionKey(int row, int col) {
    return static_cast<std::uint32_t>(row) | (std::uint64_t{static_cast<std::uint32_t>(col)} << 32);
}

} // namespace

bool GridModel::SetCellState(int row, int col, unsigned state) {
    const auto key = selectionKey(row, col);
    const bool inMap = selection_.count(key) != 0;
    if (inMap && (state & GRIDSTATE_SELECTED) == 0)
        selection_.erase(key);
    else if (!inMap && (state & GRIDSTATE_SELECTED) != 0)
        selection_.emplace(key, CCellID(row, col));
    if (virtualMode_)
        return false;
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr)
        return false;
    cell->SetState(state);
    return true;
}

void GridModel::setSelectedBit(int row, int col, bool selected) {
    if (virtualMode_) {
        SetCellState(row, col, selected ? GRIDSTATE_SELECTED : 0);
        return;
    }
    const unsigned state = GetCellState(row, col);
    SetCellState(row, col, selected ? state | GRIDSTATE_SELECTED : state & ~GRIDSTATE_SELECTED);
}

bool GridModel::IsCellSelected(int row, int col) const {
    if (!options_.selectionEnabled)
        return false;
    if (virtualMode_)
        return selection_.count(selectionKey(row, col)) != 0;
    return (GetCellState(row, col) & GRIDSTATE_SELECTED) != 0;
}

CCellSpan GridModel::GetSelectedCellRange() const {
    CCellSpan span(rowCount_, colCount_, -1, -1);
    for (const auto& [key, cell] : selection_) {
        span.minRow = std::min(span.minRow, cell.row);
        span.minCol = std::min(span.minCol, cell.col);
        span.maxRow = std::max(span.maxRow, cell.row);
        span.maxCol = std::max(span.maxCol, cell.col);
    }
    return span;
}

void GridModel::redrawHeadings(int row, int col) {
    if (col >= 0)
        for (int fixedRow = 0; fixedRow < fixedRows_; ++fixedRow)
            RedrawCell(fixedRow, col);
    if (row >= 0)
        for (int fixedCol = 0; fixedCol < fixedCols_; ++fixedCol)
            RedrawCell(row, fixedCol);
}

CCellID GridModel::SetFocusCell(int row, int col) {
    const CCellID previous = focusCell_;
    if (previous == CCellID(row, col))
        return previous;
    if (row != -1)
        row = std::max(row, fixedRows_);
    if (col != -1)
        col = std::max(col, fixedCols_);
    const bool headings = options_.focusShownInHeadings;
    if (IsValid(previous)) {
        SetCellState(previous.row, previous.col,
                     GetCellState(previous.row, previous.col) & ~GRIDSTATE_FOCUSED);
        RedrawCell(previous.row, previous.col);
        if (headings)
            redrawHeadings(previous.row != row ? previous.row : -1,
                           previous.col != col ? previous.col : -1);
    }
    focusCell_ = CCellID(row, col);
    if (IsValid(focusCell_)) {
        SetCellState(row, col, GetCellState(row, col) | GRIDSTATE_FOCUSED);
        RedrawCell(row, col);
        if (headings)
            redrawHeadings(previous.row != row ? row : -1, previous.col != col ? col : -1);
    }
    return previous;
}

void GridModel::repaintSelectionChange(int row, int col, bool forceRepaint) {
    if (forceRepaint)
        RedrawCell(row, col);
    else
        InvalidateCellRect(row, col);
}

void GridModel::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool forceRepaint,
                                 bool selectCells) {
    if (!options_.selectionEnabled)
        return;
    if (minRow >= 0)
        minRow = std::max(minRow, fixedRows_);
    if (maxRow >= 0)
        maxRow = std::max(maxRow, fixedRows_);
    if (minCol >= 0)
        minCol = std::max(minCol, fixedCols_);
    if (maxCol >= 0)
        maxCol = std::max(maxCol, fixedCols_);
    const CCellSpan range(minRow, minCol, maxRow, maxCol);
    if (selectCells) {
        const auto previous = selection_;
        for (const auto& [key, cell] : previous) {
            if (!IsValid(cell)) {
                selection_.erase(key);
                continue;
            }
            setSelectedBit(cell.row, cell.col, false);
            if (!range.Contains(cell))
                repaintSelectionChange(cell.row, cell.col, forceRepaint);
        }
        if (!(options_.listMode && options_.singleRowSelection)) {
            if (minRow < 0)
                return;
            if (minCol >= 0 && maxRow >= 0 && maxCol >= 0) {
                for (const auto& [key, cell] : preDragSelection_) {
                    if (!IsValid(cell))
                        continue;
                    setSelectedBit(cell.row, cell.col, true);
                    repaintSelectionChange(cell.row, cell.col, forceRepaint);
                }
            }
        }
    }
    if (!IsValid(range))
        return;
    for (int row = minRow; row <= maxRow; ++row) {
        for (int col = minCol; col <= maxCol; ++col) {
            if (IsCellSelected(row, col) == selectCells)
                continue;
            setSelectedBit(row, col, selectCells);
            repaintSelectionChange(row, col, forceRepaint);
        }
    }
}

void GridModel::SelectAllCells() {
    SetSelectedRange(fixedRows_, fixedCols_, rowCount_ - 1, colCount_ - 1);
}

void GridModel::SelectColumns(CCellID cell, bool forceRedraw, bool selectCells) {
    if (cell.col < fixedCols_ || cell.col >= colCount_)
        return;
    int first = cell.col;
    int last = cell.col;
    if (!options_.singleColSelection) {
        first = std::min(anchor_.col, cell.col);
        last = std::max(anchor_.col, cell.col);
    }
    SetSelectedRange(fixedRows_, first, rowCount_ - 1, last, forceRedraw, selectCells);
}

void GridModel::SelectRows(CCellID cell, bool forceRedraw, bool selectCells) {
    if (cell.row < fixedRows_ || cell.row >= rowCount_)
        return;
    int first = cell.row;
    int last = cell.row;
    if (!(options_.listMode && options_.singleRowSelection)) {
        first = std::min(anchor_.row, cell.row);
        last = std::max(anchor_.row, cell.row);
    }
    SetSelectedRange(first, fixedCols_, last, colCount_ - 1, forceRedraw, selectCells);
}

void GridModel::SelectCells(CCellID cell, bool forceRedraw, bool selectCells) {
    if (!IsValid(cell) || cell.row < fixedRows_ || cell.col < fixedCols_)
        return;
    SetSelectedRange(std::min(anchor_.row, cell.row), std::min(anchor_.col, cell.col),
                     std::max(anchor_.row, cell.row), std::max(anchor_.col, cell.col), forceRedraw,
                     selectCells);
}

void GridModel::OnSelecting(const CCellID& cell) {
    if (!options_.selectionEnabled)
        return;
    switch (mouseMode_) {
    case MOUSE_SELECT_ALL:
        SelectAllCells();
        break;
    case MOUSE_SELECT_COL:
        SelectColumns(cell);
        break;
    case MOUSE_SELECT_ROW:
        SelectRows(cell);
        break;
    case MOUSE_SELECT_CELLS:
        SelectCells(cell);
        break;
    default:
        break;
    }
}

void GridModel::ResetSelectedRange() {
    preDragSelection_.clear();
    SetSelectedRange(-1, -1, -1, -1);
    SetFocusCell(-1, -1);
}

void GridModel::keepSelectionForDrag(bool keep) {
    if (keep)
        preDragSelection_ = selection_;
    else
        preDragSelection_.clear();
}

void GridModel::clearSelection() {
    keepSelectionForDrag(false);
    SetSelectedRange(-1, -1, -1, -1);
}

} // namespace gridctrl
