// The engine's entry points: dispatch on the projection type, and the
// arc-to-chord correction checked against the geometry it stands for.

#include "fixture_table.hpp"

#include "geodetic/projection_engine.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

using namespace geodetic_test;

// The first zone of each of tm_engine.txt, lambert_engine.txt and
// oblique_mercator.txt, on GRS 80.
zoneCnstnt zoneOfKind(int kind) {
    zoneCnstnt zone{};
    zone.projType = kind;
    switch (kind) {
    case projTransverseMercator:
        zone.scaleFactor = 0.9999;
        zone.centralMeridian = 87.0 * degree;
        zone.falseEasting = 200000.0;
        break;
    case projLambertTwoParallels:
        zone.northParallel = 45.0 * degree;
        zone.southParallel = 33.0 * degree;
        zone.originLat = 39.0 * degree;
        zone.originLon = 96.0 * degree;
        break;
    default:
        zone.originLat = 57.0 * degree;
        zone.originLon = 133.6666666667 * degree;
        zone.centralMeridian = -36.8698976458 * degree;
        zone.scaleFactor = 0.9999;
        zone.falseEasting = 5000000.0;
        zone.falseNorthing = -5000000.0;
        break;
    }
    return zone;
}

// The chord from P1 to P2 has grid azimuth t; the projected geodesic leaves
// P1 at grid azimuth T = alpha - gamma (geodesic azimuth alpha from
// GeographicLib, convergence gamma at P1, checked against PROJ elsewhere).
// delta(P1, P2) = t - T; with P1 as the first point of the angle, getTMT
// gives exactly delta(P1, P2). On lines of 10 to 20 km the transverse and
// oblique Mercator forms hold to 0.002", the Lambert form (first order in
// the longitude difference) to 0.01".
TEST(ArcToChord, MatchesTheProjectedGeodesic) {
    const ellipsoid ell = grs80();
    for (const FixtureRow& row : readFixtureTable("arc_to_chord.txt")) {
        SCOPED_TRACE(row.where);
        const zoneCnstnt zone = zoneOfKind(static_cast<int>(row[0]));
        geodCoord p1{}, p2{};
        p1.lat = row[1] * degree;
        p1.lon = -row[2] * degree;
        p2.lat = row[3] * degree;
        p2.lon = -row[4] * degree;
        ASSERT_EQ(geod2Grid(&ell, &zone, &p1), projectionOk);
        ASSERT_EQ(geod2Grid(&ell, &zone, &p2), projectionOk);
        const double chord = std::atan2(p2.easting - p1.easting, p2.northing - p1.northing);
        const double geodesic = row[5] * degree - p1.conv;
        const double expected = std::remainder(chord - geodesic, 2.0 * std::numbers::pi);
        double tmt = 99.0;
        ASSERT_EQ(getTMT(&ell, &zone, &p1, &p1, &p2, &tmt), projectionOk);
        const double tolerance_arcsec = zone.projType == projLambertTwoParallels ? 0.01 : 0.002;
        EXPECT_NEAR(tmt, expected, tolerance_arcsec / 206264.806);
        EXPECT_GT(std::abs(expected), 5e-7) << "a line whose correction matters (0.1\")";
    }
}

TEST(ArcToChord, IsTheDifferenceOfTheTwoLines) {
    const ellipsoid ell = grs80();
    for (int kind : {0, 1, 2}) {
        SCOPED_TRACE(kind);
        const zoneCnstnt zone = zoneOfKind(kind);
        geodCoord at{}, first{}, second{};
        at.lat = first.lat = 0.79;
        second.lat = 0.8;
        at.lon = 1.5;
        first.lon = 1.51;
        second.lon = 1.49;
        for (geodCoord* p : {&at, &first, &second})
            ASSERT_EQ(geod2Grid(&ell, &zone, p), projectionOk);
        double toFirst = 0, toSecond = 0, both = 0, same = 99.0;
        ASSERT_EQ(getTMT(&ell, &zone, &at, &at, &first, &toFirst), projectionOk);
        ASSERT_EQ(getTMT(&ell, &zone, &at, &at, &second, &toSecond), projectionOk);
        ASSERT_EQ(getTMT(&ell, &zone, &at, &first, &second, &both), projectionOk);
        EXPECT_DOUBLE_EQ(both, toSecond - toFirst);
        ASSERT_EQ(getTMT(&ell, &zone, &at, &second, &second, &same), projectionOk);
        EXPECT_EQ(same, 0.0);
    }
}

TEST(ProjectionDispatch, UnknownTypesAreRefusedAndWriteNothing) {
    const ellipsoid ell = grs80();
    zoneCnstnt zone = zoneOfKind(0);
    zone.projType = 3;
    geodCoord p{0.5, 0.6, 100.0, 200.0, 3.0, 0.9, 0.1, 7};
    geodCoord before = p;
    EXPECT_EQ(geod2Grid(&ell, &zone, &p), projectionRefused);
    EXPECT_EQ(grid2Geod(&ell, &zone, &p), projectionRefused);
    EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0);
    double tmt = 42.0;
    EXPECT_EQ(getTMT(&ell, &zone, &p, &p, &p, &tmt), projectionRefused);
    EXPECT_EQ(tmt, 42.0);
}

TEST(ProjectionDispatch, ArcToChordOfAConeWithoutParallelsIsRefused) {
    const ellipsoid ell = grs80();
    zoneCnstnt zone = zoneOfKind(1);
    zone.southParallel = zone.northParallel;
    geodCoord p{0.5, 0.6, 100.0, 200.0, 3.0, 0.9, 0.1, 7};
    double tmt = 42.0;
    EXPECT_EQ(getTMT(&ell, &zone, &p, &p, &p, &tmt), projectionRefused);
    EXPECT_EQ(tmt, 42.0);
}

TEST(Ellipsoid, IsFilledFromAxisAndFlattening) {
    // Clarke 1866 is defined by a 6378206.4 m and b 6356583.8 m; the
    // flattening callers pass, (a - b)/a, gives back b to 0.2 mm.
    ellipsoid clarke{};
    EXPECT_EQ(initEllipsoid(&clarke, 6378206.4, 0.0033900752834018183), 0);
    EXPECT_NEAR(clarke.semiMinor, 6356583.8, 2e-4);
    EXPECT_NEAR(clarke.invFlattening, 6378206.4 / (6378206.4 - 6356583.8), 1e-5);
    EXPECT_DOUBLE_EQ(clarke.eccentricitySq, clarke.eccentricity * clarke.eccentricity);
    // GRS 80: e^2 = 0.00669438002290 (Moritz, Geodetic Reference System 1980).
    EXPECT_NEAR(grs80().eccentricitySq, 0.00669438002290, 1e-14);
}

} // namespace
