// Earth-centred coordinates and the local east-north-up frame against PROJ
// (earth_centred.txt: cct +proj=cart; local_frame.txt: cct +proj=topocentric;
// see make_fixtures.sh), with the poles and the 180th meridian.

#include "fixture_table.hpp"

#include "geodetic/earth_centred.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace geodetic_test;

// The built-in ellipsoid's b (6356752.3141403) is GRS 80's to 0.05 mm.
constexpr double builtInAgreement_m = 1e-4;

struct EcefCase {
    std::string where;
    double lat, lon, h; // radians, radians, metres
    double x, y, z;
};

EcefCase ecefCaseOf(const FixtureRow& row) {
    return {row.where, row[0] * degree, row[1] * degree, row[2], row[3], row[4], row[5]};
}

void expectSamePosition(const EcefCase& c, double lat, double lon, double h) {
    SCOPED_TRACE(c.where);
    EXPECT_NEAR(lat / degree, c.lat / degree, angleTolerance_deg);
    EXPECT_NEAR(h, c.h, builtInAgreement_m);
    // The longitude of a point on the polar axis is 0 by convention; elsewhere
    // it is compared along the parallel, across the 180th meridian.
    if (std::abs(c.lat) == 90.0 * degree)
        EXPECT_EQ(lon, 0.0);
    else
        EXPECT_NEAR(angleDifference_deg(lon / degree, c.lon / degree) * std::cos(c.lat), 0.0,
                    angleTolerance_deg);
}

TEST(EarthCentred, ForwardMatchesProj) {
    const ellipsoid ell = grs80();
    for (const FixtureRow& row : readFixtureTable("earth_centred.txt")) {
        const EcefCase c = ecefCaseOf(row);
        SCOPED_TRACE(c.where);
        double x = 0, y = 0, z = 0;
        lat2ecef(&x, &y, &z, c.lat, c.lon, c.h);
        EXPECT_NEAR(x, c.x, builtInAgreement_m);
        EXPECT_NEAR(y, c.y, builtInAgreement_m);
        EXPECT_NEAR(z, c.z, builtInAgreement_m);

        geodCoord p{};
        p.lat = c.lat;
        p.lon = c.lon;
        p.elev = c.h;
        ASSERT_EQ(latLongElev2XYZ_EC(ell, &p), 0);
        EXPECT_NEAR(p.easting, c.x, 1e-6);
        EXPECT_NEAR(p.northing, c.y, 1e-6);
        EXPECT_NEAR(p.elev, c.z, 1e-6);
    }
}

// Points on the polar axis and on the 180th meridian used to come back with
// a NaN longitude (0/0) or a division by zero.
TEST(EarthCentred, InverseMatchesProjAtPolesAndThe180thMeridian) {
    const ellipsoid ell = grs80();
    for (const FixtureRow& row : readFixtureTable("earth_centred.txt")) {
        const EcefCase c = ecefCaseOf(row);
        double lat = 0, lon = 0, h = 0;
        ecef2lat(c.x, c.y, c.z, &lat, &lon, &h);
        expectSamePosition(c, lat, lon, h);

        geodCoord p{};
        p.easting = c.x;
        p.northing = c.y;
        p.elev = c.z;
        ASSERT_EQ(XYZ_EC2latLongElev(ell, &p), 0);
        expectSamePosition(c, p.lat, p.lon, p.elev);
    }
}

TEST(EarthCentred, RoundTripOnTheRecordEllipsoid) {
    const ellipsoid ell = grs80();
    for (const FixtureRow& row : readFixtureTable("earth_centred.txt")) {
        const EcefCase c = ecefCaseOf(row);
        geodCoord p{};
        p.lat = c.lat;
        p.lon = c.lon;
        p.elev = c.h;
        latLongElev2XYZ_EC(ell, &p);
        XYZ_EC2latLongElev(ell, &p);
        SCOPED_TRACE(c.where);
        EXPECT_NEAR(p.lat, c.lat, 1e-10);
        EXPECT_NEAR(p.elev, c.h, 1e-4);
    }
}

TEST(EarthCentred, TheEquatorAtLongitudeZeroTakesOneStep) {
    double lat = 1, lon = 1, h = 1;
    ecef2lat(6378137.0, 0.0, 0.0, &lat, &lon, &h);
    EXPECT_EQ(lat, 0.0);
    EXPECT_EQ(lon, 0.0);
    EXPECT_EQ(h, 0.0);
}

TEST(EarthCentred, TheCentreOfTheEarthGivesFiniteValues) {
    double lat = 1, lon = 1, h = 1;
    ecef2lat(0.0, 0.0, 0.0, &lat, &lon, &h);
    EXPECT_TRUE(std::isfinite(lat) && std::isfinite(lon) && std::isfinite(h));
}

TEST(LocalFrame, MatchesProjTopocentric) {
    for (const FixtureRow& row : readFixtureTable("local_frame.txt")) {
        SCOPED_TRACE(row.where);
        const double lat = row[0] * degree, lon = row[1] * degree;
        double e = 0, n = 0, u = 0;
        ASSERT_EQ(localToLocalGeodetic(lat, lon, row[2], row[3], row[4], &e, &n, &u), 0);
        EXPECT_NEAR(e, row[5], 1e-6);
        EXPECT_NEAR(n, row[6], 1e-6);
        EXPECT_NEAR(u, row[7], 1e-6);
    }
}

// The reverse rotation used to return 0 and write nothing.
TEST(LocalFrame, ReverseRotationReturnsTheEarthCentredVector) {
    for (const FixtureRow& row : readFixtureTable("local_frame.txt")) {
        SCOPED_TRACE(row.where);
        const double lat = row[0] * degree, lon = row[1] * degree;
        double x = 0, y = 0, z = 0;
        ASSERT_EQ(localGeodeticToLocal(lat, lon, row[5], row[6], row[7], &x, &y, &z), 0);
        EXPECT_NEAR(x, row[2], 1e-6);
        EXPECT_NEAR(y, row[3], 1e-6);
        EXPECT_NEAR(z, row[4], 1e-6);
    }
}

} // namespace
