// A stand-in for a family program's window, started by the tests: one
// top-level window on the X server of $DISPLAY, titled by the first argument
// (as _NET_WM_NAME in UTF-8 and as WM_NAME) and, when the second argument is
// "marked", carrying the family's mark as the family's programs set it (the
// property _TARNWELL_FAMILY_WINDOW, CARDINAL 1); without it the window plays
// any other program's. Once the window is on the screen
// it writes its window id and a line feed to its standard output; it ends
// when its standard input closes.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3)
        return 2;
    const bool marked = argc == 3 && std::strcmp(argv[2], "marked") == 0;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return 1;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 20, 20, 240, 120,
                                              0, 0, WhitePixel(display, 0));
    const char* title = argv[1];
    XStoreName(display, window, title);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title),
                    static_cast<int>(std::strlen(title)));
    if (marked) {
        const long one = 1;
        XChangeProperty(display, window, XInternAtom(display, "_TARNWELL_FAMILY_WINDOW", False),
                        XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&one), 1);
    }
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent event{}; event.type != MapNotify;)
        XNextEvent(display, &event);
    std::printf("%lu\n", window);
    std::fflush(stdout);
    char byte = 0;
    while (::read(STDIN_FILENO, &byte, 1) > 0) {
    }
    XCloseDisplay(display);
    return 0;
}
