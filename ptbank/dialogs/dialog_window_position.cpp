#include "ptbank/dialogs/dialog_window_position.hpp"

#include <wx/display.h>
#include <wx/toplevel.h>

namespace ptbank {

std::vector<ScreenArea> displayAreas() {
    std::vector<ScreenArea> areas;
    for (unsigned i = 0; i < wxDisplay::GetCount(); ++i) {
        const wxRect r = wxDisplay(i).GetClientArea();
        areas.push_back({r.x, r.y, r.width, r.height});
    }
    return areas;
}

void saveDialogPos(const DialogPositionStore& store, const wxWindow& window) {
    const wxRect r = window.GetScreenRect();
    const auto* topLevel = dynamic_cast<const wxTopLevelWindow*>(&window);
    saveDialogPosition(store, {r.x, r.y, r.width, r.height},
                       topLevel != nullptr && topLevel->IsMaximized());
}

bool restoreDialogPos(const DialogPositionStore& store, wxWindow& window) {
    const std::optional<ScreenPoint> corner = restoredDialogCorner(store);
    if (!corner)
        return false;
    const wxSize size = window.GetSize();
    const ScreenPoint onScreen = cornerOnDisplays(*corner, size.x, size.y, displayAreas());
    window.Move(onScreen.x, onScreen.y);
    return true;
}

} // namespace ptbank
