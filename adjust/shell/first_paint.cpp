#include "shell/first_paint.hpp"

#include <wx/app.h>
#include <wx/utils.h>
#include <wx/window.h>

bool waitUntilDrawn(wxWindow* window, std::chrono::milliseconds patience) {
    bool drawn = false;
    auto onPaint = [&drawn](wxPaintEvent& event) {
        drawn = true;
        event.Skip();
    };
    window->Bind(wxEVT_PAINT, onPaint);
    window->Refresh();
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (!drawn && std::chrono::steady_clock::now() < giveUp) {
        wxTheApp->Yield(true);
        if (!drawn)
            wxMilliSleep(1);
    }
    window->Unbind(wxEVT_PAINT, onPaint);
    return drawn;
}
