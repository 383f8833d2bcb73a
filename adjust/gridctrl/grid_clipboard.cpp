// Cell text to and from the outside: the clipboard (plain text), dragging
// the selected text out of the grid and dropping text onto a cell. Text
// changes go through ReplaceCellText, so the owner's begin-edit and end-edit
// notifications and the cells' validation apply to them.
#include "gridctrl/grid_ctrl.hpp"

#include "gridctrl/grid_drop_target.hpp"
#include "gridctrl/wx_conversions.hpp"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dcmemory.h>
#include <wx/textentry.h>

namespace gridctrl {

namespace {

// Ctrl chooses a copy; a move is the default.
wxDragResult copyOrMove(wxDragResult suggested) {
    return suggested == wxDragCopy ? wxDragCopy : wxDragMove;
}

} // namespace

std::unique_ptr<wxTextDataObject> CGridCtrl::CopyTextFromGrid() {
    std::string text;
    if (!CopyText(text))
        return nullptr;
    return std::make_unique<wxTextDataObject>(wxString::FromUTF8(text));
}

bool CGridCtrl::PasteTextToGrid(const CCellID& cell, const wxTextDataObject& data,
                                bool selectPastedCells) {
    return PasteText(cell, data.GetText().utf8_string(), selectPastedCells);
}

void CGridCtrl::OnEditCopy() {
    std::unique_ptr<wxTextDataObject> data = CopyTextFromGrid();
    if (!data || !wxTheClipboard->Open())
        return;
    wxTheClipboard->SetData(data.release());
    wxTheClipboard->Close();
}

void CGridCtrl::OnEditCut() {
    if (!options().editable)
        return;
    OnEditCopy();
    CutSelectedText();
}

void CGridCtrl::OnEditPaste() {
    if (!options().editable)
        return;
    CCellID target;
    const CCellSpan selected = GetSelectedCellRange();
    if (IsValid(selected))
        target = CCellID(selected.minRow, selected.minCol);
    else if (IsValid(GetFocusCell()))
        target = GetFocusCell();
    else
        target = CCellID(GetFixedRowCount(), GetFixedColumnCount());
    if (!IsValid(target))
        return;
    if (CGridCellBase* cell = GetCell(target.row, target.col);
        cell != nullptr && cell->IsEditing()) {
        if (auto* editor = dynamic_cast<wxTextEntry*>(cell->GetEditWindow())) {
            editor->Paste();
            return;
        }
    }
    if (!wxTheClipboard->Open())
        return;
    wxTextDataObject data;
    const bool hasText =
        wxTheClipboard->IsSupported(wxDF_UNICODETEXT) || wxTheClipboard->IsSupported(wxDF_TEXT);
    const bool read = hasText && wxTheClipboard->GetData(data);
    wxTheClipboard->Close();
    if (read)
        PasteTextToGrid(target, data, true);
}

void CGridCtrl::OnBeginDrag() {
    if (!options().dragAndDrop)
        return;
    std::unique_ptr<wxTextDataObject> data = CopyTextFromGrid();
    if (!data)
        return;
    const CCellSpan range = GetSelectedCellRange();
    NotifyParent(range.minRow, range.minCol, GRIDN_BEGINDRAG);
    SetMouseMode(MOUSE_DRAGGING);
    leftButtonDown_ = false;
    // The toolkit's drag takes the pointer itself.
    releaseMouse();
    std::vector<CCellID> dragged;
    for (int row = range.minRow; row <= range.maxRow; ++row)
        for (int col = range.minCol; col <= range.maxCol; ++col)
            if (IsCellSelected(row, col))
                dragged.emplace_back(row, col);
    lastDropRange_ = CCellSpan();
    wxDropSource source(*data, this);
    FinishDrag(source.DoDragDrop(wxDrag_AllowMove), dragged);
}

wxDragImage* CGridCtrl::CreateDragImage(wxPoint* hotspot) {
    const CCellID focus = GetFocusCell();
    GridRect rect;
    if (!IsValid(focus) || !GetCellRect(focus.row, focus.col, &rect))
        return nullptr;
    const GridRect picture{0, 0, rect.Width(), rect.Height()};
    if (picture.IsEmpty())
        return nullptr;
    *hotspot = wxPoint(picture.right, picture.bottom);
    wxBitmap bitmap(picture.Width(), picture.Height());
    {
        wxMemoryDC dc(bitmap);
        if (CGridCellBase* cell = GetCell(focus.row, focus.col))
            cell->Draw(&dc, focus.row, focus.col, picture);
    }
    bitmap.SetMask(new wxMask(bitmap, colourOf(GetDefaultCell(false, false)->GetBackColour())));
    return new wxDragImage(bitmap);
}

void CGridCtrl::FinishDrag(wxDragResult result, const std::vector<CCellID>& dragged) {
    SetMouseMode(MOUSE_NOTHING);
    if (result != wxDragMove)
        return;
    // The cells are remembered before the drag: a drop on this same grid
    // clears the selection, and the cells it just wrote keep their new text.
    for (const CCellID& cell : dragged)
        if (!lastDropRange_.Contains(cell))
            ReplaceCellText(cell.row, cell.col, "");
    lastDropRange_ = CCellSpan();
}

wxDragResult CGridCtrl::OnDragEnter(wxPoint point, wxDragResult suggested) {
    if (!options().dragAndDrop)
        return wxDragNone;
    dropTargetCell_ = GetCellFromPt(point, false);
    if (!IsValid(dropTargetCell_) || !IsCellEditable(dropTargetCell_))
        return wxDragNone;
    SetCellState(dropTargetCell_.row, dropTargetCell_.col,
                 GetCellState(dropTargetCell_.row, dropTargetCell_.col) | GRIDSTATE_DROPHILITED);
    RedrawCell(dropTargetCell_.row, dropTargetCell_.col);
    return copyOrMove(suggested);
}

wxDragResult CGridCtrl::OnDragOver(wxPoint point, wxDragResult suggested) {
    if (!options().dragAndDrop || !options().editable)
        return wxDragNone;
    const CCellID cell = GetCellFromPt(point, false);
    if (!IsValid(cell)) {
        OnDragLeave();
        dropTargetCell_ = CCellID();
        return wxDragNone;
    }
    if (!IsCellEditable(cell))
        return wxDragNone;
    if (cell != dropTargetCell_) {
        OnDragLeave();
        dropTargetCell_ = cell;
        SetCellState(cell.row, cell.col, GetCellState(cell.row, cell.col) | GRIDSTATE_DROPHILITED);
        RedrawCell(cell.row, cell.col);
    }
    return copyOrMove(suggested);
}

void CGridCtrl::OnDragLeave() {
    if (!IsValid(dropTargetCell_))
        return;
    SetCellState(dropTargetCell_.row, dropTargetCell_.col,
                 GetCellState(dropTargetCell_.row, dropTargetCell_.col) & ~GRIDSTATE_DROPHILITED);
    RedrawCell(dropTargetCell_.row, dropTargetCell_.col);
}

bool CGridCtrl::OnDrop(wxPoint, const std::string& text) {
    SetMouseMode(MOUSE_NOTHING);
    if (!options().dragAndDrop || !IsCellEditable(dropTargetCell_) || !IsValid(dropTargetCell_))
        return false;
    OnDragLeave();
    const CCellID target = dropTargetCell_;
    if (!PasteText(target, text, false))
        return false;
    lastDropRange_ = lastPastedRange();
    return true;
}

wxDragResult CGridDropTarget::OnEnter(wxCoord x, wxCoord y, wxDragResult suggested) {
    return grid_->OnDragEnter(wxPoint(x, y), suggested);
}

wxDragResult CGridDropTarget::OnDragOver(wxCoord x, wxCoord y, wxDragResult suggested) {
    return grid_->OnDragOver(wxPoint(x, y), suggested);
}

void CGridDropTarget::OnLeave() {
    grid_->OnDragLeave();
}

bool CGridDropTarget::OnDropText(wxCoord x, wxCoord y, const wxString& text) {
    return grid_->OnDrop(wxPoint(x, y), text.utf8_string());
}

} // namespace gridctrl
