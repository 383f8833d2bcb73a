#pragma once
// CTitleTip: the small pop-up the grid shows over a cell whose text does not
// fit, with the whole text on one line. It hides when the pointer leaves its
// hover rectangle, on a key or a button press, and when the application has
// no focus; a press on the tip reaches the grid cell underneath.

#include "gridctrl/grid_types.hpp"

#include <wx/popupwin.h>

#include <functional>
#include <string>

namespace gridctrl {

class CTitleTip : public wxPopupWindow {
public:
    explicit CTitleTip(wxWindow* parent);

    // `titleRect` and `hoverRect` are in the parent's client pixels (last
    // pixel included); colours CLR_DEFAULT keep the tooltip colours. The tip
    // shows only when " text " is wider than the title rectangle less the
    // offset.
    void ShowTip(const GridRect& titleRect, const std::string& text, int offset,
                 const GridRect* hoverRect, const CellFont* font, COLORREF textColour,
                 COLORREF backColour);
    void HideTip();
    // The hover rectangle in the parent's client pixels.
    const GridRect& hoverRect() const { return hover_; }
    const std::string& text() const { return text_; }

    // Whether the application has the focus (replaceable for tests).
    static std::function<bool()>& applicationHasFocus();

private:
    void onPaint(wxPaintEvent& event);
    void onMouseDown(wxMouseEvent& event);
    void onKeyDown(wxKeyEvent& event);

    wxWindow* owner_;
    GridRect hover_;
    std::string text_;
    wxFont font_;
    wxColour textColour_;
    wxColour backColour_;
    long lastLeftPress_ms_ = -1;
};

} // namespace gridctrl
