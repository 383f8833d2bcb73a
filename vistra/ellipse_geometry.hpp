#pragma once
// The shapes of the error ellipses in pixels: the Bezier outline of an
// upright ellipse, its turning about its centre, and the scale that makes the
// largest ellipse of a run a chosen share of the window's width.

#include "vistra/view_transform.hpp"

#include <array>
#include <optional>
#include <span>

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
