#pragma once
// The shapes of the error ellipses in pixels: the Bezier outline of an
// upright ellipse, its turning about its centre, and the scale that makes the
// largest ellipse of a run a chosen share of the window's width.

#include "vistra/view_transform.hpp"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct pixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// One point's error ellipse: orientation in radians, clockwise from north.
struct ellipseAxes {
    double orientation = 0.0;
    double semiMajor = 0.0;
    double semiMinor = 0.0;
};

inline constexpr int bezierEllipsePoints = 13;
using bezierEllipse = std::array<devicePoint, bezierEllipsePoints>;

// Four cubic segments through the ellipse inscribed in `box`, starting and
// ending at the middle of its left side and running over its top first.
bezierEllipse ellipseToBezier(const pixelRect& box);

struct polarResult {
    double angle = 0.0; // [0, 2pi), from the a0 axis towards the a1 axis
    double distance = 0.0;
};
// The direction and length of (b0 - a0, b1 - a1).
polarResult polarAngle(double a0, double a1, double b0, double b1);

// Turns the points about `centre` by `angle`, measured from the screen's
// downward axis towards its right one: a positive angle turns them
// counter-clockwise as seen (screen y grows downwards).
void rotatePoints(double angle, devicePoint centre, std::span<devicePoint> points);

// The screen turn that brings an upright ellipse to `orientation`; the
// result lies within a half turn, as an ellipse and its reverse are alike.
double ellipseTurn(double orientation);

// Pixels per ground unit that make the largest ellipse about 1 % of
// `clientWidth` across its diagonal; 50 without ellipses. None when every
// ellipse has zero axes, as no scale can size those.
std::optional<double> computeEllipseScale(std::span<const ellipseAxes> ellipses, int clientWidth);

// The pixels per ground unit `k` with which an ellipse's box is drawn (its
// full axes are the semi-axes times k, so a semi-axis shows k / 2 pixels per
// unit), for the size setting `size` (0 to 100) and `scale` from
// `computeEllipseScale`: size times scale, but never less than what makes
// the largest semi-major axis, `largestSemiMajor` ground units, reach
// `visibleReach` pixels from its point, so that the ellipses show beside
// their symbols; 0 at size 0 (ellipses shrink to their points) and when the
// largest axis is 0.
double ellipsePixelsPerUnit(double scale, int size, double largestSemiMajor, int visibleReach);

// The ellipses' scale for the window, as "Error ellipses: 57 px = 0.1 m": a
// round ground length (1, 2 or 5 times a power of ten, `unit` its unit name)
// and the pixels a semi-axis of that length takes, at most 100, at
// `pixelsPerUnit` pixels per unit of a semi-axis; empty when that is not
// above 0.
std::string ellipseScaleText(double pixelsPerUnit, std::string_view unit);
