#include "model/project_geodesy.hpp"

#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"
#include "model/project_ellipsoid.hpp"
#include "model/project_zone.hpp"
#include "model/run_stops.hpp"
#include "model/settings/global_vars.hpp"
#include "model/sight_reduction.hpp"
#include "model/user_projection.hpp"

#include "platform/length_units.hpp"

#include "geodetic/double_stereographic.hpp"
#include "geodetic/earth_centred.hpp"
#include "geodetic/geoid_grid.hpp"
#include "geodetic/projection_engine.hpp"
#include "geodetic/state_plane_27.hpp"
#include "geodetic/utm.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

bool localGrid() {
    return projectVars.gridSystem == gridLocal;
}

template <class Record, class List> bool takeKnown(List& list, Record& record) {
    Record found;
    if (list.find(fixedText(record.name), found) < 0 || !isSet(found.easting))
        return false;
    record = found;
    return true;
}

ellipsoid markReductionEllipsoid() {
    ellipsoid ell = grs80Ellipsoid();
    switch (projectVars.gridSystem) {
    case gridStatePlane27:
        initEllipsoid(&ell, clarke1866SemiMajor_m, clarke1866MarkFlattening);
        break;
    case gridUtm:
        initProjectEllipsoid(ell);
        break;
    case gridUserDefined:
        initUdpEllipsoid(ell, projectVars.udp);
        break;
    default:
        break;
    }
    return ell;
}

// The inverse projection of the system from northing and easting in metres.
void gridMetresToGeod(geodCoord& point, int gridSystem, int statePlaneZone) {
    switch (gridSystem) {
    case gridStatePlane83: {
        const ellipsoid ell = grs80Ellipsoid();
        const zoneCnstnt zone = statePlane83Zone(statePlaneZone);
        grid2Geod(&ell, &zone, &point);
        break;
    }
    case gridNewBrunswickStereographic:
        XYToLatLong_newBrunswickStereographic(&point);
        break;
    case gridUtm: {
        requireUtmZone(projectVars.gridZone);
        ellipsoid ell{};
        initProjectEllipsoid(ell);
        UTMGrid2Geod(projectVars.gridZone, &ell, &point);
        break;
    }
    case gridUserDefined:
        udpGridToGeod(projectVars.udp, point);
        break;
    default:
        break;
    }
}

// Radius of curvature of the ellipsoid at latitude phi in azimuth alpha
// (Euler): R = N / (1 + eta^2 cos^2 alpha), N = (a^2 / b) / sqrt(1 + eta^2),
// eta^2 = e'^2 cos^2 phi.
double radiusInAzimuth(const ellipsoid& ell, double phi, double alpha) {
    const double a = ell.semiMajor;
    const double b = ell.semiMinor;
    const double secondEccSq = (a * a - b * b) / (b * b);
    const double etaSq = secondEccSq * std::cos(phi) * std::cos(phi);
    const double N = (a * a / b) / std::sqrt(1.0 + etaSq);
    return N / (1.0 + etaSq * std::cos(alpha) * std::cos(alpha));
}

// The zenith at the instrument's mark of the target's mark, in the plane of
// the sight: the telescope `HI` above the instrument's mark, the prism at
// the slope distance along the measured zenith z, the target's mark
// `targetHeight` below the prism along the target's plumb line, which is
// turned from the instrument's by the central angle `psi`. A face-two
// reading (z beyond pi) is the full turn less the face-one zenith.
double markZenith(double z, double slopeDistance, double HI, double targetHeight, double psi) {
    constexpr double pi = std::numbers::pi;
    const bool faceTwo = z > pi;
    const double faceOne = faceTwo ? 2.0 * pi - z : z;
    // Along the horizon towards the target and up the instrument's plumb
    // line, from the instrument's mark.
    const double along = slopeDistance * std::sin(faceOne) - targetHeight * std::sin(psi);
    const double up = HI + slopeDistance * std::cos(faceOne) - targetHeight * std::cos(psi);
    const double zm = std::atan2(along, up);
    return faceTwo ? 2.0 * pi - zm : zm;
}

} // namespace

int findKnownStation3D(stationRec& station) {
    if (takeKnown(fixedStationList, station) || takeKnown(stationList, station) ||
        takeKnown(givenStationList, station))
        return stationFound;
    return stationNotFound;
}

int findKnownStation2D(coordRec& point) {
    if (takeKnown(fixedPointList2D, point) || takeKnown(pointList2D, point))
        return stationFound;
    return stationNotFound;
}

int reduceSlopeToMarks(double instrumentE, double instrumentN, double instrumentZ, double targetE,
                       double targetN, double targetZ, double HI, double targetHeight,
                       double slopeDistance, double zenith, double& markSlopeDistance,
                       double& markZenith_rad, int curvRefract) {
    if (curvRefract != 0) {
        double curvature = 0.0;
        double refraction = 0.0;
        curvRefrAngles(slopeDistance, zenith, 0, curvature, refraction);
        zenith += refraction;
    }
    double length = 0.0;
    const double azimuth = inverseDirDist(instrumentN, instrumentE, targetN, targetE, length);
    geodCoord mid{};
    mid.northing = instrumentN + std::cos(azimuth) * length / 2.0;
    mid.easting = instrumentE + std::sin(azimuth) * length / 2.0;
    mid.scale = 1.0;
    projGridToGeod(mid);
    const double R = radiusInAzimuth(markReductionEllipsoid(), mid.lat,
                                     normalizedAngle(azimuth + std::numbers::pi));

    const double H1 = instrumentZ + HI;
    const double H2 = targetZ + targetHeight;
    const double c0 = std::sqrt((slopeDistance * slopeDistance - (H1 - H2) * (H1 - H2)) /
                                ((1.0 + H2 / R) * (1.0 + H1 / R)));
    const double dZ = instrumentZ - targetZ;
    markSlopeDistance =
        std::sqrt(dZ * dZ + (1.0 + instrumentZ / R) * c0 * c0 * (1.0 + targetZ / R));
    const double centralAngle = 2.0 * std::asin(std::min(1.0, c0 / (2.0 * R)));
    markZenith_rad = markZenith(zenith, slopeDistance, HI, targetHeight, centralAngle);
    return 0;
}

int projGridMetersToGeod(geodCoord& point) {
    gridMetresToGeod(point, projectVars.gridSystem, projectVars.gridZone);
    return 0;
}

int projGridToGeodIn(geodCoord& point, int gridSystem, int statePlaneZone) {
    switch (gridSystem) {
    case gridStatePlane27: {
        const zoneconstant27 zone = statePlane27Zone(statePlaneZone);
        point.northing *= units::usSurveyFeetPerUnit(projectVars.HorizUnits);
        point.easting *= units::usSurveyFeetPerUnit(projectVars.HorizUnits);
        SPC272Geod(&zone, &point);
        return 0;
    }
    case gridStatePlane83:
    case gridNewBrunswickStereographic:
    case gridUtm:
    case gridUserDefined: {
        const double toMetres = units::metresPerUnit(projectVars.HorizUnits);
        point.northing *= toMetres;
        point.easting *= toMetres;
        gridMetresToGeod(point, gridSystem, statePlaneZone);
        return 0;
    }
    default:
        return 0;
    }
}

int projGridToGeod(geodCoord& point) {
    return projGridToGeodIn(point, projectVars.gridSystem, projectVars.gridZone);
}

geodCoord geodOfGridPoint(double northing, double easting) {
    geodCoord point{};
    point.northing = northing;
    point.easting = easting;
    point.scale = 1.0;
    projGridToGeod(point);
    return point;
}

int projGeodToGridMeters(geodCoord& point) {
    switch (projectVars.gridSystem) {
    case gridStatePlane83: {
        const ellipsoid ell = grs80Ellipsoid();
        const zoneCnstnt zone = statePlane83Zone(projectVars.gridZone);
        geod2Grid(&ell, &zone, &point);
        break;
    }
    case gridNewBrunswickStereographic:
        latLongToXY_newBrunswickStereographic(&point);
        break;
    case gridUtm: {
        requireUtmZone(projectVars.gridZone);
        ellipsoid ell{};
        initProjectEllipsoid(ell);
        UTMGeod2Grid(projectVars.gridZone, &ell, &point);
        break;
    }
    case gridUserDefined:
        udpGeodToGrid(projectVars.udp, point);
        break;
    default:
        break;
    }
    return 0;
}

int projGeodToGrid(geodCoord& point) {
    switch (projectVars.gridSystem) {
    case gridStatePlane27: {
        const zoneconstant27 zone = statePlane27Zone(projectVars.gridZone);
        geod2SPC27(&zone, &point);
        point.northing /= units::usSurveyFeetPerUnit(projectVars.HorizUnits);
        point.easting /= units::usSurveyFeetPerUnit(projectVars.HorizUnits);
        return 0;
    }
    case gridStatePlane83:
    case gridNewBrunswickStereographic:
    case gridUtm:
    case gridUserDefined: {
        projGeodToGridMeters(point);
        const double toProjectUnit = units::unitsPerMetre(projectVars.HorizUnits);
        point.northing *= toProjectUnit;
        point.easting *= toProjectUnit;
        return 0;
    }
    default:
        return 0;
    }
}

namespace {

bool gridTakesWestLongitudes() {
    switch (projectVars.gridSystem) {
    case gridStatePlane83:
        return true;
    case gridUserDefined:
        return projectVars.udp.ProjInt == udpTransverseMercator ||
               projectVars.udp.ProjInt == udpLambertOneParallel ||
               projectVars.udp.ProjInt == udpLambertTwoParallels ||
               projectVars.udp.ProjInt == udpObliqueMercatorAzimuth;
    default:
        return false;
    }
}

} // namespace

geodCoord gridCallPosition(const stationRec& station) {
    geodCoord at{};
    at.lat = station.latitude;
    at.lon = gridTakesWestLongitudes() ? -station.longitude : station.longitude;
    at.northing = notComputed;
    at.easting = notComputed;
    at.scale = 1.0;
    return at;
}

geodCoord gridMetersPosition(const stationRec& station) {
    geodCoord at{};
    at.lat = notComputed;
    at.lon = notComputed;
    at.northing = station.northing;
    at.easting = station.easting;
    at.scale = 1.0;
    projGridMetersToGeod(at);
    return at;
}

void geodeticFromGridMeters(stationRec& station) {
    const geodCoord at = gridMetersPosition(station);
    station.latitude = at.lat;
    station.longitude =
        isSet(at.lon) && projectVars.gridSystem == gridStatePlane83 ? -at.lon : at.lon;
}

int getGeoidHeight(const geodCoord& point, double& separation) {
    separation = 0.0;
    if (localGrid())
        return 0;
    if (projectVars.geoidModel == 0) {
        separation = projectVars.geoidHt;
        return 0;
    }
    constexpr double degrees = 180.0 / std::numbers::pi;
    const bool westPositive =
        projectVars.gridSystem == gridStatePlane83 || projectVars.gridSystem == gridStatePlane27;
    const double lon = point.lon * degrees;
    const int read =
        getElevFromGeoidGrid(point.lat * degrees, westPositive ? -lon : lon, &separation);
    if (read == geoidFileDamaged)
        throw DamagedGeoidGrid(geoidGridFault());
    return read;
}

void projGeodToEcef(stationRec& station) {
    ellipsoid ell{};
    if (initGridSystemEllipsoid(ell) != 0)
        return;
    geodCoord point{};
    point.lat = station.latitude;
    point.lon = station.longitude;
    point.elev = station.elevation;
    latLongElev2XYZ_EC(ell, &point);
    station.ecefX = point.easting;
    station.ecefY = point.northing;
    station.ecefZ = point.elev;
}

void projEcefToGeod(stationRec& station) {
    ellipsoid ell{};
    if (initGridSystemEllipsoid(ell) != 0)
        return;
    geodCoord point{};
    point.easting = station.ecefX;
    point.northing = station.ecefY;
    point.elev = station.ecefZ;
    XYZ_EC2latLongElev(ell, &point);
    station.latitude = point.lat;
    station.longitude = point.lon;
    station.elevation = point.elev;
}
