#pragma once
// The top-level windows of other programs on the user's desktop: found by
// their title (and, for the family's programs, the family's mark) and
// brought to the front, so that a family program already open (however it
// was started) is shown instead of started again. Only an X11 desktop lets
// one program see and raise another's windows; a Wayland desktop keeps them
// to itself.

#include <memory>
#include <string>

enum class WindowSearch {
    raised,      // a window with that title was found and asked to come to the front
    notFound,    // no top-level window's title holds the text (with the mark asked for)
    unavailable, // this desktop does not let programs search each other's windows
};

class DesktopWindows {
public:
    virtual ~DesktopWindows() = default;
    // Brings the first top-level window whose title holds `title` to the
    // front; with `marked`, only a window that carries the family's mark
    // (family_window_mark.hpp) counts.
    virtual WindowSearch raiseWindowTitled(const std::string& title, bool marked) = 0;
};

// The desktop the toolkit shows its windows on: the X server's windows when
// that is X11 (the window manager's client list, else the root window's
// children where no window manager keeps one), otherwise one whose every
// search is `unavailable`.
std::unique_ptr<DesktopWindows> toolkitDesktopWindows();

// The windows of the X server `displayName` ("" for $DISPLAY); a server
// that cannot be reached makes every search `unavailable`.
std::unique_ptr<DesktopWindows> x11DesktopWindows(const std::string& displayName);

// A desktop that keeps each program's windows to itself (Wayland): every
// search is `unavailable`.
std::unique_ptr<DesktopWindows> waylandDesktopWindows();
