#include "vistra/view_transform.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace {

// One axis of the fit, in screen direction: where each item's point lies
// (ground units, from the first item), and how far it reaches either way.
struct axisItem {
    double ground;
    int low;
    int high;
};

struct axisSpan {
    double low;
    double high;
};

// What the items cover along the axis, in pixels, at `scale` pixels per unit.
axisSpan coverAt(const std::vector<axisItem>& items, double scale) {
    axisSpan span{std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest()};
    for (const axisItem& item : items) {
        span.low = std::min(span.low, scale * item.ground + item.low);
        span.high = std::max(span.high, scale * item.ground + item.high);
    }
    return span;
}

double widthAt(const std::vector<axisItem>& items, double scale) {
    const axisSpan span = coverAt(items, scale);
    return span.high - span.low;
}

double groundSide(const std::vector<axisItem>& items) {
    const auto [low, high] =
        std::minmax_element(items.begin(), items.end(), [](const axisItem& a, const axisItem& b) {
            return a.ground < b.ground;
        });
    return high->ground - low->ground;
}

// The largest scale at which the axis needs no more than `room` pixels; none
// when the axis has no ground extent, as then any scale fits it.
std::optional<double> largestScaleAlong(const std::vector<axisItem>& items, double room) {
    const double side = groundSide(items);
    if (!(side > 0.0))
        return std::nullopt;
    return room / side;
}

struct fitAxes {
    std::vector<axisItem> across; // east, to the right
    std::vector<axisItem> down;   // north, upwards: its ground runs the other way
};

fitAxes axesOf(std::span<const placedItem> items, bool withReach) {
    fitAxes axes;
    const groundPoint first = items.front().at;
    for (const placedItem& item : items) {
        const pixelReach r = withReach ? item.reach : pixelReach{};
        axes.across.push_back(
            {item.at.east - first.east, std::min(r.left, 0), std::max(r.right, 0)});
        axes.down.push_back(
            {first.north - item.at.north, std::min(r.top, 0), std::max(r.bottom, 0)});
    }
    return axes;
}

bool fits(const fitAxes& axes, double scale, double roomAcross, double roomDown) {
    return widthAt(axes.across, scale) <= roomAcross && widthAt(axes.down, scale) <= roomDown;
}

// The largest scale at which both axes fit, found by halving: the width an
// axis needs grows without end and bends only upwards with the scale, so
// the scales that fit run from 0 to the one sought.
std::optional<double> fittingScale(const fitAxes& axes, double roomAcross, double roomDown) {
    const std::optional<double> across = largestScaleAlong(axes.across, roomAcross);
    const std::optional<double> down = largestScaleAlong(axes.down, roomDown);
    if (!across && !down)
        return std::nullopt;
    double high = std::min(across.value_or(std::numeric_limits<double>::max()),
                           down.value_or(std::numeric_limits<double>::max()));
    if (fits(axes, high, roomAcross, roomDown))
        return high;
    double low = 0.0;
    for (int i = 0; i < 60; ++i) {
        const double middle = 0.5 * (low + high);
        if (fits(axes, middle, roomAcross, roomDown))
            low = middle;
        else
            high = middle;
    }
    return low;
}

double middleOf(const std::vector<axisItem>& items, double scale) {
    const axisSpan span = coverAt(items, scale);
    return 0.5 * (span.low + span.high) / scale;
}

} // namespace

void viewTransform::setExtents(double minN, double minE, double maxN, double maxE) {
    const double side = std::max(maxE - minE, maxN - minN);
    if (side > 0.0)
        networkSide_ = side;
}

void viewTransform::zoomExtents(std::span<const placedItem> items, int width, int height) {
    cancelModes();
    if (items.empty() || width < 1 || height < 1)
        return;
    const double roomAcross = std::max(width - 2 * zoomExtentsMargin, 1);
    const double roomDown = std::max(height - 2 * zoomExtentsMargin, 1);
    fitAxes axes = axesOf(items, true);
    if (!fits(axes, 0.0, roomAcross, roomDown))
        axes = axesOf(items, false);
    const double scale = fittingScale(axes, roomAcross, roomDown).value_or(mapping_.pixelsPerUnit);
    if (!(scale > 0.0))
        return;
    const groundPoint first = items.front().at;
    mapping_.pixelsPerUnit = scale;
    mapping_.centre = {first.east + middleOf(axes.across, scale),
                       first.north - middleOf(axes.down, scale)};
    mapping_.origin = {width / 2, height / 2};
    client_ = {width, height};
}

void viewTransform::resize(int width, int height) {
    if (width < 1 || height < 1)
        return;
    if (client_.x > 0 && client_.y > 0)
        mapping_.centre = toGround({client_.x / 2, client_.y / 2});
    mapping_.origin = {width / 2, height / 2};
    client_ = {width, height};
}

bool viewTransform::zoomIn() {
    const double scale = std::min(2.0 * mapping_.pixelsPerUnit, largestScale());
    if (!(scale > mapping_.pixelsPerUnit))
        return false;
    cancelModes();
    mapping_.pixelsPerUnit = scale;
    return true;
}

bool viewTransform::zoomOut() {
    if (networkPixels() < 2.0)
        return false;
    cancelModes();
    mapping_.pixelsPerUnit /= 2.0;
    return true;
}

void viewTransform::armPan() {
    cancelModes();
    panState_ = 1;
}

void viewTransform::pressPan(devicePoint at) {
    if (panState_ != 1)
        return;
    lastPan_ = at;
    panState_ = 2;
}

void viewTransform::stepPan(devicePoint at) {
    mapping_.origin.x += at.x - lastPan_.x;
    mapping_.origin.y += at.y - lastPan_.y;
    lastPan_ = at;
}

void viewTransform::movePan(devicePoint at) {
    if (panState_ == 2)
        stepPan(at);
}

void viewTransform::releasePan(devicePoint at) {
    if (panState_ != 2)
        return;
    stepPan(at);
    armPan();
}

void viewTransform::armZoomWindow() {
    cancelModes();
    zoomState_ = 1;
}

void viewTransform::pressZoomWindow(devicePoint at, int width, int height) {
    if (zoomState_ == 1) {
        firstCorner_ = at;
        movingCorner_ = at;
        zoomState_ = 2;
    } else if (zoomState_ == 2) {
        zoomToBox(at, width, height);
    }
}

void viewTransform::moveZoomWindow(devicePoint at) {
    if (zoomState_ == 2)
        movingCorner_ = at;
}

void viewTransform::zoomToBox(devicePoint second, int width, int height) {
    zoomState_ = 0;
    const int boxWidth = std::abs(second.x - firstCorner_.x);
    const int boxHeight = std::abs(second.y - firstCorner_.y);
    if (boxWidth == 0 || boxHeight == 0 || width < 1 || height < 1)
        return;
    const devicePoint middle{(firstCorner_.x + second.x) / 2, (firstCorner_.y + second.y) / 2};
    mapping_.centre = toGround(middle);
    mapping_.origin = {width / 2, height / 2};
    client_ = {width, height};
    mapping_.pixelsPerUnit =
        std::min(mapping_.pixelsPerUnit * std::min(static_cast<double>(width) / boxWidth,
                                                   static_cast<double>(height) / boxHeight),
                 std::max(largestScale(), mapping_.pixelsPerUnit));
}

void viewTransform::cancelModes() {
    panState_ = 0;
    zoomState_ = 0;
}

void viewTransform::cancelPan() {
    if (panState_ != 0)
        cancelModes();
}

bool viewTransform::canPick() const {
    return atRest() && networkPixels() > 1.0;
}

// Liang and Barsky's clipping: the line is a + t (b - a) for t in [0, 1];
// each side of the rectangle cuts off the values of t beyond it.
std::optional<deviceSegment> viewTransform::clippedLine(groundPoint a, groundPoint b, int width,
                                                        int height) const {
    const viewMapping& m = mapping_;
    const double x0 = m.origin.x + (a.east - m.centre.east) * m.pixelsPerUnit;
    const double y0 = m.origin.y - (a.north - m.centre.north) * m.pixelsPerUnit;
    const double dx = (b.east - a.east) * m.pixelsPerUnit;
    const double dy = -(b.north - a.north) * m.pixelsPerUnit;
    const double low[2] = {-1.0, -1.0};
    const double high[2] = {width + 1.0, height + 1.0};
    double tEnter = 0.0;
    double tLeave = 1.0;
    const double start[2] = {x0, y0};
    const double step[2] = {dx, dy};
    for (int axis = 0; axis < 2; ++axis) {
        if (step[axis] == 0.0) {
            if (start[axis] < low[axis] || start[axis] > high[axis])
                return std::nullopt;
            continue;
        }
        double tLow = (low[axis] - start[axis]) / step[axis];
        double tHigh = (high[axis] - start[axis]) / step[axis];
        if (tLow > tHigh)
            std::swap(tLow, tHigh);
        tEnter = std::max(tEnter, tLow);
        tLeave = std::min(tLeave, tHigh);
    }
    if (!(tEnter <= tLeave))
        return std::nullopt;
    const auto pixel = [&](double t) {
        return devicePoint{static_cast<int>(std::lround(x0 + t * dx)),
                           static_cast<int>(std::lround(y0 + t * dy))};
    };
    return deviceSegment{pixel(tEnter), pixel(tLeave)};
}

devicePoint viewTransform::toDevice(double east, double north) const {
    const viewMapping& m = mapping_;
    const double x = m.origin.x + (east - m.centre.east) * m.pixelsPerUnit;
    const double y = m.origin.y - (north - m.centre.north) * m.pixelsPerUnit;
    return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

groundPoint viewTransform::toGround(devicePoint at) const {
    const viewMapping& m = mapping_;
    return {m.centre.east + (at.x - m.origin.x) / m.pixelsPerUnit,
            m.centre.north - (at.y - m.origin.y) / m.pixelsPerUnit};
}
