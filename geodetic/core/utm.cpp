// The UTM zone system: zone numbers, zone records and the hemisphere rules.

#include "geodetic/utm.hpp"

#include "geodetic/projection_engine.hpp"
#include "plain_text.hpp"
#include "transverse_mercator.hpp"

#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

namespace {

constexpr int zonesPerHemisphere = 60;
constexpr double southernFalseNorthing = 10000000.0;
constexpr double utmScaleFactor = 0.9996;
constexpr double utmFalseEasting = 500000.0;

constexpr double degreesToRadians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}
double radiansToDegrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

// West-positive.
constexpr double centralMeridianOf(int zone) {
    return degreesToRadians(zone <= zonesPerHemisphere ? 183.0 - 6.0 * zone : 543.0 - 6.0 * zone);
}

// The central meridians of zones 1-120, so that a point does not wait for a
// division to learn its zone's.
constexpr std::array<double, 2 * zonesPerHemisphere + 1> centralMeridians = [] {
    std::array<double, 2 * zonesPerHemisphere + 1> meridians{};
    for (int zone = 1; zone <= 2 * zonesPerHemisphere; ++zone)
        meridians[static_cast<std::size_t>(zone)] = centralMeridianOf(zone);
    return meridians;
}();

double tabledCentralMeridian(int zone) {
    return zone >= 1 && zone <= 2 * zonesPerHemisphere
               ? centralMeridians[static_cast<std::size_t>(zone)]
               : centralMeridianOf(zone);
}

// The northern zone 1-60 whose 6-degree band holds the east-positive longitude.
// The band number is wrapped so that 180 degrees east, the same meridian as
// 180 degrees west, falls in zone 1 rather than in a 61st northern zone.
int northernZoneOfLongitude(double lonEast) {
    const long band = std::lround((radiansToDegrees(lonEast) + 183.0) / 6.0);
    return static_cast<int>(((band - 1) % zonesPerHemisphere + zonesPerHemisphere) %
                            zonesPerHemisphere) +
           1;
}

std::string zoneName(int zone) {
    const int inHemisphere = (zone - 1) % zonesPerHemisphere + 1;
    const char hemisphere = zone <= zonesPerHemisphere ? 'N' : 'S';
    const bool west = inHemisphere <= 30;
    const int eastBoundary = west ? 180 - 6 * inHemisphere : 6 * (inHemisphere - 30);
    const int westBoundary = west ? eastBoundary + 6 : eastBoundary - 6;
    const char* side = west ? "W" : "E";
    using geodetic_detail::paddedNumber;
    return "Zone " + paddedNumber(inHemisphere, 2, ' ') + " - " + hemisphere + " " +
           paddedNumber(eastBoundary, 3, ' ') + " deg. " + side + " To " +
           paddedNumber(westBoundary, 3, ' ') + " deg. " + side;
}

} // namespace

void UTMInitializeZoneConstants(int zone, zoneCnstnt* out) {
    out->projType = projTransverseMercator;
    out->scaleFactor = utmScaleFactor;
    out->falseNorthing = 0.0;
    out->falseEasting = utmFalseEasting;
    out->originLat = 0.0;
    out->centralMeridian = tabledCentralMeridian(zone);
    out->originLon = out->centralMeridian;
}

int invalidUTMZone(int zone) {
    return zone >= 1 && zone <= 2 * zonesPerHemisphere ? 0 : 1;
}

int UTMGeod2Grid(int zone, const ellipsoid* ell, geodCoord* point) {
    if (zone == 0)
        zone = northernZoneOfLongitude(point->lon) + (point->lat < 0.0 ? zonesPerHemisphere : 0);
    point->utmZone = zone;
    // The zone's constants straight into the projection: no zone record is
    // filled and copied for each point.
    const geodetic_detail::TransverseMercatorZone constants{
        ell, utmScaleFactor, 0.0, utmFalseEasting, 0.0, tabledCentralMeridian(zone)};
    geodetic_detail::transverseMercatorForwardEast(constants, point);
    if (zone > zonesPerHemisphere || point->lat < 0.0)
        point->northing += southernFalseNorthing;
    return projectionOk;
}

int UTMGrid2Geod(int zone, const ellipsoid* ell, geodCoord* point) {
    zoneCnstnt constants{};
    UTMInitializeZoneConstants(zone, &constants);
    if (zone <= zonesPerHemisphere) {
        TM2Geod(ell, &constants, point);
        point->lon = -point->lon;
        return projectionOk;
    }
    // The southern point is the mirror image of a northern one across the
    // equator: same longitude and scale, opposite latitude and convergence.
    geodCoord mirror = *point;
    mirror.northing = southernFalseNorthing - point->northing;
    TM2Geod(ell, &constants, &mirror);
    point->lat = -mirror.lat;
    point->lon = -mirror.lon;
    point->scale = mirror.scale;
    point->conv = -mirror.conv;
    return projectionOk;
}

int UTMGetZoneLstS(char* buffer, int size) {
    if (size <= 0)
        return 1;
    buffer[0] = '\0';
    std::size_t total = 0, used = 0;
    for (int zone = 1; zone <= 2 * zonesPerHemisphere; ++zone) {
        const std::string name = zoneName(zone) + '\n';
        total += name.size();
        if (total >= static_cast<std::size_t>(size))
            return 1;
        std::memcpy(buffer + used, name.c_str(), name.size() + 1);
        used += name.size();
    }
    return 0;
}
