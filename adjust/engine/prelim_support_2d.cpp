#include "engine/prelim_support_2d.hpp"

#include "engine/geodetic_reductions.hpp"
#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "model/project_geodesy.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/shell_services.hpp"

#include <cmath>

namespace prelim2d {

// No run context reaches the preliminary-coordinate passes (prelimCoords2D): their interface has
// none, so the shell is the active one (the run installs its own for its length).
void postProgress(int index, int count) {
    if (count > 0)
        activeShell().setPercent(static_cast<int>(static_cast<long long>(index) * 100 / count));
    endRunWhenCancelled();
}

std::string nameOf(const pointNameField& field) {
    return std::string(fixedText(field));
}

bool needsComputing(const coordRec& point) {
    return !isSet(point.easting) && point.pointType != ptCarried;
}

int countPointsToCompute() {
    return countWhere(pointList2D, needsComputing);
}

void refreshGeodeticContext(coordRec& point) {
    const geodCoord position = geodOfGridPoint(point.northing, point.easting);
    double geoidSep = 0.0;
    getGeoidHeight(position, geoidSep);
    point.geoidSep = geoidSep;
}

void storePlacedPoint(coordRec& point) {
    refreshGeodeticContext(point);
    pointList2D.replace(point);
}

bool hasDistance(const distanceObs2D& line) {
    return isSet(line.distance) && line.distance > 0;
}

void placePolar(coordRec& point, const coordRec& from, double distance, double direction) {
    point.northing = from.northing + distance * std::cos(direction);
    point.easting = from.easting + distance * std::sin(direction);
}

double carriedElevation(const coordRec& known, double vertDiff) {
    if (!isSet(known.elevation) || !isSet(vertDiff))
        return notComputed;
    return known.elevation + vertDiff;
}

bool reduceAtProvisionalPosition(coordRec known, coordRec& point, distanceObs2D& line) {
    refreshGeodeticContext(point);
    const int system = projectVars.gridSystem;
    computeGridFactor(known, system, projectVars.gridZone);
    computeGridFactor(point, system, projectVars.gridZone);
    gridFactorOfLine(known, point, line);
    return meanElevFactorOfLine(known, point, line) == 0;
}

bool projectHasGrid() {
    return projectVars.gridSystem != gridLocal;
}

} // namespace prelim2d
