#pragma once
// The main window's menu bar and tool bar, with their command ids and texts.

#include <set>

#include <wx/string.h>

class wxMenuBar;
class wxToolBar;

wxMenuBar* buildMainMenu();

// Adds the buttons in their order: New, Open, Save | Print | standard error
// settings, Data Collector Transfer, Edit Raw Files | Network Adjustment,
// Inverse, Relative Error Ellipse, Graphics | About.
void buildMainToolBar(wxToolBar* toolBar);

// The ids of every command in the menus (submenus included) and on the tool bar.
std::set<int> commandIdsOf(wxMenuBar* menuBar, wxToolBar* toolBar);
