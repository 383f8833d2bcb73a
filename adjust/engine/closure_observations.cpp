#include "engine/closure_observations.hpp"

#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "model/run_stops.hpp"
#include "model/settings/global_vars.hpp"

#include <numbers>

namespace {

bool threeDChain() {
    return projectVars.geodeticModel == 1;
}

// The 3D chain's distances are ground distances that need the line's grid
// and elevation factors, which this build does not compute yet.
[[noreturn]] void threeDTraversesNotBuilt() {
    throw StageNotBuilt("Traverse closures in the 3D model");
}

} // namespace

std::optional<ClosurePoint> findClosurePoint(std::string_view name) {
    if (threeDChain())
        threeDTraversesNotBuilt();
    coordRec point;
    setPointName(point.name, name);
    if (findKnownStation2D(point) != stationFound)
        return std::nullopt;
    return ClosurePoint{point.northing, point.easting, point.elevation, point.pointType};
}

std::optional<double> findClosureAzimuth(std::string_view from, std::string_view to) {
    if (threeDChain())
        threeDTraversesNotBuilt();
    azimuthObs azimuth;
    if (azimuthList2D.find(from, to, azimuth) < 0)
        return std::nullopt;
    return azimuth.azimuth;
}

std::optional<double> findClosureAngle(std::string_view backsight, std::string_view instrument,
                                       std::string_view foresight) {
    if (threeDChain())
        threeDTraversesNotBuilt();
    angleObs2D angle;
    if (angleList2D.find(backsight, instrument, foresight, angle) >= 0)
        return angle.angle;
    if (angleList2D.find(foresight, instrument, backsight, angle) >= 0)
        return 2.0 * std::numbers::pi - angle.angle;
    return std::nullopt;
}

std::optional<ClosureDistance> findClosureDistance(std::string_view from, std::string_view to) {
    if (threeDChain())
        threeDTraversesNotBuilt();
    distanceObs2D line;
    if (distanceList2D.find(from, to, line) < 0 || !isSet(line.distance))
        return std::nullopt;
    // A copy found the other way round carries its difference turned to `from`.
    ClosureDistance found{line.distance, std::nullopt};
    if (isSet(line.vertDiff))
        found.heightDiff = line.vertDiff;
    return found;
}
