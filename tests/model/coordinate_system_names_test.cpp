// The zone, ellipsoid and projection names the settings offer, by the
// positions the project's codes come from.

#include "model/settings/coordinate_system_names.hpp"
#include "model/settings/global_vars.hpp"

#include <gtest/gtest.h>

// UTM names: zones 1-30 span 180 - 6z to 186 - 6z degrees west, zones 31-60
// 6z - 180 to 6z - 186 east; the southern zones follow the northern 60.
TEST(CoordinateSystemNames, UtmZonesInTheOrderOfTheirNumbers) {
    const std::vector<std::string>& names = utmZoneNames();
    ASSERT_EQ(names.size(), 120u);
    EXPECT_EQ(names[0], "Zone  1 - N 174 deg. W To 180 deg. W");
    // Zone 20: 180 - 120 = 60 to 186 - 120 = 66 degrees west.
    EXPECT_EQ(names[19], "Zone 20 - N  60 deg. W To  66 deg. W");
    // Zone 33 south: position 60 + 32 = 92, gridZone 93; 198 - 180 = 18 to 12 east.
    EXPECT_EQ(names[92], "Zone 33 - S  18 deg. E To  12 deg. E");
    EXPECT_EQ(names[119], "Zone 60 - S 180 deg. E To 174 deg. E");
}

TEST(CoordinateSystemNames, StatePlaneZonesOfBothDatums) {
    const std::vector<std::string>& nad83 = statePlaneZoneNames(gridStatePlane83);
    ASSERT_EQ(nad83.size(), 124u);
    EXPECT_EQ(nad83.front(), "Alabama East - 0101");
    EXPECT_EQ(nad83.back(), "Puerto Rico - 5200");
    // Every zone of the 1927 table, Wyoming West (4904) the last of 130.
    const std::vector<std::string>& nad27 = statePlaneZoneNames(gridStatePlane27);
    ASSERT_EQ(nad27.size(), 130u);
    EXPECT_EQ(nad27.front(), "Alabama East - 0101");
    EXPECT_EQ(nad27.back(), "Wyoming West - 4904");
    EXPECT_TRUE(statePlaneZoneNames(gridUtm).empty());
}

TEST(CoordinateSystemNames, ZoneCodesFromTheirNames) {
    EXPECT_EQ(zoneCodeOfName("Alabama East - 0101"), 101);
    EXPECT_EQ(zoneCodeOfName("Wyoming West - 4904"), 4904);
    EXPECT_EQ(zoneCodeOfName("Local"), 0);
}

TEST(CoordinateSystemNames, EllipsoidsAndProjectionsByCode) {
    ASSERT_EQ(ellipsoidNames().size(), 17u);
    EXPECT_EQ(ellipsoidNames()[9], "GRS 1980");
    EXPECT_EQ(ellipsoidNames()[15], "WGS 1984");
    EXPECT_EQ(ellipsoidNames()[userDefinedEllipsoid], "User-Defined");
    ASSERT_EQ(projectionNames().size(), 6u);
    EXPECT_EQ(projectionNames()[5], "Oblique Mercator, (EPSG)");
}
