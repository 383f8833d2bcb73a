#include "gridctrl/check_combo_cells.hpp"

#include "gridctrl/grid_ctrl.hpp"
#include "gridctrl/inplace_edit.hpp"
#include "gridctrl/wx_conversions.hpp"

#include <wx/dcclient.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include <algorithm>

#ifdef GRIDCTRL_HAS_GTK
#include <gtk/gtk.h>
#endif

namespace gridctrl {

namespace {

// GTK drops a list only while it handles a click or a key, and warns when a
// program opens one on its own (a command, a test's own events): the list
// then opens at a click on its button.
bool handlingUserInput() {
#ifdef GRIDCTRL_HAS_GTK
    GdkEvent* event = gtk_get_current_event();
    if (event == nullptr)
        return false;
    gdk_event_free(event);
#endif
    return true;
}

constexpr int dropWidthLimit = 200;

int comboButtonWidth() {
    return scrollArrowSize();
}

} // namespace

bool CGridCellCheck::SetCheck(bool checked) {
    const bool previous = checked_;
    checked_ = checked;
    if (wxWindow* window = gridWindowOf(GetGrid()); window != nullptr && !lastRect_.IsEmpty())
        window->RefreshRect(wxRectOf(lastRect_), true);
    return previous;
}

GridRect CGridCellCheck::GetCheckBoxRect() const {
    const int side = scrollArrowSize();
    const int margin = GetMargin();
    int top = lastRect_.top + margin;
    if (lastRect_.Height() < side + 2 * margin)
        top = lastRect_.top + (lastRect_.Height() - side) / 2;
    const int left = lastRect_.left + margin;
    return GridRect{left, top, left + side, top + side};
}

bool CGridCellCheck::Draw(wxDC* dc, int row, int col, GridRect rect, bool eraseBackground) {
    const bool drawn = CGridCell::Draw(dc, row, col, rect, eraseBackground);
    lastRect_ = rect;
    if (wxWindow* window = gridWindowOf(GetGrid()); window != nullptr && dc != nullptr)
        wxRendererNative::Get().DrawCheckBox(window, *dc, wxRectOf(GetCheckBoxRect()),
                                             checked_ ? static_cast<int>(wxCONTROL_CHECKED) : 0);
    return drawn;
}

bool CGridCellCheck::GetTextArea(GridRect* rect) {
    CGridCell::GetTextArea(rect);
    rect->left += 2 * GetMargin() + scrollArrowSize();
    if (rect->left > rect->right)
        rect->left = rect->right;
    return true;
}

GridSize CGridCellCheck::MeasureCell(wxDC* dc) {
    GridSize size = CGridCell::MeasureCell(dc);
    const int box = scrollArrowSize() + 2 * GetMargin();
    size.cx += box;
    size.cy = std::max(size.cy, box);
    return size;
}

void CGridCellCheck::NotifyClick(int x, int y) {
    auto* grid = dynamic_cast<CGridCtrl*>(GetGrid());
    if (grid == nullptr)
        return;
    const wxPoint point(x + lastRect_.left, y + lastRect_.top);
    const CCellID cell = grid->GetCellFromPt(point, true);
    if (!grid->IsCellEditable(cell) || !GetCheckBoxRect().Contains(point.x, point.y))
        return;
    checked_ = !checked_;
    GridRect whole = lastRect_;
    whole.Grow();
    grid->RefreshRect(wxRectOf(whole), true);
}

wxWindow* CGridCellCombo::GetEditWindow() const {
    auto* list = dynamic_cast<CInPlaceList*>(CGridCell::GetEditWindow());
    return list != nullptr && !list->IsPickOnly() ? list : nullptr;
}

bool CGridCellCombo::Draw(wxDC* dc, int row, int col, GridRect rect, bool eraseBackground) {
    GridModel* grid = GetGrid();
    const int button = comboButtonWidth();
    wxWindow* window = gridWindowOf(grid);
    const bool editable = grid != nullptr && grid->IsCellEditable(row, col);
    if (editable && !IsEditing() && button < rect.Width() && button < rect.Height() &&
        window != nullptr && dc != nullptr) {
        const wxRect box(rect.right - button, rect.top, button, button);
        wxRendererNative::Get().DrawComboBoxDropButton(window, *dc, box, 0);
        rect.right -= button;
    }
    if (!IsEditing())
        return CGridCell::Draw(dc, row, col, rect, eraseBackground);
    // No text under the open combo.
    const std::string text = GetText();
    SetText("");
    const bool drawn = CGridCell::Draw(dc, row, col, rect, eraseBackground);
    SetText(text);
    return drawn;
}

// As wide as the widest of its text and its options, so that a column sized
// to its cells shows whichever option the user picks.
GridSize CGridCellCombo::MeasureCell(wxDC* dc) {
    GridSize size = CGridCell::MeasureCell(dc);
    const std::string text = GetText();
    const int textWidth = MeasureText(&text, dc).cx;
    int widest = textWidth;
    for (const std::string& option : options_)
        widest = std::max(widest, MeasureText(&option, dc).cx);
    size.cx += widest - textWidth + comboButtonWidth();
    size.cy = std::max(size.cy, comboButtonWidth());
    return size;
}

bool CGridCellCombo::StartEdit(int row, int col, GridRect rect, int, int, int id,
                               unsigned firstChar) {
    wxWindow* grid = gridWindowOf(GetGrid());
    if (grid == nullptr)
        return false;
    if (IsEditing())
        return true;
    auto* list = new CInPlaceList(row, col, GetText());
    setEditing(true);
    return adoptEditor(list, list->Create(grid, rect, style_, id, options_, firstChar));
}

void CGridCellCombo::StopEdit() {
    if (auto* list = dynamic_cast<CInPlaceList*>(CGridCell::GetEditWindow()))
        list->FinishEdit();
}

CInPlaceList::CInPlaceList(int row, int col, const std::string& initialText)
    : row_(row), col_(col), initialText_(initialText) {}

bool CInPlaceList::Create(wxWindow* grid, const GridRect& rect, unsigned style, int id,
                          const std::vector<std::string>& options, unsigned firstChar) {
    pickOnly_ = style == CBS_DROPDOWNLIST;
    wxArrayString choices;
    for (const std::string& option : options)
        choices.Add(wxString::FromUTF8(option));
    const long comboStyle = (pickOnly_ ? wxCB_READONLY : wxCB_DROPDOWN) | wxTE_PROCESS_ENTER;
    if (!wxComboBox::Create(grid, id, wxString(), wxPoint(rect.left, rect.top),
                            wxSize(rect.Width(), -1), choices, comboStyle))
        return false;
    SetFont(grid->GetFont());
    const int width =
        std::min(std::max(rect.Width(), GetDropWidth()), grid->GetClientSize().x - rect.left);
    SetSize(rect.left, rect.top, width, -1);
    const wxString initial = wxString::FromUTF8(initialText_);
    if (!SetStringSelection(initial) && !pickOnly_)
        SetValue(initial);
    Bind(wxEVT_KEY_DOWN, &CInPlaceList::onKeyDown, this);
    Bind(wxEVT_CHAR_HOOK, &CInPlaceList::onCharHook, this);
    Bind(wxEVT_KILL_FOCUS, &CInPlaceList::onKillFocus, this);
    Bind(wxEVT_COMBOBOX_DROPDOWN, [this](wxCommandEvent&) { listShown_ = true; });
    Bind(wxEVT_COMBOBOX_CLOSEUP, [this](wxCommandEvent&) { listShown_ = false; });
    SetFocus();
    if (!pickOnly_)
        prepareText(*this, firstChar, false);
    if (handlingUserInput())
        Popup();
    return true;
}

int CInPlaceList::GetDropWidth() {
    wxClientDC dc(this);
    dc.SetFont(GetFont());
    int widest = 0;
    for (unsigned item = 0; item < GetCount(); ++item)
        widest = std::max(widest, dc.GetTextExtent(GetString(item)).x + comboButtonWidth());
    return std::min(widest + dc.GetTextExtent("0").x, dropWidthLimit);
}

// The focus goes back to the grid before the edit is reported, so that an
// edit the grid carries on to the next cell keeps the focus it takes.
void CInPlaceList::endWith(unsigned key) {
    endingKey_ = key;
    if (GetParent() != nullptr)
        GetParent()->SetFocus();
    FinishEdit();
}

// As in the text editor: the window around the grid would take Escape.
void CInPlaceList::onCharHook(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE && !finished_)
        cancel();
    else
        event.Skip();
}

void CInPlaceList::cancel() {
    if (pickOnly_)
        SetStringSelection(wxString::FromUTF8(initialText_));
    else
        ChangeValue(wxString::FromUTF8(initialText_));
    endWith(WXK_ESCAPE);
}

void CInPlaceList::onKeyDown(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (key == WXK_ESCAPE) {
        cancel();
        return;
    }
    if (key == WXK_TAB || key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
        endWith(key == WXK_TAB ? WXK_TAB : WXK_RETURN);
        return;
    }
    if (isLeavingKey(key) && event.ControlDown()) {
        endWith(static_cast<unsigned>(key));
        return;
    }
    event.Skip();
}

// The dropped list takes the focus while it is open; the edit ends when the
// focus goes elsewhere after that.
void CInPlaceList::onKillFocus(wxFocusEvent& event) {
    event.Skip();
    if (!listShown_ && !focusWentToGrid(event, GetParent()))
        FinishEdit();
}

void CInPlaceList::FinishEdit() {
    if (finished_)
        return;
    finished_ = true;
    if (listShown_)
        Dismiss();
    closeEditor(this, row_, col_, GetValue().utf8_string(), endingKey_);
}

} // namespace gridctrl
