#include "vistra/view_transform.hpp"

#include <cmath>
#include <cstdlib>

void viewTransform::setExtents(double minN, double minE, double maxN, double maxE) {
    int extentX = static_cast<int>(std::trunc(maxE - minE));
    int extentY = static_cast<int>(std::trunc(maxN - minN));
    // A network along one line keeps the previous extent on the flat axis.
    if (extentX != 0)
        mapping_.windowExtentX = extentX;
    if (extentY != 0)
        mapping_.windowExtentY = extentY;
    mapping_.windowOriginX = static_cast<int>(std::trunc((minE + maxE) * 0.5));
    mapping_.windowOriginY = static_cast<int>(std::trunc((minN + maxN) * 0.5));
}

void viewTransform::setInitialView(int width, int height) {
    mapping_.viewportExtentX = width;
    mapping_.viewportExtentY = static_cast<int>(std::trunc(-0.75 * height));
    mapping_.viewportOriginX = width / 10;
    mapping_.viewportOriginY = height;
}

void viewTransform::zoomExtents(int width, int height) {
    mapping_.viewportExtentX = width;
    mapping_.viewportExtentY = static_cast<int>(std::trunc(-0.85 * height));
    mapping_.viewportOriginX = width / 2;
    mapping_.viewportOriginY = height / 2;
    cancelModes();
}

void viewTransform::resize(int width, int height) {
    if (width < 1 || height < 1)
        return;
    mapping_.viewportOriginX = width / 2;
    mapping_.viewportOriginY = height / 2;
}

void viewTransform::zoomIn() {
    cancelModes();
    mapping_.viewportExtentX *= 2;
    mapping_.viewportExtentY *= 2;
}

bool viewTransform::zoomOut() {
    if (std::abs(mapping_.viewportExtentY) < 2)
        return false;
    cancelModes();
    mapping_.viewportExtentX /= 2;
    mapping_.viewportExtentY /= 2;
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
    mapping_.viewportOriginX += at.x - lastPan_.x;
    mapping_.viewportOriginY += at.y - lastPan_.y;
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
    int boxWidth = std::abs(second.x - firstCorner_.x);
    int boxHeight = std::abs(second.y - firstCorner_.y);
    if (boxWidth == 0 || boxHeight == 0)
        return;
    devicePoint centre{(firstCorner_.x + second.x) / 2, (firstCorner_.y + second.y) / 2};
    groundPoint ground = toGround(centre);
    mapping_.windowOriginX = static_cast<int>(std::trunc(ground.east));
    mapping_.windowOriginY = static_cast<int>(std::trunc(ground.north));
    mapping_.viewportOriginX = width / 2;
    mapping_.viewportOriginY = height / 2;
    mapping_.viewportExtentX = static_cast<int>(
        std::trunc(static_cast<double>(width) / boxWidth * mapping_.viewportExtentX));
    mapping_.viewportExtentY = static_cast<int>(
        std::trunc(static_cast<double>(height) / boxHeight * mapping_.viewportExtentY));
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
    return atRest() && std::abs(mapping_.viewportExtentY) > 1;
}

devicePoint viewTransform::toDevice(double east, double north) const {
    const viewMapping& m = mapping_;
    double x = m.viewportOriginX + (std::trunc(east) - m.windowOriginX) * m.viewportExtentX /
                                       static_cast<double>(m.windowExtentX);
    double y = m.viewportOriginY + (std::trunc(north) - m.windowOriginY) * m.viewportExtentY /
                                       static_cast<double>(m.windowExtentY);
    return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

groundPoint viewTransform::toGround(devicePoint at) const {
    const viewMapping& m = mapping_;
    // A window with no client area yet has no scale: every pixel is the centre.
    if (m.viewportExtentX == 0 || m.viewportExtentY == 0)
        return {static_cast<double>(m.windowOriginX), static_cast<double>(m.windowOriginY)};
    double east = m.windowOriginX + (at.x - m.viewportOriginX) *
                                        static_cast<double>(m.windowExtentX) / m.viewportExtentX;
    double north = m.windowOriginY + (at.y - m.viewportOriginY) *
                                         static_cast<double>(m.windowExtentY) / m.viewportExtentY;
    return {east, north};
}
