#include "engine/geodetic_reductions.hpp"

#include "model/error_file_warnings.hpp"
#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "model/settings/global_vars.hpp"

#include <optional>
#include <string>

namespace {

bool hasNorthing(const coordRec& point) {
    return isSet(point.northing);
}

bool hasElevation(const coordRec& point) {
    return isSet(point.elevation);
}

// A point of a reduction: the control record when it has the value the pass
// needs, else the record of the point list, else the control record as it is.
template <class Needs>
std::optional<coordRec> reductionPoint(const pointNameField& name, Needs needs) {
    coordRec control;
    const bool inControl = controlPointList2D.find(fixedText(name), control) >= 0;
    if (inControl && needs(control))
        return control;
    coordRec point;
    if (pointList2D.find(fixedText(name), point) >= 0)
        return point;
    if (inControl)
        return control;
    return std::nullopt;
}

void reduceDistanceToGrid(distanceObs2D& line) {
    std::optional<coordRec> from = reductionPoint(line.from, hasNorthing);
    std::optional<coordRec> to = reductionPoint(line.to, hasNorthing);
    if (!from || !to || !hasNorthing(*from) || !hasNorthing(*to))
        return;
    computeGridFactor(*from, projectVars.gridSystem, projectVars.gridZone);
    computeGridFactor(*to, projectVars.gridSystem, projectVars.gridZone);
    gridFactorOfLine(*from, *to, line);
}

void reduceAngleToGrid(angleObs2D& angle) {
    const std::optional<coordRec> instrument = reductionPoint(angle.instrument, hasNorthing);
    const std::optional<coordRec> backsight = reductionPoint(angle.backsight, hasNorthing);
    const std::optional<coordRec> foresight = reductionPoint(angle.foresight, hasNorthing);
    double correction = 0.0;
    if (instrument && backsight && foresight && hasNorthing(*instrument) &&
        hasNorthing(*backsight) && hasNorthing(*foresight))
        arcToChordCorrection(*instrument, *backsight, *foresight, correction);
    // The chord from the instrument to a point leaves it at t = T + (t - T);
    // the angle between two chords is the measured (geodesic) angle plus
    // (t - T) to the foresight minus (t - T) to the backsight.
    angle.angle += correction;
    angle.arcToChord = correction;
}

// Fills an end's missing elevation from the other end. False when the pass
// cannot reduce the line (both ends without an elevation while the project
// takes elevation factors from the points).
bool completeElevations(coordRec& from, coordRec& to, double vertDiff) {
    const bool fromPoints = projectVars.useProjZ != 0;
    if (!isSet(from.elevation) && isSet(to.elevation)) {
        if (isSet(vertDiff)) {
            from.elevation = to.elevation - vertDiff;
        } else {
            from.elevation = to.elevation;
            if (fromPoints)
                warnElevFactorData(std::string(fixedText(to.name)),
                                   std::string(fixedText(from.name)));
        }
    }
    if (!isSet(to.elevation)) {
        if (isSet(from.elevation) && isSet(vertDiff)) {
            to.elevation = from.elevation + vertDiff;
        } else {
            to.elevation = from.elevation;
            if (fromPoints)
                warnElevFactorData(std::string(fixedText(from.name)),
                                   std::string(fixedText(to.name)));
        }
    }
    return (isSet(from.elevation) && isSet(to.elevation)) || !fromPoints;
}

// Walks `distanceList2D`, posting progress, and writes each record back as
// `reduce` left it; `reduce` returns false to end the walk there.
template <class Reduce> bool reduceEachDistance(Reduce reduce) {
    const int distances = distanceList2D.count();
    distanceObs2D line;
    for (int index = 0, more = distanceList2D.seekCursor(0); more == 0;
         ++index, more = distanceList2D.advanceCursor()) {
        if (distanceList2D.getAtCursor(line) != 0)
            break;
        postProgress(index, distances);
        if (!reduce(line))
            return false;
        distanceList2D.replaceAtCursor(line);
    }
    return true;
}

// The mean elevation factor applied to the line; false when it cannot be
// computed. A line with an end in neither point list stays as it is.
bool reduceDistanceToSeaLevel(distanceObs2D& line) {
    std::optional<coordRec> from = reductionPoint(line.from, hasElevation);
    std::optional<coordRec> to = reductionPoint(line.to, hasElevation);
    if (!from || !to || !completeElevations(*from, *to, line.vertDiff))
        return true;
    return meanElevFactorOfLine(*from, *to, line) == elevFactorComputed;
}

} // namespace

int reduceObsToGrid() {
    if (projectVars.gridSystem == gridLocal)
        return 0;
    reduceEachDistance([](distanceObs2D& line) {
        reduceDistanceToGrid(line);
        return true;
    });
    const int angles = angleList2D.count();
    const int cursor = angleList2D.openCursor(0);
    angleObs2D angle;
    while (angleList2D.getAtCursor(cursor, angle) == 0) {
        postProgress(angleList2D.cursorIndex(cursor), angles);
        reduceAngleToGrid(angle);
        angleList2D.replaceAtCursor(cursor, angle);
        angleList2D.advanceCursor(cursor);
    }
    angleList2D.closeCursor(cursor);
    return 0;
}

int reduceDistancesToSeaLevel() {
    if (projectVars.gridSystem == gridLocal)
        return 0;
    return reduceEachDistance(reduceDistanceToSeaLevel) ? 0 : elevFactorNoHeight;
}
