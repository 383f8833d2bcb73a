#pragma once
// The client area of a graphics window: it paints the network through the
// view, and turns the mouse and the tool bar's commands into pans, zooms and
// picks. A picked point's name shows in the window's status bar and goes to
// the main window as a command event; the status bar also shows the scale
// of the error ellipses.

#include "vistra/draw/network_drawing.hpp"
#include "vistra/graph_commands.hpp"
#include "vistra/graph_settings.hpp"
#include "vistra/graph_window.hpp"
#include "vistra/sheet/graph_settings_sheet.hpp"
#include "vistra/view_transform.hpp"

#include <optional>
#include <string>

#include <wx/window.h>

class wxStatusBar;

class GraphCanvas : public wxWindow, public graphSettingsTarget {
public:
    // `status` (may be null) is the window's status bar.
    GraphCanvas(wxWindow* parent, GraphWindowState& state, wxWindow* owner, wxStatusBar* status);

    void runCommand(int command);
    // After the model was rebuilt: modes cancelled, the whole network fitted
    // again while the user had not zoomed or panned, all repainted.
    void pictureRebuilt();

    // The settings sheet's side: the settings are taken and drawn at once.
    const graphSettings& drawingSettings() const override { return settings; }
    void takeSettings(const graphSettings& values) override;
    bool hasErrorEllipses() const override { return !state_.ellipses().empty(); }

    graphSettings settings;
    const viewTransform& view() const { return view_; }

private:
    void onPaint(wxPaintEvent& event);
    void onSize(wxSizeEvent& event);
    void onLeftDown(wxMouseEvent& event);
    void onMotion(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onRightUp(wxMouseEvent& event);
    void onChar(wxKeyEvent& event);

    networkPicture picture() const;
    // Every symbol and label in the client area of `size`.
    void fitView(wxSize size);
    void updateEllipseScale();
    void showEllipseScale();
    void updateCursor();
    void pick(devicePoint at);
    void reportPick(const std::string& name);
    void drawZoomFrame(wxDC& dc) const;

    GraphWindowState& state_;
    wxWindow* owner_;
    wxStatusBar* status_;
    viewTransform view_;
    std::optional<double> ellipseScale_;
    bool fitted_ = true; // the view shows the whole network: a new size fits it again
};
