#pragma once
// Cell text on a device context by the cell's format flags: horizontal
// alignment (DT_LEFT, DT_CENTER, DT_RIGHT), vertical alignment of a single
// line (DT_TOP, DT_VCENTER, DT_BOTTOM), an ellipsis for a single line that
// does not fit (DT_END_ELLIPSIS), and word wrapping at the rectangle's width
// (DT_WORDBREAK without DT_SINGLELINE). Text is clipped to the rectangle.

#include "gridctrl/grid_types.hpp"

#include <string>
#include <vector>

class wxDC;

namespace gridctrl {

// The lines the text takes in `width` pixels: split at line feeds and, with
// wrapping, at blanks so that each line fits when a word allows it.
std::vector<std::string> layoutLines(wxDC& dc, const std::string& text, unsigned format, int width);

// `rect` is the text rectangle, right and bottom one past its last pixel.
// With an escapement of 900 (tenths of a degree) the text runs upwards on
// one line from the rectangle's bottom, centred across it.
void drawCellText(wxDC& dc, const std::string& text, const GridRect& rect, unsigned format,
                  int escapement = 0);

// The size the text takes: one line, or the wrapped lines in `width` pixels.
GridSize measureCellText(wxDC& dc, const std::string& text, unsigned format, int width);

} // namespace gridctrl
