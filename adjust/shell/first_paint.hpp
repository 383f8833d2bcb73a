#pragma once
// Waiting for a window to be drawn: a window is on the screen once it has
// painted, which under a window manager is only after the manager has
// taken its top-level window in.

#include <chrono>

class wxWindow;

// Asks `window` to paint and runs the waiting events until it has, or until
// `patience` has passed: true when it painted.
bool waitUntilDrawn(wxWindow* window, std::chrono::milliseconds patience);
