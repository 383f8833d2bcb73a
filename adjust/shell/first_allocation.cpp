#include "shell/first_allocation.hpp"

#include <wx/toplevel.h>

#include <gtk/gtk.h>

void allocateBeforeFirstShow(wxTopLevelWindow& window) {
    auto* widget = static_cast<GtkWidget*>(window.GetHandle());
    if (widget == nullptr || gtk_widget_get_realized(widget))
        return;
    GtkAllocation allocation;
    gtk_widget_get_allocation(widget, &allocation);
    // GTK's allocation of a widget never allocated is 1 x 1.
    if (allocation.width > 1 || allocation.height > 1)
        return;
    const wxSize size = window.GetSize();
    allocation = {0, 0, size.x, size.y};
    gtk_widget_set_allocation(widget, &allocation);
}
