// Oblique Mercator by projection centre against PROJ's Hotine oblique
// Mercator, variant B (oblique_mercator_centre/omerc.txt, see make_centre_tables.sh
// beside it), and against the worked example of IOGP Guidance Note 7-2.

#include "fixture_table.hpp"

#include "geodetic/oblique_mercator_centre.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

using namespace geodetic_test;

constexpr const char* table = "oblique_mercator_centre/omerc.txt";

struct CentreCase {
    zoneCnstntObliqueMerc zone;
    ProjectedReference ref;
};

// Columns: a rf latc lonc alpha gamma kc FE FN | reference.
zoneCnstntObliqueMerc zoneOf(double a, double rf, double latc_deg, double lonc_deg,
                             double alpha_deg, double gamma_deg, double kc, double fe, double fn) {
    zoneCnstntObliqueMerc zone{};
    initEllipsoid(&zone.ellipsoid, a, 1.0 / rf);
    zone.centreLat = latc_deg * degree;
    zone.centreLon = lonc_deg * degree;
    zone.azimuth = alpha_deg * degree;
    zone.gridAngle = gamma_deg * degree;
    zone.centreScale = kc;
    zone.falseEasting = fe;
    zone.falseNorthing = fn;
    return zone;
}

// Centre 4 N 102.25 E on GRS 80, alpha 323.0257905, gamma 323.1301024, kc
// 0.99984: the first block of omerc.txt.
zoneCnstntObliqueMerc centreIn102East() {
    return zoneOf(6378137, 298.257222101, 4, 102.25, 323.0257905, 323.1301024, 0.99984, 804671, 0);
}

geodCoord pointAt(double lat_deg, double lon_deg) {
    geodCoord p{};
    p.lat = lat_deg * degree;
    p.lon = lon_deg * degree;
    return p;
}

std::vector<CentreCase> cases() {
    std::vector<CentreCase> out;
    for (const FixtureRow& row : readFixtureTable(table))
        out.push_back(
            {zoneOf(row[0], row[1], row[2], row[3], row[4], row[5], row[6], row[7], row[8]),
             projectedReference(row)});
    return out;
}

TEST(ObliqueMercatorCentre, ForwardMatchesProj) {
    for (const CentreCase& c : cases()) {
        geodCoord p = eastPositivePoint(c.ref);
        ASSERT_EQ(latLong2XY_OMProjCenter(c.zone, &p), 0);
        expectGridMatches(c.ref, p);
    }
}

TEST(ObliqueMercatorCentre, InverseMatchesProj) {
    for (const CentreCase& c : cases()) {
        geodCoord p = gridPointOf(c.ref);
        ASSERT_EQ(XY2latLong_OMProjCenter(c.zone, &p), 0);
        expectGeodeticMatches(c.ref, p.lat, p.lon, p.scale, p.conv);
    }
}

// The latitude series of the inverse stops at e^8; the omitted e^10 terms
// (e^10 sin 2chi / 100 or so) leave up to 1.4e-12 rad (9 micrometres) at
// these latitudes.
TEST(ObliqueMercatorCentre, ForwardThenInverseReturnsThePoint) {
    for (const CentreCase& c : cases()) {
        geodCoord p = eastPositivePoint(c.ref);
        latLong2XY_OMProjCenter(c.zone, &p);
        XY2latLong_OMProjCenter(c.zone, &p);
        expectRoundTrip(c.ref, p.lat, p.lon, c.zone.ellipsoid.semiMajor,
                        2e-12 * c.zone.ellipsoid.semiMajor);
    }
}

TEST(ObliqueMercatorCentre, ReturnsAPointNearTheCentreToAPicoradian) {
    // The points 0.5 degrees south and 0.75 west and east of the centre.
    const zoneCnstntObliqueMerc zone = centreIn102East();
    for (const double side : {-1.0, 1.0}) {
        geodCoord p = pointAt(3.5, 102.25 + side * 0.75);
        latLong2XY_OMProjCenter(zone, &p);
        XY2latLong_OMProjCenter(zone, &p);
        EXPECT_NEAR(p.lat, 3.5 * degree, 1e-12);
        EXPECT_NEAR(p.lon, (102.25 + side * 0.75) * degree, 1e-12);
    }
}

// Convergence is the angle that turns grid azimuths into geodetic ones; a
// constant 0 would leave the meridians' angle on the grid (a tenth of a
// degree here, degrees at the edges of a zone) in every azimuth reduced
// with it.
TEST(ObliqueMercatorCentre, ConvergenceIsTheMeridiansAngleOnTheGridNotZero) {
    const zoneCnstntObliqueMerc zone = centreIn102East();
    geodCoord p = pointAt(3.5, 101.5);
    latLong2XY_OMProjCenter(zone, &p);
    // proj_factors, omerc.txt row "... 3.5 101.5": -0.153788665654 degrees.
    EXPECT_NEAR(p.conv / degree, -0.153788665654, convergenceTolerance_deg);
    XY2latLong_OMProjCenter(zone, &p);
    EXPECT_NEAR(p.conv / degree, -0.153788665654, convergenceTolerance_deg);
}

// IOGP Guidance Note 7-2 (2019), 2.4.1.3, worked example for method 9815:
// Timbalai 1948 / RSO Borneo, Everest 1830 (1967 definition) a 6377298.556 m,
// 1/f 300.8017; centre 4 N 115 E, alpha 53 18 56.9537, gamma 53 07 48.3685,
// kc 0.99984, FE 590476.87 m, FN 442857.65 m. The point 5 23 14.1129 N,
// 115 48 19.8196 E has E 679245.73 m, N 596562.78 m (printed to the
// centimetre).
TEST(ObliqueMercatorCentre, MatchesThePublishedWorkedExample) {
    const zoneCnstntObliqueMerc zone =
        zoneOf(6377298.556, 300.8017, 4, 115, 53 + 18 / 60.0 + 56.9537 / 3600.0,
               53 + 7 / 60.0 + 48.3685 / 3600.0, 0.99984, 590476.87, 442857.65);
    const double lat = (5 + 23 / 60.0 + 14.1129 / 3600.0) * degree;
    const double lon = (115 + 48 / 60.0 + 19.8196 / 3600.0) * degree;
    geodCoord p{};
    p.lat = lat;
    p.lon = lon;
    latLong2XY_OMProjCenter(zone, &p);
    EXPECT_NEAR(p.easting, 679245.73, 0.005);
    EXPECT_NEAR(p.northing, 596562.78, 0.005);

    geodCoord q{};
    q.easting = 679245.73;
    q.northing = 596562.78;
    XY2latLong_OMProjCenter(zone, &q);
    // Half a centimetre on the ground is about 5e-8 degrees.
    EXPECT_NEAR(q.lat / degree, lat / degree, 1e-7);
    EXPECT_NEAR(q.lon / degree, lon / degree, 1e-7);
}

TEST(ObliqueMercatorCentre, TheCentreIsTheFalseOrigin) {
    for (const CentreCase& c : cases()) {
        geodCoord p{};
        p.lat = c.zone.centreLat;
        p.lon = c.zone.centreLon;
        latLong2XY_OMProjCenter(c.zone, &p);
        SCOPED_TRACE(c.ref.where);
        EXPECT_NEAR(p.easting, c.zone.falseEasting, 1e-6);
        EXPECT_NEAR(p.northing, c.zone.falseNorthing, 1e-6);
        EXPECT_NEAR(p.scale, c.zone.centreScale, 1e-12);
        // The initial line crosses the centre at alpha; the grid is turned by gamma.
        EXPECT_NEAR(
            std::remainder(p.conv - (c.zone.azimuth - c.zone.gridAngle), 2 * std::numbers::pi), 0.0,
            1e-12);

        geodCoord q{};
        q.easting = c.zone.falseEasting;
        q.northing = c.zone.falseNorthing;
        XY2latLong_OMProjCenter(c.zone, &q);
        EXPECT_NEAR(q.lat, c.zone.centreLat, 1e-12);
        EXPECT_NEAR(q.lon, c.zone.centreLon, 1e-12);
    }
}

// With the initial line due east at the centre, the arc sine that places the
// natural origin takes an argument of exactly 1, which rounding can push
// above 1 (at 57 N on GRS 80 it does).
TEST(ObliqueMercatorCentre, AnInitialLineDueEastHasFiniteCoordinates) {
    const zoneCnstntObliqueMerc zone =
        zoneOf(6378137, 298.257222101, 57, 10, 90, 90, 1, 500000, 300000);
    geodCoord p = pointAt(58, 11);
    latLong2XY_OMProjCenter(zone, &p);
    EXPECT_TRUE(std::isfinite(p.easting) && std::isfinite(p.northing));
    XY2latLong_OMProjCenter(zone, &p);
    EXPECT_NEAR(p.lat / degree, 58, angleTolerance_deg);
    EXPECT_NEAR(p.lon / degree, 11, angleTolerance_deg);
}

TEST(ObliqueMercatorCentre, ACentreOnTheEquatorHasItsOriginThere) {
    // D = 1 there: F = 1 and uc = 0, so the natural origin is the centre.
    const zoneCnstntObliqueMerc zone = zoneOf(6378137, 298.257222101, 0, 30, 40, 40, 1, 0, 0);
    geodCoord p{};
    p.lat = 0.0;
    p.lon = 30 * degree;
    latLong2XY_OMProjCenter(zone, &p);
    EXPECT_NEAR(p.easting, 0.0, 1e-6);
    EXPECT_NEAR(p.northing, 0.0, 1e-6);
}

TEST(ObliqueMercatorObject, AgreesWithTheFunctionsAndWritesNoFactors) {
    for (const CentreCase& c : cases()) {
        SCOPED_TRACE(c.ref.where);
        geodCoord p = eastPositivePoint(c.ref);
        p.scale = -1.0;
        p.conv = -1.0;
        ASSERT_EQ(latLong2XY_ObliqueMercator(&c.zone, &p), 0);
        EXPECT_NEAR(p.easting, c.ref.easting, gridTolerance_m);
        EXPECT_NEAR(p.northing, c.ref.northing, gridTolerance_m);

        geodCoord q = gridPointOf(c.ref);
        q.scale = -1.0;
        q.conv = -1.0;
        ASSERT_EQ(XY2latLong_ObliqueMercator(&c.zone, &q), 0);
        EXPECT_NEAR(q.lat / degree, c.ref.lat_deg, angleTolerance_deg);
        EXPECT_NEAR(q.lon / degree, c.ref.lon_deg, angleTolerance_deg);
        EXPECT_EQ(p.scale, -1.0);
        EXPECT_EQ(p.conv, -1.0);
        EXPECT_EQ(q.scale, -1.0);
        EXPECT_EQ(q.conv, -1.0);
    }
}

TEST(ObliqueMercatorObject, TakesALongitudeAFullTurnAwayAsTheSameMeridian) {
    const zoneCnstntObliqueMerc zone = centreIn102East();
    OGCTObliqueMercator projection;
    ASSERT_EQ(projection.Init(zone), 1);
    geodCoord p = pointAt(3.5, 101.5);
    geodCoord turned = pointAt(3.5, 101.5 - 360.0);
    projection.TransGeoToMap(&p);
    projection.TransGeoToMap(&turned);
    // omerc.txt row "... 3.5 101.5".
    EXPECT_NEAR(turned.easting, 721244.3584286, gridTolerance_m);
    EXPECT_NEAR(turned.northing, -55094.4812946, gridTolerance_m);
    EXPECT_NEAR(p.easting, turned.easting, 1e-6);
}

} // namespace
