// Transverse Mercator and two-parallel Lambert on their own zone records, with
// east-positive point longitudes, over the engine's formulas.

#include "geodetic/explicit_projections.hpp"

#include "lambert_conic.hpp"
#include "transverse_mercator.hpp"

#include <cmath>

namespace {

geodetic_detail::TransverseMercatorZone tmZoneOf(const zoneCnstntTM& zone) {
    return {&zone.ellipsoid,   zone.scaleFactor, zone.falseNorthing,
            zone.falseEasting, zone.originLat,   zone.centralMeridian};
}

// The point with its longitude turned west-positive, as the engine takes it.
geodCoord westPositive(const geodCoord& point) {
    geodCoord copy = point;
    copy.lon = -copy.lon;
    return copy;
}

void copyGridResults(const geodCoord& from, geodCoord* to) {
    to->northing = from.northing;
    to->easting = from.easting;
    to->scale = from.scale;
    to->conv = from.conv;
}

} // namespace

int initUTMZone(int zone, int south, ellipsoid ell, zoneCnstntTM* out) {
    if (zone < 0 || zone > 60)
        return projectionRefused;
    out->south = south;
    out->zone = zone;
    out->centralMeridian = (183.0 - 6.0 * zone) * (4.0 * std::atan(1.0)) / 180.0;
    out->scaleFactor = 0.9996;
    out->falseNorthing = south != 0 ? 10000000.0 : 0.0;
    out->falseEasting = 500000.0;
    out->originLat = 0.0;
    out->spare = 0.0;
    out->spareFlag = 0;
    out->ellipsoid = ell;
    return projectionOk;
}

int latLong2XY_TransverseMercator(zoneCnstntTM zone, geodCoord* point) {
    geodCoord work = westPositive(*point);
    const int result = geodetic_detail::transverseMercatorForward(tmZoneOf(zone), &work);
    if (result == projectionOk)
        copyGridResults(work, point);
    return result;
}

int XY_TransverseMercator2latLong(zoneCnstntTM zone, geodCoord* point) {
    geodCoord work = *point;
    const int result = geodetic_detail::transverseMercatorInverse(tmZoneOf(zone), &work);
    if (result == projectionOk) {
        point->lat = work.lat;
        point->lon = -work.lon;
        point->conv = work.conv;
        point->scale = work.scale;
    }
    return result;
}

int latLong2XY_Lambert(const zoneCnstntLambert* zone, geodCoord* point) {
    const geodetic_detail::LambertZone lambert{
        &zone->ellipsoid,      zone->northParallel, zone->southParallel, zone->originLat,
        zone->centralMeridian, zone->falseNorthing, zone->falseEasting};
    geodCoord work = westPositive(*point);
    const int result = geodetic_detail::lambertForward(lambert, &work);
    if (result == projectionOk)
        copyGridResults(work, point);
    return result;
}
