#pragma once
// The client area of a graphics window: it paints the network through the
// view, and turns the mouse and the tool bar's commands into pans, zooms and
// picks. A picked point's name goes to the main window as a command event.

#include "vistra/graph_settings.hpp"
#include "vistra/graph_window.hpp"
#include "vistra/sheet/graph_settings_sheet.hpp"
#include "vistra/view_transform.hpp"

#include <optional>
#include <string>

#include <wx/window.h>

// The tool bar's commands, in the order the tool bar shows them.
enum graphCommand {
    commandPan = 32800,
    commandZoomIn = 32801,
    commandZoomOut = 32802,
    commandSettings = 32803,
    commandZoomExtents = 32804,
    commandZoomWindow = 32809,
    commandRefresh = 32810,
    commandPickPoint = 32811,
};

// Command ids of the events the main window receives: a point was picked
// (the name in the event's string, the owner cookie in its int), and the
// window closed.
inline constexpr int graphPointPicked = 1324;
inline constexpr int graphWindowClosed = 1325;

class GraphCanvas : public wxWindow, public graphSettingsTarget {
public:
    GraphCanvas(wxWindow* parent, GraphWindowState& state, wxWindow* owner);

    void runCommand(int command);
    // After the model was rebuilt: modes cancelled, all repainted.
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

    void updateEllipseScale();
    void updateCursor();
    void pick(devicePoint at);
    void reportPick(const std::string& name);
    void drawZoomFrame(wxDC& dc) const;

    GraphWindowState& state_;
    wxWindow* owner_;
    viewTransform view_;
    std::optional<double> ellipseScale_;
    bool viewSet_ = false;
};
