#pragma once
// The few places where the cell model asks the toolkit about the screen.
// Without a running toolkit application (as in the model's own tests) they
// answer with fixed values, the ones a missing screen would give.

#include "gridctrl/grid_types.hpp"

namespace gridctrl {

// The system's message font.
CellFont systemMessageFont();

struct DefaultCellMetrics {
    int margin = 3;
    int width = 40;
    int height = 16;
};

// Margin: one blank; width: " XXXXXXXXXXXX "; height: 3/2 of that text's
// height, all measured on the screen with `font`.
DefaultCellMetrics measureDefaultCell(const CellFont& font);

} // namespace gridctrl

namespace gridctrl {

enum class SystemColour {
    windowText,
    window,
    buttonFace,
    buttonShadow,
    highlight,
    highlightText,
    highlight3d,
    darkShadow3d,
    shadow3d,
    infoBackground,
    infoText,
};

// The system colour now (fixed values without a running toolkit).
COLORREF systemColour(SystemColour which);

} // namespace gridctrl
