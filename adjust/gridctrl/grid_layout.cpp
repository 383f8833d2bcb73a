#include "gridctrl/grid_layout.hpp"

#include <algorithm>
#include <numeric>

namespace gridctrl {

namespace {

int sumBefore(const std::vector<int>& sizes, int end) {
    return std::accumulate(sizes.begin(), sizes.begin() + end, 0);
}

// Index of the first non-fixed line after passing sizes below `position`.
int firstAfterScroll(const std::vector<int>& sizes, int fixed, int position) {
    const int last = static_cast<int>(sizes.size()) - 1;
    int index = fixed;
    int passed = 0;
    while (index < last && passed < position)
        passed += sizes[index++];
    return index;
}

// The last line reached from `first` at `start` before `limit`; `reached`
// gets the coordinate reached, clipped to the limit.
int lastReached(const std::vector<int>& sizes, int first, int start, int limit, int& reached) {
    const int count = static_cast<int>(sizes.size());
    reached = start;
    int index = first;
    for (; index < count; ++index) {
        reached += sizes[index];
        if (reached >= limit) {
            reached = limit;
            break;
        }
    }
    return std::min(index, count - 1);
}

// Origin along one axis; false for a non-fixed line before `first`.
bool originAlong(const std::vector<int>& sizes, int fixed, int first, int index, int& at) {
    if (index < fixed) {
        at = sumBefore(sizes, index);
        return true;
    }
    if (index < first)
        return false;
    at = sumBefore(sizes, fixed) + std::accumulate(sizes.begin() + first, sizes.begin() + index, 0);
    return true;
}

int lineAt(const std::vector<int>& sizes, int fixed, int first, int coordinate, bool allowFixed) {
    if (coordinate < 0)
        return -1;
    const int count = static_cast<int>(sizes.size());
    const int fixedSize = sumBefore(sizes, fixed);
    int edge = 0;
    if (coordinate < fixedSize) {
        if (!allowFixed)
            return -1;
        for (int index = 0; index < fixed; ++index) {
            edge += sizes[index];
            if (edge > coordinate)
                return index;
        }
        return -1;
    }
    edge = fixedSize;
    for (int index = std::max(first, 0); index < count; ++index) {
        edge += sizes[index];
        if (edge > coordinate)
            return index;
    }
    return -1;
}

bool lineVisible(const std::vector<int>& sizes, int fixed, int first, int index, int limit) {
    if (index >= fixed && index < first)
        return false;
    int start = index < fixed ? 0 : sumBefore(sizes, fixed);
    for (int line = index < fixed ? 0 : first; line <= index; ++line) {
        if (start >= limit)
            return false;
        start += sizes[line];
    }
    return true;
}

} // namespace

int GridGeometry::fixedWidth() const {
    return sumBefore(colWidths, fixedCols);
}

int GridGeometry::fixedHeight() const {
    return sumBefore(rowHeights, fixedRows);
}

CCellID topLeftNonFixedCell(const GridGeometry& g) {
    return CCellID(firstAfterScroll(g.rowHeights, g.fixedRows, g.scrollY),
                   firstAfterScroll(g.colWidths, g.fixedCols, g.scrollX));
}

CCellSpan visibleNonFixedRange(const GridGeometry& g, CCellID topLeft, GridRect* extent) {
    int bottom = 0;
    int right = 0;
    const int lastRow =
        lastReached(g.rowHeights, topLeft.row, g.fixedHeight(), g.clientHeight, bottom);
    const int lastCol = lastReached(g.colWidths, topLeft.col, g.fixedWidth(), g.clientWidth, right);
    if (extent != nullptr)
        *extent = GridRect{0, 0, right, bottom};
    return CCellSpan(topLeft.row, topLeft.col, lastRow, lastCol);
}

bool cellOrigin(const GridGeometry& g, CCellID topLeft, int row, int col, int& x, int& y) {
    if (row < 0 || row >= g.rowCount() || col < 0 || col >= g.colCount())
        return false;
    return originAlong(g.colWidths, g.fixedCols, topLeft.col, col, x) &&
           originAlong(g.rowHeights, g.fixedRows, topLeft.row, row, y);
}

bool cellRect(const GridGeometry& g, CCellID topLeft, int row, int col, GridRect& rect) {
    int x = 0;
    int y = 0;
    if (!cellOrigin(g, topLeft, row, col, x, y))
        return false;
    rect = GridRect{x, y, x + g.colWidths[col] - 1, y + g.rowHeights[row] - 1};
    return true;
}

CCellID cellFromPoint(const GridGeometry& g, CCellID topLeft, int x, int y, bool allowFixed) {
    const bool topLeftValid = topLeft.row >= 0 && topLeft.row < g.rowCount() && topLeft.col >= 0 &&
                              topLeft.col < g.colCount();
    if (!allowFixed && !topLeftValid)
        return CCellID();
    return CCellID(lineAt(g.rowHeights, g.fixedRows, topLeft.row, y, allowFixed),
                   lineAt(g.colWidths, g.fixedCols, topLeft.col, x, allowFixed));
}

bool isCellVisible(const GridGeometry& g, CCellID topLeft, int row, int col) {
    if (row < 0 || row >= g.rowCount() || col < 0 || col >= g.colCount())
        return false;
    return lineVisible(g.colWidths, g.fixedCols, topLeft.col, col, g.clientWidth) &&
           lineVisible(g.rowHeights, g.fixedRows, topLeft.row, row, g.clientHeight);
}

} // namespace gridctrl
