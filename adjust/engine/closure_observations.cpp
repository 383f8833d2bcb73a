#include "engine/closure_observations.hpp"

#include "engine/line_combined_factor.hpp"
#include "model/geoid_elevation.hpp"
#include "model/point_name.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/length_units.hpp"

#include <numbers>

namespace {

bool threeDChain() {
    return projectVars.geodeticModel == 1;
}

// The 3D chain holds metres; its closures are computed and shown in the
// project's unit.
double unitFactor3D() {
    return units::unitsPerMetre(projectVars.HorizUnits);
}

std::optional<stationRec> knownStation3D(std::string_view name) {
    stationRec station;
    setPointName(station.name, name);
    if (findKnownStation3D(station) != stationFound)
        return std::nullopt;
    return station;
}

std::optional<ClosurePoint> closurePoint3D(std::string_view name) {
    const std::optional<stationRec> station = knownStation3D(name);
    if (!station)
        return std::nullopt;
    const double f = unitFactor3D();
    const double height = geoidElevation(*station);
    const double elevation = isSet(height) ? height * f : notComputed;
    return ClosurePoint{station->northing * f, station->easting * f, elevation,
                        station->pointType};
}

template <class Angle, class List>
std::optional<double> closureAngle(List& angles, std::string_view backsight,
                                   std::string_view instrument, std::string_view foresight) {
    Angle angle;
    if (angles.find(backsight, instrument, foresight, angle) >= 0)
        return angle.angle;
    if (angles.find(foresight, instrument, backsight, angle) >= 0)
        return 2.0 * std::numbers::pi - angle.angle;
    return std::nullopt;
}

// The mean measured distance on the ground, turned to the grid by the
// line's combined factor when both ends are known.
std::optional<ClosureDistance> closureDistance3D(std::string_view from, std::string_view to) {
    distanceObs line;
    if (distanceList.find(from, to, line) < 0 || !isSet(line.meanDist))
        return std::nullopt;
    double distance = line.meanDist;
    const std::optional<stationRec> a = knownStation3D(from);
    const std::optional<stationRec> b = knownStation3D(to);
    if (a && b)
        distance *= lineCombinedFactor(*a, *b);
    const double f = unitFactor3D();
    ClosureDistance found{distance * f, std::nullopt};
    if (isSet(line.meanHeightDiff)) {
        const bool sameOrder = sameName(fixedText(line.from), from);
        found.heightDiff = (sameOrder ? line.meanHeightDiff : -line.meanHeightDiff) * f;
    }
    return found;
}

} // namespace

std::optional<ClosurePoint> findClosurePoint(std::string_view name) {
    if (threeDChain())
        return closurePoint3D(name);
    coordRec point;
    setPointName(point.name, name);
    if (findKnownStation2D(point) != stationFound)
        return std::nullopt;
    return ClosurePoint{point.northing, point.easting, point.elevation, point.pointType};
}

std::optional<double> findClosureAzimuth(std::string_view from, std::string_view to) {
    azimuthObs azimuth;
    const bool found = threeDChain() ? azimuthList.find(from, to, azimuth) >= 0
                                     : azimuthList2D.find(from, to, azimuth) >= 0;
    if (!found)
        return std::nullopt;
    return azimuth.azimuth;
}

std::optional<double> findClosureAngle(std::string_view backsight, std::string_view instrument,
                                       std::string_view foresight) {
    if (threeDChain())
        return closureAngle<angleObs>(angleList, backsight, instrument, foresight);
    return closureAngle<angleObs2D>(angleList2D, backsight, instrument, foresight);
}

std::optional<ClosureDistance> findClosureDistance(std::string_view from, std::string_view to) {
    if (threeDChain())
        return closureDistance3D(from, to);
    distanceObs2D line;
    if (distanceList2D.find(from, to, line) < 0 || !isSet(line.distance))
        return std::nullopt;
    // A copy found the other way round carries its difference turned to `from`.
    ClosureDistance found{line.distance, std::nullopt};
    if (isSet(line.vertDiff))
        found.heightDiff = line.vertDiff;
    return found;
}
