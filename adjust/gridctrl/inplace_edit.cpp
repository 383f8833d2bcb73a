#include "gridctrl/inplace_edit.hpp"

#include "gridctrl/grid_cell.hpp"
#include "gridctrl/grid_ctrl.hpp"
#include "gridctrl/grid_events.hpp"
#include "gridctrl/wx_conversions.hpp"

#include <wx/dcclient.h>

namespace gridctrl {

bool isNavigationKey(int key) {
    switch (key) {
    case WXK_PAGEUP:
    case WXK_PAGEDOWN:
    case WXK_END:
    case WXK_HOME:
    case WXK_LEFT:
    case WXK_UP:
    case WXK_RIGHT:
    case WXK_DOWN:
        return true;
    default:
        return false;
    }
}

bool focusWentToGrid(const wxFocusEvent& event, const wxWindow* grid) {
    return event.GetWindow() != nullptr && event.GetWindow() == grid;
}

bool isLeavingKey(int key) {
    return key == WXK_PAGEUP || key == WXK_PAGEDOWN || key == WXK_LEFT || key == WXK_UP ||
           key == WXK_RIGHT || key == WXK_DOWN;
}

void prepareText(wxTextEntry& entry, unsigned firstChar, bool blankSelects) {
    if (firstChar == EDIT_BY_MOUSE || firstChar == WXK_RETURN) {
        entry.SetInsertionPointEnd();
    } else if (firstChar == WXK_BACK) {
        entry.SetInsertionPointEnd();
        const long end = entry.GetLastPosition();
        if (end > 0)
            entry.Remove(end - 1, end);
    } else if (firstChar == WXK_TAB || (blankSelects && firstChar == WXK_SPACE) ||
               isNavigationKey(static_cast<int>(firstChar))) {
        entry.SelectAll();
    } else {
        entry.SelectAll();
        if (firstChar >= 32)
            entry.WriteText(wxString(wxUniChar(firstChar)));
    }
}

namespace {

void reportEditEnd(wxWindow* editor, int row, int col, const std::string& text, unsigned key) {
    auto* grid = dynamic_cast<CGridCtrl*>(editor->GetParent());
    if (grid == nullptr || grid->isClosing())
        return;
    CGridNotifyEvent event(EVT_GRIDN_ENDEDIT, IDC_INPLACE_CONTROL);
    event.SetEventObject(editor);
    event.SetCode(GRIDN_ENDEDIT);
    CGridItem& item = event.GetItem();
    item.row = row;
    item.col = col;
    item.mask = GRIDITEM_TEXT | GRIDITEM_DATA;
    item.data = static_cast<std::intptr_t>(key);
    item.text = text;
    grid->GetEventHandler()->ProcessEvent(event);
}

} // namespace

void closeEditor(wxWindow* editor, int row, int col, const std::string& text, unsigned key) {
    editor->Hide();
    reportEditEnd(editor, row, col, text, key);
    editor->CallAfter([editor] { editor->Destroy(); });
}

CInPlaceEdit::CInPlaceEdit(int row, int col, const std::string& initialText, unsigned firstChar)
    : row_(row), col_(col), initialText_(initialText), firstChar_(firstChar),
      arrowsEnd_(firstChar != EDIT_BY_MOUSE) {}

bool CInPlaceEdit::Create(wxWindow* grid, const GridRect& rect, long alignment, int id) {
    rect_ = wxRect(rect.left, rect.top, rect.Width(), rect.Height());
    if (!wxTextCtrl::Create(grid, id, wxString::FromUTF8(initialText_), rect_.GetPosition(),
                            rect_.GetSize(),
                            alignment | wxTE_PROCESS_ENTER | wxTE_PROCESS_TAB | wxBORDER_SIMPLE))
        return false;
    SetFont(grid->GetFont());
    Bind(wxEVT_KEY_DOWN, &CInPlaceEdit::onKeyDown, this);
    Bind(wxEVT_CHAR, &CInPlaceEdit::onChar, this);
    Bind(wxEVT_CHAR_HOOK, &CInPlaceEdit::onCharHook, this);
    Bind(wxEVT_KILL_FOCUS, &CInPlaceEdit::onKillFocus, this);
    SetFocus();
    prepareText(*this, firstChar_, true);
    return true;
}

// The focus goes back to the grid before the edit is reported, so that an
// edit the grid carries on to the next cell keeps the focus it takes.
void CInPlaceEdit::endWith(unsigned key) {
    endingKey_ = key;
    if (GetParent() != nullptr)
        GetParent()->SetFocus();
    FinishEdit();
}

void CInPlaceEdit::onKeyDown(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (isLeavingKey(key) && (arrowsEnd_ || event.ControlDown())) {
        endWith(static_cast<unsigned>(key));
        return;
    }
    event.Skip();
}

void CInPlaceEdit::onChar(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (key == WXK_TAB || key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
        endWith(key == WXK_TAB ? WXK_TAB : WXK_RETURN);
        return;
    }
    if (key == WXK_ESCAPE) {
        cancel();
        return;
    }
    // Alt combinations belong to the menus, not to the cell.
    if (event.AltDown())
        return;
    event.Skip();
    CallAfter(&CInPlaceEdit::widenToText);
}

// The window around the grid sees each key before the editor does, and
// takes Escape as its own (a dialog or tool window closes): Escape ends the
// edit here and goes no further.
void CInPlaceEdit::onCharHook(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE && !finished_)
        cancel();
    else
        event.Skip();
}

void CInPlaceEdit::cancel() {
    ChangeValue(wxString::FromUTF8(initialText_));
    endWith(WXK_ESCAPE);
}

void CInPlaceEdit::widenToText() {
    if (finished_ || GetParent() == nullptr)
        return;
    wxClientDC dc(this);
    dc.SetFont(GetFont());
    const int wanted = dc.GetTextExtent(GetValue() + "  ").x;
    if (wanted <= rect_.width)
        return;
    const int parentRight = GetParent()->GetClientSize().x;
    rect_.width = std::min(wanted, parentRight - rect_.x);
    SetSize(rect_);
}

void CInPlaceEdit::onKillFocus(wxFocusEvent& event) {
    event.Skip();
    if (!focusWentToGrid(event, GetParent()))
        FinishEdit();
}

void CInPlaceEdit::FinishEdit() {
    if (finished_)
        return;
    finished_ = true;
    closeEditor(this, row_, col_, GetValue().utf8_string(), endingKey_);
}

bool CGridCell::adoptEditor(wxWindow* editor, bool created) {
    if (!created) {
        // A cell whose editor could not be made is not left "editing".
        delete editor;
        setEditing(false);
        return false;
    }
    beginEditing(editor);
    return true;
}

bool CGridCell::StartEdit(int row, int col, GridRect rect, int, int, int id, unsigned firstChar) {
    if (IsEditing()) {
        if (auto* editor = dynamic_cast<wxTextCtrl*>(GetEditWindow()); editor && firstChar >= 32)
            editor->WriteText(wxString(wxUniChar(firstChar)));
        return true;
    }
    wxWindow* grid = gridWindowOf(GetGrid());
    if (grid == nullptr)
        return false;
    const unsigned format = GetFormat();
    const long alignment = (format & DT_RIGHT) != 0    ? wxTE_RIGHT
                           : (format & DT_CENTER) != 0 ? wxTE_CENTRE
                                                       : wxTE_LEFT;
    auto* editor = new CInPlaceEdit(row, col, GetText(), firstChar);
    setEditing(true);
    return adoptEditor(editor, editor->Create(grid, rect, alignment, id));
}

void CGridCell::StopEdit() {
    if (auto* editor = dynamic_cast<CInPlaceEdit*>(GetEditWindow()))
        editor->FinishEdit();
}

} // namespace gridctrl
