#include "shell/family_window_mark.hpp"

#include <wx/toplevel.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace {

void markRealized(GtkWidget* widget) {
    GdkWindow* window = gtk_widget_get_window(widget);
    if (window == nullptr || !GDK_IS_X11_WINDOW(window))
        return;
    Display* display = gdk_x11_display_get_xdisplay(gdk_window_get_display(window));
    const long marked = 1;
    XChangeProperty(display, gdk_x11_window_get_xid(window),
                    XInternAtom(display, familyWindowProperty, False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&marked), 1);
    XFlush(display);
}

void onRealize(GtkWidget* widget, gpointer) {
    markRealized(widget);
}

} // namespace

void markAsFamilyWindow(wxTopLevelWindow& window) {
    auto* widget = static_cast<GtkWidget*>(window.GetHandle());
    if (widget == nullptr)
        return;
    if (gtk_widget_get_realized(widget))
        markRealized(widget);
    else
        g_signal_connect(widget, "realize", G_CALLBACK(onRealize), nullptr);
}
