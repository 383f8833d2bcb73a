#include "engine/line_combined_factor.hpp"

#include "engine/geodetic_reductions.hpp"
#include "model/plane_geometry.hpp"
#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"

#include <cmath>

namespace {

// The elevation factors of the 3D chain are taken in metres.
constexpr int metreRadius = 0;

} // namespace

double stationGridFactor(double northing_m, double easting_m) {
    geodCoord g{};
    g.northing = northing_m;
    g.easting = easting_m;
    g.scale = 1.0;
    projGridMetersToGeod(g);
    return g.scale;
}

std::optional<double> stationElevFactor(const stationRec& station) {
    // The station's elevation is already its height above the ellipsoid.
    coordRec point;
    point.elevation = station.elevation;
    point.geoidSep = notComputed;
    if (computeElevFactor(point, projectVars.gridSystem, projectVars.gridZone, metreRadius) !=
        elevFactorComputed)
        return std::nullopt;
    return point.elevFactor;
}

double lineCombinedFactor(const stationRec& a, const stationRec& b) {
    double length = 0.0;
    const double direction = inverseDirDist(a.northing, a.easting, b.northing, b.easting, length);
    const double midNorthing = a.northing + std::cos(direction) * length / 2.0;
    const double midEasting = a.easting + std::sin(direction) * length / 2.0;
    const double gridFactor = (stationGridFactor(a.northing, a.easting) +
                               4.0 * stationGridFactor(midNorthing, midEasting) +
                               stationGridFactor(b.northing, b.easting)) /
                              6.0;
    const std::optional<double> ka = stationElevFactor(a);
    const std::optional<double> kb = stationElevFactor(b);
    const double elevFactor = ka && kb ? (*ka + *kb) / 2.0 : 1.0;
    return gridFactor * elevFactor;
}
