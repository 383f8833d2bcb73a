#pragma once
// The desktop program's own values in the user profile: the main window's
// placement (section "MainWindow") and the program options (section
// "Version 1.00", beside the project defaults). Nothing here needs a window.

#include "platform/profile_store.hpp"
#include "platform/shell_services.hpp"

#include <string>
#include <vector>

class globalVars;

inline constexpr const char* mainWindowSection = "MainWindow";

// The window's show state as the profile keeps it.
enum ShowCommand : int {
    showNormal = 1,
    showMinimized = 2,
    showMaximized = 3,
    showMinimize = 6,
};

// Position and size of the window when it is neither maximised nor
// minimised, in screen pixels, and how it was shown.
struct WindowPlacement {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    int show = showNormal;
};

// The saved placement. Missing values: X and Y 0, CX and CY two thirds of the
// screen's client width and height (integer division), SHOW 1. A window
// saved minimised (SHOW 2 or 6) opens normally.
WindowPlacement readWindowPlacement(const platform::ProfileStore& profile, int screenWidth,
                                    int screenHeight);
void writeWindowPlacement(platform::ProfileStore& profile, const WindowPlacement& placement);

// Program options and their defaults: MRUProject "" (returned),
// blunderIterations 4, blunderFloatShoTtl 5, blunderFloatShoType 0,
// blunderMethod 0, blunderProximity 0.1 (a text read as a number),
// ShowStartUPDialog 1, useVkTool 1; all but MRUProject go to `settings`. A
// value that is not wholly a number (a whole one but for the proximity)
// keeps its default and is named in `refusals` (profileRefusal).
std::string readProgramOptions(const platform::ProfileStore& profile, globalVars& settings,
                               std::vector<std::string>& refusals);
// The recent projects behind MRUProject, newest first: MRUProject2 to
// MRUProject4 (the empty ones left out).
std::vector<std::string> readOlderRecentProjects(const platform::ProfileStore& profile);
// Stores the projects of `recent` (newest first) other than the one
// MRUProject holds as MRUProject2 to MRUProject4, clearing the rest.
void writeOlderRecentProjects(platform::ProfileStore& profile,
                              const std::vector<std::string>& recent);
// Writes the options; MRUProject only when `openProjectFile` is not empty.
// blunderProximity is written with the fewest digits that read back as the
// same number (a fraction of a millimetre does not come back as 0).
void writeProgramOptions(platform::ProfileStore& profile, const globalVars& settings,
                         const std::string& openProjectFile);

// Tells the user, in one message as a refused project value is told, which
// profile values gave way to their built-in defaults; nothing when none did.
void tellProfileRefusals(ShellServices& shell, const std::vector<std::string>& refusals);
