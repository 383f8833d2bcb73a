#include "model/user_projection.hpp"

#include "geodetic/double_stereographic.hpp"
#include "geodetic/explicit_projections.hpp"
#include "geodetic/oblique_mercator_centre.hpp"
#include "geodetic/projection_engine.hpp"

namespace {

constexpr int forward = 1;
constexpr int inverse = 0;

ellipsoid ellipsoidOf(const udpRec& udp) {
    ellipsoid ell{};
    initEllipsoid(&ell, udp.EllipseA, udp.EllipseF);
    return ell;
}

// The fields each type names; the others stay 0.
zoneCnstnt zoneOf(const udpRec& udp) {
    zoneCnstnt zone{};
    zone.falseNorthing = udp.FalseNorthings;
    zone.falseEasting = udp.FalseEastings;
    switch (udp.ProjInt) {
    case udpTransverseMercator:
        zone.projType = projTransverseMercator;
        zone.centralMeridian = -udp.CentralMeridian;
        zone.scaleFactor = udp.projection_scale;
        zone.originLat = udp.ScaleOrRefLatitude;
        zone.originLon = -udp.CentralMeridian;
        break;
    case udpLambertOneParallel:
        zone.projType = projLambertTwoParallels;
        zone.centralMeridian = udp.CentralMeridian;
        zone.scaleFactor = udp.projection_scale;
        zone.northParallel = udp.ScaleOrRefLatitude;
        zone.southParallel = udp.ScaleOrRefLatitude;
        zone.oneParallelOrigin = udp.ScaleOrRefLatitude;
        break;
    case udpLambertTwoParallels:
        zone.projType = projLambertTwoParallels;
        zone.northParallel = udp.CentralOrNorthLatitude;
        zone.southParallel = udp.SkewOrSouthLatitude;
        zone.originLat = udp.ScaleOrRefLatitude;
        zone.originLon = -udp.CentralMeridian;
        break;
    case udpDoubleStereographic:
        zone.centralMeridian = udp.CentralMeridian;
        zone.scaleFactor = udp.projection_scale;
        zone.originLat = udp.ScaleOrRefLatitude;
        break;
    case udpObliqueMercatorAzimuth:
        zone.projType = projObliqueMercatorAzimuth;
        zone.centralMeridian = udp.SkewOrSouthLatitude;
        zone.scaleFactor = udp.projection_scale;
        zone.originLat = udp.latOrigin;
        zone.originLon = -udp.lonOrigin;
        break;
    default:
        break;
    }
    return zone;
}

zoneCnstntObliqueMerc centreZoneOf(const udpRec& udp, const ellipsoid& ell) {
    zoneCnstntObliqueMerc zone{};
    zone.falseNorthing = udp.FalseNorthings;
    zone.falseEasting = udp.FalseEastings;
    zone.centreLat = udp.latOrigin;
    zone.centreLon = udp.lonOrigin;
    zone.azimuth = udp.SkewOrSouthLatitude;
    zone.gridAngle = udp.CentralMeridian;
    zone.centreScale = udp.projection_scale;
    zone.ellipsoid = ell;
    return zone;
}

} // namespace

int udpGeodToGrid(const udpRec& udp, geodCoord& point) {
    const ellipsoid ell = ellipsoidOf(udp);
    const zoneCnstnt zone = zoneOf(udp);
    switch (udp.ProjInt) {
    case udpTransverseMercator:
        geod2TM(&ell, &zone, &point);
        break;
    case udpLambertOneParallel:
        lambert_calc(&ell, &zone, point.lat, -point.lon, &point.easting, &point.northing,
                     &point.scale, &point.conv, forward);
        break;
    case udpLambertTwoParallels:
        geod2Lambert(&ell, &zone, &point);
        break;
    case udpDoubleStereographic:
        stereographic_calc(&ell, &zone, &point, forward);
        break;
    case udpObliqueMercatorAzimuth:
        geod2OM(&ell, &zone, &point);
        break;
    case udpObliqueMercatorCentre:
        latLong2XY_OMProjCenter(centreZoneOf(udp, ell), &point);
        break;
    default:
        break;
    }
    return 0;
}

int udpGridToGeod(const udpRec& udp, geodCoord& point) {
    const ellipsoid ell = ellipsoidOf(udp);
    const zoneCnstnt zone = zoneOf(udp);
    switch (udp.ProjInt) {
    case udpTransverseMercator:
        TM2Geod(&ell, &zone, &point);
        point.lon = -point.lon;
        break;
    case udpLambertOneParallel:
        lambert_calc(&ell, &zone, point.northing, point.easting, &point.lon, &point.lat,
                     &point.scale, &point.conv, inverse);
        break;
    case udpLambertTwoParallels:
        Lambert2Geod(&ell, &zone, &point);
        point.lon = -point.lon;
        break;
    case udpDoubleStereographic:
        stereographic_calc(&ell, &zone, &point, inverse);
        break;
    case udpObliqueMercatorAzimuth:
        OM2Geod(&ell, &zone, &point);
        point.lon = -point.lon;
        break;
    case udpObliqueMercatorCentre:
        XY2latLong_OMProjCenter(centreZoneOf(udp, ell), &point);
        break;
    default:
        break;
    }
    return 0;
}
