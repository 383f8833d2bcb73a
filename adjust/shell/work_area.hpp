#pragma once
// Top-level windows inside the part of the screen that windows may use (the
// work area: the display less its panels and docks), so that no button or
// heading of a window starts out of reach.

#include <wx/gdicmn.h>

class wxTopLevelWindow;

// `window` (screen pixels) moved, and shrunk where it is larger, so that
// all of it lies inside `area`: a window that fits keeps its size and moves
// no further than it must.
wxRect placedInside(const wxRect& window, const wxRect& area);

// Places `window` inside the work area of the display it is on (the first
// display when it is on none).
void keepInsideWorkArea(wxTopLevelWindow& window);
