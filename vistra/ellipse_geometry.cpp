#include "vistra/ellipse_geometry.hpp"

#include "platform/c_locale_text.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
// The control-point distance of a cubic quarter circle, over the diameter.
constexpr double bezierKappaHalf = 0.2761423749154;
constexpr double tiny = 1e-15;
} // namespace

bezierEllipse ellipseToBezier(const pixelRect& box) {
    const int l = box.left;
    const int t = box.top;
    const int r = box.right;
    const int b = box.bottom;
    const int cx = (l + r) / 2;
    const int cy = (t + b) / 2;
    const int dx = static_cast<int>(std::trunc((r - l) * bezierKappaHalf));
    const int dy = static_cast<int>(std::trunc((b - t) * bezierKappaHalf));
    return {{{l, cy},
             {l, cy - dy},
             {cx - dx, t},
             {cx, t},
             {cx + dx, t},
             {r, cy - dy},
             {r, cy},
             {r, cy + dy},
             {cx + dx, b},
             {cx, b},
             {cx - dx, b},
             {l, cy + dy},
             {l, cy}}};
}

polarResult polarAngle(double a0, double a1, double b0, double b1) {
    const double u = b0 - a0;
    const double v = b1 - a1;
    polarResult result;
    result.distance = std::sqrt(u * u + v * v);
    const double pi = std::numbers::pi;
    if (std::abs(u) < tiny) {
        if (std::abs(v) >= tiny)
            result.angle = v > 0 ? pi / 2 : 3 * pi / 2;
        return result;
    }
    const double base = std::atan(v / u);
    if (u < 0)
        result.angle = pi + base;
    else
        result.angle = v >= 0 ? base : 2 * pi + base;
    return result;
}

void rotatePoints(double angle, devicePoint centre, std::span<devicePoint> points) {
    const double fullTurn = 2 * std::numbers::pi;
    for (devicePoint& point : points) {
        polarResult polar = polarAngle(centre.y, centre.x, point.y, point.x);
        double turned = polar.angle + angle;
        if (turned > fullTurn)
            turned -= fullTurn;
        point.x = static_cast<int>(std::trunc(std::sin(turned) * polar.distance + centre.x));
        point.y = static_cast<int>(std::trunc(std::cos(turned) * polar.distance + centre.y));
    }
}

double ellipseTurn(double orientation) {
    const double pi = std::numbers::pi;
    if (orientation > pi / 2 && orientation < 3 * pi / 2)
        return pi - orientation;
    return -orientation;
}

std::optional<double> computeEllipseScale(std::span<const ellipseAxes> ellipses, int clientWidth) {
    if (ellipses.empty())
        return 50.0;
    double largestMajor = 0.0;
    double largestMinor = 0.0;
    for (const ellipseAxes& e : ellipses) {
        largestMajor = std::max(largestMajor, e.semiMajor);
        largestMinor = std::max(largestMinor, e.semiMinor);
    }
    const double diagonal = std::hypot(largestMajor, largestMinor);
    if (!(diagonal > 0.0))
        return std::nullopt;
    return (1.0 / diagonal) * (clientWidth / 100.0);
}

double ellipsePixelsPerUnit(double scale, int size, double largestSemiMajor, int visibleReach) {
    if (size <= 0 || !(largestSemiMajor > 0.0))
        return 0.0;
    return std::max(size * scale, 2.0 * visibleReach / largestSemiMajor);
}

std::string ellipseScaleText(double pixelsPerUnit, std::string_view unit) {
    constexpr double widestPixels = 100.0;
    if (!(pixelsPerUnit > 0.0) || !std::isfinite(pixelsPerUnit))
        return {};
    const double decade = std::pow(10.0, std::floor(std::log10(widestPixels / pixelsPerUnit)));
    double length = decade;
    for (double step : {2.0, 5.0})
        if (step * decade * pixelsPerUnit <= widestPixels)
            length = step * decade;
    const long pixels = std::lround(length * pixelsPerUnit);
    return platform::formatC("Error ellipses: %ld px = %g %.*s", pixels, length,
                             static_cast<int>(unit.size()), unit.data());
}
