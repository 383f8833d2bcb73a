#include "model/project_geodesy.hpp"

#include "engine/run_stops.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "model/sight_reduction.hpp"

#include "geodetic/geoid_grid.hpp"

#include <cmath>
#include <numbers>

namespace {

[[noreturn]] void projectedSystemNotBuilt() {
    throw StageNotBuilt("Grid and geodetic conversions of a projected coordinate system");
}

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

struct axisAndFlattening {
    double a;
    double f;
};

constexpr axisAndFlattening grs80{6378137.0, 0.0033528106811836675};
constexpr axisAndFlattening clarke1866{6378206.4, 0.0033900753040885176};

axisAndFlattening markReductionEllipsoid() {
    switch (projectVars.gridSystem) {
    case gridStatePlane27:
        return clarke1866;
    case gridUtm:
    case gridUserDefined:
        projectedSystemNotBuilt();
    default:
        return grs80;
    }
}

// Radius of curvature of the ellipsoid at latitude phi in azimuth alpha
// (Euler): R = N / (1 + eta^2 cos^2 alpha), N = (a^2 / b) / sqrt(1 + eta^2),
// eta^2 = e'^2 cos^2 phi.
double radiusInAzimuth(axisAndFlattening ell, double phi, double alpha) {
    const double b = ell.a * (1.0 - ell.f);
    const double secondEccSq = (ell.a * ell.a - b * b) / (b * b);
    const double etaSq = secondEccSq * std::cos(phi) * std::cos(phi);
    const double N = (ell.a * ell.a / b) / std::sqrt(1.0 + etaSq);
    return N / (1.0 + etaSq * std::cos(alpha) * std::cos(alpha));
}

// The zenith of the line between the marks from the measured zenith z, the
// mark-to-mark length and the two heights.
double markZenith(double z, double markSlope, double HI, double targetHeight) {
    constexpr double pi = std::numbers::pi;
    int quadrant = 3;
    double v = z - 1.5 * pi;
    if (z < pi / 2) {
        quadrant = 0;
        v = pi / 2 - z;
    } else if (z < pi) {
        quadrant = 1;
        v = z - pi / 2;
    } else if (z < 1.5 * pi) {
        quadrant = 2;
        v = 1.5 * pi - z;
    }
    const double t = std::atan((std::fabs(targetHeight - HI) + markSlope * std::sin(v)) /
                               (markSlope * std::cos(v)));
    const double delta = t - v;
    const bool lowerHalf = quadrant <= 1;
    if (HI < targetHeight)
        return lowerHalf ? z + delta : z - delta;
    return lowerHalf ? z - delta : z + delta;
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
    markZenith_rad = markZenith(zenith, markSlopeDistance, HI, targetHeight);
    return 0;
}

int projGridToGeod(geodCoord&) {
    if (!localGrid())
        projectedSystemNotBuilt();
    return 0;
}

int projGridMetersToGeod(geodCoord&) {
    if (!localGrid() && projectVars.gridSystem != gridStatePlane27)
        projectedSystemNotBuilt();
    return 0;
}

int projGeodToGridMeters(geodCoord&) {
    if (!localGrid() && projectVars.gridSystem != gridStatePlane27)
        projectedSystemNotBuilt();
    return 0;
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
    return getElevFromGeoidGrid(point.lat * degrees, westPositive ? -lon : lon, &separation);
}

void projGeodToEcef(stationRec&) {
    if (!localGrid())
        projectedSystemNotBuilt();
}

void projEcefToGeod(stationRec&) {
    if (!localGrid())
        projectedSystemNotBuilt();
}
