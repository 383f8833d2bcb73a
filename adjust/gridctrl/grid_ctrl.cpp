// The grid window's life, its notifications to the parent, virtual-mode
// requests, automatic sizing, and its answer to system colour and font
// changes.
#include "gridctrl/grid_ctrl.hpp"

#include "gridctrl/grid_drop_target.hpp"
#include "gridctrl/title_tip.hpp"
#include "gridctrl/toolkit_seams.hpp"
#include "gridctrl/wx_conversions.hpp"

#include <wx/dcclient.h>

namespace gridctrl {

namespace {

constexpr SystemColour watchedColours[4] = {SystemColour::windowText, SystemColour::window,
                                            SystemColour::buttonFace, SystemColour::buttonShadow};

} // namespace

CGridCtrl::CGridCtrl(int rows, int cols, int fixedRows, int fixedCols)
    : GridModel(rows, cols, fixedRows, fixedCols),
      outsideColour_(systemColour(SystemColour::buttonShadow)) {
    for (int index = 0; index < 4; ++index)
        knownSystemColours_[index] = systemColour(watchedColours[index]);
}

CGridCtrl::~CGridCtrl() {
    closing_ = true;
    autoScrollTimer_.Stop();
    DestroyChildren();
}

bool CGridCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxWindow::Create(parent, id, pos, size,
                          wxHSCROLL | wxVSCROLL | wxWANTS_CHARS | wxBORDER_SUNKEN))
        return false;
    autoScrollTimer_.SetOwner(this);
    Bind(wxEVT_PAINT, &CGridCtrl::onPaint, this);
    Bind(wxEVT_SIZE, &CGridCtrl::onSize, this);
    for (wxEventType type :
         {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP,
          wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN,
          wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE})
        Bind(wxEventTypeTag<wxScrollWinEvent>(type), &CGridCtrl::onScroll, this);
    Bind(wxEVT_MOUSEWHEEL, &CGridCtrl::onMouseWheel, this);
    Bind(wxEVT_LEFT_DOWN, &CGridCtrl::onLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CGridCtrl::onLeftUp, this);
    Bind(wxEVT_MOTION, &CGridCtrl::onMotion, this);
    Bind(wxEVT_LEFT_DCLICK, &CGridCtrl::onLeftDoubleClick, this);
    Bind(wxEVT_RIGHT_UP, &CGridCtrl::onRightUp, this);
    Bind(wxEVT_KEY_DOWN, &CGridCtrl::onKeyDown, this);
    Bind(wxEVT_CHAR, &CGridCtrl::onChar, this);
    Bind(wxEVT_TIMER, &CGridCtrl::onTimer, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CGridCtrl::onCaptureLost, this);
    Bind(wxEVT_SYS_COLOUR_CHANGED, &CGridCtrl::onSysColourChanged, this);
    Bind(wxEVT_LEAVE_WINDOW, &CGridCtrl::onLeaveWindow, this);
    Bind(EVT_GRIDN_ENDEDIT, &CGridCtrl::onEndInPlaceEdit, this, IDC_INPLACE_CONTROL);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { OnEditCopy(); }, wxID_COPY);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { OnEditCut(); }, wxID_CUT);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { OnEditPaste(); }, wxID_PASTE);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { OnEditSelectAll(); }, wxID_SELECTALL);
    Bind(
        wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(selectedCount() > 0); }, wxID_COPY);
    Bind(
        wxEVT_UPDATE_UI,
        [this](wxUpdateUIEvent& e) { e.Enable(options().editable && selectedCount() > 0); },
        wxID_CUT);
    Bind(
        wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(IsCellEditable(GetFocusCell())); },
        wxID_PASTE);
    Bind(
        wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(options().selectionEnabled); },
        wxID_SELECTALL);
    SetDropTarget(new CGridDropTarget(this));
    titleTip_ = new CTitleTip(this);
    ResetScrollBars();
    return true;
}

long CGridCtrl::NotifyParent(int row, int col, int code) {
    wxWindow* parent = GetParent();
    if (parent == nullptr || GetHandle() == nullptr || closing_)
        return 0;
    CGridNotifyEvent event(eventTypeOfCode(code), GetId());
    event.SetEventObject(this);
    event.SetCode(code);
    event.GetItem().row = row;
    event.GetItem().col = col;
    if (code == GRIDN_BEGINEDIT || code == GRIDN_ENDEDIT)
        event.GetItem().text = GetCellText(row, col);
    parent->GetEventHandler()->ProcessEvent(event);
    return event.IsAllowed() ? 0 : -1;
}

void CGridCtrl::RequestDispInfo(CGridItem& item) {
    wxWindow* parent = GetParent();
    if (parent == nullptr || GetHandle() == nullptr || closing_)
        return;
    CGridNotifyEvent event(EVT_GRIDN_GETDISPINFO, GetId());
    event.SetEventObject(this);
    event.SetCode(GRIDN_GETDISPINFO);
    event.GetItem() = item;
    parent->GetEventHandler()->ProcessEvent(event);
    item = event.GetItem();
}

void CGridCtrl::SendCacheHint(const CCellSpan& span) {
    wxWindow* parent = GetParent();
    if (parent == nullptr || GetHandle() == nullptr || closing_)
        return;
    CGridNotifyEvent event(EVT_GRIDN_CACHEHINT, GetId());
    event.SetEventObject(this);
    event.SetCode(GRIDN_CACHEHINT);
    event.SetSpan(span);
    parent->GetEventHandler()->ProcessEvent(event);
}

bool CGridCtrl::SetFont(const wxFont& font) {
    if (!wxWindow::SetFont(font))
        return false;
    const CellFont cellFont = cellFontOf(font);
    for (bool fixedRow : {false, true})
        for (bool fixedCol : {false, true})
            GetDefaultCell(fixedRow, fixedCol)->SetFont(&cellFont);
    RedrawAll();
    return true;
}

void CGridCtrl::onSysColourChanged(wxSysColourChangedEvent& event) {
    event.Skip();
    COLORREF now[4];
    for (int index = 0; index < 4; ++index)
        now[index] = systemColour(watchedColours[index]);
    for (bool fixedRow : {false, true}) {
        for (bool fixedCol : {false, true}) {
            CGridDefaultCell* cell = GetDefaultCell(fixedRow, fixedCol);
            if (cell->GetTextColour() == knownSystemColours_[0])
                cell->SetTextColour(now[0]);
            const int background = fixedRow || fixedCol ? 2 : 1;
            if (cell->GetBackColour() == knownSystemColours_[background])
                cell->SetBackColour(now[background]);
        }
    }
    if (outsideColour_ == knownSystemColours_[3])
        outsideColour_ = now[3];
    for (int index = 0; index < 4; ++index)
        knownSystemColours_[index] = now[index];
}

bool CGridCtrl::AutoSizeColumn(int col, int flags, bool resetScroll) {
    if (col < 0 || col >= GetColumnCount() || GetColumnWidth(col) == 0 || GetHandle() == nullptr)
        return false;
    if (flags == 0)
        flags = options().autoSizeStyle;
    const int first = (flags & GRIDAUTOSIZE_FIXED) != 0 ? 0 : GetFixedRowCount();
    const int end = (flags & GRIDAUTOSIZE_NONFIXED) != 0 ? GetRowCount() : GetFixedRowCount();
    wxClientDC dc(this);
    int width = 0;
    for (int row = first; row < end; ++row)
        if (CGridCellBase* cell = GetCell(row, col))
            width = std::max(width, cell->MeasureCell(&dc).cx);
    SetColumnWidth(col, width);
    if (resetScroll)
        ResetScrollBars();
    return true;
}

bool CGridCtrl::AutoSizeRow(int row, bool resetScroll) {
    if (row < 0 || row >= GetRowCount() || GetRowHeight(row) == 0 || GetHandle() == nullptr)
        return false;
    wxClientDC dc(this);
    int height = 0;
    for (int col = 0; col < GetColumnCount(); ++col)
        if (CGridCellBase* cell = GetCell(row, col))
            height = std::max(height, cell->MeasureCell(&dc).cy);
    SetRowHeight(row, height);
    if (resetScroll)
        ResetScrollBars();
    return true;
}

bool CGridCtrl::AutoSize(int flags) {
    if (GetHandle() == nullptr)
        return false;
    if (flags == 0)
        flags = options().autoSizeStyle;
    const int first = (flags & GRIDAUTOSIZE_FIXED) != 0 ? 0 : GetFixedRowCount();
    const int end = (flags & GRIDAUTOSIZE_NONFIXED) != 0 ? GetRowCount() : GetFixedRowCount();
    const int cols = GetColumnCount();
    if (GetVirtualMode())
        SendCacheHint(CCellSpan(first, 0, end - 1, cols - 1));
    std::vector<int> widths(static_cast<std::size_t>(cols), 0);
    std::vector<int> heights(rowHeights().begin(), rowHeights().end());
    for (int row = first; row < end; ++row)
        if (heights[row] > 0)
            heights[row] = 1;
    wxClientDC dc(this);
    for (int col = 0; col < cols; ++col) {
        if (GetColumnWidth(col) == 0)
            continue;
        for (int row = first; row < end; ++row) {
            if (heights[row] == 0)
                continue;
            CGridCellBase* cell = GetCell(row, col);
            if (cell == nullptr)
                continue;
            const GridSize size = cell->MeasureCell(&dc);
            widths[col] = std::max(widths[col], size.cx);
            heights[row] = std::max(heights[row], size.cy);
        }
    }
    if (GetVirtualMode())
        SendCacheHint(CCellSpan());
    const bool allowed = redrawAllowed_;
    redrawAllowed_ = false;
    for (int col = 0; col < cols; ++col)
        if (GetColumnWidth(col) != 0)
            SetColumnWidth(col, widths[col]);
    for (int row = first; row < end; ++row)
        SetRowHeight(row, heights[row]);
    redrawAllowed_ = allowed;
    ResetScrollBars();
    RedrawAll();
    return true;
}

} // namespace gridctrl
