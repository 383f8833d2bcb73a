// The grid under the keyboard: arrows, Tab and Shift+Tab (wrapping between
// rows), page keys, Home and End move the focus cell past hidden rows and
// columns; Shift extends the selection from the anchor; F2 and typing start
// an edit; Delete clears the selection; Ctrl+C, X, V, A and the Insert
// combinations reach the clipboard. In-place edits end here too.
#include "gridctrl/grid_ctrl.hpp"

#include "gridctrl/inplace_edit.hpp"
#include "gridctrl/title_tip.hpp"

namespace gridctrl {

namespace {

// The next line from `from` by `step` whose size is above 0, not before
// `first` nor past the last; -1 when there is none.
int nextShown(const std::vector<int>& sizes, int from, int step, int first) {
    const int count = static_cast<int>(sizes.size());
    for (int line = from + step; line >= first && line < count; line += step)
        if (sizes[line] > 0)
            return line;
    return -1;
}

} // namespace

CCellID CGridCtrl::nextCellForKey(int key, bool shift, bool ctrl, bool& handled, bool& wrapped) {
    const CCellID focus = GetFocusCell();
    const int fixedRows = GetFixedRowCount();
    const int fixedCols = GetFixedColumnCount();
    const int lastRow = GetRowCount() - 1;
    const int lastCol = GetColumnCount() - 1;
    const auto& heights = rowHeights();
    const auto& widths = columnWidths();
    CCellID next = focus;
    handled = true;
    wrapped = false;
    const bool tab = key == WXK_TAB;
    if (key == WXK_DELETE) {
        CutSelectedText();
    } else if (key == WXK_DOWN) {
        if (const int row = nextShown(heights, focus.row, 1, fixedRows); row >= 0)
            next.row = row;
    } else if (key == WXK_UP) {
        if (const int row = nextShown(heights, focus.row, -1, fixedRows); row >= 0)
            next.row = row;
    } else if (key == WXK_RIGHT || (tab && !shift)) {
        if (const int col = nextShown(widths, focus.col, 1, fixedCols); col >= 0) {
            next.col = col;
        } else if (tab) {
            const int row = nextShown(heights, focus.row, 1, fixedRows);
            if (focus.row >= lastRow || row < 0) {
                handled = false;
                return focus;
            }
            next = CCellID(row, fixedCols);
            wrapped = true;
        }
    } else if (key == WXK_LEFT || (tab && shift)) {
        if (const int col = nextShown(widths, focus.col, -1, fixedCols); col >= 0) {
            next.col = col;
        } else if (tab) {
            const int row = nextShown(heights, focus.row, -1, fixedRows);
            if (focus.row <= fixedRows || row < 0) {
                handled = false;
                return focus;
            }
            next = CCellID(row, lastCol);
            wrapped = true;
        }
    } else if (key == WXK_PAGEDOWN || key == WXK_PAGEUP) {
        const bool down = key == WXK_PAGEDOWN;
        const int top = GetTopLeftNonFixedCell().row;
        ScrollAction(wxVERTICAL, down ? wxEVT_SCROLLWIN_PAGEDOWN : wxEVT_SCROLLWIN_PAGEUP);
        const int moved = GetTopLeftNonFixedCell(true).row - top;
        if (moved != 0)
            next.row = std::clamp(focus.row + moved, fixedRows, lastRow);
        else
            next.row = down ? lastRow : fixedRows;
    } else if (key == WXK_HOME) {
        ScrollAction(wxHORIZONTAL, wxEVT_SCROLLWIN_TOP);
        if (ctrl) {
            ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_TOP);
            next.row = fixedRows;
        }
        next.col = lastCol;
        for (int col = fixedCols; col <= lastCol; ++col)
            if (widths[col] > 0) {
                next.col = col;
                break;
            }
        while (next.row < lastRow && heights[next.row] == 0)
            ++next.row;
    } else if (key == WXK_END) {
        ScrollAction(wxHORIZONTAL, wxEVT_SCROLLWIN_BOTTOM);
        if (ctrl) {
            ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_BOTTOM);
            next.row = lastRow;
        }
        next.col = lastCol;
        while (next.col > fixedCols + 1 && widths[next.col] == 0)
            --next.col;
        while (next.row > fixedRows && heights[next.row] == 0)
            --next.row;
    } else if (key == WXK_F2) {
        OnEditCell(focus.row, focus.col, wxPoint(-1, -1), EDIT_BY_MOUSE);
    } else {
        handled = false;
    }
    return next;
}

void CGridCtrl::selectAfterKey(const CCellID& next, int key, bool shift) {
    if (GetMouseMode() != MOUSE_NOTHING)
        return;
    keepSelectionForDrag(false);
    SetMouseMode(options().listMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS);
    if (!shift || key == WXK_TAB)
        SetSelectionAnchor(next);
    NotifyParent(next.row, next.col, GRIDN_SELCHANGING);
    OnSelecting(next);
    NotifyParent(next.row, next.col, GRIDN_SELCHANGED);
    SetMouseMode(MOUSE_NOTHING);
}

void CGridCtrl::scrollForKey(int key, bool wrapped, bool shift) {
    if (wrapped) {
        const bool back = shift;
        ScrollAction(wxVERTICAL, back ? wxEVT_SCROLLWIN_LINEUP : wxEVT_SCROLLWIN_LINEDOWN);
        SetScrollPos32(wxHORIZONTAL, back ? scrollMaximum(wxHORIZONTAL) : 0);
        return;
    }
    if (key == WXK_LEFT || (key == WXK_TAB && shift))
        ScrollAction(wxHORIZONTAL, wxEVT_SCROLLWIN_LINEUP);
    else if (key == WXK_RIGHT || key == WXK_TAB)
        ScrollAction(wxHORIZONTAL, wxEVT_SCROLLWIN_LINEDOWN);
    else if (key == WXK_UP)
        ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_LINEUP);
    else if (key == WXK_DOWN)
        ScrollAction(wxVERTICAL, wxEVT_SCROLLWIN_LINEDOWN);
}

bool CGridCtrl::HandleKey(int key, bool shift, bool ctrl) {
    hideTitleTip();
    if (!IsValid(GetFocusCell()))
        return false;
    if (ctrl) {
        if (key == 'C' || key == WXK_INSERT)
            OnEditCopy();
        else if (key == 'X')
            OnEditCut();
        else if (key == 'V')
            OnEditPaste();
        else if (key == 'A')
            OnEditSelectAll();
    }
    if (shift && key == WXK_INSERT) {
        OnEditPaste();
        return true;
    }
    bool handled = false;
    bool wrapped = false;
    const CCellID next = nextCellForKey(key, shift, ctrl, handled, wrapped);
    if (!handled)
        return ctrl && (key == 'C' || key == 'X' || key == 'V' || key == 'A' || key == WXK_INSERT);
    if (next == GetFocusCell())
        return true;
    selectAfterKey(next, key, shift);
    SetFocusCell(next);
    if (!IsCellVisible(next)) {
        scrollForKey(key, wrapped, shift);
        EnsureVisible(next);
        Refresh(false);
    }
    EnsureVisible(next);
    return true;
}

void CGridCtrl::HandleChar(int character, bool ctrl) {
    if (ctrl || GetMouseMode() != MOUSE_NOTHING || character == WXK_ESCAPE)
        return;
    if (character == WXK_TAB && options().wantsTab)
        return;
    const CCellID focus = GetFocusCell();
    OnEditCell(focus.row, focus.col, wxPoint(-1, -1), static_cast<unsigned>(character));
}

void CGridCtrl::onKeyDown(wxKeyEvent& event) {
    // A grid that does not want Tab leaves it to dialog navigation.
    if (event.GetKeyCode() == WXK_TAB && !options().wantsTab) {
        event.Skip();
        return;
    }
    if (!HandleKey(event.GetKeyCode(), event.ShiftDown(), event.ControlDown()))
        event.Skip();
}

void CGridCtrl::onChar(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (key == WXK_TAB) {
        // A Tab the grid did not use moves on to the next control.
        Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward
                                   : wxNavigationKeyEvent::IsForward);
        return;
    }
    const int character =
        event.GetUnicodeKey() != WXK_NONE ? static_cast<int>(event.GetUnicodeKey()) : key;
    if (character < 32 && character != WXK_BACK && character != WXK_RETURN) {
        event.Skip();
        return;
    }
    HandleChar(character, event.ControlDown() || event.AltDown());
}

void CGridCtrl::OnEditSelectAll() {
    NotifyParent(leftDownCell_.row, leftDownCell_.col, GRIDN_SELCHANGING);
    SelectAllCells();
    const CCellID focus = GetFocusCell();
    NotifyParent(focus.row, focus.col, GRIDN_SELCHANGED);
}

void CGridCtrl::OnEditCell(int row, int col, wxPoint point, unsigned character) {
    hideTitleTip();
    if (!IsValid(row, col) || !IsCellEditable(row, col))
        return;
    EnsureVisible(row, col);
    GridRect rect;
    if (!IsCellVisible(row, col) || !GetCellRect(row, col, &rect))
        return;
    if (NotifyParent(row, col, GRIDN_BEGINEDIT) < 0)
        return;
    if (CGridCellBase* cell = GetCell(row, col))
        cell->StartEdit(row, col, rect, point.x, point.y, IDC_INPLACE_CONTROL, character);
}

void CGridCtrl::EndEditing() {
    const CCellID focus = GetFocusCell();
    if (!IsValid(focus))
        return;
    if (CGridCellBase* cell = GetCell(focus.row, focus.col); cell != nullptr && cell->IsEditing())
        cell->StopEdit();
}

void CGridCtrl::onEndInPlaceEdit(CGridNotifyEvent& event) {
    if (closing_)
        return;
    const CGridItem& item = event.GetItem();
    OnEndEditCell(item.row, item.col, item.text);
    const int key = static_cast<int>(item.data);
    if (key == WXK_TAB || isNavigationKey(key)) {
        HandleKey(key, false, false);
        const CCellID focus = GetFocusCell();
        OnEditCell(focus.row, focus.col, wxPoint(-1, -1), static_cast<unsigned>(key));
    }
}

} // namespace gridctrl
