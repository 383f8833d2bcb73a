#pragma once
// CInPlaceEdit: the text editor a plain cell opens over itself. The first
// character decides how it starts (EDIT_BY_MOUSE or Enter keep the text with
// the caret at its end, Backspace removes its last character, a navigation
// key selects it all, any other character replaces it). Tab, Enter and Esc
// end the edit (Esc puts the text back); the arrow and page keys end it too
// unless the edit was started by the mouse, where only Ctrl+arrow does; so
// does a loss of focus. The editor widens as the text grows, up to the
// grid's right edge, and reports the end with EVT_GRIDN_ENDEDIT to the grid.
// It destroys itself afterwards.

#include "gridctrl/grid_types.hpp"

#include <wx/textctrl.h>

#include <string>

namespace gridctrl {

class CInPlaceEdit : public wxTextCtrl {
public:
    CInPlaceEdit(int row, int col, const std::string& initialText, unsigned firstChar);
    // Makes the window over `rect` (client pixels of the grid, last pixel
    // included) with the alignment style (wxTE_LEFT, wxTE_CENTRE, wxTE_RIGHT).
    bool Create(wxWindow* grid, const GridRect& rect, long alignment, int id);

    // Reports the edit once and closes the editor.
    void FinishEdit();
    unsigned GetEndingKey() const { return endingKey_; }

private:
    void onKeyDown(wxKeyEvent& event);
    void onChar(wxKeyEvent& event);
    void onCharHook(wxKeyEvent& event);
    // Escape: the cell keeps the text it had.
    void cancel();
    void onKillFocus(wxFocusEvent& event);
    void endWith(unsigned key);
    void widenToText();

    int row_;
    int col_;
    std::string initialText_;
    unsigned firstChar_;
    unsigned endingKey_ = 0;
    bool arrowsEnd_;
    bool finished_ = false;
    wxRect rect_;
};

// Hides an in-place editor, reports the end of its edit to the grid (its
// parent) as EVT_GRIDN_ENDEDIT from IDC_INPLACE_CONTROL with the cell, the
// text and the ending key as the item's data word, and destroys the editor
// once the event that ended it has been handled.
void closeEditor(wxWindow* editor, int row, int col, const std::string& text, unsigned key);

// Prepares an editor's text by the character that started the edit: the
// mouse or Enter put the caret at the end, Backspace removes the last
// character, a navigation key (and, with `blankSelects`, a blank) selects
// the whole text, any other character replaces it.
void prepareText(wxTextEntry& entry, unsigned firstChar, bool blankSelects);

// Whether a lost focus went to the grid itself. The grid ends an edit
// itself whenever it takes the focus on purpose (a click, a key, a scroll);
// a focus it takes late, as a toolkit may deliver a focus asked for before
// the editor opened, must not end the new edit.
bool focusWentToGrid(const wxFocusEvent& event, const wxWindow* grid);

// Whether a key code moves between cells (arrows, page keys, Home, End).
bool isNavigationKey(int key);
// The keys that end an edit with Ctrl held (and, in a typed text edit,
// without): arrows and page keys.
bool isLeavingKey(int key);

} // namespace gridctrl
