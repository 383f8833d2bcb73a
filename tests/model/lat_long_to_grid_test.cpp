#include "model/lat_long_to_grid.hpp"

#include "model/angle_text.hpp"
#include "model/number_format.hpp"
#include "model/user_projection.hpp"
#include "platform/c_locale_text.hpp"
#include "support/project_vars_guard.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr double degree = M_PI / 180.0;

// A system of each projection type around a meridian and a latitude (degrees,
// east and north positive) on the GRS 80 / WGS 84 ellipsoid.
udpRec systemOf(int type, double meridian, double latitude) {
    udpRec udp;
    udp.EllipseA = 6378137.0;
    udp.EllipseF = 1.0 / 298.257223563;
    udp.ProjInt = type;
    udp.FalseEastings = 500000.0;
    udp.FalseNorthings = 100000.0;
    udp.projection_scale = 0.9999;
    udp.CentralMeridian = meridian * degree;
    udp.ScaleOrRefLatitude = latitude * degree;
    switch (type) {
    case udpLambertOneParallel:
        udp.projection_scale = 1.0;
        break;
    case udpLambertTwoParallels:
        udp.CentralOrNorthLatitude = (latitude + 2.0) * degree;
        udp.SkewOrSouthLatitude = (latitude - 2.0) * degree;
        udp.ScaleOrRefLatitude = (latitude - 3.0) * degree;
        break;
    case udpObliqueMercatorAzimuth:
    case udpObliqueMercatorCentre:
        udp.SkewOrSouthLatitude = 30.0 * degree;
        udp.CentralMeridian = 30.0 * degree; // the centre form's grid angle
        udp.latOrigin = latitude * degree;
        udp.lonOrigin = meridian * degree;
        break;
    default:
        break;
    }
    return udp;
}

struct Place {
    const char* lat;
    const char* lon;
    double latDeg, lonDeg; // the same, in decimal degrees
    double meridian, latitude;
};

} // namespace

// Every projection type: the grid the dialog lists goes back through the
// projection's own inverse to the typed place (east positive), so the
// longitude reached each projection in the sense it takes.
TEST(LatLongToGrid, EveryProjectionRoundTrips) {
    testsupport::ProjectVarsGuard settings;
    projectVars.coordPrec = 6;
    const Place places[] = {
        {"52.3015", "15.4530", 52.0 + 30.0 / 60 + 15.0 / 3600, 15.0 + 45.0 / 60 + 30.0 / 3600, 15.0,
         52.0},
        {"-33.5230", "-70.3045", -(33.0 + 52.0 / 60 + 30.0 / 3600),
         -(70.0 + 30.0 / 60 + 45.0 / 3600), -70.0, -33.0},
    };
    for (const Place& place : places)
        for (int type = udpTransverseMercator; type <= udpObliqueMercatorCentre; ++type) {
            SCOPED_TRACE(std::string(place.lat) + " type " + std::to_string(type));
            const udpRec udp = systemOf(type, place.meridian, place.latitude);
            std::vector<std::string> lines = {"before"};
            std::string message;
            ASSERT_EQ(latLongToGridLines(udp, place.lat, place.lon, lines, message),
                      latLongConverted);
            ASSERT_EQ(lines.size(), 6u);
            EXPECT_EQ(lines[1], "Latitude: " + latToText(place.latDeg * degree));
            EXPECT_EQ(lines[2], "Longitude: " + lonToText(place.lonDeg * degree));
            EXPECT_EQ(lines[5], "");
            ASSERT_EQ(lines[3].rfind("Northing: ", 0), 0u);
            ASSERT_EQ(lines[4].rfind("Easting: ", 0), 0u);
            geodCoord back{};
            back.northing = platform::atofC(lines[3].substr(10));
            back.easting = platform::atofC(lines[4].substr(9));
            udpGridToGeod(udp, back);
            // 1e-6 m of printed grid is about 1e-11 degrees.
            EXPECT_NEAR(back.lat / degree, place.latDeg, 1e-9);
            EXPECT_NEAR(back.lon / degree, place.lonDeg, 1e-9);
        }
}

// On the central meridian of a transverse Mercator the easting is the false
// easting.
TEST(LatLongToGrid, CentralMeridianGivesTheFalseEasting) {
    testsupport::ProjectVarsGuard settings;
    std::vector<std::string> lines;
    std::string message;
    ASSERT_EQ(latLongToGridLines(systemOf(udpTransverseMercator, -75.0, 0.0), "40.0000", "-75.0000",
                                 lines, message),
              latLongConverted);
    EXPECT_EQ(lines[3], "Easting: " + formatCoordinate(500000.0));
}

// Out of range, or minutes or seconds of 60 and more: refused with the text.
TEST(LatLongToGrid, RefusedEntries) {
    testsupport::ProjectVarsGuard settings;
    struct Case {
        const char* lat;
        const char* lon;
        const char* message;
    };
    const Case cases[] = {
        {"90.0001", "10.0000", "Invalid latitude entry: 90.0001"},
        {"-90.0001", "10.0000", "Invalid latitude entry: -90.0001"},
        {"45.6000", "10.0000", "Invalid latitude entry: 45.6000"},
        {"45.3060", "10.0000", "Invalid latitude entry: 45.3060"},
        {"45.0000", "180.0001", "Invalid longitude entry: 180.0001"},
        {"45.0000", "-12.0075", "Invalid longitude entry: -12.0075"},
        {"45.0000", "12.6100", "Invalid longitude entry: 12.6100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> lines;
        std::string message;
        EXPECT_EQ(latLongToGridLines(systemOf(0, 10.0, 45.0), c.lat, c.lon, lines, message),
                  latLongRefused);
        EXPECT_EQ(message, c.message);
        EXPECT_TRUE(lines.empty());
    }
    std::vector<std::string> lines;
    std::string message;
    // The bounds themselves are accepted.
    EXPECT_EQ(latLongToGridLines(systemOf(0, 10.0, 45.0), "90.0000", "10.0000", lines, message),
              latLongConverted);
    EXPECT_EQ(latLongToGridLines(systemOf(0, -179.0, 0.0), "-10.0000", "-180.0000", lines, message),
              latLongConverted);
}
