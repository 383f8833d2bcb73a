#include "gridctrl/toolkit_seams.hpp"

#include "gridctrl/wx_conversions.hpp"

#include <wx/app.h>
#include <wx/dcscreen.h>
#include <wx/settings.h>

#include <algorithm>

namespace gridctrl {

namespace {

// Only a running toolkit application has a screen to ask.
bool toolkitRunning() {
    return wxTheApp != nullptr;
}

} // namespace

CellFont systemMessageFont() {
    if (!toolkitRunning())
        return CellFont{};
    return cellFontOf(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
}

DefaultCellMetrics measureDefaultCell(const CellFont& font) {
    if (!toolkitRunning())
        return DefaultCellMetrics{};
    wxScreenDC screen;
    if (!screen.IsOk())
        return DefaultCellMetrics{};
    screen.SetFont(fontObjectOf(font));
    const wxSize blank = screen.GetTextExtent(" ");
    const wxSize sample = screen.GetTextExtent(" XXXXXXXXXXXX ");
    return DefaultCellMetrics{blank.x, sample.x, sample.y * 3 / 2};
}

COLORREF systemColour(SystemColour which) {
    struct Entry {
        SystemColour which;
        wxSystemColour system;
        COLORREF fallback;
    };
    static constexpr Entry table[] = {
        {SystemColour::windowText, wxSYS_COLOUR_WINDOWTEXT, rgb(0, 0, 0)},
        {SystemColour::window, wxSYS_COLOUR_WINDOW, rgb(255, 255, 255)},
        {SystemColour::buttonFace, wxSYS_COLOUR_BTNFACE, rgb(240, 240, 240)},
        {SystemColour::buttonShadow, wxSYS_COLOUR_BTNSHADOW, rgb(160, 160, 160)},
        {SystemColour::highlight, wxSYS_COLOUR_HIGHLIGHT, rgb(0, 120, 215)},
        {SystemColour::highlightText, wxSYS_COLOUR_HIGHLIGHTTEXT, rgb(255, 255, 255)},
        {SystemColour::highlight3d, wxSYS_COLOUR_3DHIGHLIGHT, rgb(255, 255, 255)},
        {SystemColour::darkShadow3d, wxSYS_COLOUR_3DDKSHADOW, rgb(105, 105, 105)},
        {SystemColour::shadow3d, wxSYS_COLOUR_3DSHADOW, rgb(160, 160, 160)},
        {SystemColour::infoBackground, wxSYS_COLOUR_INFOBK, rgb(255, 255, 225)},
        {SystemColour::infoText, wxSYS_COLOUR_INFOTEXT, rgb(0, 0, 0)},
    };
    for (const Entry& entry : table) {
        if (entry.which != which)
            continue;
        return toolkitRunning() ? colourRefOf(wxSystemSettings::GetColour(entry.system))
                                : entry.fallback;
    }
    return rgb(0, 0, 0);
}

} // namespace gridctrl

namespace gridctrl {

int scrollArrowSize() {
    constexpr int smallest = 13;
    if (wxTheApp == nullptr)
        return 16;
    int size = wxSystemSettings::GetMetric(wxSYS_HSCROLL_ARROW_X);
    if (size <= 0)
        size = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X);
    return std::max(size, smallest);
}

} // namespace gridctrl
