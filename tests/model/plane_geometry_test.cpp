// Every expected point here is constructed first and the measurements are
// derived from it with atan2 and hypot, so the intersections and the
// resection are checked against the geometry itself, in all four quadrants
// and far from the origin.

#include "model/plane_geometry.hpp"
#include "support/angles.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using testsupport::pi;

struct pt {
    double n;
    double e;
};

// Azimuth clockwise from north, in [0, 2pi).
double azimuth(pt from, pt to) {
    const double a = std::atan2(to.e - from.e, to.n - from.n);
    return a < 0 ? a + 2 * pi : a;
}

double dist(pt a, pt b) {
    return std::hypot(b.n - a.n, b.e - a.e);
}

// Clockwise angle at `at` from the direction to `from` to the direction to `to`.
double clockwiseAngle(pt at, pt from, pt to) {
    const double a = azimuth(at, to) - azimuth(at, from);
    return a < 0 ? a + 2 * pi : a;
}

// The four quadrants around the origin and around a far-away false origin.
const pt offsets[] = {{0, 0},         {0, 0},           {0, 0},
                      {0, 0},         {500000, 500000}, {-2000000, 700000},
                      {3000, -90000}, {-45000, -45000}};
const pt quadrantSigns[] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1}, {1, -1}};

pt place(pt local, int row) {
    return {offsets[row].n + quadrantSigns[row].n * local.n,
            offsets[row].e + quadrantSigns[row].e * local.e};
}

constexpr int placements = 8;

} // namespace

TEST(InverseDirDist, AxesAndTheSamePoint) {
    struct Row {
        pt to;
        double az;
        double d;
    };
    const Row rows[] = {{{0, 5}, pi / 2, 5},    {{-5, 0}, pi, 5},
                        {{0, -5}, 1.5 * pi, 5}, {{5, 0}, 0, 5},
                        {{0, 0}, 0, 0},         {{1e-16, -1e-16}, 0, 1.4142135623730951e-16}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.to.n << ", " << row.to.e);
        double d = -1;
        EXPECT_DOUBLE_EQ(inverseDirDist(0, 0, row.to.n, row.to.e, d), row.az);
        EXPECT_DOUBLE_EQ(d, row.d);
    }
}

TEST(InverseDirDist, AgreesWithAtan2InEveryQuadrant) {
    for (double deg = 0.5; deg < 360; deg += 7.25) {
        SCOPED_TRACE(deg);
        const double a = deg * pi / 180;
        const pt from{123456.789, -98765.4321};
        const pt to{from.n + 250 * std::cos(a), from.e + 250 * std::sin(a)};
        double d = 0;
        const double az = inverseDirDist(from.n, from.e, to.n, to.e, d);
        EXPECT_NEAR(az, azimuth(from, to), 1e-12);
        EXPECT_NEAR(d, 250, 1e-9);
        EXPECT_GE(az, 0);
        EXPECT_LT(az, 2 * pi);
    }
}

TEST(AngleArithmetic, NormalizeIntoOneTurn) {
    struct Row {
        double in;
        double out;
    };
    const Row rows[] = {{-pi / 2, 1.5 * pi},
                        {2 * pi, 0},
                        {0, 0},
                        {7 * pi / 2, 1.5 * pi},
                        {-4 * pi - 0.25, 2 * pi - 0.25},
                        {1.0, 1.0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.in);
        double a = row.in;
        normalizeAngle(a);
        EXPECT_NEAR(a, row.out, 1e-12);
        EXPECT_NEAR(normalizedAngle(row.in), row.out, 1e-12);
    }
    double tiny = -1e-17; // rounds to a whole turn: must still land inside
    normalizeAngle(tiny);
    EXPECT_GE(tiny, 0);
    EXPECT_LT(tiny, 2 * pi);
    const double inside = 6.283185307179585;
    EXPECT_EQ(normalizedAngle(inside), inside) << "a value inside is returned unchanged";
}

TEST(AngleArithmetic, ClockwiseAngleBetweenDirections) {
    for (double a = 0.05; a < 2 * pi; a += 0.37) {
        for (double b = 0.02; b < 2 * pi; b += 0.41) {
            SCOPED_TRACE(testing::Message() << a << " -> " << b);
            double angle = -1;
            angleFromDirections(a, b, angle);
            const double expected = std::fmod(b - a + 2 * pi, 2 * pi);
            EXPECT_NEAR(std::remainder(angle - expected, 2 * pi), 0.0, 1e-12);
            EXPECT_GE(angle, 0);
            EXPECT_LT(angle, 2 * pi);
        }
    }
    double angle = -1;
    angleFromDirections(1.0, 1.0, angle);
    EXPECT_EQ(angle, 0.0);
    EXPECT_NEAR(cot(pi / 4), 1.0, 1e-15);
}

TEST(IntersectDistDist, FindsThePointLeftOfTheBaseInEveryQuadrant) {
    // The base runs east, so P to its north lies on its left.
    const pt local1{0, 0}, local2{0, 300}, localP{120, 80};
    for (int row = 0; row < placements; ++row) {
        SCOPED_TRACE(row);
        pt p1 = place(local1, row), p2 = place(local2, row);
        const pt p = place(localP, row);
        // A mirror (one sign negative) turns left into right: swap the points.
        if (quadrantSigns[row].n * quadrantSigns[row].e < 0)
            std::swap(p1, p2);
        double n = 0, e = 0;
        ASSERT_EQ(intersectDistDist(p1.n, p1.e, p2.n, p2.e, dist(p1, p), dist(p2, p), n, e), 0);
        EXPECT_NEAR(n, p.n, 1e-6);
        EXPECT_NEAR(e, p.e, 1e-6);
        // The other order gives the mirror image across the base.
        ASSERT_EQ(intersectDistDist(p2.n, p2.e, p1.n, p1.e, dist(p2, p), dist(p1, p), n, e), 0);
        const pt mirrored{n, e};
        EXPECT_NEAR(dist(p1, mirrored), dist(p1, p), 1e-6);
        EXPECT_NEAR(dist(p2, mirrored), dist(p2, p), 1e-6);
        EXPECT_GT(dist(mirrored, p), 100);
    }
}

TEST(IntersectDistDist, NoSolutionLeavesTheOutputs) {
    struct Row {
        const char* label;
        double n2, e2, d1, d2;
    };
    const Row rows[] = {
        {"touching from outside", 0, 100, 60, 40},    {"apart", 0, 100, 30, 40},
        {"touching inside", 0, 100, 150, 50},         {"one inside the other", 0, 100, 300, 50},
        {"second inside the first", 0, 100, 20, 200}, {"same centre", 0, 0, 50, 50},
        {"zero first distance", 0, 100, 0, 100},      {"negative distance", 0, 100, -60, 60},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        double n = 7, e = 8;
        EXPECT_EQ(intersectDistDist(0, 0, row.n2, row.e2, row.d1, row.d2, n, e), 1);
        EXPECT_EQ(n, 7);
        EXPECT_EQ(e, 8);
    }
}

TEST(IntersectDirDir, CrossingOfTwoLinesInEveryQuadrant) {
    struct Geometry {
        const char* label;
        pt a, b, p;
    };
    const Geometry geometries[] = {
        {"general", {0, 0}, {0, 400}, {250, 130}},
        {"point behind both stations", {0, 0}, {0, 400}, {-180, -60}},
        {"line 2 north-south", {0, 0}, {100, 300}, {250, 300}},
        {"line 1 north-south", {0, 0}, {80, 300}, {-200, 0}},
        {"line 1 east-west, line 2 north-south", {0, 0}, {-50, 300}, {0, 300}},
        {"steep lines", {0, 0}, {0, 1}, {1000, 0.3}},
    };
    for (const Geometry& g : geometries) {
        for (int row = 0; row < placements; ++row) {
            SCOPED_TRACE(testing::Message() << g.label << " row " << row);
            const pt a = place(g.a, row), b = place(g.b, row), p = place(g.p, row);
            double n = 0, e = 0;
            ASSERT_EQ(intersectDirDir(a.n, a.e, azimuth(a, p), b.n, b.e, azimuth(b, p), n, e), 0);
            EXPECT_NEAR(n, p.n, 1e-6 * (1 + dist(a, p)));
            EXPECT_NEAR(e, p.e, 1e-6 * (1 + dist(a, p)));
        }
    }
}

TEST(IntersectDirDir, NorthFromTheFirstPointKeepsItsEasting) {
    double n = 0, e = 0;
    ASSERT_EQ(intersectDirDir(10, 20, 0.0, 0, 50, pi / 4, n, e), 0);
    EXPECT_NEAR(e, 20, 1e-9);
    EXPECT_NEAR(n, -30, 1e-6); // on the line from (0, 50) at 45 degrees: N = E - 50
}

TEST(IntersectDirDir, ParallelLinesHaveNoCrossing) {
    struct Row {
        const char* label;
        double az1, az2;
    };
    const Row rows[] = {
        {"equal", 0.3, 0.3},
        {"opposite", 0.3, 0.3 + pi},
        {"opposite, far round", 5.5, 5.5 - pi},
        {"north and south", 0.0, pi},
        {"east and west", pi / 2, 1.5 * pi},
        {"a full turn apart", 0.0, 2 * pi},
        {"south and north", pi, 0.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        double n = 7, e = 8;
        EXPECT_EQ(intersectDirDir(0, 0, row.az1, 100, 250, row.az2, n, e), 1);
        EXPECT_EQ(n, 7);
        EXPECT_EQ(e, 8);
    }
}

TEST(Resection3Pt, FindsTheStationInEveryQuadrant) {
    struct Geometry {
        const char* label;
        pt p1, p2, p3, station;
    };
    const Geometry geometries[] = {
        {"inside the triangle", {400, -300}, {450, 350}, {-500, 50}, {20, 30}},
        {"outside, facing two sides", {400, -300}, {450, 350}, {-500, 50}, {1200, 900}},
        {"beyond one side", {0, 0}, {300, 600}, {-200, 700}, {-400, 200}},
        {"points in a clockwise sweep from the station",
         {100, 0},
         {0, 100},
         {-100, 10},
         {-5, -300}},
    };
    for (const Geometry& g : geometries) {
        for (int row = 0; row < placements; ++row) {
            SCOPED_TRACE(testing::Message() << g.label << " row " << row);
            const pt p1 = place(g.p1, row), p2 = place(g.p2, row), p3 = place(g.p3, row);
            const pt s = place(g.station, row);
            const double alpha = clockwiseAngle(s, p1, p2);
            const double beta = clockwiseAngle(s, p2, p3);
            double n = 0, e = 0;
            ASSERT_EQ(resection3Pt(p1.n, p1.e, p2.n, p2.e, p3.n, p3.e, alpha, beta, n, e), 0);
            EXPECT_NEAR(n, s.n, 1e-6);
            EXPECT_NEAR(e, s.e, 1e-6);
        }
    }
}

TEST(Resection3Pt, DegenerateGeometryHasNoSolution) {
    const double r = 250;
    const auto onCircle = [r](double deg) {
        return pt{r * std::cos(deg * pi / 180), r * std::sin(deg * pi / 180)};
    };
    struct Row {
        const char* label;
        pt p1, p2, p3, station;
    };
    const Row rows[] = {
        {"station on the danger circle", onCircle(10), onCircle(130), onCircle(250), onCircle(60)},
        {"station on the danger circle, far side", onCircle(10), onCircle(130), onCircle(250),
         onCircle(300)},
        {"known points in a line", {0, 0}, {0, 100}, {0, 250}, {-200, 50}},
        {"two known points coincide", {0, 0}, {100, 100}, {100, 100}, {-200, 50}},
    };
    for (const Row& row : rows) {
        for (int placement = 0; placement < placements; ++placement) {
            SCOPED_TRACE(testing::Message() << row.label << " row " << placement);
            const pt p1 = place(row.p1, placement), p2 = place(row.p2, placement);
            const pt p3 = place(row.p3, placement), s = place(row.station, placement);
            double n = 7, e = 8;
            EXPECT_EQ(resection3Pt(p1.n, p1.e, p2.n, p2.e, p3.n, p3.e, clockwiseAngle(s, p1, p2),
                                   clockwiseAngle(s, p2, p3), n, e),
                      1);
            EXPECT_EQ(n, 7);
            EXPECT_EQ(e, 8);
        }
    }
}
