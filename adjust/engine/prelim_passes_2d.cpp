#include "engine/prelim_coords_2d.hpp"

#include "engine/prelim_chain_2d.hpp"
#include "engine/prelim_passes_shared.hpp"
#include "engine/prelim_support_2d.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "platform/shell_services.hpp"

#include <cmath>
#include <optional>

using namespace prelim2d;

namespace {

int solveRemainingPoints() {
    return prelimpasses::solveRemaining<chain>(solveStation2D);
}

// Copies the given (approximate) positions into the points of the run; a
// given elevation only fills a missing one.
void seedGivenPoints() {
    const int count = givenPointList2D.count();
    walk(givenPointList2D, [&](const coordRec& given, int index) {
        postProgress(index, count);
        coordRec point;
        if (pointList2D.find(nameOf(given.name), point) < 0)
            return true;
        point.easting = given.easting;
        point.northing = given.northing;
        if (!isSet(point.elevation) && isSet(given.elevation)) {
            point.elevation = given.elevation;
            point.geoidSep = given.geoidSep;
        }
        pointList2D.replace(point);
        return true;
    });
}

// Places the foresight at the measured distance (reduced at the provisional
// position when the project has a grid) and carries the instrument's
// elevation to it. False when the reduction failed.
bool placeForesight(const coordRec& instrument, coordRec& foresight, const distanceObs2D& line,
                    double direction) {
    placePolar(foresight, instrument, line.distance, direction);
    if (projectHasGrid()) {
        coordRec provisional = foresight;
        if (!isSet(provisional.elevation))
            provisional.elevation = carriedElevation(instrument, line.vertDiff);
        distanceObs2D reduced = line;
        if (!reduceAtProvisionalPosition(instrument, provisional, reduced))
            return false;
        foresight = provisional;
        placePolar(foresight, instrument, reduced.distance, direction);
    }
    if (!isSet(foresight.elevation))
        foresight.elevation = carriedElevation(instrument, line.vertDiff);
    return true;
}

// The angle passes, the traverse pass and the point-by-point solution.
// Returns the number of points left, with the status the driver words them by.
int placeByObservations(int& status) {
    int placed = 0;
    if (anglePass2D(placed) == 1) {
        traversePass2D();
        if (anglePass2D(placed) == 1) {
            status = prelimInstrumentOrBacksight;
            return countPointsToCompute();
        }
    }
    if (countPointsToCompute() == 0) {
        status = prelimInstrumentOrBacksight;
        return 0;
    }
    status = prelimOtherPoints;
    traversePass2D();
    return solveRemainingPoints();
}

// Writes a derived elevation into the point's record of `pointList2D` when
// that record has none; true when it did. A non-finite elevation is never
// stored: it would read as unset and be filled again on every pass.
bool storeElevation(const coordRec& point) {
    coordRec stored;
    if (!std::isfinite(point.elevation) || pointList2D.find(nameOf(point.name), stored) < 0 ||
        isSet(stored.elevation))
        return false;
    stored.elevation = point.elevation;
    pointList2D.replace(stored);
    return true;
}

// Carries an elevation along one height difference; true when it filled one.
bool carryElevation(const distanceObs2D& line) {
    coordRec from, to;
    setPointName(from.name, fixedText(line.from));
    setPointName(to.name, fixedText(line.to));
    if (getStation2D(from) != 0 || getStation2D(to) != 0)
        return false;
    if (!isSet(from.elevation) && isSet(to.elevation)) {
        from.elevation = to.elevation - line.vertDiff;
        return storeElevation(from);
    }
    if (!isSet(to.elevation) && isSet(from.elevation)) {
        to.elevation = from.elevation + line.vertDiff;
        return storeElevation(to);
    }
    return false;
}

} // namespace

int anglePass2D(int& placed) {
    return prelimpasses::solveAngleStations<chain>(placed, solveStation2D);
}

int traversePass2D() {
    int placed = 0;
    const int angles = angleList2D.count();
    coordRec instrument;
    std::string instrumentName;
    std::string backsightName;
    // Kept for the setup's run of angles when it is missing too: working it
    // out again walks all the setup's angles, for each of its sightings.
    std::optional<double> backsightAzimuth;
    walk(angleList2D, [&](const angleObs2D& a, int index) {
        postProgress(index, angles);
        coordRec foresight;
        if (pointList2D.find(fixedText(a.foresight), foresight) < 0 || isSet(foresight.easting))
            return true;
        if (instrumentName.empty() || !sameName(fixedText(a.instrument), instrumentName)) {
            coordRec found;
            setPointName(found.name, fixedText(a.instrument));
            if (findKnownStation2D(found) != 0)
                return true;
            instrument = found;
            instrumentName = nameOf(a.instrument);
            backsightName.clear();
        }
        if (backsightName.empty() || !sameName(fixedText(a.backsight), backsightName)) {
            backsightAzimuth = prelimpasses::backsightDirection<chain>(instrument, a.backsight);
            backsightName = nameOf(a.backsight);
        }
        if (!backsightAzimuth)
            return true;
        distanceObs2D line;
        if (distanceList2D.find(fixedText(a.instrument), fixedText(a.foresight), line) < 0 ||
            !hasDistance(line))
            return true;
        if (placeForesight(instrument, foresight, line,
                           normalizedAngle(*backsightAzimuth + a.angle))) {
            storePlacedPoint(foresight);
            chain::links().placedFrom(fixedText(a.foresight), fixedText(a.instrument));
            ++placed;
        }
        return true;
    });
    return placed;
}

// No run context reaches computeInitialZ2D: its interface has none, so the shell is
// the active one (the run installs its own for its length).
int computeInitialZ2D() {
    activeShell().setMessage("Computing Initial Z's");
    const int count = distanceList2D.count();
    bool changed = true;
    while (changed) {
        changed = false;
        walk(distanceList2D, [&](const distanceObs2D& line, int index) {
            postProgress(index, count);
            if (isSet(line.vertDiff) && carryElevation(line))
                changed = true;
            return true;
        });
    }
    return 0;
}

int setAzimuthConvergence2D() {
    walk(azimuthList2D, [&](const azimuthObs& found, int) {
        coordRec from;
        setPointName(from.name, fixedText(found.from));
        if (findKnownStation2D(from) != 0)
            return true;
        const geodCoord position = geodOfGridPoint(from.northing, from.easting);
        azimuthObs az = found;
        az.convergence = position.conv;
        azimuthList2D.replace(az);
        return true;
    });
    return 0;
}

// No run context reaches prelimPass2D: its interface has none, so the shell is
// the active one (the run installs its own for its length).
int prelimPass2D() {
    activeShell().setPercent(0);
    int left = countPointsToCompute();
    activeShell().setPercent(0);
    if (left > 0) {
        int placed = 0;
        const bool stalled = anglePass2D(placed) == 1;
        left = countPointsToCompute();
        if (!stalled && left > 0) {
            traversePass2D();
            left = solveRemainingPoints();
        }
    }
    if (projectHasGrid())
        setAzimuthConvergence2D();
    return left;
}

// No run context reaches prelimCoords2D: its interface has none, so the shell is
// the active one (the run installs its own for its length).
int prelimCoords2D(int& status) {
    activeShell().setPercent(0);
    chain::links().clear();
    seedGivenPoints();
    status = prelimInstrumentOrBacksight;
    int left = countPointsToCompute();
    if (left > 0)
        left = placeByObservations(status);
    computeInitialZ2D();
    if (projectHasGrid())
        setAzimuthConvergence2D();
    activeShell().setPercent(0);
    if (left != 0 && hasEnoughControl2D() == 1)
        left = assumedAzimuthPass2D();
    return left;
}
