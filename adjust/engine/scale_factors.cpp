#include "engine/geodetic_reductions.hpp"

#include "model/plane_geometry.hpp"
#include "model/project_ellipsoid.hpp"
#include "model/project_geodesy.hpp"
#include "model/project_zone.hpp"
#include "model/settings/global_vars.hpp"

#include "platform/length_units.hpp"

#include "geodetic/projection_engine.hpp"

#include <cmath>

namespace {

// Mean earth radius of the elevation factor in the elevation unit.
constexpr double earthRadius_m = 6372000.0;
constexpr double earthRadius_ft = 20906000.0;

bool projectedSystem(int gridSystem) {
    return gridSystem >= gridStatePlane83 && gridSystem <= gridUserDefined;
}

geodCoord gridPointOf(const coordRec& point) {
    geodCoord g{};
    g.northing = point.northing;
    g.easting = point.easting;
    g.scale = 1.0;
    return g;
}

void scaleDistance(distanceObs2D& line, double factor) {
    if (isSet(line.distance))
        line.distance *= factor;
}

} // namespace

int computeElevFactor(coordRec& point, int gridSystem, int, int elevationUnitFlag) {
    if (!projectedSystem(gridSystem))
        return elevFactorComputed;
    const globalVars& s = projectVars;
    double h = s.projZ;
    if (s.geodeticModel == 1 || s.useProjZ != 0) {
        if (!isSet(point.elevation))
            return elevFactorNoHeight;
        h = point.elevation;
    }
    if (isSet(point.geoidSep))
        h += point.geoidSep * units::unitsPerMetre(elevationUnitFlag);
    const double R = elevationUnitFlag != 0 ? earthRadius_ft : earthRadius_m;
    point.elevFactor = R / (R + h);
    return elevFactorComputed;
}

int computeGridFactor(coordRec& point, int gridSystem, int zone) {
    if (!projectedSystem(gridSystem))
        return 0;
    geodCoord g = gridPointOf(point);
    projGridToGeodIn(g, gridSystem, zone);
    point.gridFactor = g.scale;
    return 0;
}

int gridFactorOfLine(const coordRec& from, const coordRec& to, distanceObs2D& line) {
    double length = 0.0;
    const double direction =
        inverseDirDist(from.northing, from.easting, to.northing, to.easting, length);
    coordRec mid = from;
    mid.northing = from.northing + std::cos(direction) * length / 2.0;
    mid.easting = from.easting + std::sin(direction) * length / 2.0;
    computeGridFactor(mid, projectVars.gridSystem, projectVars.gridZone);
    line.gridFactor = (from.gridFactor + 4.0 * mid.gridFactor + to.gridFactor) / 6.0;
    scaleDistance(line, line.gridFactor);
    return 0;
}

int meanElevFactorOfLine(coordRec& from, coordRec& to, distanceObs2D& line) {
    const globalVars& s = projectVars;
    if (computeElevFactor(from, s.gridSystem, s.gridZone, s.ZUnits) != elevFactorComputed ||
        computeElevFactor(to, s.gridSystem, s.gridZone, s.ZUnits) != elevFactorComputed)
        return elevFactorNoHeight;
    line.elevFactor = (from.elevFactor + to.elevFactor) / 2.0;
    scaleDistance(line, line.elevFactor);
    return elevFactorComputed;
}

int arcToChordCorrection(const coordRec& instrument, const coordRec& backsight,
                         const coordRec& foresight, double& correction) {
    geodCoord at = gridPointOf(instrument);
    geodCoord first = gridPointOf(backsight);
    geodCoord second = gridPointOf(foresight);
    for (geodCoord* point : {&at, &first, &second})
        projGridToGeod(*point);
    switch (projectVars.gridSystem) {
    case gridStatePlane83: {
        const ellipsoid ell = grs80Ellipsoid();
        const zoneCnstnt zone = statePlane83Zone(projectVars.gridZone);
        getTMT(&ell, &zone, &at, &first, &second, &correction);
        break;
    }
    case gridStatePlane27:
    case gridNewBrunswickStereographic:
    case gridUtm:
    case gridUserDefined:
        correction = 0.0;
        break;
    default:
        break;
    }
    return 0;
}
