#pragma once
// Between the grid's plain values and the toolkit's: colours, fonts,
// rectangles.

#include "gridctrl/grid_types.hpp"

#include <wx/colour.h>
#include <wx/font.h>
#include <wx/gdicmn.h>

namespace gridctrl {

inline wxColour colourOf(COLORREF colour) {
    return wxColour(static_cast<unsigned char>(redOf(colour)),
                    static_cast<unsigned char>(greenOf(colour)),
                    static_cast<unsigned char>(blueOf(colour)));
}

inline COLORREF colourRefOf(const wxColour& colour) {
    return rgb(colour.Red(), colour.Green(), colour.Blue());
}

// A rectangle whose right and bottom are one past its last pixel.
inline wxRect wxRectOf(const GridRect& rect) {
    return wxRect(rect.left, rect.top, rect.Width(), rect.Height());
}

wxFont fontObjectOf(const CellFont& font);
CellFont cellFontOf(const wxFont& font);

} // namespace gridctrl
