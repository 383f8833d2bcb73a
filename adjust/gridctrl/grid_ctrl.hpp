#pragma once
// CGridCtrl: the spreadsheet-like child window on which the program's
// tabular editors are built. The content and its rules are GridModel's; the
// window paints the cells (double-buffered), scrolls by whole rows and
// columns, handles the mouse (selection, border resizing, editing, drag and
// drop) and the keyboard, shows title tips, and tells its parent what
// happened through CGridNotifyEvent notifications (grid_events.hpp). After
// every left-button release on a cell it also sends wxEVT_BUTTON with its id.
//
// The grid object exists before its window: counts, cells and sizes may be
// set first; Create makes the window. An owner dialog does, for example:
//
//     grid_ = new gridctrl::CGridCtrl(1, 5, 1, 1);
//     grid_->Create(this, 1229, position, size);
//     grid_->SetCellType(1, 2, gridctrl::cellClass<gridctrl::CGridCellCheck>());
//     Bind(gridctrl::EVT_GRIDN_CLICK, &Owner::onGridClick, this, 1229);

#include "gridctrl/grid_events.hpp"
#include "gridctrl/grid_layout.hpp"
#include "gridctrl/grid_model.hpp"

#include <wx/dnd.h>
#include <wx/dragimag.h>
#include <wx/overlay.h>
#include <wx/timer.h>
#include <wx/window.h>

#include <memory>
#include <vector>

class wxTextDataObject;

namespace gridctrl {

class CTitleTip;

class CGridCtrl : public wxWindow, public GridModel {
public:
    CGridCtrl(int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0);
    ~CGridCtrl() override;

    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize);

    // Geometry (client pixels; a cell rectangle holds its last pixel).
    CCellID GetTopLeftNonFixedCell(bool forceRecalc = false);
    CCellSpan GetVisibleNonFixedCellRange(GridRect* extent = nullptr, bool forceRecalc = false);
    bool GetCellOrigin(int row, int col, wxPoint* origin);
    bool GetCellRect(int row, int col, GridRect* rect);
    CCellID GetCellFromPt(wxPoint point, bool allowFixed = true);
    bool IsCellVisible(int row, int col);
    bool IsCellVisible(const CCellID& cell) { return IsCellVisible(cell.row, cell.col); }
    void EnsureVisible(int row, int col);
    void EnsureVisible(const CCellID& cell) { EnsureVisible(cell.row, cell.col); }

    // Painting. With redraw off nothing is painted and no scroll bar changes.
    virtual void OnDraw(wxDC& dc);
    bool RedrawCell(int row, int col) override { return RedrawCell(row, col, nullptr); }
    bool RedrawCell(int row, int col, wxDC* dc);
    void InvalidateCellRect(int row, int col) override;
    void RedrawAll() override;
    void ResetScrollBars() override;
    void SetRedraw(bool allow, bool resetScrollBars = false);
    bool GetRedraw() const { return redrawAllowed_; }
    int GetScrollPos32(int orient) const;
    void SetScrollPos32(int orient, int position);
    // The scroll actions of one bar (wxEVT_SCROLLWIN_* types).
    void ScrollAction(int orient, wxEventType action, int thumbPosition = 0);
    void SetOutsideColour(COLORREF colour) { outsideColour_ = colour; }

    // Automatic sizing to the cells' measured contents.
    bool AutoSize(int flags = 0);
    bool AutoSizeColumn(int col, int flags = 0, bool resetScroll = true);
    bool AutoSizeRow(int row, bool resetScroll = true);

    // Editing.
    virtual void OnEditCell(int row, int col, wxPoint point, unsigned character);
    virtual void EndEditing();
    virtual void OnFixedRowClick(const CCellID& cell);
    virtual void OnFixedColumnClick(const CCellID& cell);
    virtual void OnEditSelectAll();

    // Clipboard text and drag-and-drop.
    virtual std::unique_ptr<wxTextDataObject> CopyTextFromGrid();
    virtual bool PasteTextToGrid(const CCellID& cell, const wxTextDataObject& data,
                                 bool selectPastedCells = true);
    virtual void OnEditCopy();
    virtual void OnEditCut();
    virtual void OnEditPaste();
    virtual void OnBeginDrag();
    virtual wxDragResult OnDragEnter(wxPoint point, wxDragResult suggested);
    virtual wxDragResult OnDragOver(wxPoint point, wxDragResult suggested);
    virtual void OnDragLeave();
    virtual bool OnDrop(wxPoint point, const std::string& text);
    // After a drag out of this grid: a move clears the dragged cells that
    // the drop did not write to (a drop on this same grid included).
    void FinishDrag(wxDragResult result, const std::vector<CCellID>& dragged);
    CCellID GetDropTargetCell() const { return dropTargetCell_; }
    // A picture of the focus cell for dragging it: the cell drawn at (0, 0)
    // in a bitmap of its size, its default background masked out; `hotspot`
    // receives that size. Null when the focus cell has no rectangle. The
    // caller owns the image.
    virtual wxDragImage* CreateDragImage(wxPoint* hotspot);

    // The pop-up that shows a text too wide for its cell.
    CTitleTip* GetTitleTip() const { return titleTip_; }

    // Notifications to the parent window; a veto is a negative reply.
    long NotifyParent(int row, int col, int code) override;
    void RequestDispInfo(CGridItem& item) override;
    void SendCacheHint(const CCellSpan& span) override;
    void forgetTopLeftCell() override { topLeftCache_ = CCellID(); }

    bool AcceptsFocus() const override { return true; }
    bool SetFont(const wxFont& font) override;
    // True while the window is going away: editors then report nothing.
    bool isClosing() const { return closing_; }

    // Mouse and keyboard (public so that tests and owners can drive them).
    void HandleLeftDown(wxPoint point, bool shift, bool ctrl);
    void HandleLeftUp(wxPoint point);
    void HandleMotion(wxPoint point, bool leftDown);
    void HandleLeftDoubleClick(wxPoint point);
    void HandleRightUp(wxPoint point);
    // Returns false when the key was not for the grid (dialog navigation).
    bool HandleKey(int key, bool shift, bool ctrl);
    void HandleChar(int character, bool ctrl);
    void HandleAutoScroll(wxPoint pointer);
    bool MouseOverRowResizeArea(wxPoint point);
    bool MouseOverColumnResizeArea(wxPoint point);

private:
    GridGeometry geometry() const;
    void onPaint(wxPaintEvent& event);
    void onSize(wxSizeEvent& event);
    void onScroll(wxScrollWinEvent& event);
    void onMouseWheel(wxMouseEvent& event);
    void onLeftDown(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onMotion(wxMouseEvent& event);
    void onLeftDoubleClick(wxMouseEvent& event);
    void onRightUp(wxMouseEvent& event);
    void onKeyDown(wxKeyEvent& event);
    void onChar(wxKeyEvent& event);
    void onTimer(wxTimerEvent& event);
    void onCaptureLost(wxMouseCaptureLostEvent& event);
    void onSysColourChanged(wxSysColourChangedEvent& event);
    void onEndInPlaceEdit(CGridNotifyEvent& event);
    void onLeaveWindow(wxMouseEvent& event);

    void drawBackground(wxDC& dc, const wxRect& clip, const GridRect& extent);
    void drawCellsPass(wxDC& dc, const wxRect& clip, int firstRow, int lastRow, int firstCol,
                       int lastCol, bool clipped);
    void drawGridLines(wxDC& dc, const CCellSpan& visible, const GridRect& extent);
    void invalidateNonFixedArea(int orient);
    int fixedSize(int orient) const;
    int clientSize(int orient) const;
    int scrollMaximum(int orient) const { return scrollMax_[orient == wxHORIZONTAL ? 0 : 1]; }
    void releaseMouse();
    bool overResizeArea(wxPoint point, bool columns);
    void startResize(wxPoint point, bool columns);
    void finishResize(wxPoint point, bool columns);
    void drawTrackingLine(wxPoint point, bool columns);
    void showTitleTip(const CCellID& cell);
    void hideTitleTip();
    CCellID nextCellForKey(int key, bool shift, bool ctrl, bool& handled, bool& wrapped);
    void scrollForKey(int key, bool wrapped, bool shift);
    void selectAfterKey(const CCellID& next, int key, bool shift);
    wxRect clientRect() const;

    bool redrawAllowed_ = true;
    CCellID topLeftCache_;
    int scrollPos_[2] = {0, 0};
    int scrollMax_[2] = {0, 0};
    int visibleBars_ = 0;
    COLORREF outsideColour_;
    bool leftButtonDown_ = false;
    wxPoint leftDownPoint_;
    CCellID leftDownCell_;
    CCellID dropTargetCell_;
    CCellSpan lastDropRange_;
    wxTimer autoScrollTimer_;
    int resizeCaptureRange_ = 3;
    CTitleTip* titleTip_ = nullptr;
    wxOverlay trackingOverlay_;
    int scrollPage_[2] = {0, 0};
    wxSize lastClientSize_;
    bool closing_ = false;
    COLORREF knownSystemColours_[4] = {};
};

} // namespace gridctrl
