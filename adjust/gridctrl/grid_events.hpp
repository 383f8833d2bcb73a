#pragma once
// The notifications the grid sends its parent, as toolkit events. Each
// notification code has its own event type; every event carries the row and
// column, the code, and for display information and ended edits the item
// record. Vetoing an event is the owner's negative reply: a vetoed
// GRIDN_BEGINEDIT cancels the edit, a vetoed GRIDN_ENDEDIT restores the text.
//
// In-place editors report the end of an edit to the grid with
// EVT_GRIDN_ENDEDIT from the window id IDC_INPLACE_CONTROL; its item's data
// word is the key that ended the edit (WXK_TAB, WXK_RETURN, WXK_ESCAPE, a
// navigation key, or 0 for a loss of focus).

#include "gridctrl/grid_types.hpp"

#include <wx/event.h>

namespace gridctrl {

class CGridNotifyEvent : public wxNotifyEvent {
public:
    explicit CGridNotifyEvent(wxEventType type = wxEVT_NULL, int id = 0)
        : wxNotifyEvent(type, id) {}

    int GetRow() const { return item_.row; }
    int GetColumn() const { return item_.col; }
    int GetCode() const { return code_; }
    void SetCode(int code) { code_ = code; }
    CGridItem& GetItem() { return item_; }
    const CGridItem& GetItem() const { return item_; }
    // The cells a GRIDN_CACHEHINT announces; all -1 when the reading is done.
    const CCellSpan& GetSpan() const { return span_; }
    void SetSpan(const CCellSpan& span) { span_ = span; }

    wxEvent* Clone() const override { return new CGridNotifyEvent(*this); }

private:
    int code_ = 0;
    CGridItem item_;
    CCellSpan span_;
};

wxDECLARE_EVENT(EVT_GRIDN_CLICK, CGridNotifyEvent);
wxDECLARE_EVENT(EVT_GRIDN_DBLCLK, CGridNotifyEvent);
wxDECLARE_EVENT(EVT_GRIDN_RCLICK, CGridNotifyEvent);
wxDECLARE_EVENT(EVT_GRIDN_SELCHANGING, CGridNotifyEvent);
wxDECLARE_EVENT(EVT_GRIDN_SELCHANGED, CGridNotifyEvent);
wxDECLARE_EVENT(EVT_GRIDN_BEGINEDIT, CGridNotifyEvent);
wxDECLARE_EVENT(EVT_GRIDN_ENDEDIT, CGridNotifyEvent);
wxDECLARE_EVENT(EVT_GRIDN_BEGINDRAG, CGridNotifyEvent);
wxDECLARE_EVENT(EVT_GRIDN_CACHEHINT, CGridNotifyEvent);
wxDECLARE_EVENT(EVT_GRIDN_GETDISPINFO, CGridNotifyEvent);

// The event type of a notification code; wxEVT_NULL for an unknown one.
wxEventType eventTypeOfCode(int code);

} // namespace gridctrl
