// The Danish grids: the polynomial step against the tables' own centres and
// power sums evaluated by the fixture script (national/danish_grid.txt),
// the chain against PROJ up to UTM zone 32 (national/danish_utm32.txt), the
// guards and their codes, and the polygon test.

#include "geodetic/fixture_table.hpp"

#include "geodetic/danish_grids.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace geodetic_test;

using ToGrid = int (*)(double, double, double, double*, double*, double*);
using FromGrid = int (*)(double, double, double, double*, double*, double*);

struct RegionCalls {
    ToGrid toGrid;
    FromGrid fromGrid;
};

RegionCalls callsOf(int region) {
    switch (region) {
    case 1:
        return {latlongWGS84ToXYSys34Jylland, XYSys34Jylland2latlongWGS84};
    case 2:
        return {latlongWGS84ToXYSys34Sjlland, XYSys34Sjlland2latlongWGS84};
    case 3:
        return {latlongWGS84ToXYSys45Bornholm, XYSys34Bornholm2latlongWGS84};
    default:
        return {latlongWGS84ToXYSys34UTM32ED50, XYSys34UTM32ED502latlongWGS84};
    }
}

constexpr double earthRadius_m = 6378137.0;

// The tables reproduce their own centres exactly: region 1's forward table
// maps its centre (6208030.167965, 533649.794619) onto its leading
// coefficients (176325.2943, 262190.50871).
TEST(DanishGrids, TheJyllandTableMapsItsCentreOntoItsLeadingCoefficients) {
    double y = 0, x = 0;
    EXPECT_EQ(tcts_u(6208030.167965, 533649.794619, &y, &x, danishJylland, 1), 0);
    EXPECT_EQ(y, 176325.2943);
    EXPECT_EQ(x, 262190.50871);
    double northing = 0, easting = 0;
    EXPECT_EQ(tcts_u(y, x, &northing, &easting, danishJylland, -1), 0);
    EXPECT_NEAR(northing, 6208030.167965, 0.04);
    EXPECT_NEAR(easting, 533649.794619, 0.04);
}

// Columns: region lat lon h | X Y h_intl: WGS84 -> UTM 32 ED50 by PROJ, then
// the tables by power sums.
TEST(DanishGrids, ConvertPointsOfEveryRegionBothWays) {
    for (const FixtureRow& row : readFixtureTable("national/danish_grid.txt")) {
        SCOPED_TRACE(row.where);
        const RegionCalls calls = callsOf(static_cast<int>(row[0]));
        // Bornholm lies 6 degrees from zone 32's central meridian.
        double x, y, hEd50;
        ASSERT_EQ(calls.toGrid(row[1] * degree, row[2] * degree, row[3], &x, &y, &hEd50), 0);
        EXPECT_NEAR(x, row[4], gridTolerance_m);
        EXPECT_NEAR(y, row[5], gridTolerance_m);
        EXPECT_NEAR(hEd50, row[6], gridTolerance_m);

        double lat, lon, h;
        ASSERT_EQ(calls.fromGrid(row[4], row[5], row[6], &lat, &lon, &h), 0);
        // The reverse table undoes the forward one to its round-trip accuracy.
        EXPECT_NEAR((lat / degree - row[1]) * degree * earthRadius_m, 0.0, 0.04);
        EXPECT_NEAR((lon / degree - row[2]) * degree * earthRadius_m * std::cos(lat), 0.0, 0.04);
        EXPECT_NEAR(h, row[3], 1e-3);

        double x2, y2, h2;
        ASSERT_EQ(calls.toGrid(lat, lon, h, &x2, &y2, &h2), 0);
        EXPECT_NEAR(x2, row[4], 0.04);
        EXPECT_NEAR(y2, row[5], 0.04);
    }
}

TEST(DanishGrids, RefusalsWriteNothing) {
    struct Case {
        const char* what;
        int region;
        double lat, lon;
        int expected;
    };
    const Case cases[] = {
        {"south of Jylland's box", danishJylland, 53.9, 9.0, danishOutsideBox},
        {"Bornholm asked of Sjaelland", danishSjaelland, 55.1, 14.9, danishOutsideBox},
        {"Copenhagen asked of Bornholm", danishBornholm, 55.68, 12.57, danishOutsideBox},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double x = 7, y = 7, h = 7;
        EXPECT_EQ(callsOf(c.region).toGrid(c.lat * degree, c.lon * degree, 0, &x, &y, &h),
                  c.expected);
        EXPECT_EQ(x + y + h, 21.0);
    }
    double lat = 7, lon = 7, h = 7;
    EXPECT_EQ(XYSys34Jylland2latlongWGS84(0.0, -100000.0, 0, &lat, &lon, &h), danishOutsideBox);
    EXPECT_EQ(lat + lon + h, 21.0);
}

// At the corners of Jylland's boxes, far from its area, the polynomials no
// longer undo each other to 0.04 m.
TEST(DanishGrids, APoorRoundTripIsRefused) {
    double y = 0, x = 0;
    EXPECT_EQ(tcts_u(6010000.0, 310000.0, &y, &x, danishJylland, 1), danishRoundTripFailed);
    EXPECT_NE(y, 0.0) << "the step writes its result";
    EXPECT_EQ(tcts_u(-32000.0, 95000.0, &y, &x, danishJylland, -1), danishRoundTripFailed);
    double gx = 7, gy = 7, h = 7;
    EXPECT_EQ(latlongWGS84ToXYSys34Jylland(54.2 * degree, 6.07 * degree, 0, &gx, &gy, &h),
              danishRoundTripFailed);
    EXPECT_EQ(gx + gy + h, 21.0);
}

// A point inside Jylland's box but west of its area, in the North Sea: the
// polynomial step writes its result and says so; the export writes nothing.
TEST(DanishGrids, APointOutsideTheAreaPolygonIsRefused) {
    double y = 0, x = 0;
    EXPECT_EQ(tcts_u(6200000.0, 420000.0, &y, &x, danishJylland, 1), danishOutsidePolygon);
    EXPECT_GT(x, 300000.0) << "grid X grows westward";
    double gx = 7, gy = 7, h = 7;
    EXPECT_EQ(latlongWGS84ToXYSys34Jylland(55.94 * degree, 7.72 * degree, 0, &gx, &gy, &h),
              danishOutsidePolygon);
    EXPECT_EQ(gx + gy + h, 21.0);
}

TEST(DanishGrids, Utm32Ed50CopiesPointsOutsideItsAreas) {
    const double points[][2] = {
        {5000000.0, 100000.0}, {6300000.0, 790000.0}, {6250000.0, 900000.0}, {6400000.0, 320000.0}};
    for (const auto& p : points) {
        double first = 0, second = 0;
        EXPECT_EQ(tcts_u(p[0], p[1], &first, &second, danishUtm32Ed50, 1), 0);
        EXPECT_EQ(first, p[0]);
        EXPECT_EQ(second, p[1]);
        EXPECT_EQ(tcts_u(p[0], p[1], &first, &second, danishUtm32Ed50, -1), 0);
        EXPECT_EQ(first, p[0]);
    }
}

TEST(DanishGrids, RegionLettersDirectionZeroAndUnknownRegions) {
    const double northing = 6206399.26, easting = 531264.66;
    const int letters[][3] = {{danishJylland, 'J', 'j'},
                              {danishSjaelland, 'S', 's'},
                              {danishBornholm, 'B', 'b'},
                              {danishUtm32Ed50, 'U', 'u'}};
    for (const auto& codes : letters) {
        double f0 = 0, s0 = 0;
        const int status = tcts_u(northing, easting, &f0, &s0, codes[0], 1);
        for (int k = 1; k < 3; ++k) {
            double f = 0, s = 0;
            EXPECT_EQ(tcts_u(northing, easting, &f, &s, codes[k], 1), status) << codes[k];
            EXPECT_EQ(f, f0);
            EXPECT_EQ(s, s0);
        }
    }
    double f = 0, s = 0;
    EXPECT_EQ(tcts_u(northing, easting, &f, &s, danishJylland, 0), 0);
    EXPECT_EQ(f, northing);
    EXPECT_EQ(tcts_u(northing, easting, &f, &s, 9, 1), 0);
    EXPECT_EQ(s, easting);
}

TEST(PointInPolygon, InsideOutsideAndOnTheBoundary) {
    const double square[] = {4, 0, 0, 0, 10, 10, 10, 10, 0};
    const double closedSquare[] = {5, 0, 0, 0, 10, 10, 10, 10, 0, 0, 0};
    const double diamond[] = {4, 0, 5, 5, 10, 10, 5, 5, 0};
    const double triangle[] = {3, 0, 0, 5, 5, 0, 10};
    struct Case {
        const char* what;
        const double* polygon;
        double first, second;
        int expected;
    };
    const Case cases[] = {
        {"inside", square, 5, 5, 1},
        {"outside", square, 15, 5, -1},
        {"beyond the far side", square, 5, 12, -1},
        {"on an edge across the line", square, 5, 0, 0},
        {"on an edge along the line", square, 0, 5, 0},
        {"on a vertex", square, 10, 10, 0},
        {"closing vertex ignored, inside", closedSquare, 5, 5, 1},
        {"closing vertex ignored, on the edge", closedSquare, 10, 3, 0},
        {"line through two vertices, inside", diamond, 5, 2, 1},
        {"line through two vertices, beyond", diamond, 5, 12, -1},
        {"on a slanted edge", diamond, 2.5, 2.5, 0},
        {"just inside a slanted edge", diamond, 2.5, 2.5001, 1},
        {"line touching a vertex", triangle, 5, 8, -1},
        {"line touching a vertex, point beyond", triangle, 4, 5, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pointInPolygon(c.polygon, c.first, c.second), c.expected) << c.what;
}

} // namespace
