#pragma once
// A dialog window put back where the user last left it, and its place kept
// again (the stores are those of ptbank/dialog_positions.hpp). The place is
// always brought onto a display that exists now, so a dialog last seen on a
// screen since removed never opens out of sight.

#include "ptbank/dialog_positions.hpp"

class wxWindow;

namespace ptbank {

// Keeps the window's rectangle and maximised state in the store.
void saveDialogPos(const DialogPositionStore& store, const wxWindow& window);

// Moves the window (keeping its size) to the remembered corner, brought
// onto the displays: true when it was moved, false when the store gave no
// place (it stays where it is).
bool restoreDialogPos(const DialogPositionStore& store, wxWindow& window);

// The usable areas of the displays connected now.
std::vector<ScreenArea> displayAreas();

} // namespace ptbank
