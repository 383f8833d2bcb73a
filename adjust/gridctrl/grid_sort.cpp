// Sorting the non-fixed rows by the cells of one column: a quicksort whose
// pivot is the middle row's cell object itself (it keeps its value while the
// rows move), and which never swaps two rows whose cells compare equal.
#include "gridctrl/grid_model.hpp"

#include <utility>

namespace gridctrl {

namespace {

std::intptr_t asWord(CGridCellBase* cell) {
    return reinterpret_cast<std::intptr_t>(cell);
}

} // namespace

int GridModel::CompareCellText(std::intptr_t cell1, std::intptr_t cell2, std::intptr_t) {
    const auto* first = reinterpret_cast<const CGridCellBase*>(cell1);
    const auto* second = reinterpret_cast<const CGridCellBase*>(cell2);
    if (first == nullptr || second == nullptr)
        return 0;
    return first->GetText().compare(second->GetText());
}

void GridModel::SetSortColumn(int col) {
    if (sortColumn_ >= 0)
        InvalidateCellRect(0, sortColumn_);
    sortColumn_ = col;
    if (col >= 0)
        InvalidateCellRect(0, col);
}

bool GridModel::SortItems(int col, bool ascending, std::intptr_t data) {
    return SortItems(compare_ != nullptr ? compare_ : &CompareCellText, col, ascending, data);
}

bool GridModel::SortItems(GridCompareFunc compare, int col, bool ascending, std::intptr_t data) {
    SetSortColumn(col);
    sortAscending_ = ascending;
    ResetSelectedRange();
    return SortTextItems(compare, col, ascending, data, fixedRows_, -1);
}

void GridModel::swapRows(int a, int b) {
    std::swap(rows_[a], rows_[b]);
    std::swap(rowHeights_[a], rowHeights_[b]);
    for (int col = 0; col < colCount_; ++col) {
        if (rows_[a][col])
            rows_[a][col]->SetPosition(a, col);
        if (rows_[b][col])
            rows_[b][col]->SetPosition(b, col);
    }
}

bool GridModel::SortTextItems(GridCompareFunc compare, int col, bool ascending, std::intptr_t data,
                              int low, int high) {
    if (col < 0 || col >= colCount_ || virtualMode_)
        return false;
    if (high == -1)
        high = rowCount_ - 1;
    if (low >= high)
        return false;
    const int direction = ascending ? 1 : -1;
    auto order = [&](int row, CGridCellBase* other) {
        return direction * compare(asWord(GetCell(row, col)), asWord(other), data);
    };
    CGridCellBase* pivot = GetCell((low + high) / 2, col);
    int lo = low;
    int hi = high;
    while (lo <= hi) {
        while (lo < high && order(lo, pivot) < 0)
            ++lo;
        while (hi > low && order(hi, pivot) > 0)
            --hi;
        if (lo <= hi) {
            if (compare(asWord(GetCell(lo, col)), asWord(GetCell(hi, col)), data) != 0)
                swapRows(lo, hi);
            ++lo;
            --hi;
        }
    }
    if (low < hi)
        SortTextItems(compare, col, ascending, data, low, hi);
    if (lo < high)
        SortTextItems(compare, col, ascending, data, lo, high);
    return true;
}

} // namespace gridctrl
