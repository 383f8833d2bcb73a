// Transverse Mercator and Lambert on their own zone records, and
// lambert_calc, against PROJ (utm.txt, lambert_engine.txt, lambert_calc.txt;
// see make_fixtures.sh).

#include "fixture_table.hpp"

#include "geodetic/explicit_projections.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

using namespace geodetic_test;

// The explicit record of a zone of utm.txt (61-120 are southern zones).
zoneCnstntTM explicitUtmZone(int zone) {
    zoneCnstntTM record{};
    const bool south = zone > 60;
    EXPECT_EQ(initUTMZone(south ? zone - 60 : zone, south ? 1 : 0, grs80(), &record), 0);
    return record;
}

TEST(ExplicitTransverseMercator, MatchesProjUtmBothWays) {
    for (const FixtureRow& row : readFixtureTable("utm.txt")) {
        const zoneCnstntTM zone = explicitUtmZone(static_cast<int>(row[0]));
        const ProjectedReference ref = projectedReference(row);
        geodCoord forward = eastPositivePoint(ref);
        ASSERT_EQ(latLong2XY_TransverseMercator(zone, &forward), projectionOk);
        const double fromCm = angleDifference_deg(ref.lon_deg, -zone.centralMeridian / degree);
        expectGridMatches(ref, forward, tmForwardScaleTolerance(forward.lat, fromCm * degree));
        EXPECT_DOUBLE_EQ(forward.lon, ref.lon_deg * degree) << "left as given";

        geodCoord inverse = gridPointOf(ref);
        ASSERT_EQ(XY_TransverseMercator2latLong(zone, &inverse), projectionOk);
        expectGeodeticMatches(ref, inverse.lat, inverse.lon, inverse.scale, inverse.conv);
    }
}

TEST(ExplicitTransverseMercator, InitUtmZoneChecksTheZone) {
    zoneCnstntTM record{};
    record.zone = 77;
    EXPECT_EQ(initUTMZone(61, 0, grs80(), &record), projectionRefused);
    EXPECT_EQ(initUTMZone(-1, 0, grs80(), &record), projectionRefused);
    EXPECT_EQ(record.zone, 77) << "left as it was";

    ASSERT_EQ(initUTMZone(0, 0, grs80(), &record), projectionOk);
    EXPECT_NEAR(record.centralMeridian, 183.0 * degree, 1e-15);
    ASSERT_EQ(initUTMZone(32, 1, grs80(), &record), projectionOk);
    EXPECT_NEAR(record.centralMeridian, -9.0 * degree, 1e-15) << "9 E, west-positive";
    EXPECT_EQ(record.falseNorthing, 10000000.0);
    EXPECT_EQ(record.south, 1);
    EXPECT_EQ(record.scaleFactor, 0.9996);
    EXPECT_EQ(record.ellipsoid.semiMajor, 6378137.0);
}

TEST(ExplicitTransverseMercator, RefusesAnEllipsoidWithoutAxes) {
    zoneCnstntTM zone{};
    ASSERT_EQ(initUTMZone(32, 0, ellipsoid{}, &zone), projectionOk);
    geodCoord p{};
    p.lat = 0.5;
    p.northing = 7.0;
    EXPECT_EQ(latLong2XY_TransverseMercator(zone, &p), projectionRefused);
    EXPECT_EQ(p.northing, 7.0);
    EXPECT_EQ(XY_TransverseMercator2latLong(zone, &p), projectionRefused);
    EXPECT_EQ(p.lat, 0.5);
}

// Columns of lambert_engine.txt: a rf northParallel southParallel lat0 lon0 FE FN.
TEST(ExplicitLambert, MatchesProj) {
    for (const FixtureRow& row : readFixtureTable("lambert_engine.txt")) {
        zoneCnstntLambert zone{};
        initEllipsoid(&zone.ellipsoid, row[0], 1.0 / row[1]);
        zone.northParallel = row[2] * degree;
        zone.southParallel = row[3] * degree;
        zone.originLat = row[4] * degree;
        zone.centralMeridian = -row[5] * degree;
        zone.falseEasting = row[6];
        zone.falseNorthing = row[7];
        const ProjectedReference ref = projectedReference(row);
        geodCoord p = eastPositivePoint(ref);
        ASSERT_EQ(latLong2XY_Lambert(&zone, &p), projectionOk);
        expectGridMatches(ref, p);
    }
}

TEST(ExplicitLambert, RefusesEqualParallels) {
    zoneCnstntLambert zone{};
    zone.ellipsoid = grs80();
    zone.northParallel = zone.southParallel = 0.7;
    geodCoord p{};
    p.lat = 0.7;
    p.northing = 3.0;
    EXPECT_EQ(latLong2XY_Lambert(&zone, &p), projectionRefused);
    EXPECT_EQ(p.northing, 3.0);
}

struct LambertCalcCase {
    ellipsoid ell;
    zoneCnstnt zone;
    ProjectedReference ref;
};

// Columns: a rf northParallel southParallel origin lon0(east) k0 FE FN | reference.
LambertCalcCase lambertCalcCaseOf(const FixtureRow& row) {
    LambertCalcCase c{};
    initEllipsoid(&c.ell, row[0], 1.0 / row[1]);
    c.zone.northParallel = row[2] * degree;
    c.zone.southParallel = row[3] * degree;
    c.zone.oneParallelOrigin = row[4] * degree;
    c.zone.centralMeridian = row[5] * degree;
    c.zone.scaleFactor = row[6];
    c.zone.falseEasting = row[7];
    c.zone.falseNorthing = row[8];
    c.ref = projectedReference(row);
    return c;
}

constexpr int lambertForward = 1;
constexpr int lambertInverse = 0;

TEST(LambertCalc, ForwardMatchesProj) {
    for (const FixtureRow& row : readFixtureTable("lambert_calc.txt")) {
        const LambertCalcCase c = lambertCalcCaseOf(row);
        geodCoord p{};
        lambert_calc(&c.ell, &c.zone, c.ref.lat_deg * degree, c.ref.lon_deg * degree, &p.easting,
                     &p.northing, &p.scale, &p.conv, lambertForward);
        expectGridMatches(c.ref, p);
    }
}

// The inverse used to stop iterating at 1e-7 rad, leaving latitudes off by
// up to 3.7e-10 rad (2 mm); one and two standard parallels, both hemispheres.
TEST(LambertCalc, InverseMatchesProj) {
    for (const FixtureRow& row : readFixtureTable("lambert_calc.txt")) {
        const LambertCalcCase c = lambertCalcCaseOf(row);
        double lon = 0, lat = 0, k = 0, conv = 0;
        lambert_calc(&c.ell, &c.zone, c.ref.northing, c.ref.easting, &lon, &lat, &k, &conv,
                     lambertInverse);
        expectGeodeticMatches(c.ref, lat, lon, k, conv);
    }
}

TEST(LambertCalc, ForwardThenInverseReturnsThePoint) {
    for (const FixtureRow& row : readFixtureTable("lambert_calc.txt")) {
        const LambertCalcCase c = lambertCalcCaseOf(row);
        double e = 0, n = 0, lon = 0, lat = 0, k = 0, conv = 0;
        lambert_calc(&c.ell, &c.zone, c.ref.lat_deg * degree, c.ref.lon_deg * degree, &e, &n, &k,
                     &conv, lambertForward);
        lambert_calc(&c.ell, &c.zone, n, e, &lon, &lat, &k, &conv, lambertInverse);
        expectRoundTrip(c.ref, lat, lon, c.ell.semiMajor);
    }
}

TEST(LambertCalc, OneParallelOriginIsTheFalseOrigin) {
    const ellipsoid ell = grs80();
    zoneCnstnt zone{};
    zone.northParallel = zone.southParallel = zone.oneParallelOrigin = 0.6;
    zone.centralMeridian = -1.2;
    zone.scaleFactor = 0.9999;
    zone.falseEasting = 250000.0;
    zone.falseNorthing = 150000.0;
    double e = 0, n = 0, k = 0, conv = 0;
    lambert_calc(&ell, &zone, 0.6, -1.2, &e, &n, &k, &conv, lambertForward);
    EXPECT_NEAR(e, 250000.0, 1e-9);
    EXPECT_NEAR(n, 150000.0, 1e-9);
    EXPECT_NEAR(k, 0.9999, 1e-15);
    double lon = 0, lat = 0;
    lambert_calc(&ell, &zone, 150000.0, 250000.0, &lon, &lat, &k, &conv, lambertInverse);
    EXPECT_NEAR(lat, 0.6, 1e-15);
    EXPECT_NEAR(lon, -1.2, 1e-15);
}

} // namespace
