// The UTM zone system against PROJ's UTM (utm.txt, utm_zone_from_point.txt,
// see make_fixtures.sh): zones 1 and 60 in both hemispheres, the 180th
// meridian, and the zone taken from the point.

#include "fixture_table.hpp"

#include "geodetic/utm.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace geodetic_test;

// The reference point's distance in longitude from the zone's central meridian.
double fromCentralMeridian(int zone, const ProjectedReference& ref) {
    const int inHemisphere = (zone - 1) % 60 + 1;
    return angleDifference_deg(ref.lon_deg, 6.0 * inHemisphere - 183.0) * degree;
}

TEST(Utm, ForwardMatchesProjInBothHemispheres) {
    const ellipsoid ell = grs80();
    for (const FixtureRow& row : readFixtureTable("utm.txt")) {
        const int zone = static_cast<int>(row[0]);
        const ProjectedReference ref = projectedReference(row);
        geodCoord p = eastPositivePoint(ref);
        ASSERT_EQ(UTMGeod2Grid(zone, &ell, &p), projectionOk);
        EXPECT_EQ(p.utmZone, zone);
        expectGridMatches(ref, p, tmForwardScaleTolerance(p.lat, fromCentralMeridian(zone, ref)));
        EXPECT_DOUBLE_EQ(p.lon, ref.lon_deg * degree) << "left as given";
    }
}

// Southern zones used to leave the caller's scale and convergence as they
// were, and the adjustment reduces distances with that scale.
TEST(Utm, InverseMatchesProjWithScaleAndConvergenceInTheSouth) {
    const ellipsoid ell = grs80();
    for (const FixtureRow& row : readFixtureTable("utm.txt")) {
        const int zone = static_cast<int>(row[0]);
        const ProjectedReference ref = projectedReference(row);
        geodCoord p = gridPointOf(ref);
        ASSERT_EQ(UTMGrid2Geod(zone, &ell, &p), projectionOk);
        expectGeodeticMatches(ref, p.lat, p.lon, p.scale, p.conv);
    }
}

// A point on 180 degrees used to get zone 61, a southern zone, and with it
// the southern false northing in the northern hemisphere.
TEST(Utm, ZoneFromThePointTreats180EastAs180West) {
    const ellipsoid ell = grs80();
    for (const FixtureRow& row : readFixtureTable("utm_zone_from_point.txt")) {
        const int expectedZone = static_cast<int>(row[0]);
        const ProjectedReference ref = projectedReference(row);
        geodCoord p = eastPositivePoint(ref);
        ASSERT_EQ(UTMGeod2Grid(0, &ell, &p), projectionOk);
        EXPECT_EQ(p.utmZone, expectedZone) << ref.where;
        expectGridMatches(ref, p,
                          tmForwardScaleTolerance(p.lat, fromCentralMeridian(expectedZone, ref)));
    }
}

TEST(Utm, RoundTripsNearTheCentralMeridianInBothHemispheres) {
    const ellipsoid ell = grs80();
    struct Case {
        int zone;
        double lat_deg, lon_deg;
    };
    for (const Case& c : {Case{32, 45.0, 10.2}, Case{92, -30.0, 8.1}, Case{60, 0.3, 177.9},
                          Case{120, -70.0, 176.0}, Case{1, 12.0, -178.1}}) {
        const ProjectedReference ref{
            "zone " + std::to_string(c.zone), c.lat_deg, c.lon_deg, 0, 0, 0, 0};
        geodCoord p = eastPositivePoint(ref);
        ASSERT_EQ(UTMGeod2Grid(c.zone, &ell, &p), projectionOk);
        ASSERT_EQ(UTMGrid2Geod(c.zone, &ell, &p), projectionOk);
        expectRoundTrip(ref, p.lat, p.lon, ell.semiMajor);
    }
}

TEST(Utm, SouthernZoneAndNorthernZoneGiveTheSameNorthingSouthOfTheEquator) {
    const ellipsoid ell = grs80();
    geodCoord south{}, north{};
    south.lat = north.lat = -30.0 * degree;
    south.lon = north.lon = 10.0 * degree;
    UTMGeod2Grid(92, &ell, &south);
    UTMGeod2Grid(32, &ell, &north);
    EXPECT_EQ(south.northing, north.northing);
    EXPECT_GT(south.northing, 6000000.0);
}

TEST(Utm, ZoneConstants) {
    zoneCnstnt zone{};
    zone.zoneCode = 4321;
    UTMInitializeZoneConstants(1, &zone);
    EXPECT_EQ(zone.projType, projTransverseMercator);
    EXPECT_DOUBLE_EQ(zone.centralMeridian, 177.0 * degree) << "177 W, west-positive";
    EXPECT_DOUBLE_EQ(zone.originLon, zone.centralMeridian);
    EXPECT_EQ(zone.scaleFactor, 0.9996);
    EXPECT_EQ(zone.falseEasting, 500000.0);
    EXPECT_EQ(zone.falseNorthing, 0.0);
    EXPECT_EQ(zone.zoneCode, 4321) << "not written";
    UTMInitializeZoneConstants(31, &zone);
    EXPECT_NEAR(zone.centralMeridian, -3.0 * degree, 1e-15);
    UTMInitializeZoneConstants(120, &zone);
    EXPECT_NEAR(zone.centralMeridian, -177.0 * degree, 1e-15);
}

TEST(Utm, ValidZonesAre1To120) {
    EXPECT_EQ(invalidUTMZone(0), 1);
    EXPECT_EQ(invalidUTMZone(1), 0);
    EXPECT_EQ(invalidUTMZone(120), 0);
    EXPECT_EQ(invalidUTMZone(121), 1);
    EXPECT_EQ(invalidUTMZone(-5), 1);
}

TEST(Utm, ZoneNameListFitsOrSaysSo) {
    std::vector<char> buffer(8000, 'x');
    ASSERT_EQ(UTMGetZoneLstS(buffer.data(), static_cast<int>(buffer.size())), 0);
    const std::string all(buffer.data());
    ASSERT_EQ(all.back(), '\n');
    const std::vector<std::string> names = splitLines(all);
    ASSERT_EQ(names.size(), 120u);
    EXPECT_EQ(names[0], "Zone  1 - N 174 deg. W To 180 deg. W");
    EXPECT_EQ(names[29], "Zone 30 - N   0 deg. W To   6 deg. W");
    EXPECT_EQ(names[30], "Zone 31 - N   6 deg. E To   0 deg. E");
    EXPECT_EQ(names[59], "Zone 60 - N 180 deg. E To 174 deg. E");
    EXPECT_EQ(names[60], "Zone  1 - S 174 deg. W To 180 deg. W");
    EXPECT_EQ(names[119], "Zone 60 - S 180 deg. E To 174 deg. E");

    const int exact = static_cast<int>(all.size());
    EXPECT_EQ(UTMGetZoneLstS(buffer.data(), exact), 1) << "no room for the terminating NUL";
    EXPECT_EQ(UTMGetZoneLstS(buffer.data(), exact + 1), 0);
    EXPECT_EQ(std::string(buffer.data()), all);
    ASSERT_EQ(UTMGetZoneLstS(buffer.data(), 40), 1);
    EXPECT_EQ(std::string(buffer.data()), names[0] + "\n") << "the names that fitted";
}

} // namespace
