#pragma once
// The mark by which the family's programs know each other's top windows on
// an X11 desktop: a window property that a window of the family carries and
// no other program's window does, so that a window whose title merely holds
// a program's name is never taken for that program.

class wxTopLevelWindow;

// The property's name; its type is CARDINAL, its one value 1.
inline constexpr const char* familyWindowProperty = "_TARNWELL_FAMILY_WINDOW";

// Puts the mark on `window`'s X11 window, now or, when it has none yet, as
// soon as it gets one. Nothing on a desktop that is not X11.
void markAsFamilyWindow(wxTopLevelWindow& window);
