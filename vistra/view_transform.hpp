#pragma once
// The mapping from ground coordinates to the graphics window and the pan,
// zoom and zoom-window interaction that changes it. Ground x is the easting
// and ground y the northing, so the network shows north up and east right,
// and one scale serves both axes, so the network keeps its shape on the
// screen: a square on the ground is a square in the window.

#include <optional>
#include <span>

struct devicePoint {
    int x = 0;
    int y = 0;
};

struct groundPoint {
    double east = 0.0;
    double north = 0.0;
};

// The ground point `centre` lies at the pixel `origin`; one ground unit is
// `pixelsPerUnit` pixels along either axis.
struct viewMapping {
    double pixelsPerUnit = 1.0;
    groundPoint centre;
    devicePoint origin;

    bool operator==(const viewMapping& other) const {
        return pixelsPerUnit == other.pixelsPerUnit && centre.east == other.centre.east &&
               centre.north == other.centre.north && origin.x == other.origin.x &&
               origin.y == other.origin.y;
    }
};

// How far a drawn item reaches from its ground point, in pixels: a symbol
// reaches round it, a label to the right of it and below it. Left and top are
// zero or negative.
struct pixelReach {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct placedItem {
    groundPoint at;
    pixelReach reach;
};

// Room kept free round the fitted picture, in pixels.
inline constexpr int zoomExtentsMargin = 12;
// The network's larger side is never zoomed beyond this many pixels: far
// past any detail worth seeing, and still well inside the pixel range the
// toolkit draws a line in (it turns lines that reach millions of pixels
// away the wrong way).
inline constexpr double largestNetworkPixels = 1 << 20;

// A line on the screen, in pixels.
struct deviceSegment {
    devicePoint from;
    devicePoint to;
};

class viewTransform {
public:
    // The network's extents: its larger side decides the smallest view
    // (zoom out stops, and picking and drawing stop, when it shrinks to a
    // pixel or two). A network along a line keeps the side it had.
    void setExtents(double minN, double minE, double maxN, double maxE);
    // The largest scale at which every item, with its reach, lies inside the
    // client area less `zoomExtentsMargin` on every side, centred. Items
    // whose pixel reach alone is wider than the window are fitted by their
    // ground points. Without items the view stays as it is.
    void zoomExtents(std::span<const placedItem> items, int width, int height);
    // The ground point in the middle of the client area stays in the middle.
    void resize(int width, int height);

    // Doubles the scale, up to `largestNetworkPixels`; returns whether it
    // zoomed.
    bool zoomIn();
    // Nothing once the network is smaller than two pixels; returns whether
    // it zoomed.
    bool zoomOut();

    // Pan: arm, press, moves, release. Each step moves the origin.
    void armPan();
    void pressPan(devicePoint at);
    void movePan(devicePoint at);
    void releasePan(devicePoint at);

    // Zoom window: arm, first corner, moving corner, second corner. The whole
    // box fills the client area at one scale (up to `largestNetworkPixels`);
    // a box with no width or no height leaves the view as it was.
    void armZoomWindow();
    void pressZoomWindow(devicePoint at, int width, int height);
    void moveZoomWindow(devicePoint at);

    void cancelModes();
    // Escape or a right release: cancels only while a pan is armed or running.
    void cancelPan();

    devicePoint toDevice(double east, double north) const;
    groundPoint toGround(devicePoint at) const;
    // The part of the ground line from `a` to `b` that crosses the client
    // area of `width` x `height` pixels (grown by a pixel on every side, so
    // that lines along its edges still show); none when the line misses it.
    std::optional<deviceSegment> clippedLine(groundPoint a, groundPoint b, int width,
                                             int height) const;

    const viewMapping& mapping() const { return mapping_; }
    // The network's larger side on the screen, in pixels.
    double networkPixels() const { return mapping_.pixelsPerUnit * networkSide_; }
    int panState() const { return panState_; }
    int zoomWindowState() const { return zoomState_; }
    devicePoint firstCorner() const { return firstCorner_; }
    devicePoint movingCorner() const { return movingCorner_; }
    // Picking is possible in the rest state with the network over a pixel.
    bool atRest() const { return panState_ == 0 && zoomState_ == 0; }
    bool canPick() const;

private:
    void stepPan(devicePoint at);
    void zoomToBox(devicePoint second, int width, int height);
    double largestScale() const { return largestNetworkPixels / networkSide_; }

    viewMapping mapping_;
    double networkSide_ = 1.0;
    devicePoint client_; // the client size last given
    int panState_ = 0;
    int zoomState_ = 0;
    devicePoint lastPan_;
    devicePoint firstCorner_;
    devicePoint movingCorner_;
};
