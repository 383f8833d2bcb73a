// The error ellipses' shapes: Bezier outline, polar angles, turning and the
// scale, against values worked by hand.

#include "vistra/ellipse_geometry.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double pi = std::numbers::pi;

TEST(EllipseGeometry, BezierOutlineOfABox) {
    // Box (0, 0, 10, 20): centre (5, 10); dx = trunc(10 * 0.27614) = 2,
    // dy = trunc(20 * 0.27614) = trunc(5.52) = 5.
    const bezierEllipse expected{{{0, 10},
                                  {0, 5},
                                  {3, 0},
                                  {5, 0},
                                  {7, 0},
                                  {10, 5},
                                  {10, 10},
                                  {10, 15},
                                  {7, 20},
                                  {5, 20},
                                  {3, 20},
                                  {0, 15},
                                  {0, 10}}};
    const bezierEllipse got = ellipseToBezier({0, 0, 10, 20});
    for (int i = 0; i < bezierEllipsePoints; ++i) {
        EXPECT_EQ(got[i].x, expected[i].x) << i;
        EXPECT_EQ(got[i].y, expected[i].y) << i;
    }
}

TEST(EllipseGeometry, PolarAngleInEveryQuadrant) {
    struct Case {
        double b0, b1, angle, distance;
    } cases[] = {
        {0, 0, 0, 0},
        {1, 1, pi / 4, std::sqrt(2.0)},
        {-1, 1, 3 * pi / 4, std::sqrt(2.0)},
        {-1, -1, 5 * pi / 4, std::sqrt(2.0)},
        {1, -1, 7 * pi / 4, std::sqrt(2.0)},
        {0, 2, pi / 2, 2},
        {0, -2, 3 * pi / 2, 2},
        {-3, 0, pi, 3},
        {3, 4, std::atan(4.0 / 3.0), 5},
    };
    for (const Case& c : cases) {
        // Shifting both points by (10, -20) changes nothing.
        polarResult r = polarAngle(10, -20, 10 + c.b0, -20 + c.b1);
        EXPECT_NEAR(r.angle, c.angle, 1e-12) << c.b0 << " " << c.b1;
        EXPECT_NEAR(r.distance, c.distance, 1e-12) << c.b0 << " " << c.b1;
    }
}

TEST(EllipseGeometry, RotationTurnsFromDownTowardsRight) {
    // (0, 10) lies straight below the centre (0, 0): angle 0, distance 10.
    struct Case {
        double angle;
        devicePoint expected;
    } cases[] = {
        {pi / 2, {10, 0}},   // to the right
        {pi, {0, -10}},      // straight above
        {-pi / 2, {-10, 0}}, // to the left
        {3 * pi / 2, {-10, 0}},
    };
    for (const Case& c : cases) {
        std::vector<devicePoint> points{{0, 10}};
        rotatePoints(c.angle, {0, 0}, points);
        EXPECT_NEAR(points[0].x, c.expected.x, 1) << c.angle;
        EXPECT_NEAR(points[0].y, c.expected.y, 1) << c.angle;
    }
}

TEST(EllipseGeometry, TurnOfAnOrientationAndItsReverseAgree) {
    EXPECT_NEAR(ellipseTurn(0.0), 0.0, 1e-15);
    EXPECT_NEAR(ellipseTurn(pi), 0.0, 1e-15);
    EXPECT_NEAR(ellipseTurn(pi / 2), -pi / 2, 1e-15);
    for (double theta : {0.3, 1.0, 1.4})
        EXPECT_NEAR(ellipseTurn(theta + pi), ellipseTurn(theta), 1e-12) << theta;
}

// The bounding box of a turned outline: width and height in pixels.
std::pair<int, int> turnedSize(double orientation) {
    bezierEllipse points = ellipseToBezier({0, 0, 10, 40});
    rotatePoints(ellipseTurn(orientation), {5, 20}, points);
    auto [minX, maxX] = std::minmax_element(points.begin(), points.end(),
                                            [](devicePoint a, devicePoint b) { return a.x < b.x; });
    auto [minY, maxY] = std::minmax_element(points.begin(), points.end(),
                                            [](devicePoint a, devicePoint b) { return a.y < b.y; });
    return {maxX->x - minX->x, maxY->y - minY->y};
}

TEST(EllipseGeometry, UprightAtNorthAndLyingAtEast) {
    auto [uprightW, uprightH] = turnedSize(0.0);
    EXPECT_NEAR(uprightW, 10, 1);
    EXPECT_NEAR(uprightH, 40, 1);
    auto [lyingW, lyingH] = turnedSize(pi / 2);
    EXPECT_NEAR(lyingW, 40, 1);
    EXPECT_NEAR(lyingH, 10, 1);
}

TEST(EllipseGeometry, ScaleFromTheLargestAxes) {
    // A = max(3, 2) = 3, B = max(1, 4) = 4: D = 5; (1 / 5) * (500 / 100) = 1.
    const std::vector<ellipseAxes> ellipses{{0.0, 3.0, 1.0}, {0.5, 2.0, 4.0}};
    std::optional<double> scale = computeEllipseScale(ellipses, 500);
    ASSERT_TRUE(scale.has_value());
    EXPECT_DOUBLE_EQ(*scale, 1.0);
    EXPECT_DOUBLE_EQ(*computeEllipseScale({}, 500), 50.0);
}

TEST(EllipseGeometry, AllZeroAxesGiveNoScale) {
    const std::vector<ellipseAxes> ellipses{{0.0, 0.0, 0.0}, {1.0, 0.0, 0.0}};
    EXPECT_FALSE(computeEllipseScale(ellipses, 500).has_value());
}

// The ellipses' scale at the size setting, never below what makes the
// largest ellipse reach beside its symbol.
TEST(EllipseGeometry, PixelsPerUnitKeepTheLargestEllipseBesideItsSymbol) {
    struct Case {
        double scale;
        int size;
        double largest;
        int reach;
        double expected;
    } cases[] = {
        // 1 * 571.4 would draw a 0.01 semi-major axis 2.9 pixels long; 15
        // pixels need a box of 2 * 15 / 0.01 = 3000 pixels per unit.
        {571.4, 1, 0.01, 15, 3000.0}, {571.4, 20, 0.01, 15, 11428.0}, // 20 * 571.4 reaches further
        {571.4, 0, 0.01, 15, 0.0},                                    // size 0: shrunk to a point
        {571.4, 1, 0.0, 15, 0.0},                                     // nothing to size
        {2.0, 3, 40.0, 0, 6.0},                                       // no symbols: the size alone
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(ellipsePixelsPerUnit(c.scale, c.size, c.largest, c.reach), c.expected)
            << c.scale << " " << c.size << " " << c.largest;
}

TEST(EllipseGeometry, ScaleTextNamesARoundLengthAndItsPixels) {
    struct Case {
        double pixelsPerUnit;
        const char* unit;
        const char* text;
    } cases[] = {
        // 100 / 1500 = 0.067: of 0.01, 0.02 and 0.05 the largest within 100
        // pixels is 0.05, 75 pixels.
        {1500.0, "m", "Error ellipses: 75 px = 0.05 m"},
        {0.4, "US ft", "Error ellipses: 80 px = 200 US ft"}, // 500 would take 200 pixels
        {100.0, "m", "Error ellipses: 100 px = 1 m"},
        {33.0, "ft", "Error ellipses: 66 px = 2 ft"},
        {0.0, "m", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ellipseScaleText(c.pixelsPerUnit, c.unit), c.text) << c.pixelsPerUnit;
}

} // namespace
