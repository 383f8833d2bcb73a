#pragma once
// The grid as a target of dragged text: it highlights the editable cell
// under the pointer, copies with Ctrl held and moves otherwise, and pastes
// the text there on the drop.

#include <wx/dnd.h>

namespace gridctrl {

class CGridCtrl;

class CGridDropTarget : public wxTextDropTarget {
public:
    explicit CGridDropTarget(CGridCtrl* grid) : grid_(grid) {}

    wxDragResult OnEnter(wxCoord x, wxCoord y, wxDragResult suggested) override;
    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult suggested) override;
    void OnLeave() override;
    bool OnDropText(wxCoord x, wxCoord y, const wxString& text) override;

private:
    CGridCtrl* grid_;
};

} // namespace gridctrl
