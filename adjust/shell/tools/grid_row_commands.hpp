#pragma once
// What the grid-based tool windows (EDM calibration, closure editor) share:
// the current row that a click or a keyboard move on the grid sets, the rows
// a delete removes, and columns wide enough for their cells.

#include "gridctrl/grid_ctrl.hpp"

#include <functional>

// The grid tells its parent window, not itself, which cell was clicked or
// reached with the keyboard: `owner` is the window whose events see those
// notifications (the grid's parent or one of its ancestors), and
// `setCurrentRow` receives the row of each.
void followCurrentRow(wxWindow& owner, const gridctrl::CGridCtrl& grid,
                      std::function<void(int)> setCurrentRow);

// Inclusive range of non-fixed rows; empty when last < first.
struct GridRowSpan {
    int first = 0;
    int last = -1;
    bool empty() const { return last < first; }
    int count() const { return empty() ? 0 : last - first + 1; }
};

// The rows a delete removes: every row the selection touches when the
// current row is among them, else the current row alone; none when the
// current row is a heading row or past the last row.
GridRowSpan rowsToDelete(const gridctrl::CGridCtrl& grid, int currentRow);

// Makes `row` the one the keyboard and the next edit reach: its first
// non-fixed cell gets the focus and the row is selected.
void focusRow(gridctrl::CGridCtrl& grid, int row);

// Widens every column that cannot show one of its cells whole (its heading,
// a text, a combo cell's widest option); wider columns keep their width.
void widenColumnsToCells(gridctrl::CGridCtrl& grid);
