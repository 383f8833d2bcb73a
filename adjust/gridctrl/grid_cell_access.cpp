// Reaching the grid's cells: lookup and replacement, texts, formats and
// colours, state bits and modified flags, and the virtual mode in which the
// owner supplies each cell's contents when it is read.
#include "gridctrl/grid_model.hpp"

namespace gridctrl {

bool GridModel::IsValid(int row, int col) const {
    return row >= 0 && row < rowCount_ && col >= 0 && col < colCount_;
}

bool GridModel::IsValid(const CCellSpan& span) const {
    return span.IsValid() && span.maxRow < rowCount_ && span.maxCol < colCount_;
}

const CGridCellBase* GridModel::GetCell(int row, int col) const {
    return const_cast<GridModel*>(this)->GetCell(row, col);
}

CGridCellBase* GridModel::GetCell(int row, int col) {
    if (!IsValid(row, col))
        return nullptr;
    if (!virtualMode_)
        return rows_[row][col].get();
    const bool fixedRow = row < fixedRows_;
    const bool fixedCol = col < fixedCols_;
    const CGridDefaultCell* fallback = GetDefaultCell(fixedRow, fixedCol);
    CGridItem item;
    item.row = row;
    item.col = col;
    item.mask = 0xFFFFFFFFu;
    item.format = fallback->GetFormat();
    item.image = fallback->GetImage();
    item.bkColor = fallback->GetBackColour();
    item.fgColor = fallback->GetTextColour();
    item.data = fallback->GetDataWord();
    item.font = *fallback->GetFont();
    item.margin = static_cast<unsigned>(fallback->GetMargin());
    if (IsCellSelected(row, col))
        item.state |= GRIDSTATE_SELECTED;
    if (fixedRow)
        item.state |= GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW;
    if (fixedCol)
        item.state |= GRIDSTATE_FIXED | GRIDSTATE_FIXEDCOL;
    if (CCellID(row, col) == focusCell_)
        item.state |= GRIDSTATE_FOCUSED;
    if (dispInfoCallback_ != nullptr)
        dispInfoCallback_(item, dispInfoData_);
    else
        RequestDispInfo(item);
    virtualCell_.SetGrid(this);
    virtualCell_.SetState(item.state);
    virtualCell_.SetFormat(item.format);
    virtualCell_.SetImage(item.image);
    virtualCell_.SetBackColour(item.bkColor);
    virtualCell_.SetTextColour(item.fgColor);
    virtualCell_.SetDataWord(item.data);
    virtualCell_.SetFont(&item.font);
    virtualCell_.SetMargin(static_cast<int>(item.margin));
    virtualCell_.SetText(item.text);
    return &virtualCell_;
}

void GridModel::SetVirtualMode(bool on) {
    if (on == virtualMode_)
        return;
    // Switching drops the cells and keeps the counts and sizes.
    clearSelection();
    rows_.clear();
    virtualMode_ = on;
    if (!on) {
        for (int row = 0; row < rowCount_; ++row) {
            rows_.emplace_back(colCount_);
            for (int col = 0; col < colCount_; ++col)
                rows_[row][col] = CreateCell(row, col);
        }
    }
    RedrawAll();
}

bool GridModel::SetCell(int row, int col, std::unique_ptr<CGridCellBase> cell) {
    if (virtualMode_ || !IsValid(row, col))
        return false;
    if (cell)
        cell->SetPosition(row, col);
    rows_[row][col] = std::move(cell);
    return true;
}

bool GridModel::SetCellType(int row, int col, CellFactory factory) {
    if (virtualMode_ || !IsValid(row, col) || factory == nullptr)
        return false;
    std::unique_ptr<CGridCellBase> cell = factory();
    if (!cell)
        return false;
    if (const CGridCellBase* old = GetCell(row, col))
        cell->CopySettings(*old);
    else
        cell->SetGrid(this);
    return SetCell(row, col, std::move(cell));
}

std::string GridModel::GetCellText(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetText() : std::string();
}

CGridCellBase* GridModel::storedCell(int row, int col) {
    return virtualMode_ ? nullptr : GetCell(row, col);
}

bool GridModel::SetCellText(int row, int col, const std::string& text) {
    CGridCellBase* cell = storedCell(row, col);
    if (cell == nullptr)
        return false;
    cell->SetText(text);
    SetModified(true, row, col);
    return true;
}

bool GridModel::SetCellFromItem(const CGridItem* item) {
    if (item == nullptr || virtualMode_)
        return false;
    CGridCellBase* cell = GetCell(item->row, item->col);
    if (cell == nullptr)
        return false;
    SetModified(true, item->row, item->col);
    if (item->mask & GRIDITEM_TEXT)
        cell->SetText(item->text);
    if (item->mask & GRIDITEM_DATA)
        cell->SetDataWord(item->data);
    if (item->mask & GRIDITEM_IMAGE)
        cell->SetImage(item->image);
    if (item->mask & GRIDITEM_STATE)
        SetCellState(item->row, item->col, item->state);
    if (item->mask & GRIDITEM_FORMAT)
        cell->SetFormat(item->format);
    if (item->mask & GRIDITEM_BKCOLOR)
        cell->SetBackColour(item->bkColor);
    if (item->mask & GRIDITEM_FGCOLOR)
        cell->SetTextColour(item->fgColor);
    if (item->mask & GRIDITEM_FONT)
        cell->SetFont(&item->font);
    if (item->mask & GRIDITEM_MARGIN)
        cell->SetMargin(static_cast<int>(item->margin));
    return true;
}

bool GridModel::SetCellFormat(int row, int col, unsigned format) {
    CGridCellBase* cell = storedCell(row, col);
    if (cell != nullptr)
        cell->SetFormat(format);
    return cell != nullptr;
}

bool GridModel::SetCellBkColor(int row, int col, COLORREF colour) {
    CGridCellBase* cell = storedCell(row, col);
    if (cell != nullptr)
        cell->SetBackColour(colour);
    return cell != nullptr;
}

bool GridModel::SetCellFgColor(int row, int col, COLORREF colour) {
    CGridCellBase* cell = storedCell(row, col);
    if (cell != nullptr)
        cell->SetTextColour(colour);
    return cell != nullptr;
}

unsigned GridModel::GetCellState(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetState() : 0;
}

bool GridModel::IsCellEditable(int row, int col) const {
    return options_.editable && (GetCellState(row, col) & GRIDSTATE_READONLY) == 0;
}

bool GridModel::IsCellEditing(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr && cell->IsEditing();
}

bool GridModel::IsModified(int row, int col) const {
    if (row < 0 || col < 0)
        return modified_;
    return (GetCellState(row, col) & GRIDSTATE_MODIFIED) != 0;
}

void GridModel::SetModified(bool modified, int row, int col) {
    if (col < 0 || col == sortColumn_)
        SetSortColumn(-1);
    if (row < 0 || col < 0) {
        modified_ = modified;
    } else {
        const unsigned state = GetCellState(row, col);
        if (modified) {
            SetCellState(row, col, state | GRIDSTATE_MODIFIED);
            modified_ = true;
        } else {
            SetCellState(row, col, state & ~GRIDSTATE_MODIFIED);
        }
    }
    if (!modified_)
        resetModifiedBits();
}

void GridModel::resetModifiedBits() {
    if (virtualMode_)
        return;
    for (auto& cells : rows_)
        for (auto& cell : cells)
            if (cell)
                cell->SetState(cell->GetState() & ~GRIDSTATE_MODIFIED);
}

GridSize GridModel::GetTextExtent(int row, int col, const std::string& text) {
    CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->MeasureText(&text, nullptr) : GridSize{};
}

} // namespace gridctrl
