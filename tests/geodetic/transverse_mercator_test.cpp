// Transverse Mercator of the zone-constant engine against PROJ's exact
// transverse Mercator (tm_engine.txt, see make_fixtures.sh).

#include "fixture_table.hpp"

#include "geodetic/projection_engine.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace geodetic_test;

struct TmCase {
    ellipsoid ell;
    zoneCnstnt zone;
    ProjectedReference ref;
};

// Columns: a rf k0 lat0 lon0(east) FE FN | reference.
TmCase tmCaseOf(const FixtureRow& row) {
    TmCase c{};
    initEllipsoid(&c.ell, row[0], 1.0 / row[1]);
    c.zone.projType = projTransverseMercator;
    c.zone.scaleFactor = row[2];
    c.zone.originLat = row[3] * degree;
    c.zone.centralMeridian = -row[4] * degree;
    c.zone.falseEasting = row[5];
    c.zone.falseNorthing = row[6];
    c.ref = projectedReference(row);
    return c;
}

double forwardScaleTolerance(const TmCase& c) {
    return tmForwardScaleTolerance(c.ref.lat_deg * degree,
                                   c.ref.lon_deg * degree + c.zone.centralMeridian);
}

TEST(TransverseMercator, ForwardMatchesProjOverTheZone) {
    for (const FixtureRow& row : readFixtureTable("tm_engine.txt")) {
        TmCase c = tmCaseOf(row);
        geodCoord p = westPositivePoint(c.ref);
        ASSERT_EQ(geod2Grid(&c.ell, &c.zone, &p), projectionOk);
        expectGridMatches(c.ref, p, forwardScaleTolerance(c));
    }
}

TEST(TransverseMercator, InverseMatchesProjOverTheZone) {
    for (const FixtureRow& row : readFixtureTable("tm_engine.txt")) {
        TmCase c = tmCaseOf(row);
        geodCoord p = gridPointOf(c.ref);
        ASSERT_EQ(grid2Geod(&c.ell, &c.zone, &p), projectionOk);
        expectGeodeticMatches(c.ref, p.lat, -p.lon, p.scale, p.conv);
    }
}

// The forward and inverse series are truncated apart, so a round trip is
// exact only near the central meridian: 1e-6 m within 1.5 degrees of
// longitude, and the 1e-10 rad (0.6 mm) the two series promise across the
// zone (measured: 2.7e-5 m at 3.5 degrees on the equator, 8e-6 m at 80 degrees).
TEST(TransverseMercator, ForwardThenInverseReturnsThePoint) {
    for (const FixtureRow& row : readFixtureTable("tm_engine.txt")) {
        TmCase c = tmCaseOf(row);
        geodCoord p = westPositivePoint(c.ref);
        ASSERT_EQ(geod2TM(&c.ell, &c.zone, &p), projectionOk);
        ASSERT_EQ(TM2Geod(&c.ell, &c.zone, &p), projectionOk);
        const bool nearCentralMeridian =
            std::abs(c.ref.lon_deg * degree + c.zone.centralMeridian) <= 1.5 * degree;
        expectRoundTrip(c.ref, p.lat, -p.lon, c.ell.semiMajor,
                        nearCentralMeridian ? roundTrip_m : 1e-10 * c.ell.semiMajor);
    }
}

zoneCnstnt tmZone(double k0, double centralMeridian, double falseEasting) {
    zoneCnstnt zone{};
    zone.projType = projTransverseMercator;
    zone.scaleFactor = k0;
    zone.centralMeridian = centralMeridian;
    zone.falseEasting = falseEasting;
    return zone;
}

TEST(TransverseMercator, EquatorOnTheCentralMeridianIsTheFalseOrigin) {
    const ellipsoid ell = grs80();
    const zoneCnstnt zone = tmZone(0.9996, 1.5, 500000.0);
    geodCoord p{};
    p.lon = 1.5;
    ASSERT_EQ(geod2TM(&ell, &zone, &p), projectionOk);
    EXPECT_DOUBLE_EQ(p.northing, 0.0);
    EXPECT_DOUBLE_EQ(p.easting, 500000.0);
    EXPECT_DOUBLE_EQ(p.scale, 0.9996);
    EXPECT_DOUBLE_EQ(p.conv, 0.0);
}

TEST(TransverseMercator, LongitudesCountPositiveWest) {
    // lon 1.51 > central meridian 1.5: the point lies west, so its easting is
    // below FE and, in the north, grid north lies east of true north.
    const ellipsoid ell = grs80();
    const zoneCnstnt zone = tmZone(0.9999, 1.5, 200000.0);
    geodCoord p{};
    p.lat = 0.6;
    p.lon = 1.51;
    ASSERT_EQ(geod2TM(&ell, &zone, &p), projectionOk);
    EXPECT_LT(p.easting, 200000.0);
    EXPECT_LT(p.conv, 0.0);
}

TEST(TransverseMercator, RefusesAnEllipsoidWithoutAxes) {
    zoneCnstnt zone{};
    zone.scaleFactor = 1.0;
    for (const ellipsoid& ell : {ellipsoid{6378137.0, 0.0, 0, 0, 0, 0}, ellipsoid{}}) {
        geodCoord p{};
        p.lat = 0.5;
        p.northing = 123.0;
        EXPECT_EQ(geod2TM(&ell, &zone, &p), projectionRefused);
        EXPECT_EQ(p.northing, 123.0) << "nothing written";
    }
    geodCoord p{};
    p.northing = 1000.0;
    p.lat = 0.25;
    zone.scaleFactor = 0.0;
    const ellipsoid ell = grs80();
    EXPECT_EQ(TM2Geod(&ell, &zone, &p), projectionRefused);
    EXPECT_EQ(p.lat, 0.25) << "nothing written";
}

} // namespace
