// Each search opens a connection of its own to the X server, so that the
// toolkit's connection and its queue of events are never disturbed, and
// closes it again: a search happens once per command, not in a loop.

#include "shell/desktop_windows.hpp"

#include "shell/family_window_mark.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <wx/utils.h>

#include <optional>
#include <unistd.h>
#include <vector>

namespace {

class NoWindowSearch : public DesktopWindows {
public:
    WindowSearch raiseWindowTitled(const std::string&, bool) override {
        return WindowSearch::unavailable;
    }
};

// A window may go away between the listing and the question about it: its
// errors are expected and ignored, instead of ending the program as Xlib's
// own handler would.
int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

// One property of a window as Xlib returns it; `items` counts its elements.
class Property {
public:
    Property(Display* display, Window window, Atom name, Atom type) {
        Atom actualType = None;
        int format = 0;
        unsigned long after = 0;
        constexpr long longestRead = 1L << 16; // in 32-bit units
        if (XGetWindowProperty(display, window, name, 0, longestRead, False, type, &actualType,
                               &format, &items_, &after, &data_) != Success ||
            actualType != type) {
            items_ = 0;
            format_ = 0;
            return;
        }
        format_ = format;
    }
    ~Property() {
        if (data_ != nullptr)
            XFree(data_);
    }
    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;

    bool present() const { return data_ != nullptr && format_ != 0; }
    // A 32-bit property reaches the client as an array of longs.
    std::vector<unsigned long> longs() const {
        if (!present() || format_ != 32)
            return {};
        const auto* values = reinterpret_cast<const unsigned long*>(data_);
        return std::vector<unsigned long>(values, values + items_);
    }
    std::string text() const {
        if (!present() || format_ != 8)
            return {};
        return std::string(reinterpret_cast<const char*>(data_), items_);
    }

private:
    unsigned char* data_ = nullptr;
    unsigned long items_ = 0;
    int format_ = 0;
};

Atom atom(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

// The window manager's list of the windows it manages; without one, the
// root window's children that are on the screen.
std::vector<Window> topLevelWindows(Display* display) {
    const Window root = DefaultRootWindow(display);
    const Property clients(display, root, atom(display, "_NET_CLIENT_LIST"), XA_WINDOW);
    std::vector<Window> windows;
    if (clients.present()) {
        for (unsigned long window : clients.longs())
            windows.push_back(static_cast<Window>(window));
        return windows;
    }
    Window rootReturn = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &count) == 0)
        return windows;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable)
            windows.push_back(children[i]);
    }
    if (children != nullptr)
        XFree(children);
    return windows;
}

// The title a window manager shows: _NET_WM_NAME (UTF-8), else WM_NAME.
std::string windowTitle(Display* display, Window window) {
    const Property name(display, window, atom(display, "_NET_WM_NAME"),
                        atom(display, "UTF8_STRING"));
    if (name.present())
        return name.text();
    char* legacy = nullptr;
    if (XFetchName(display, window, &legacy) == 0 || legacy == nullptr)
        return {};
    std::string text = legacy;
    XFree(legacy);
    return text;
}

// This program's own windows are never the family program searched for,
// whatever the open project is called.
bool ownWindow(Display* display, Window window) {
    const Property pid(display, window, atom(display, "_NET_WM_PID"), XA_CARDINAL);
    const std::vector<unsigned long> values = pid.longs();
    return !values.empty() && values.front() == static_cast<unsigned long>(::getpid());
}

// Mapped and raised for a desktop without a window manager (or one that
// honours those requests), and asked of the window manager as a user's
// request to activate it, which also brings it back from an icon.
void bringToFront(Display* display, Window window) {
    XMapRaised(display, window);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = atom(display, "_NET_ACTIVE_WINDOW");
    event.xclient.format = 32;
    constexpr long userRequest = 2;
    event.xclient.data.l[0] = userRequest;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

// A window of the family answers the family's probe: it carries the mark.
bool familyWindow(Display* display, Window window) {
    const Property mark(display, window, atom(display, familyWindowProperty), XA_CARDINAL);
    const std::vector<unsigned long> values = mark.longs();
    return !values.empty() && values.front() != 0;
}

std::optional<Window> windowTitled(Display* display, const std::string& title, bool marked) {
    for (Window window : topLevelWindows(display))
        if (windowTitle(display, window).find(title) != std::string::npos &&
            !ownWindow(display, window) && (!marked || familyWindow(display, window)))
            return window;
    return std::nullopt;
}

class X11Windows : public DesktopWindows {
public:
    explicit X11Windows(std::string displayName) : displayName_(std::move(displayName)) {}

    WindowSearch raiseWindowTitled(const std::string& title, bool marked) override {
        Display* display = XOpenDisplay(displayName_.empty() ? nullptr : displayName_.c_str());
        if (display == nullptr)
            return WindowSearch::unavailable;
        const auto previousHandler = XSetErrorHandler(ignoreError);
        const std::optional<Window> window = windowTitled(display, title, marked);
        if (window)
            bringToFront(display, *window);
        XSync(display, False);
        XSetErrorHandler(previousHandler);
        XCloseDisplay(display);
        return window ? WindowSearch::raised : WindowSearch::notFound;
    }

private:
    std::string displayName_;
};

} // namespace

std::unique_ptr<DesktopWindows> x11DesktopWindows(const std::string& displayName) {
    return std::make_unique<X11Windows>(displayName);
}

std::unique_ptr<DesktopWindows> waylandDesktopWindows() {
    return std::make_unique<NoWindowSearch>();
}

std::unique_ptr<DesktopWindows> toolkitDesktopWindows() {
    const wxDisplayInfo shown = wxGetDisplayInfo();
    if (shown.type != wxDisplayX11 || shown.dpy == nullptr)
        return waylandDesktopWindows();
    return x11DesktopWindows(DisplayString(static_cast<Display*>(shown.dpy)));
}
