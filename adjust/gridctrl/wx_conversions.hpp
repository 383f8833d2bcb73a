#pragma once
// Between the grid's plain values and the toolkit's: colours, fonts,
// rectangles.

#include "gridctrl/grid_types.hpp"

#include <wx/colour.h>
#include <wx/font.h>
#include <wx/gdicmn.h>

class wxWindow;

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

class GridModel;
// The grid's window once it exists on the screen; null for a grid without
// one (a model alone, or a window not yet created).
wxWindow* gridWindowOf(GridModel* grid);

// The side of a scroll bar's arrow button: the size of check boxes and of
// combo drop buttons in cells.
int scrollArrowSize();

} // namespace gridctrl
