#include "shell/work_area.hpp"

#include <wx/display.h>
#include <wx/toplevel.h>

#include <algorithm>

wxRect placedInside(const wxRect& window, const wxRect& area) {
    wxRect placed(window.GetPosition(),
                  wxSize(std::min(window.width, area.width), std::min(window.height, area.height)));
    placed.x = std::clamp(placed.x, area.x, area.GetRight() + 1 - placed.width);
    placed.y = std::clamp(placed.y, area.y, area.GetBottom() + 1 - placed.height);
    return placed;
}

void keepInsideWorkArea(wxTopLevelWindow& window) {
    const int found = wxDisplay::GetFromWindow(&window);
    const wxRect area =
        wxDisplay(found == wxNOT_FOUND ? 0u : static_cast<unsigned>(found)).GetClientArea();
    // A window laid out by its sizer may not be made smaller than its
    // layout: on a small screen its layout gives way.
    const wxSize least = window.GetMinSize();
    if (least.x > area.width || least.y > area.height)
        window.SetMinSize(wxSize(std::min(least.x, area.width), std::min(least.y, area.height)));
    const wxRect now = window.GetScreenRect();
    const wxRect placed = placedInside(now, area);
    if (placed != now)
        window.SetSize(placed);
}
