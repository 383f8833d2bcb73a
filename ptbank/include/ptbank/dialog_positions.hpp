#pragma once
// Where the library's dialogs reopen: the top-left corner a dialog was last
// left at, kept per application key and dialog, either in the user profile
// (key "V & K Software Systems/<appKey>", section the dialog's name, values
// "X" and "Y") or as one line of a position text file that the caller names:
//
//     <dialog name>,<left>,<top>,<right>,<bottom>,<1 maximised, else 0>
//
// in screen pixels, CR LF line ends. Lines of other dialogs and programs
// share the file and are kept. Nothing here is reported to the user: a
// store that cannot be read leaves the dialog where the window system puts
// it. This is the arithmetic and the stores; moving a window is the
// dialogs' own business (ptbank/dialogs).

#include <optional>
#include <string>
#include <vector>

namespace ptbank {

// The dialog table of the profile store: the only dialog that remembers its place.
inline constexpr int overwriteDialogNumber = 180;
inline constexpr const char* overwriteDialogName = "VKOverwritePtsDlg";
// The corner given to a dialog number the table does not hold.
inline constexpr int unknownDialogLeft = 350;
inline constexpr int unknownDialogTop = 10;

// Where a dialog's position is kept.
struct DialogPositionStore {
    std::string appKey;
    int dialogNumber = overwriteDialogNumber;
    bool useProfile = true; // else the position text file
    std::string positionFile;
    std::string dialogName = overwriteDialogName;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// A rectangle in screen pixels: a window, or the usable area of a display.
struct ScreenArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The name the dialog table gives the number, or none.
std::optional<std::string> dialogNameOf(int dialogNumber);

// A whole-number value of the profile under appKey and section, or
// `fallback` when it cannot be read. An appKey holding a '/' or naming a
// folder ("." or "..") has no store.
int getRegDword(const std::string& appKey, const std::string& section, const std::string& valueName,
                int fallback);
// Sets the value; false (nothing written) when the profile cannot be written.
bool setRegDword(const std::string& appKey, const std::string& section,
                 const std::string& valueName, int value);

// Keeps the window's place. Profile: the window's left and top under the
// table's name of the dialog number (an unknown number keeps nothing). File:
// this dialog's line (every line that begins with its name is dropped) goes
// last; a file that exists but cannot be read is left alone.
void saveDialogPosition(const DialogPositionStore& store, const ScreenArea& window, bool maximised);

// The corner to move the dialog to, or none to leave it where it is.
// Profile: the saved corner, (0, 0) before the first save, (350, 10) for a
// dialog number the table does not hold. File: the left and top of the
// first line that begins with the dialog name and holds exactly five whole
// numbers after it; (0, 0) when no file exists at the path; none when the
// file cannot be read or the line is not well formed.
std::optional<ScreenPoint> restoredDialogCorner(const DialogPositionStore& store);

// The corner that puts a window of the size wholly on one display: the
// display that shows most of it at `corner` (when none does, the display
// nearest to the corner), the window shifted as little as it takes (its
// top-left kept visible when it is larger than the display). With no
// display the corner stays as it is.
ScreenPoint cornerOnDisplays(ScreenPoint corner, int width, int height,
                             const std::vector<ScreenArea>& displays);

} // namespace ptbank
