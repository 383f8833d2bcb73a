#pragma once
// The mapping from ground coordinates to the graphics window and the pan,
// zoom and zoom-window interaction that changes it. Ground x is the easting
// and ground y the northing, so the network shows north up and east right;
// the two axes scale independently so the drawing fills the window.

struct devicePoint {
    int x = 0;
    int y = 0;
};

struct groundPoint {
    double east = 0.0;
    double north = 0.0;
};

// The window (ground) and viewport (pixel) extents and origins.
struct viewMapping {
    int windowExtentX = 1;
    int windowExtentY = 1;
    int windowOriginX = 0;
    int windowOriginY = 0;
    int viewportExtentX = 1;
    int viewportExtentY = -1; // negative: the northing grows upwards
    int viewportOriginX = 0;
    int viewportOriginY = 0;

    bool operator==(const viewMapping&) const = default;
};

class viewTransform {
public:
    // The window extent and origin come from the network's extents.
    void setExtents(double minN, double minE, double maxN, double maxE);
    // The first view of a new window of the given client size.
    void setInitialView(int width, int height);
    // The whole network centred in the client area.
    void zoomExtents(int width, int height);
    // The viewport origin to the client centre.
    void resize(int width, int height);

    void zoomIn();
    // Nothing once the vertical scale is below 2; returns whether it zoomed.
    bool zoomOut();

    // Pan: arm, press, moves, release. Each step moves the viewport origin.
    void armPan();
    void pressPan(devicePoint at);
    void movePan(devicePoint at);
    void releasePan(devicePoint at);

    // Zoom window: arm, first corner, moving corner, second corner. A box
    // with no width or no height leaves the view as it was.
    void armZoomWindow();
    void pressZoomWindow(devicePoint at, int width, int height);
    void moveZoomWindow(devicePoint at);

    void cancelModes();
    // Escape or a right release: cancels only while a pan is armed or running.
    void cancelPan();

    devicePoint toDevice(double east, double north) const;
    groundPoint toGround(devicePoint at) const;

    const viewMapping& mapping() const { return mapping_; }
    int panState() const { return panState_; }
    int zoomWindowState() const { return zoomState_; }
    devicePoint firstCorner() const { return firstCorner_; }
    devicePoint movingCorner() const { return movingCorner_; }
    // Picking is possible in the rest state with a usable vertical scale.
    bool atRest() const { return panState_ == 0 && zoomState_ == 0; }
    bool canPick() const;

private:
    void stepPan(devicePoint at);
    void zoomToBox(devicePoint second, int width, int height);

    viewMapping mapping_;
    int panState_ = 0;
    int zoomState_ = 0;
    devicePoint lastPan_;
    devicePoint firstCorner_;
    devicePoint movingCorner_;
};
