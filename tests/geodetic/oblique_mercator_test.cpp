// Oblique Mercator in its azimuth form against PROJ's Hotine oblique
// Mercator with u from the natural origin (+no_uoff) and the grid rotated by
// the azimuth (oblique_mercator.txt, see make_fixtures.sh).

#include "fixture_table.hpp"

#include "geodetic/projection_engine.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace geodetic_test;

struct ObliqueCase {
    ellipsoid ell;
    zoneCnstnt zone;
    ProjectedReference ref;
};

// Columns: latc lonc(east) alpha kc FE FN | reference, on GRS 80.
ObliqueCase obliqueCaseOf(const FixtureRow& row) {
    ObliqueCase c{};
    c.ell = grs80();
    c.zone.projType = projObliqueMercatorAzimuth;
    c.zone.originLat = row[0] * degree;
    c.zone.originLon = -row[1] * degree;
    c.zone.centralMeridian = row[2] * degree;
    c.zone.scaleFactor = row[3];
    c.zone.falseEasting = row[4];
    c.zone.falseNorthing = row[5];
    c.ref = projectedReference(row);
    return c;
}

TEST(ObliqueMercator, ForwardMatchesProj) {
    for (const FixtureRow& row : readFixtureTable("oblique_mercator.txt")) {
        ObliqueCase c = obliqueCaseOf(row);
        geodCoord p = westPositivePoint(c.ref);
        ASSERT_EQ(geod2Grid(&c.ell, &c.zone, &p), projectionOk);
        expectGridMatches(c.ref, p);
    }
}

TEST(ObliqueMercator, InverseMatchesProj) {
    for (const FixtureRow& row : readFixtureTable("oblique_mercator.txt")) {
        ObliqueCase c = obliqueCaseOf(row);
        geodCoord p = gridPointOf(c.ref);
        ASSERT_EQ(grid2Geod(&c.ell, &c.zone, &p), projectionOk);
        expectGeodeticMatches(c.ref, p.lat, -p.lon, p.scale, p.conv);
    }
}

// The inverse takes the latitude from the conformal latitude by a series that
// stops at e^8; the omitted e^10 terms leave up to 1e-12 rad (6 micrometres).
TEST(ObliqueMercator, ForwardThenInverseReturnsThePoint) {
    for (const FixtureRow& row : readFixtureTable("oblique_mercator.txt")) {
        ObliqueCase c = obliqueCaseOf(row);
        geodCoord p = westPositivePoint(c.ref);
        ASSERT_EQ(geod2OM(&c.ell, &c.zone, &p), projectionOk);
        ASSERT_EQ(OM2Geod(&c.ell, &c.zone, &p), projectionOk);
        expectRoundTrip(c.ref, p.lat, -p.lon, c.ell.semiMajor, 1e-12 * c.ell.semiMajor);
    }
}

TEST(ObliqueMercator, ACentreOnTheEquatorHasFiniteConstants) {
    // There B sqrt(1 - e^2) / (w cos phi) is 1 up to rounding, possibly a hair
    // below, where acosh is undefined.
    const ellipsoid ell = grs80();
    zoneCnstnt zone{};
    zone.projType = projObliqueMercatorAzimuth;
    zone.centralMeridian = 0.3;
    zone.scaleFactor = 0.9999;
    geodCoord p{};
    p.lat = 0.01;
    p.lon = 0.02;
    ASSERT_EQ(geod2OM(&ell, &zone, &p), projectionOk);
    EXPECT_TRUE(std::isfinite(p.northing) && std::isfinite(p.easting));
}

} // namespace
