#pragma once
// Where cells lie in the grid window, as plain arithmetic over the row
// heights and column widths. The fixed rows fill the top of the client area
// and the fixed columns its left side and never scroll; the non-fixed cells
// start after them, shifted by the scroll positions (pixels of the
// non-fixed area). A cell's rectangle holds its last pixel: it runs from its
// origin to origin + size - 1.

#include "gridctrl/grid_types.hpp"

#include <vector>

namespace gridctrl {

struct GridGeometry {
    const std::vector<int>& rowHeights;
    const std::vector<int>& colWidths;
    int fixedRows = 0;
    int fixedCols = 0;
    int scrollX = 0;
    int scrollY = 0;
    int clientWidth = 0;
    int clientHeight = 0;

    int rowCount() const { return static_cast<int>(rowHeights.size()); }
    int colCount() const { return static_cast<int>(colWidths.size()); }
    int fixedWidth() const;
    int fixedHeight() const;
};

// The first non-fixed row and column at the scroll positions: whole rows and
// columns are passed while their sizes stay below the position.
CCellID topLeftNonFixedCell(const GridGeometry& geometry);

// The non-fixed cells from `topLeft` that reach into the client area;
// `extent` (when given) gets (0, 0) to the right and bottom they reach.
CCellSpan visibleNonFixedRange(const GridGeometry& geometry, CCellID topLeft,
                               GridRect* extent = nullptr);

// False for an invalid cell or one scrolled out to the left or above.
bool cellOrigin(const GridGeometry& geometry, CCellID topLeft, int row, int col, int& x, int& y);
bool cellRect(const GridGeometry& geometry, CCellID topLeft, int row, int col, GridRect& rect);

// The cell under a point in client pixels; -1 parts for none.
CCellID cellFromPoint(const GridGeometry& geometry, CCellID topLeft, int x, int y,
                      bool allowFixed = true);

// Whether any part of the cell lies in the client area.
bool isCellVisible(const GridGeometry& geometry, CCellID topLeft, int row, int col);

} // namespace gridctrl
