// Lambert conformal conic with two standard parallels of the zone-constant
// engine against PROJ (lambert_engine.txt, see make_fixtures.sh): cones in
// both hemispheres, and one whose origin is the pole.

#include "fixture_table.hpp"

#include "geodetic/projection_engine.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace geodetic_test;

struct LambertCase {
    ellipsoid ell;
    zoneCnstnt zone;
    ProjectedReference ref;
};

// Columns: a rf northParallel southParallel lat0 lon0(east) FE FN | reference.
LambertCase lambertCaseOf(const FixtureRow& row) {
    LambertCase c{};
    initEllipsoid(&c.ell, row[0], 1.0 / row[1]);
    c.zone.projType = projLambertTwoParallels;
    c.zone.northParallel = row[2] * degree;
    c.zone.southParallel = row[3] * degree;
    c.zone.originLat = row[4] * degree;
    c.zone.originLon = -row[5] * degree;
    c.zone.falseEasting = row[6];
    c.zone.falseNorthing = row[7];
    c.ref = projectedReference(row);
    return c;
}

TEST(LambertConic, ForwardMatchesProj) {
    for (const FixtureRow& row : readFixtureTable("lambert_engine.txt")) {
        LambertCase c = lambertCaseOf(row);
        geodCoord p = westPositivePoint(c.ref);
        ASSERT_EQ(geod2Grid(&c.ell, &c.zone, &p), projectionOk);
        expectGridMatches(c.ref, p);
    }
}

// Southern cones (parallels -18 and -36) used to give NaN latitudes: the
// mapping radius lost the sign of the cone constant.
TEST(LambertConic, InverseMatchesProjInBothHemispheres) {
    for (const FixtureRow& row : readFixtureTable("lambert_engine.txt")) {
        LambertCase c = lambertCaseOf(row);
        geodCoord p = gridPointOf(c.ref);
        ASSERT_EQ(grid2Geod(&c.ell, &c.zone, &p), projectionOk);
        expectGeodeticMatches(c.ref, p.lat, -p.lon, p.scale, p.conv);
    }
}

TEST(LambertConic, ForwardThenInverseReturnsThePoint) {
    for (const FixtureRow& row : readFixtureTable("lambert_engine.txt")) {
        LambertCase c = lambertCaseOf(row);
        geodCoord p = westPositivePoint(c.ref);
        ASSERT_EQ(geod2Lambert(&c.ell, &c.zone, &p), projectionOk);
        ASSERT_EQ(Lambert2Geod(&c.ell, &c.zone, &p), projectionOk);
        expectRoundTrip(c.ref, p.lat, -p.lon, c.ell.semiMajor);
    }
}

TEST(LambertConic, AnOriginAtThePoleIsTheApex) {
    // With the origin at 90 degrees the mapping radius of the origin is 0:
    // the pole itself maps to (FE, FN).
    const ellipsoid ell = grs80();
    zoneCnstnt zone{};
    zone.northParallel = 66.0 * degree;
    zone.southParallel = 60.0 * degree;
    zone.originLat = 90.0 * degree;
    zone.falseEasting = 500000.0;
    zone.falseNorthing = 100.0;
    geodCoord p{};
    p.lat = 90.0 * degree;
    ASSERT_EQ(geod2Lambert(&ell, &zone, &p), projectionOk);
    EXPECT_NEAR(p.northing, 100.0, 1e-6);
    EXPECT_NEAR(p.easting, 500000.0, 1e-6);
}

TEST(LambertConic, EqualParallelsAreRefused) {
    const ellipsoid ell = grs80();
    zoneCnstnt zone{};
    zone.projType = projLambertTwoParallels;
    zone.northParallel = zone.southParallel = 40.0 * degree;
    geodCoord p{};
    p.lat = 0.7;
    p.northing = 5.0;
    p.easting = 6.0;
    EXPECT_EQ(geod2Lambert(&ell, &zone, &p), projectionRefused);
    EXPECT_EQ(Lambert2Geod(&ell, &zone, &p), projectionRefused);
    EXPECT_EQ(p.lat, 0.7);
    EXPECT_EQ(p.northing, 5.0);
    EXPECT_EQ(p.easting, 6.0);
}

} // namespace
