// The grid's shape: the default cells, making and destroying cells, the
// counts of rows, columns and fixed headings with their state bits, row
// heights and column widths, and inserting and deleting rows and columns.
#include "gridctrl/grid_model.hpp"

#include "gridctrl/toolkit_seams.hpp"

#include <algorithm>
#include <numeric>

namespace gridctrl {

namespace {

constexpr int ordinaryDefault = 0;
constexpr int fixedColumnDefault = 1;
constexpr int fixedRowDefault = 2;
constexpr int cornerDefault = 3;

int defaultIndex(bool fixedRow, bool fixedCol) {
    if (fixedRow && fixedCol)
        return cornerDefault;
    if (fixedRow)
        return fixedRowDefault;
    return fixedCol ? fixedColumnDefault : ordinaryDefault;
}

int sum(const std::vector<int>& sizes, int from, int to) {
    return std::accumulate(sizes.begin() + from, sizes.begin() + to, 0);
}

} // namespace

GridModel::GridModel(int rows, int cols, int fixedRows, int fixedCols) {
    for (int kind = 0; kind < 4; ++kind) {
        CGridDefaultCell& cell = defaultCells_[kind];
        cell.SetGrid(this);
        cell.SetTextColour(systemColour(SystemColour::windowText));
        cell.SetBackColour(systemColour(kind == ordinaryDefault ? SystemColour::window
                                                                : SystemColour::buttonFace));
    }
    SetRowCount(rows);
    SetColumnCount(cols);
    SetFixedRowCount(fixedRows);
    SetFixedColumnCount(fixedCols);
}

GridModel::~GridModel() = default;

CGridDefaultCell* GridModel::GetDefaultCell(bool fixedRow, bool fixedCol) {
    return &defaultCells_[defaultIndex(fixedRow, fixedCol)];
}

const CGridDefaultCell* GridModel::GetDefaultCell(bool fixedRow, bool fixedCol) const {
    return &defaultCells_[defaultIndex(fixedRow, fixedCol)];
}

std::unique_ptr<CGridCellBase> GridModel::CreateCell(int row, int col) {
    if (cellFactory_ == nullptr)
        return nullptr;
    std::unique_ptr<CGridCellBase> cell = cellFactory_();
    if (!cell)
        return nullptr;
    cell->SetGrid(this);
    cell->SetPosition(row, col);
    unsigned state = 0;
    if (col < fixedCols_)
        state |= GRIDSTATE_FIXED | GRIDSTATE_FIXEDCOL;
    if (row < fixedRows_)
        state |= GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW;
    cell->SetState(state);
    cell->SetFormat(cell->GetDefaultCell()->GetFormat());
    return cell;
}

void GridModel::DestroyCell(int row, int col) {
    SetCellState(row, col, 0);
    if (!virtualMode_ && IsValid(row, col))
        rows_[row][col].reset();
}

bool GridModel::SetRowCount(int rows) {
    if (rows < 0)
        return false;
    if (rows == rowCount_)
        return true;
    forgetTopLeftCell();
    if (rows < fixedRows_)
        fixedRows_ = rows;
    if (focusCell_.row >= rows)
        focusCell_ = CCellID();
    if (rows < rowCount_) {
        if (!virtualMode_) {
            for (int row = rows; row < rowCount_; ++row)
                for (int col = 0; col < colCount_; ++col)
                    DestroyCell(row, col);
            rows_.resize(rows);
        }
        rowCount_ = rows;
    }
    const int height = GetDefaultCell(false, false)->GetHeight();
    rowHeights_.resize(rows, height);
    if (virtualMode_) {
        rowCount_ = rows;
    } else {
        while (rowCount_ < rows) {
            rows_.emplace_back(colCount_);
            for (int col = 0; col < colCount_; ++col)
                rows_.back()[col] = CreateCell(rowCount_, col);
            ++rowCount_;
        }
    }
    SetModified(true, -1, -1);
    ResetScrollBars();
    RedrawAll();
    return true;
}

bool GridModel::SetColumnCount(int cols) {
    if (cols < 0)
        return false;
    if (cols == colCount_)
        return true;
    forgetTopLeftCell();
    if (cols < fixedCols_)
        fixedCols_ = cols;
    if (focusCell_.col >= cols)
        focusCell_ = CCellID();
    if (!virtualMode_) {
        for (int row = 0; row < rowCount_; ++row)
            for (int col = cols; col < colCount_; ++col)
                DestroyCell(row, col);
        for (int row = 0; row < rowCount_; ++row) {
            auto& cells = rows_[row];
            cells.resize(cols);
            for (int col = colCount_; col < cols; ++col)
                cells[col] = CreateCell(row, col);
        }
    }
    colWidths_.resize(cols, GetDefaultCell(false, true)->GetWidth());
    colCount_ = cols;
    SetModified(true, -1, -1);
    ResetScrollBars();
    RedrawAll();
    return true;
}

void GridModel::markFixedRows(int from, int to, bool fixed) {
    for (int row = from; row < to; ++row) {
        for (int col = 0; col < colCount_; ++col) {
            CGridCellBase* cell = GetCell(row, col);
            if (cell == nullptr)
                continue;
            const bool inFixedColumn = col < fixedCols_;
            unsigned state = cell->GetState();
            if (fixed)
                state |= GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW;
            else
                state &=
                    inFixedColumn ? ~GRIDSTATE_FIXEDROW : ~(GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW);
            cell->SetState(state);
            if (fixed || !inFixedColumn) {
                cell->SetTextColour(CLR_DEFAULT);
                cell->SetBackColour(CLR_DEFAULT);
            }
        }
    }
}

void GridModel::markFixedColumns(int from, int to, bool fixed) {
    for (int row = 0; row < rowCount_; ++row) {
        for (int col = from; col < to; ++col) {
            CGridCellBase* cell = GetCell(row, col);
            if (cell == nullptr)
                continue;
            const bool inFixedRow = row < fixedRows_;
            unsigned state = cell->GetState();
            if (fixed)
                state |= GRIDSTATE_FIXED | GRIDSTATE_FIXEDCOL;
            else
                state &= inFixedRow ? ~GRIDSTATE_FIXEDCOL : ~(GRIDSTATE_FIXED | GRIDSTATE_FIXEDCOL);
            cell->SetState(state);
            if (fixed || !inFixedRow) {
                cell->SetTextColour(CLR_DEFAULT);
                cell->SetBackColour(CLR_DEFAULT);
            }
        }
    }
}

bool GridModel::SetFixedRowCount(int fixedRows) {
    if (fixedRows < 0)
        return false;
    if (fixedRows == fixedRows_)
        return true;
    ResetSelectedRange();
    if (fixedRows > rowCount_ && !SetRowCount(fixedRows))
        return false;
    forgetTopLeftCell();
    if (!virtualMode_) {
        if (fixedRows > fixedRows_)
            markFixedRows(fixedRows_, fixedRows, true);
        else
            markFixedRows(fixedRows, fixedRows_, false);
    }
    fixedRows_ = fixedRows;
    RedrawAll();
    return true;
}

bool GridModel::SetFixedColumnCount(int fixedCols) {
    if (fixedCols < 0)
        return false;
    if (fixedCols == fixedCols_)
        return true;
    ResetSelectedRange();
    if (fixedCols > colCount_ && !SetColumnCount(fixedCols))
        return false;
    forgetTopLeftCell();
    if (!virtualMode_) {
        if (fixedCols > fixedCols_)
            markFixedColumns(fixedCols_, fixedCols, true);
        else
            markFixedColumns(fixedCols, fixedCols_, false);
    }
    fixedCols_ = fixedCols;
    RedrawAll();
    return true;
}

int GridModel::InsertColumn(const std::string& heading, unsigned format, int col) {
    if (col >= 0 && (col < fixedCols_ || col > colCount_))
        return -1;
    forgetTopLeftCell();
    clearSelection();
    if (rowCount_ == 0 && !SetRowCount(1))
        return -1;
    const int at = col < 0 ? colCount_ : col;
    // Every new cell is made before anything changes, so the column goes in
    // whole or not at all.
    std::vector<std::unique_ptr<CGridCellBase>> fresh;
    if (!virtualMode_)
        for (int row = 0; row < rowCount_; ++row)
            fresh.push_back(CreateCell(row, at));
    colWidths_.insert(colWidths_.begin() + at, 0);
    if (!virtualMode_)
        for (int row = 0; row < rowCount_; ++row)
            rows_[row].insert(rows_[row].begin() + at, std::move(fresh[row]));
    ++colCount_;
    SetCellText(0, at, heading);
    for (int row = 0; row < rowCount_ && !virtualMode_; ++row)
        SetCellFormat(row, at, format);
    colWidths_[at] = GetTextExtent(0, at, heading).cx;
    if (focusCell_.col >= at && focusCell_.col >= 0)
        ++focusCell_.col;
    ResetScrollBars();
    SetModified(true, -1, -1);
    return at;
}

int GridModel::InsertRow(const std::string& heading, int row) {
    if (row >= 0 && (row < fixedRows_ || row >= rowCount_))
        return -1;
    forgetTopLeftCell();
    // Selection keys name rows by index: moving rows would misplace them.
    clearSelection();
    if (colCount_ == 0 && !SetColumnCount(1))
        return -1;
    const int at = row < 0 ? rowCount_ : row;
    rowHeights_.insert(rowHeights_.begin() + at, 0);
    if (!virtualMode_) {
        rows_.insert(rows_.begin() + at, std::vector<std::unique_ptr<CGridCellBase>>(colCount_));
        for (int col = 0; col < colCount_; ++col)
            rows_[at][col] = CreateCell(at, col);
    }
    ++rowCount_;
    SetCellText(at, 0, heading);
    rowHeights_[at] = heading.empty() ? GetDefaultCell(true, false)->GetHeight()
                                      : GetTextExtent(at, 0, heading).cy;
    if (focusCell_.row >= at && focusCell_.row >= 0)
        ++focusCell_.row;
    ResetScrollBars();
    SetModified(true, -1, -1);
    return at;
}

bool GridModel::DeleteColumn(int col) {
    if (col < 0 || col >= colCount_)
        return false;
    clearSelection();
    forgetTopLeftCell();
    for (int row = 0; row < rowCount_; ++row) {
        DestroyCell(row, col);
        if (!virtualMode_)
            rows_[row].erase(rows_[row].begin() + col);
    }
    colWidths_.erase(colWidths_.begin() + col);
    --colCount_;
    if (col < fixedCols_)
        --fixedCols_;
    if (focusCell_.col == col)
        focusCell_ = CCellID();
    else if (focusCell_.col > col)
        --focusCell_.col;
    ResetScrollBars();
    SetModified(true, -1, -1);
    return true;
}

bool GridModel::DeleteRow(int row) {
    if (row < 0 || row >= rowCount_)
        return false;
    clearSelection();
    forgetTopLeftCell();
    for (int col = 0; col < colCount_; ++col)
        DestroyCell(row, col);
    if (!virtualMode_)
        rows_.erase(rows_.begin() + row);
    rowHeights_.erase(rowHeights_.begin() + row);
    --rowCount_;
    if (row < fixedRows_)
        --fixedRows_;
    if (focusCell_.row == row)
        focusCell_ = CCellID();
    else if (focusCell_.row > row)
        --focusCell_.row;
    ResetScrollBars();
    SetModified(true, -1, -1);
    return true;
}

bool GridModel::DeleteNonFixedRows() {
    clearSelection();
    for (int row = rowCount_; row >= fixedRows_; --row)
        DeleteRow(row);
    return true;
}

bool GridModel::DeleteAllItems() {
    clearSelection();
    rowHeights_.clear();
    colWidths_.clear();
    if (!virtualMode_)
        for (int row = 0; row < rowCount_; ++row)
            for (int col = 0; col < colCount_; ++col)
                DestroyCell(row, col);
    rows_.clear();
    focusCell_ = CCellID();
    rowCount_ = colCount_ = fixedRows_ = fixedCols_ = 0;
    forgetTopLeftCell();
    ResetScrollBars();
    SetModified(true, -1, -1);
    return true;
}

int GridModel::GetRowHeight(int row) const {
    return row >= 0 && row < rowCount_ ? rowHeights_[row] : -1;
}

int GridModel::GetColumnWidth(int col) const {
    return col >= 0 && col < colCount_ ? colWidths_[col] : -1;
}

bool GridModel::SetRowHeight(int row, int height) {
    if (row < 0 || row >= rowCount_ || height < 0)
        return false;
    rowHeights_[row] = height;
    ResetScrollBars();
    return true;
}

bool GridModel::SetColumnWidth(int col, int width) {
    if (col < 0 || col >= colCount_ || width < 0)
        return false;
    colWidths_[col] = width;
    ResetScrollBars();
    return true;
}

int GridModel::GetFixedRowHeight() const {
    return sum(rowHeights_, 0, fixedRows_);
}

int GridModel::GetFixedColumnWidth() const {
    return sum(colWidths_, 0, fixedCols_);
}

int GridModel::GetTotalHeight() const {
    return sum(rowHeights_, 0, rowCount_);
}

int GridModel::GetTotalWidth() const {
    return sum(colWidths_, 0, colCount_);
}

} // namespace gridctrl
