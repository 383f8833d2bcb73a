#include "vistra/network_stages.hpp"

#include "engine/geodetic_reductions.hpp"
#include "engine/prelim_coords_2d.hpp"
#include "engine/sideshot_filter.hpp"
#include "engine/sideshots_2d.hpp"
#include "model/program_lists.hpp"
#include "model/run_context.hpp"
#include "model/settings/global_vars.hpp"
#include "model/station_lists.hpp"
#include "vistra/network_walks.hpp"

namespace {

// Where a network without control is started.
constexpr double assumedStartN = 10000.0;
constexpr double assumedStartE = 10000.0;
constexpr double assumedStartElevation = 500.0;
constexpr double pi = 3.14159265358979323846;

struct Chain2D {
    using Point = coordRec;
    using Angle = angleObs2D;
    static const obsList<coordRec>& controlList() { return controlPointList2D; }
    static const obsList<coordRec>& stationList() { return pointList2D; }
    static const obsList<coordRec>& givenList() { return givenPointList2D; }
    static const obsList<angleObs2D>& angles() { return angleList2D; }
    static bool findDistance(std::string_view a, std::string_view b, double& distance,
                             double& stdErr) {
        distanceObs2D line;
        if (distanceList2D.find(a, b, line) < 0)
            return false;
        distance = line.distance;
        stdErr = line.stdErrDist;
        return true;
    }
    static bool findKnown(coordRec& point) { return findKnownStation2D(point) == stationFound; }
    static bool findAzimuth(std::string_view from, std::string_view to, double& azimuth,
                            double& stdErr) {
        azimuthObs observed;
        if (azimuthList2D.find(from, to, observed) < 0)
            return false;
        azimuth = observed.azimuth;
        stdErr = observed.stdErr;
        return true;
    }
};

// Control the preliminary coordinates can start from, counted up to two;
// `last` is the last one counted.
int countKnownPoints(coordRec& last) {
    int known = 0;
    coordRec p;
    for (int i = 0; known < 2 && controlPointList2D.getAt(i, p) == 0; ++i) {
        if (graphwalk::isMarkedControlType(p.pointType)) {
            ++known;
            last = p;
        }
    }
    for (int i = 0; known < 2 && pointList2D.getAt(i, p) == 0; ++i) {
        if (isSet(p.northing) && p.pointType == ptWeightedControl &&
            controlPointList2D.indexOf(fixedText(p.name)) < 0) {
            ++known;
            last = p;
        }
    }
    for (int i = 0; known < 2 && givenPointList2D.getAt(i, p) == 0; ++i) {
        if (isSet(p.northing)) {
            ++known;
            last = p;
        }
    }
    return known;
}

void appendAssumedAzimuth(std::string_view from, std::string_view to) {
    azimuthObs assumed;
    setPointName(assumed.from, from);
    setPointName(assumed.to, to);
    assumed.azimuth = 0.0;
    assumed.stdErr = projectVars.stErrAz;
    azimuthList2D.append(assumed);
}

// One known point and no azimuth: every angle turned there looks north at
// its backsight.
void assumeAzimuthsAt(const coordRec& known) {
    angleObs2D a;
    for (int i = 0; angleList2D.getAt(i, a) == 0; ++i) {
        if (sameName(fixedText(a.instrument), fixedText(known.name)))
            appendAssumedAzimuth(fixedText(a.instrument), fixedText(a.backsight));
    }
}

// No control: the first angle's instrument becomes a starting point looking
// north at its backsight.
void assumeStart() {
    angleObs2D first;
    if (angleList2D.getAt(0, first) != 0)
        return;
    coordRec start;
    initCoordRec(start);
    setPointName(start.name, fixedText(first.instrument));
    start.northing = assumedStartN;
    start.easting = assumedStartE;
    start.elevation = assumedStartElevation;
    start.pointType = ptWeightedControl;
    pointList2D.replace(start);
    azimuthObs existing;
    if (rawDataGraph::findAzimuthEitherWay(fixedText(first.instrument), fixedText(first.backsight),
                                           existing) < 0)
        appendAssumedAzimuth(fixedText(first.instrument), fixedText(first.backsight));
}

void placeNetwork(ShellServices& shell) {
    int prelimStatus = 0;
    prelimCoords2D(prelimStatus);
    countUnknownsObs2D(unknownCount, obsCount);
    reduceObsToGrid();
    const int reduced = reduceDistancesToSeaLevel();
    if (reduced == 0 && obsCount > unknownCount && unknownCount != 0)
        computeSideshots2D(RunContext(shell));
}

} // namespace

int rawDataGraph::findAzimuthEitherWay(std::string_view from, std::string_view to,
                                       azimuthObs& out) {
    azimuthObs record;
    for (int i = 0; azimuthList2D.getAt(i, record) == 0; ++i) {
        if (sameName(fixedText(record.from), from) && sameName(fixedText(record.to), to)) {
            out = record;
            return i;
        }
    }
    for (int i = 0; azimuthList2D.getAt(i, record) == 0; ++i) {
        if (sameName(fixedText(record.from), to) && sameName(fixedText(record.to), from)) {
            out = record;
            setPointName(out.from, from);
            setPointName(out.to, to);
            out.azimuth = normalizedAngle(record.azimuth + pi);
            return i;
        }
    }
    return -1;
}

int buildModel2D(rawDataGraph& graph, ShellServices& shell) {
    if (projectVars.horizAdjust == 0)
        return graphBuilt;
    filterHorizSideshots();
    coordRec last;
    const int known = countKnownPoints(last);
    if (known == 1 && azimuthList2D.count() == 0)
        assumeAzimuthsAt(last);
    else if (known == 0)
        assumeStart();
    placeNetwork(shell);
    graphwalk::collectPoints<Chain2D>(graph);
    graphwalk::collectSetups<Chain2D>(graph);
    return graphBuilt;
}
