// Painting the grid and scrolling it: the cells draw themselves; the grid
// decides what is drawn where and in which order, fills what no cell
// covers, draws the grid lines of the non-fixed area and keeps the scroll
// bars. Scroll positions are pixels of the non-fixed area; the grid shows
// whole rows and columns from its top-left non-fixed cell.
#include "gridctrl/grid_ctrl.hpp"

#include "gridctrl/title_tip.hpp"
#include "gridctrl/wx_conversions.hpp"

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/settings.h>

#include <algorithm>

namespace gridctrl {

namespace {

int axis(int orient) {
    return orient == wxHORIZONTAL ? 0 : 1;
}

void fillArea(wxDC& dc, int left, int top, int right, int bottom, COLORREF colour) {
    if (right <= left || bottom <= top)
        return;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(colourOf(colour)));
    dc.DrawRectangle(left, top, right - left, bottom - top);
}

} // namespace

GridGeometry CGridCtrl::geometry() const {
    const wxSize client = GetHandle() != nullptr ? GetClientSize() : wxSize(0, 0);
    return GridGeometry{rowHeights(),  columnWidths(), GetFixedRowCount(), GetFixedColumnCount(),
                        scrollPos_[0], scrollPos_[1],  client.x,           client.y};
}

wxRect CGridCtrl::clientRect() const {
    return wxRect(wxPoint(0, 0), GetClientSize());
}

CCellID CGridCtrl::GetTopLeftNonFixedCell(bool forceRecalc) {
    if (topLeftCache_.row < 0 || topLeftCache_.col < 0 || forceRecalc)
        topLeftCache_ = topLeftNonFixedCell(geometry());
    return topLeftCache_;
}

CCellSpan CGridCtrl::GetVisibleNonFixedCellRange(GridRect* extent, bool forceRecalc) {
    return visibleNonFixedRange(geometry(), GetTopLeftNonFixedCell(forceRecalc), extent);
}

bool CGridCtrl::GetCellOrigin(int row, int col, wxPoint* origin) {
    int x = 0;
    int y = 0;
    if (!cellOrigin(geometry(), GetTopLeftNonFixedCell(), row, col, x, y))
        return false;
    *origin = wxPoint(x, y);
    return true;
}

bool CGridCtrl::GetCellRect(int row, int col, GridRect* rect) {
    return cellRect(geometry(), GetTopLeftNonFixedCell(), row, col, *rect);
}

CCellID CGridCtrl::GetCellFromPt(wxPoint point, bool allowFixed) {
    return cellFromPoint(geometry(), GetTopLeftNonFixedCell(), point.x, point.y, allowFixed);
}

bool CGridCtrl::IsCellVisible(int row, int col) {
    return GetHandle() != nullptr && isCellVisible(geometry(), GetTopLeftNonFixedCell(), row, col);
}

int CGridCtrl::fixedSize(int orient) const {
    return orient == wxHORIZONTAL ? GetFixedColumnWidth() : GetFixedRowHeight();
}

int CGridCtrl::clientSize(int orient) const {
    const wxSize client = GetClientSize();
    return orient == wxHORIZONTAL ? client.x : client.y;
}

void CGridCtrl::EnsureVisible(int row, int col) {
    if (!redrawAllowed_ || !IsValid(row, col) || GetHandle() == nullptr)
        return;
    wxWindow* focused = FindFocus();
    const CCellSpan visible = GetVisibleNonFixedCellRange();
    const auto& widths = columnWidths();
    const auto& heights = rowHeights();
    if (col >= GetFixedColumnCount()) {
        for (int c = visible.maxCol + 1; c <= col; ++c)
            if (widths[c] > 0)
                ScrollAction(wxHORIZONTAL, wxEVT_SCROLLWIN_LINEDOWN);
        for (int c = col; c < visible.minCol; ++c)
            if (widths[c] > 0)
                ScrollAction(wxHORIZONTAL, wxEVT_SCROLLWIN_LINEUP);
    }
    if (row >= GetFixedRowCount()) {
        for (int r = visible.maxRow + 1; r <= row; ++r)
            if (heights[r] > 0)
                ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_LINEDOWN);
        for (int r = row; r < visible.minRow; ++r)
            if (heights[r] > 0)
                ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_LINEUP);
    }
    const wxSize client = GetClientSize();
    GridRect rect;
    for (int guard = GetColumnCount(); guard > 0 && GetCellRect(row, col, &rect); --guard) {
        if (!(rect.right > client.x && rect.left > GetFixedColumnWidth() && (visibleBars_ & 1)))
            break;
        const int before = scrollPos_[0];
        ScrollAction(wxHORIZONTAL, wxEVT_SCROLLWIN_LINEDOWN);
        if (scrollPos_[0] == before)
            break;
    }
    for (int guard = GetRowCount(); guard > 0 && GetCellRect(row, col, &rect); --guard) {
        if (!(rect.bottom > client.y && rect.top > GetFixedRowHeight() && (visibleBars_ & 2)))
            break;
        const int before = scrollPos_[1];
        ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_LINEDOWN);
        if (scrollPos_[1] == before)
            break;
    }
    if (focused != nullptr && focused != FindFocus())
        focused->SetFocus();
}

void CGridCtrl::onPaint(wxPaintEvent&) {
    if (options().doubleBuffer) {
        wxBufferedPaintDC dc(this);
        OnDraw(dc);
    } else {
        wxPaintDC dc(this);
        OnDraw(dc);
    }
}

void CGridCtrl::OnDraw(wxDC& dc) {
    if (!redrawAllowed_)
        return;
    wxRect clip;
    dc.GetClippingBox(clip);
    if (clip.IsEmpty())
        clip = clientRect();
    GridRect extent;
    const CCellSpan visible = GetVisibleNonFixedCellRange(&extent);
    drawBackground(dc, clip, extent);
    if (GetVirtualMode())
        SendCacheHint(visible);
    const int fixedRows = GetFixedRowCount();
    const int fixedCols = GetFixedColumnCount();
    drawCellsPass(dc, clip, 0, fixedRows - 1, 0, fixedCols - 1, false);
    drawCellsPass(dc, clip, visible.minRow, visible.maxRow, 0, fixedCols - 1, true);
    drawCellsPass(dc, clip, 0, fixedRows - 1, visible.minCol, visible.maxCol, true);
    drawCellsPass(dc, clip, visible.minRow, visible.maxRow, visible.minCol, visible.maxCol, true);
    drawGridLines(dc, visible, extent);
    dc.SetPen(wxNullPen);
    if (GetVirtualMode())
        SendCacheHint(CCellSpan());
}

void CGridCtrl::drawBackground(wxDC& dc, const wxRect& clip, const GridRect& extent) {
    const int fixedRight = GetFixedColumnWidth();
    const int fixedBottom = GetFixedRowHeight();
    const COLORREF corner = GetDefaultCell(true, true)->GetBackColour();
    const COLORREF fixedRow = GetDefaultCell(true, false)->GetBackColour();
    const COLORREF fixedCol = GetDefaultCell(false, true)->GetBackColour();
    const COLORREF ordinary = GetDefaultCell(false, false)->GetBackColour();
    wxDCClipper clipper(dc, clip);
    fillArea(dc, clip.x, clip.y, fixedRight, fixedBottom, corner);
    fillArea(dc, clip.x, clip.y, fixedRight, extent.bottom, fixedCol);
    fillArea(dc, fixedRight - 1, clip.y, extent.right, fixedBottom, fixedRow);
    fillArea(dc, fixedRight, fixedBottom, extent.right, extent.bottom, ordinary);
    fillArea(dc, extent.right, clip.y, clip.GetRight() + 1, clip.GetBottom() + 1, outsideColour_);
    fillArea(dc, clip.x, extent.bottom, extent.right, clip.GetBottom() + 1, outsideColour_);
}

void CGridCtrl::drawCellsPass(wxDC& dc, const wxRect& clip, int firstRow, int lastRow, int firstCol,
                              int lastCol, bool clipped) {
    if (firstRow < 0 || firstCol < 0 || firstRow > lastRow || firstCol > lastCol)
        return;
    wxPoint origin;
    if (!GetCellOrigin(firstRow, firstCol, &origin))
        return;
    const auto& heights = rowHeights();
    const auto& widths = columnWidths();
    int top = origin.y;
    for (int row = firstRow; row <= lastRow; top += heights[row], ++row) {
        if (heights[row] <= 0)
            continue;
        const int bottom = top + heights[row] - 1;
        if (clipped && top > clip.GetBottom())
            break;
        if (clipped && bottom < clip.y)
            continue;
        int left = origin.x;
        for (int col = firstCol; col <= lastCol; left += widths[col], ++col) {
            if (widths[col] <= 0)
                continue;
            const int right = left + widths[col] - 1;
            if (clipped && left > clip.GetRight())
                break;
            if (clipped && right < clip.x)
                continue;
            CGridCellBase* cell = GetCell(row, col);
            if (cell == nullptr)
                continue;
            cell->SetPosition(row, col);
            cell->Draw(&dc, row, col, GridRect{left, top, right, bottom}, false);
        }
    }
}

void CGridCtrl::drawGridLines(wxDC& dc, const CCellSpan& visible, const GridRect& extent) {
    const int mode = options().gridLines;
    if (mode == GRIDLINES_NONE || visible.minRow < 0 || visible.minCol < 0)
        return;
    dc.SetPen(wxPen(colourOf(options().gridLineColour), 1));
    const int fixedRight = GetFixedColumnWidth();
    const int fixedBottom = GetFixedRowHeight();
    if (mode == GRIDLINES_VERT || mode == GRIDLINES_BOTH) {
        int x = fixedRight;
        for (int col = visible.minCol; col <= visible.maxCol; ++col) {
            x += columnWidths()[col];
            if (columnWidths()[col] > 0)
                dc.DrawLine(x - 1, fixedBottom, x - 1, extent.bottom);
        }
    }
    if (mode == GRIDLINES_HORZ || mode == GRIDLINES_BOTH) {
        int y = fixedBottom;
        for (int row = visible.minRow; row <= visible.maxRow; ++row) {
            y += rowHeights()[row];
            if (rowHeights()[row] > 0)
                dc.DrawLine(fixedRight, y - 1, extent.right, y - 1);
        }
    }
}

bool CGridCtrl::RedrawCell(int row, int col, wxDC* dc) {
    GridRect rect;
    if (!redrawAllowed_ || !IsCellVisible(row, col) || !GetCellRect(row, col, &rect))
        return false;
    if (dc == nullptr) {
        RefreshRect(wxRect(rect.left, rect.top, rect.Width() + 1, rect.Height() + 1), false);
        return true;
    }
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr)
        return false;
    cell->SetPosition(row, col);
    const bool drawn = cell->Draw(dc, row, col, rect, true);
    if (row >= GetFixedRowCount() && col >= GetFixedColumnCount()) {
        const int mode = options().gridLines;
        dc->SetPen(wxPen(colourOf(options().gridLineColour), 1));
        if (mode == GRIDLINES_HORZ || mode == GRIDLINES_BOTH)
            dc->DrawLine(rect.left, rect.bottom, rect.right + 1, rect.bottom);
        if (mode == GRIDLINES_VERT || mode == GRIDLINES_BOTH)
            dc->DrawLine(rect.right, rect.top, rect.right, rect.bottom + 1);
        dc->SetPen(wxNullPen);
    }
    return drawn;
}

void CGridCtrl::InvalidateCellRect(int row, int col) {
    GridRect rect;
    if (GetHandle() == nullptr || !redrawAllowed_ || !IsValid(row, col) ||
        !IsCellVisible(row, col) || !GetCellRect(row, col, &rect))
        return;
    RefreshRect(wxRect(rect.left, rect.top, rect.Width() + 2, rect.Height() + 2), false);
}

void CGridCtrl::RedrawAll() {
    if (GetHandle() != nullptr && redrawAllowed_)
        Refresh(false);
}

void CGridCtrl::SetRedraw(bool allow, bool resetScrollBars) {
    redrawAllowed_ = allow;
    if (allow && resetScrollBars)
        ResetScrollBars();
    if (allow)
        RedrawAll();
}

void CGridCtrl::ResetScrollBars() {
    forgetTopLeftCell();
    if (!redrawAllowed_ || GetHandle() == nullptr)
        return;
    wxSize client = GetClientSize();
    if (client.x <= 0 || client.y <= 0)
        return;
    const int barWidth = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this);
    const int barHeight = wxSystemSettings::GetMetric(wxSYS_HSCROLL_Y, this);
    if (visibleBars_ & 2)
        client.x += barWidth;
    if (visibleBars_ & 1)
        client.y += barHeight;
    const int fixedWidth = GetFixedColumnWidth();
    const int fixedHeight = GetFixedRowHeight();
    const int nonFixedWidth = GetTotalWidth() - fixedWidth;
    const int nonFixedHeight = GetTotalHeight() - fixedHeight;
    int bars = 0;
    if (client.x > fixedWidth && client.y > fixedHeight) {
        const int availableWidth =
            client.x - (nonFixedHeight > client.y - fixedHeight ? barWidth : 0) - fixedWidth;
        const int availableHeight =
            client.y - (nonFixedWidth > availableWidth ? barHeight : 0) - fixedHeight;
        scrollMax_[1] = nonFixedHeight > availableHeight ? nonFixedHeight - 1 : 0;
        scrollMax_[0] = nonFixedWidth > availableWidth ? nonFixedWidth - 1 : 0;
        scrollPage_[1] = scrollMax_[1] > 0 ? availableHeight : 0;
        scrollPage_[0] = scrollMax_[0] > 0 ? availableWidth : 0;
        bars = (scrollMax_[0] > 0 ? 1 : 0) | (scrollMax_[1] > 0 ? 2 : 0);
    } else {
        scrollMax_[0] = scrollMax_[1] = scrollPage_[0] = scrollPage_[1] = 0;
    }
    visibleBars_ = bars;
    for (int orient : {wxHORIZONTAL, wxVERTICAL}) {
        const int i = axis(orient);
        const int lastPosition = std::max(0, scrollMax_[i] - scrollPage_[i] + 1);
        scrollPos_[i] = std::clamp(scrollPos_[i], 0, lastPosition);
        if (scrollMax_[i] > 0)
            SetScrollbar(orient, scrollPos_[i], scrollPage_[i], scrollMax_[i] + 1);
        else
            SetScrollbar(orient, 0, 0, 0);
    }
}

int CGridCtrl::GetScrollPos32(int orient) const {
    return scrollPos_[axis(orient)];
}

void CGridCtrl::SetScrollPos32(int orient, int position) {
    const int i = axis(orient);
    const int lastPosition = std::max(0, scrollMax_[i] - scrollPage_[i] + 1);
    scrollPos_[i] = std::clamp(position, 0, lastPosition);
    if (GetHandle() != nullptr && scrollMax_[i] > 0)
        SetScrollPos(orient, scrollPos_[i]);
    forgetTopLeftCell();
}

void CGridCtrl::invalidateNonFixedArea(int orient) {
    const wxSize client = GetClientSize();
    if (orient == wxHORIZONTAL) {
        const int left = GetFixedColumnWidth();
        RefreshRect(wxRect(left, 0, std::max(0, client.x - left), client.y), false);
    } else {
        const int top = GetFixedRowHeight();
        RefreshRect(wxRect(0, top, client.x, std::max(0, client.y - top)), false);
    }
}

void CGridCtrl::ScrollAction(int orient, wxEventType action, int thumbPosition) {
    EndEditing();
    hideTitleTip();
    const int i = axis(orient);
    const bool horizontal = orient == wxHORIZONTAL;
    const int position = scrollPos_[i];
    const int lastPosition = std::max(0, scrollMax_[i] - scrollPage_[i] + 1);
    const CCellID topLeft = GetTopLeftNonFixedCell();
    const std::vector<int>& sizes = horizontal ? columnWidths() : rowHeights();
    const int first = horizontal ? GetFixedColumnCount() : GetFixedRowCount();
    const int top = horizontal ? topLeft.col : topLeft.row;
    const int count = static_cast<int>(sizes.size());
    if (action == wxEVT_SCROLLWIN_LINEUP) {
        if (position > 0 && top > first) {
            int line = top - 1;
            while (line > first && sizes[line] == 0)
                --line;
            SetScrollPos32(orient, std::max(0, position - sizes[line]));
            invalidateNonFixedArea(orient);
        }
    } else if (action == wxEVT_SCROLLWIN_LINEDOWN) {
        if (position < lastPosition && top >= 0 && top < count) {
            int line = top;
            while (line < count - 1 && sizes[line] == 0)
                ++line;
            SetScrollPos32(orient, position + sizes[line]);
            if (scrollPos_[i] != position)
                invalidateNonFixedArea(orient);
        }
    } else if (action == wxEVT_SCROLLWIN_PAGEUP) {
        if (position > 0) {
            SetScrollPos32(orient,
                           std::max(0, position - (clientSize(orient) - fixedSize(orient))));
            invalidateNonFixedArea(orient);
        }
    } else if (action == wxEVT_SCROLLWIN_PAGEDOWN) {
        if (position < lastPosition) {
            SetScrollPos32(orient, std::min(lastPosition, position + scrollPage_[i]));
            invalidateNonFixedArea(orient);
        }
    } else if (action == wxEVT_SCROLLWIN_THUMBTRACK || action == wxEVT_SCROLLWIN_THUMBRELEASE) {
        SetScrollPos32(orient, thumbPosition);
        if (GetTopLeftNonFixedCell() != topLeft)
            invalidateNonFixedArea(orient);
    } else if (action == wxEVT_SCROLLWIN_TOP) {
        if (position > 0) {
            SetScrollPos32(orient, 0);
            Refresh(false);
        }
    } else if (action == wxEVT_SCROLLWIN_BOTTOM) {
        if (position < lastPosition) {
            SetScrollPos32(orient, lastPosition);
            Refresh(false);
        }
    }
}

void CGridCtrl::onScroll(wxScrollWinEvent& event) {
    ScrollAction(event.GetOrientation(), event.GetEventType(), event.GetPosition());
}

void CGridCtrl::onMouseWheel(wxMouseEvent& event) {
    const int delta = event.GetWheelDelta() > 0 ? event.GetWheelDelta() : 120;
    if (event.IsPageScroll()) {
        const int notches = event.GetWheelRotation() / delta;
        for (int n = 0; n < std::abs(notches); ++n)
            ScrollAction(wxVERTICAL,
                         notches > 0 ? wxEVT_SCROLLWIN_PAGEUP : wxEVT_SCROLLWIN_PAGEDOWN);
    } else {
        const int lines = event.GetLinesPerAction() * event.GetWheelRotation() / delta;
        for (int n = 0; n < std::abs(lines); ++n)
            ScrollAction(wxVERTICAL, lines > 0 ? wxEVT_SCROLLWIN_LINEUP : wxEVT_SCROLLWIN_LINEDOWN);
    }
}

// The toolkit also reports sizes that did not change (a child window
// appearing is enough): only a real change ends an edit.
void CGridCtrl::onSize(wxSizeEvent& event) {
    event.Skip();
    const wxSize client = GetClientSize();
    if (client == lastClientSize_)
        return;
    lastClientSize_ = client;
    EndEditing();
    ResetScrollBars();
    Refresh(false);
}

} // namespace gridctrl
