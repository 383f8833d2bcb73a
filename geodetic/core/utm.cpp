// The UTM zone system: zone numbers, zone records and the hemisphere rules.

#include "geodetic/utm.hpp"

#include "geodetic/projection_engine.hpp"
#include "plain_text.hpp"

#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr int zonesPerHemisphere = 60;
constexpr double southernFalseNorthing = 10000000.0;

double degreesToRadians(double degrees) {
    return degrees * (4.0 * std::atan(1.0)) / 180.0;
}
double radiansToDegrees(double radians) {
    return radians * 180.0 / (4.0 * std::atan(1.0));
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
    const double centralMeridianDegrees =
        zone <= zonesPerHemisphere ? 183.0 - 6.0 * zone : 543.0 - 6.0 * zone;
    out->projType = projTransverseMercator;
    out->scaleFactor = 0.9996;
    out->falseNorthing = 0.0;
    out->falseEasting = 500000.0;
    out->originLat = 0.0;
    out->centralMeridian = degreesToRadians(centralMeridianDegrees);
    out->originLon = out->centralMeridian;
}

int invalidUTMZone(int zone) {
    return zone >= 1 && zone <= 2 * zonesPerHemisphere ? 0 : 1;
}

int UTMGeod2Grid(int zone, const ellipsoid* ell, geodCoord* point) {
    if (zone == 0)
        zone = northernZoneOfLongitude(point->lon) + (point->lat < 0.0 ? zonesPerHemisphere : 0);
    point->utmZone = zone;
    zoneCnstnt constants{};
    UTMInitializeZoneConstants(zone, &constants);
    point->lon = -point->lon;
    geod2TM(ell, &constants, point);
    point->lon = -point->lon;
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
