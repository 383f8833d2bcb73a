#include "engine/line_combined_factor.hpp"

#include "engine/geodetic_reductions.hpp"
#include "model/plane_geometry.hpp"
#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"

#include <cmath>

namespace {

// The scale factor of the grid system at a position in metres.
double pointScale(double northing, double easting) {
    geodCoord at{};
    at.northing = northing;
    at.easting = easting;
    at.scale = 1.0;
    projGridMetersToGeod(at);
    return at.scale;
}

double gridFactor(const stationRec& a, const stationRec& b) {
    double length = 0.0;
    const double direction = inverseDirDist(a.northing, a.easting, b.northing, b.easting, length);
    const double km = pointScale(a.northing + std::cos(direction) * length / 2.0,
                                 a.easting + std::sin(direction) * length / 2.0);
    return (pointScale(a.northing, a.easting) + 4.0 * km + pointScale(b.northing, b.easting)) / 6.0;
}

// The elevation factor of a station's height; the metre radius, no geoid
// separation: the 3D elevation is already the height above the ellipsoid.
bool elevationFactor(const stationRec& station, double& factor) {
    coordRec point;
    point.elevation = station.elevation;
    point.geoidSep = 0.0;
    const globalVars& s = projectVars;
    if (computeElevFactor(point, s.gridSystem, s.gridZone, 0) != elevFactorComputed)
        return false;
    factor = point.elevFactor;
    return true;
}

} // namespace

double lineCombinedFactor(const stationRec& a, const stationRec& b) {
    double fa = 1.0;
    double fb = 1.0;
    const double elevation =
        elevationFactor(a, fa) && elevationFactor(b, fb) ? (fa + fb) / 2.0 : 1.0;
    return gridFactor(a, b) * elevation;
}
