#pragma once
// The graphics window's tool bar commands, the command ids of the events it
// sends the main window, and the fields of its status bar.

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

// A point was picked (the name in the event's string, the owner cookie in
// its int), and the window closed.
inline constexpr int graphPointPicked = 1324;
inline constexpr int graphWindowClosed = 1325;

enum graphStatusField { pickedPointField, ellipseScaleField, graphStatusFieldCount };
