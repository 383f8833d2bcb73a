#include "engine/prelim_coords_3d.hpp"

#include "engine/prelim_chain_3d.hpp"
#include "engine/prelim_passes_shared.hpp"
#include "engine/prelim_support_3d.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"
#include "model/project_geodesy.hpp"
#include "platform/shell_services.hpp"

#include <optional>
#include <string>

using namespace prelim3d;

namespace {

int solveWithGps(stationRec& station) {
    return solveStation3D(station, 1);
}

int solveRemainingStations() {
    return prelimpasses::solveRemaining<chain>(solveWithGps);
}

// Copies the given (approximate) positions into the stations of the run; a
// given elevation only fills a missing one.
void seedGivenStations() {
    const int count = givenStationList.count();
    walk(givenStationList, [&](const stationRec& given, int index) {
        postProgress(index, count);
        stationRec station;
        if (stationList.find(nameOf(given.name), station) < 0)
            return true;
        station.easting = given.easting;
        station.northing = given.northing;
        if (!isSet(station.elevation) && isSet(given.elevation))
            station.elevation = given.elevation;
        completeStation(station);
        return true;
    });
}

// Places the unknown end of a vector whose other end is known. True when it
// placed one.
bool placeVectorEnd(const gpsVectorRec& vector) {
    const auto from = knownStation(vector.from);
    const auto to = knownStation(vector.to);
    if (from.has_value() == to.has_value())
        return false;
    stationRec station;
    if (stationList.find(fixedText(from ? vector.to : vector.from), station) < 0 ||
        !needsComputing(station))
        return false;
    if (!placeByVector(station, from ? *from : *to, vector, from.has_value()))
        return false;
    stationList.replace(station);
    return true;
}

// The height difference of a line signed from `from` to its other end.
double heightDiffFrom(const distanceObs& line, const pointNameField& from) {
    if (!isSet(line.meanHeightDiff) || samePoint(line.from, from))
        return line.meanHeightDiff;
    return -line.meanHeightDiff;
}

// The walk that follows the traverse: instrument and backsight direction are
// looked up only when they change from one angle to the next.
class traverseWalk {
public:
    // True when the angle's foresight was placed.
    bool place(const angleObs& a) {
        stationRec foresight;
        if (stationList.find(fixedText(a.foresight), foresight) < 0 || isSet(foresight.easting))
            return false;
        if (!haveInstrument(a) || !haveBacksight(a))
            return false;
        distanceObs line;
        verticalObs zenith;
        if (distanceList.find(fixedText(a.instrument), fixedText(a.foresight), line) < 0 ||
            !hasDistance(line) ||
            verticalList.find(fixedText(a.instrument), fixedText(a.foresight), zenith) < 0)
            return false;
        placeByGroundDistance(foresight, instrument_, line.meanDist,
                              normalizedAngle(*backsightAzimuth_ + a.angle),
                              heightDiffFrom(line, a.instrument));
        completeStation(foresight);
        chain::links().placedFrom(fixedText(a.foresight), fixedText(a.instrument));
        return true;
    }

private:
    bool haveInstrument(const angleObs& a) {
        if (!instrumentName_.empty() && sameName(fixedText(a.instrument), instrumentName_))
            return true;
        instrumentName_.clear();
        backsightName_.clear();
        const auto found = knownStation(a.instrument);
        if (!found)
            return false;
        instrument_ = *found;
        instrumentName_ = nameOf(a.instrument);
        return true;
    }

    // A missing direction is kept for the setup's run of angles too: working
    // it out again walks all the setup's angles, for each of its sightings.
    bool haveBacksight(const angleObs& a) {
        if (backsightName_.empty() || !sameName(fixedText(a.backsight), backsightName_)) {
            backsightAzimuth_ = prelimpasses::backsightDirection<chain>(instrument_, a.backsight);
            backsightName_ = nameOf(a.backsight);
        }
        return backsightAzimuth_.has_value();
    }

    stationRec instrument_;
    std::string instrumentName_;
    std::string backsightName_;
    std::optional<double> backsightAzimuth_;
};

// The GPS, angle and traverse passes and the station-by-station solution.
// Returns the number of stations left, with the status the driver words
// them by.
int placeByObservations(int& status) {
    gpsVectorPass3D();
    int placed = 0;
    if (anglePass3D(placed, 1) == 1) {
        traversePass3D();
        if (anglePass3D(placed, 1) == 1) {
            status = prelim3DInstrumentOrBacksight;
            return countStationsToCompute();
        }
    }
    if (countStationsToCompute() == 0) {
        status = prelim3DInstrumentOrBacksight;
        return 0;
    }
    status = prelim3DOtherStations;
    gpsVectorPass3D();
    if (countStationsToCompute() == 0)
        return 0;
    traversePass3D();
    return solveRemainingStations();
}

void finishStations() {
    computeInitialZ3D();
    setAzimuthConvergence3D();
    completeGeodeticCoords3D();
}

} // namespace

int gpsVectorPass3D() {
    int placed = 0;
    const int vectors = gpsVectorList.count();
    for (int placedThisWalk = 1; placedThisWalk > 0;) {
        placedThisWalk = 0;
        walk(gpsVectorList, [&](const gpsVectorRec& vector, int index) {
            postProgress(index, vectors);
            if (placeVectorEnd(vector))
                ++placedThisWalk;
            return true;
        });
        placed += placedThisWalk;
    }
    return placed;
}

int anglePass3D(int& placed, int useGps) {
    return prelimpasses::solveAngleStations<chain>(
        placed, [useGps](stationRec& station) { return solveStation3D(station, useGps); });
}

int traversePass3D() {
    int placed = 0;
    const int angles = angleList.count();
    traverseWalk traverse;
    walk(angleList, [&](const angleObs& a, int index) {
        postProgress(index, angles);
        if (traverse.place(a))
            ++placed;
        return true;
    });
    return placed;
}

// No run context reaches prelimPass3D: its interface has none, so the shell
// is the active one (the run installs its own for its length).
int prelimPass3D() {
    activeShell().setPercent(0);
    int left = countStationsToCompute();
    if (left > 0) {
        int placed = 0;
        const bool stalled = anglePass3D(placed, 0) == 1;
        left = countStationsToCompute();
        if (stalled && left > 0)
            return left;
        if (left > 0) {
            traversePass3D();
            left = solveRemainingStations();
        }
    }
    if (left == 0) {
        computeInitialZ3D();
        setAzimuthConvergence3D();
    }
    return left;
}

// No run context reaches prelimCoords3D: its interface has none, so the
// shell is the active one (the run installs its own for its length).
int prelimCoords3D(int& status) {
    activeShell().setPercent(0);
    chain::links().clear();
    seedGivenStations();
    status = prelim3DInstrumentOrBacksight;
    int left = countStationsToCompute();
    if (left > 0)
        left = placeByObservations(status);
    activeShell().setPercent(0);
    if (left > 0 && hasEnoughControl3D() == 1)
        left = assumedAzimuthPass3D();
    if (left > 0)
        return left;
    finishStations();
    return 0;
}
