// The grid under the mouse: clicks select cells, rows, columns or all;
// Shift extends from the anchor and Ctrl adds to or removes from the
// selection; a click on the focus cell's text edits it on release; dragging
// a heading border resizes the row or column (tracked with a line on an
// overlay); a double click on a border sizes to fit; a drag beyond the edge
// scrolls on a timer.
#include "gridctrl/grid_ctrl.hpp"

#include "gridctrl/title_tip.hpp"

#include <wx/dcclient.h>

namespace gridctrl {

namespace {

constexpr int autoScrollInterval_ms = 25;

bool isFixed(const GridModel& grid, const CCellID& cell) {
    return cell.row < grid.GetFixedRowCount() || cell.col < grid.GetFixedColumnCount();
}

} // namespace

// Within the headings and less than the capture range from a border: the
// far border of the cell under the point, or its near one but the first.
bool CGridCtrl::overResizeArea(wxPoint point, bool columns) {
    const int across = columns ? point.y : point.x;
    if (across >= (columns ? GetFixedRowHeight() : GetFixedColumnWidth()))
        return false;
    const CCellID cell = GetCellFromPt(point);
    wxPoint origin;
    if (!IsValid(cell) || !GetCellOrigin(cell.row, cell.col, &origin))
        return false;
    const int along = columns ? point.x : point.y;
    const int start = columns ? origin.x : origin.y;
    const int line = columns ? cell.col : cell.row;
    const int end = start + (columns ? GetColumnWidth(line) : GetRowHeight(line));
    return (along - start < resizeCaptureRange_ && line != 0) || end - along < resizeCaptureRange_;
}

bool CGridCtrl::MouseOverColumnResizeArea(wxPoint point) {
    return overResizeArea(point, true);
}

bool CGridCtrl::MouseOverRowResizeArea(wxPoint point) {
    return overResizeArea(point, false);
}

void CGridCtrl::HandleLeftDown(wxPoint point, bool shift, bool ctrl) {
    SetFocus();
    leftButtonDown_ = true;
    leftDownPoint_ = point;
    leftDownCell_ = GetCellFromPt(point);
    if (!IsValid(leftDownCell_)) {
        EndEditing();
        return;
    }
    if (shift) {
        if (!IsValid(GetSelectionAnchor()))
            SetSelectionAnchor(GetFocusCell());
    } else {
        SetSelectionAnchor(leftDownCell_);
    }
    EndEditing();
    wxPoint origin;
    CGridCellBase* cell = GetCell(leftDownCell_.row, leftDownCell_.col);
    if (cell != nullptr && GetCellOrigin(leftDownCell_.row, leftDownCell_.col, &origin))
        cell->NotifyClickDown(point.x - origin.x, point.y - origin.y);
    GridRect textArea;
    if (leftDownCell_ == GetFocusCell() && !ctrl && cell != nullptr &&
        GetCellRect(leftDownCell_.row, leftDownCell_.col, &textArea) &&
        cell->GetTextArea(&textArea) && point.x >= textArea.left && point.x <= textArea.right &&
        point.y >= textArea.top && point.y <= textArea.bottom && IsCellEditable(leftDownCell_)) {
        SetMouseMode(MOUSE_PREPARE_EDIT);
        return;
    }
    if (IsCellSelected(leftDownCell_)) {
        SetFocusCell(leftDownCell_);
        if (ctrl) {
            if (options().listMode)
                SelectRows(leftDownCell_, true, false);
            else
                SelectCells(leftDownCell_, true, false);
            return;
        }
        if (options().dragAndDrop)
            SetMouseMode(MOUSE_PREPARE_DRAG);
    } else if (GetMouseMode() != MOUSE_OVER_COL_DIVIDE && GetMouseMode() != MOUSE_OVER_ROW_DIVIDE) {
        SetFocusCell(isFixed(*this, leftDownCell_) ? CCellID() : leftDownCell_);
    }
    if (!HasCapture())
        CaptureMouse();
    if (GetMouseMode() == MOUSE_NOTHING) {
        if (options().allowColumnResize && MouseOverColumnResizeArea(point)) {
            SetCursor(wxCursor(wxCURSOR_SIZEWE));
            SetMouseMode(MOUSE_OVER_COL_DIVIDE);
        } else if (options().allowRowResize && MouseOverRowResizeArea(point)) {
            SetCursor(wxCursor(wxCURSOR_SIZENS));
            SetMouseMode(MOUSE_OVER_ROW_DIVIDE);
        }
    }
    if (GetMouseMode() == MOUSE_OVER_COL_DIVIDE) {
        startResize(point, true);
    } else if (GetMouseMode() == MOUSE_OVER_ROW_DIVIDE) {
        startResize(point, false);
    } else if (GetMouseMode() != MOUSE_PREPARE_DRAG) {
        NotifyParent(leftDownCell_.row, leftDownCell_.col, GRIDN_SELCHANGING);
        keepSelectionForDrag(ctrl);
        if (leftDownCell_.row < GetFixedRowCount()) {
            OnFixedRowClick(leftDownCell_);
        } else if (leftDownCell_.col < GetFixedColumnCount()) {
            OnFixedColumnClick(leftDownCell_);
        } else {
            SetMouseMode(options().listMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS);
            OnSelecting(leftDownCell_);
            autoScrollTimer_.Start(autoScrollInterval_ms);
        }
    }
}

void CGridCtrl::startResize(wxPoint point, bool columns) {
    SetMouseMode(columns ? MOUSE_SIZING_COL : MOUSE_SIZING_ROW);
    const CCellID cell = GetCellFromPt(point);
    wxPoint origin;
    GetCellOrigin(cell.row, cell.col, &origin);
    int line = columns ? cell.col : cell.row;
    const int offset = columns ? point.x - origin.x : point.y - origin.y;
    if (offset < resizeCaptureRange_ && line > 0)
        --line;
    const std::vector<int>& sizes = columns ? columnWidths() : rowHeights();
    const bool reveal = columns ? options().revealHiddenColumns : options().revealHiddenRows;
    if (!reveal)
        while (line > 0 && sizes[line] == 0)
            --line;
    if (columns)
        leftDownCell_.col = line;
    else
        leftDownCell_.row = line;
    drawTrackingLine(point, columns);
}

// The tracking line lives on an overlay: GTK3 drawing has no inversion.
void CGridCtrl::drawTrackingLine(wxPoint point, bool columns) {
    wxClientDC dc(this);
    wxDCOverlay overlay(trackingOverlay_, &dc);
    overlay.Clear();
    dc.SetPen(wxPen(*wxBLACK, 2));
    const wxSize client = GetClientSize();
    if (columns)
        dc.DrawLine(point.x, 0, point.x, client.y);
    else
        dc.DrawLine(0, point.y, client.x, point.y);
}

void CGridCtrl::finishResize(wxPoint point, bool columns) {
    trackingOverlay_.Reset();
    if (point != leftDownPoint_ && point != wxPoint(0, 0)) {
        wxPoint origin;
        const int line = columns ? leftDownCell_.col : leftDownCell_.row;
        const bool found =
            columns ? GetCellOrigin(0, line, &origin) : GetCellOrigin(line, 0, &origin);
        if (found) {
            const bool mayHide = columns ? options().columnsMayHide : options().rowsMayHide;
            const int size =
                std::max(columns ? point.x - origin.x : point.y - origin.y, mayHide ? 0 : 1);
            if (columns)
                SetColumnWidth(line, size);
            else
                SetRowHeight(line, size);
        }
    }
    ResetScrollBars();
    Refresh(false);
}

void CGridCtrl::HandleMotion(wxPoint point, bool leftDown) {
    if (titleTip_ != nullptr && titleTip_->IsShown() &&
        !titleTip_->hoverRect().Contains(point.x, point.y))
        titleTip_->HideTip();
    if (GetMouseMode() != MOUSE_DRAGGING && !clientRect().Contains(point))
        return;
    if (leftDown && GetMouseMode() != MOUSE_NOTHING) {
        if (!IsValid(leftDownCell_))
            return;
        switch (GetMouseMode()) {
        case MOUSE_SELECT_COL:
        case MOUSE_SELECT_ROW:
        case MOUSE_SELECT_CELLS: {
            const CCellID cell = GetCellFromPt(point);
            if (!IsValid(cell))
                return;
            if (cell != GetFocusCell()) {
                OnSelecting(cell);
                if (!isFixed(*this, cell) || GetMouseMode() != MOUSE_SELECT_CELLS)
                    SetFocusCell(cell);
            }
            break;
        }
        case MOUSE_SIZING_ROW:
        case MOUSE_SIZING_COL:
            drawTrackingLine(point, GetMouseMode() == MOUSE_SIZING_COL);
            break;
        case MOUSE_PREPARE_EDIT:
        case MOUSE_PREPARE_DRAG:
            SetMouseMode(MOUSE_PREPARE_DRAG);
            OnBeginDrag();
            break;
        default:
            break;
        }
    } else {
        if (options().allowColumnResize && MouseOverColumnResizeArea(point)) {
            SetCursor(wxCursor(wxCURSOR_SIZEWE));
            SetMouseMode(MOUSE_OVER_COL_DIVIDE);
        } else if (options().allowRowResize && MouseOverRowResizeArea(point)) {
            SetCursor(wxCursor(wxCURSOR_SIZENS));
            SetMouseMode(MOUSE_OVER_ROW_DIVIDE);
        } else if (GetMouseMode() != MOUSE_NOTHING) {
            SetCursor(wxCursor(wxCURSOR_ARROW));
            SetMouseMode(MOUSE_NOTHING);
        }
        if (GetMouseMode() == MOUSE_NOTHING && !(GetVirtualMode() && !options().titleTips)) {
            const CCellID cell = GetCellFromPt(point);
            if (CGridCellBase* hovered = IsValid(cell) ? GetCell(cell.row, cell.col) : nullptr) {
                hovered->NotifyHover();
                if (options().titleTips)
                    showTitleTip(cell);
            }
        }
    }
}

void CGridCtrl::releaseMouse() {
    if (HasCapture())
        ReleaseMouse();
    autoScrollTimer_.Stop();
}

void CGridCtrl::HandleLeftUp(wxPoint point) {
    leftButtonDown_ = false;
    releaseMouse();
    const CCellID focus = GetFocusCell();
    wxPoint origin;
    const bool focusPlaced = GetCellOrigin(focus.row, focus.col, &origin);
    CGridCellBase* focusCell = focusPlaced ? GetCell(focus.row, focus.col) : nullptr;
    auto clickFocusCell = [&] {
        if (focusCell != nullptr)
            focusCell->NotifyClick(point.x - origin.x, point.y - origin.y);
    };
    switch (GetMouseMode()) {
    case MOUSE_PREPARE_EDIT:
        OnEditCell(focus.row, focus.col, point - origin, EDIT_BY_MOUSE);
        break;
    case MOUSE_PREPARE_DRAG:
        clickFocusCell();
        NotifyParent(leftDownCell_.row, leftDownCell_.col, NM_CLICK);
        NotifyParent(leftDownCell_.row, leftDownCell_.col, GRIDN_SELCHANGING);
        ResetSelectedRange();
        NotifyParent(focus.row, focus.col, GRIDN_SELCHANGED);
        break;
    case MOUSE_SIZING_COL:
        finishResize(point, true);
        break;
    case MOUSE_SIZING_ROW:
        finishResize(point, false);
        break;
    default:
        NotifyParent(focus.row, focus.col, GRIDN_SELCHANGED);
        clickFocusCell();
        NotifyParent(leftDownCell_.row, leftDownCell_.col, NM_CLICK);
        break;
    }
    SetMouseMode(MOUSE_NOTHING);
    SetCursor(wxCursor(wxCURSOR_ARROW));
    if (IsValid(leftDownCell_) && GetParent() != nullptr) {
        auto* clicked = new wxCommandEvent(wxEVT_BUTTON, GetId());
        clicked->SetEventObject(this);
        GetParent()->GetEventHandler()->QueueEvent(clicked);
    }
}

void CGridCtrl::HandleLeftDoubleClick(wxPoint point) {
    const CCellID cell = GetCellFromPt(point);
    if (!IsValid(cell))
        return;
    wxPoint origin;
    GetCellOrigin(cell.row, cell.col, &origin);
    if (GetMouseMode() == MOUSE_OVER_COL_DIVIDE || GetMouseMode() == MOUSE_OVER_ROW_DIVIDE) {
        const bool columns = GetMouseMode() == MOUSE_OVER_COL_DIVIDE;
        int line = columns ? cell.col : cell.row;
        if ((columns ? point.x - origin.x : point.y - origin.y) < resizeCaptureRange_)
            --line;
        const std::vector<int>& sizes = columns ? columnWidths() : rowHeights();
        while (line >= 0 && sizes[line] == 0)
            --line;
        if (line < 0)
            return;
        if (columns)
            AutoSizeColumn(line, options().autoSizeStyle);
        else
            AutoSizeRow(line);
        Refresh(false);
        return;
    }
    if (GetMouseMode() != MOUSE_NOTHING)
        return;
    CGridCellBase* target = GetCell(cell.row, cell.col);
    GridRect textArea;
    if (!isFixed(*this, cell) && target != nullptr && GetCellRect(cell.row, cell.col, &textArea) &&
        target->GetTextArea(&textArea) && point.x >= textArea.left && point.x <= textArea.right &&
        point.y >= textArea.top && point.y <= textArea.bottom &&
        (IsValid(leftDownCell_) || options().listMode))
        OnEditCell(cell.row, cell.col, point - origin, EDIT_BY_MOUSE);
    if (CGridCellBase* clicked = GetCell(cell.row, cell.col))
        clicked->NotifyDoubleClick(point.x - origin.x, point.y - origin.y);
    NotifyParent(cell.row, cell.col, NM_DBLCLK);
}

void CGridCtrl::HandleRightUp(wxPoint point) {
    const CCellID cell = GetCellFromPt(point);
    EndEditing();
    if (IsValid(cell)) {
        SetFocusCell(-1, -1);
        SetFocusCell(std::max(cell.row, GetFixedRowCount()),
                     std::max(cell.col, GetFixedColumnCount()));
        wxPoint origin;
        if (CGridCellBase* clicked = GetCell(cell.row, cell.col);
            clicked != nullptr && GetCellOrigin(cell.row, cell.col, &origin))
            clicked->NotifyRightClick(point.x - origin.x, point.y - origin.y);
    }
    NotifyParent(cell.row, IsValid(cell) ? cell.col : -1, NM_RCLICK);
}

void CGridCtrl::OnFixedRowClick(const CCellID& cell) {
    if (!IsValid(cell))
        return;
    if (options().sortOnHeadingClick) {
        wxBusyCursor wait;
        const bool ascending = !(cell.col == GetSortColumn() && GetSortAscending());
        SortItems(cell.col, ascending);
        Refresh(false);
    }
    if (options().fixedRowClickSelectsColumns) {
        SetMouseMode(cell.col < GetFixedColumnCount() ? MOUSE_SELECT_ALL : MOUSE_SELECT_COL);
        OnSelecting(cell);
    }
}

void CGridCtrl::OnFixedColumnClick(const CCellID& cell) {
    if (!IsValid(cell) || !options().fixedColumnClickSelectsRows)
        return;
    SetMouseMode(cell.row < GetFixedRowCount() ? MOUSE_SELECT_ALL : MOUSE_SELECT_ROW);
    OnSelecting(cell);
}

void CGridCtrl::HandleAutoScroll(wxPoint pointer) {
    const wxSize client = GetClientSize();
    const int x = std::clamp(pointer.x, 0, std::max(0, client.x - 1));
    const int y = std::clamp(pointer.y, 0, std::max(0, client.y - 1));
    if (pointer.y > client.y) {
        HandleKey(WXK_DOWN, false, false);
        OnSelecting(GetCellFromPt(wxPoint(x, client.y - 1)));
    } else if (pointer.y < GetFixedRowHeight()) {
        HandleKey(WXK_UP, false, false);
        OnSelecting(GetCellFromPt(wxPoint(x, GetFixedRowHeight() + 1)));
    }
    if (pointer.x > client.x) {
        HandleKey(WXK_RIGHT, false, false);
        OnSelecting(GetCellFromPt(wxPoint(client.x - 1, y)));
    } else if (pointer.x < GetFixedColumnWidth()) {
        HandleKey(WXK_LEFT, false, false);
        OnSelecting(GetCellFromPt(wxPoint(GetFixedColumnWidth() + 1, y)));
    }
}

void CGridCtrl::onTimer(wxTimerEvent&) {
    HandleAutoScroll(ScreenToClient(wxGetMousePosition()));
}

void CGridCtrl::onLeftDown(wxMouseEvent& event) {
    HandleLeftDown(event.GetPosition(), event.ShiftDown(), event.ControlDown());
}

void CGridCtrl::onLeftUp(wxMouseEvent& event) {
    HandleLeftUp(event.GetPosition());
}

void CGridCtrl::onMotion(wxMouseEvent& event) {
    HandleMotion(event.GetPosition(), leftButtonDown_ && event.LeftIsDown());
}

void CGridCtrl::onLeftDoubleClick(wxMouseEvent& event) {
    HandleLeftDoubleClick(event.GetPosition());
}

void CGridCtrl::onRightUp(wxMouseEvent& event) {
    event.Skip();
    HandleRightUp(event.GetPosition());
}

void CGridCtrl::onCaptureLost(wxMouseCaptureLostEvent&) {
    autoScrollTimer_.Stop();
    leftButtonDown_ = false;
    if (GetMouseMode() == MOUSE_DRAGGING)
        SetMouseMode(MOUSE_NOTHING);
}

void CGridCtrl::onLeaveWindow(wxMouseEvent& event) {
    event.Skip();
    hideTitleTip();
}

} // namespace gridctrl

namespace gridctrl {

void CGridCtrl::showTitleTip(const CCellID& cell) {
    CGridCellBase* target = GetCell(cell.row, cell.col);
    GridRect cellArea;
    if (titleTip_ == nullptr || target == nullptr || target->IsEditing() ||
        !GetCellRect(cell.row, cell.col, &cellArea))
        return;
    const std::string text = target->GetTipText();
    GridRect tipArea = cellArea;
    if (text.empty() || !target->GetTipArea(&tipArea))
        return;
    if (titleTip_->IsShown() &&
        titleTip_->hoverRect() ==
            GridRect{cellArea.left, cellArea.top, cellArea.right + 1, cellArea.bottom + 1})
        return;
    titleTip_->HideTip();
    titleTip_->ShowTip(tipArea, text, 0, &cellArea, target->GetFont(), options().titleTipTextColour,
                       options().titleTipBackColour);
}

void CGridCtrl::hideTitleTip() {
    if (titleTip_ != nullptr)
        titleTip_->HideTip();
}

} // namespace gridctrl
