#include "model/station_lists.hpp"

#include "model/program_lists.hpp"
#include "model/progress.hpp"
#include "model/project_geodesy.hpp"
#include "platform/shell_services.hpp"

#include <cmath>
#include <string>

namespace {

// Distance of an azimuth's dummy end point from its start, in the chain's unit.
constexpr double dummyDistance = 1000.0;

// Calls `visit` with each record of the list in order, posting the progress
// before each and resetting it after the walk.
// No run context reaches the station-list builders (buildStationList2D, buildStationList3D): their
// interface has none, so the shell is the active one (the run installs its own for its length).
template <class Record, class Visit> void walk(obsList<Record>& list, Visit visit) {
    const int n = list.count();
    const int c = list.openCursor(0);
    Record record;
    for (int i = 0; list.getAtCursor(c, record) == 0; ++i) {
        postProgress(i, n);
        visit(record);
        list.advanceCursor(c);
    }
    list.closeCursor(c);
    activeShell().setPercent(0);
}

// A seqList walk takes the list's one cursor: `visit` must not walk it too.
template <class Record, class Visit> void walk(seqList<Record>& list, Visit visit) {
    const int n = list.count();
    Record record;
    if (list.seekCursor(0) == 0) {
        for (int i = 0; list.getAtCursor(record) == 0; ++i) {
            postProgress(i, n);
            visit(record);
            list.advanceCursor();
        }
    }
    activeShell().setPercent(0);
}

// The same without progress: the inner walks of the azimuth test.
template <class Record, class Visit> void scan(obsList<Record>& list, Visit visit) {
    const int c = list.openCursor(0);
    Record record;
    while (list.getAtCursor(c, record) == 0) {
        visit(record);
        list.advanceCursor(c);
    }
    list.closeCursor(c);
}

template <class Record, class Visit> void scan(seqList<Record>& list, Visit visit) {
    Record record;
    if (list.seekCursor(0) != 0)
        return;
    while (list.getAtCursor(record) == 0) {
        visit(record);
        list.advanceCursor();
    }
}

bool is(const pointNameField& field, std::string_view name) {
    return sameName(fixedText(field), name);
}

template <class Point> void takeDescriptions(Point& point) {
    ptDescRec entry;
    if (ptDescList.find(fixedText(point.name), entry) >= 0) {
        point.description = entry.description;
        point.description2 = entry.description2;
    }
}

template <class List> bool inList(const List& list, std::string_view name) {
    return list.indexOf(name) >= 0;
}

// The two chains: their lists and record resets.
struct chain3D {
    using point = stationRec;
    static obsList<stationRec>& points() { return stationList; }
    static obsList<stationRec>& fixed() { return fixedStationList; }
    static obsList<stationRec>& control() { return controlStationList; }
    static obsList<angleObs>& angles() { return angleList; }
    static obsList<distanceObs>& distances() { return distanceList; }
    static obsList<azimuthObs>& azimuths() { return azimuthList; }
    static stationRec fresh(std::string_view name) {
        stationRec record;
        initStationRec(record);
        setPointName(record.name, name);
        return record;
    }
    static int findKnown(stationRec& record) { return findKnownStation3D(record); }
    static void markDummy(stationRec& record) { record.pointType = ptAzimuthDummy; }
    // The adjustment forms the azimuth to the dummy on the ellipsoid, so the
    // dummy gets a geodetic position: its grid point at the height of the
    // azimuth's start (on the ellipsoid when the start has none; the height
    // barely turns the azimuth). A local grid has no geodetic position.
    static void completeDummy(stationRec& dummy, const stationRec& start) {
        geodeticFromGridMeters(dummy);
        if (!isSet(dummy.latitude) || !isSet(dummy.longitude))
            return;
        dummy.elevation = isSet(start.elevation) ? start.elevation : 0.0;
        projGeodToEcef(dummy);
    }
};

struct chain2D {
    using point = coordRec;
    static obsList<coordRec>& points() { return pointList2D; }
    static obsList<coordRec>& fixed() { return fixedPointList2D; }
    static obsList<coordRec>& control() { return controlPointList2D; }
    static obsList<angleObs2D>& angles() { return angleList2D; }
    static seqList<distanceObs2D>& distances() { return distanceList2D; }
    static seqList<azimuthObs>& azimuths() { return azimuthList2D; }
    static coordRec fresh(std::string_view name) {
        coordRec record;
        initCoordRec(record);
        setPointName(record.name, name);
        return record;
    }
    static int findKnown(coordRec& record) { return findKnownStation2D(record); }
    static void markDummy(coordRec& record) {
        record.pointType = ptAzimuthDummy;
        record.vertType = vtNoVertical;
    }
    // The plane adjustment needs the grid point only.
    static void completeDummy(coordRec&, const coordRec&) {}
};

// How often the ends of one azimuth from F to T are observed otherwise;
// 1 means not at all.
template <class Chain> void countAzimuthEnds(const azimuthObs& azimuth, int& nF, int& nT) {
    const std::string_view F = fixedText(azimuth.from);
    const std::string_view T = fixedText(azimuth.to);
    nF = nT = 1;
    typename Chain::point found;
    if (Chain::points().find(F, found) >= 0 && found.pointType == ptWeightedControl)
        nF += 2;
    if (Chain::points().find(T, found) >= 0 && found.pointType == ptWeightedControl)
        nT += 2;
    scan(Chain::distances(), [&](const auto& d) {
        if (is(d.from, F) || is(d.to, F))
            ++nF;
        if (is(d.from, T) || is(d.to, T))
            ++nT;
    });
    scan(Chain::angles(), [&](const auto& a) {
        if ((is(a.foresight, T) || is(a.backsight, T)) && !is(a.instrument, F))
            ++nT;
        if ((is(a.foresight, F) || is(a.backsight, F)) && !is(a.instrument, T))
            ++nF;
    });
    scan(gpsVectorList, [&](const gpsVectorRec& v) {
        if (is(v.from, F) || is(v.to, F))
            nF += 2;
        if (is(v.from, T) || is(v.to, T))
            nT += 2;
    });
}

template <class Chain> void addAzimuthEnds(const azimuthObs& azimuth) {
    int nF = 0;
    int nT = 0;
    countAzimuthEnds<Chain>(azimuth, nF, nT);
    if (nF == 1)
        Chain::fixed().append(Chain::fresh(fixedText(azimuth.from)));
    if (nT != 1)
        return;
    typename Chain::point start = Chain::fresh(fixedText(azimuth.from));
    if (Chain::findKnown(start) != stationFound)
        return;
    typename Chain::point dummy = Chain::fresh(fixedText(azimuth.to));
    Chain::markDummy(dummy);
    dummy.easting = start.easting + dummyDistance * std::sin(azimuth.azimuth);
    dummy.northing = start.northing + dummyDistance * std::cos(azimuth.azimuth);
    Chain::completeDummy(dummy, start);
    Chain::fixed().append(dummy);
}

// Step 1: the control points with a position or an elevation.
template <class Chain> void addControl() {
    walk(Chain::control(), [](typename Chain::point point) {
        takeDescriptions(point);
        if constexpr (std::is_same_v<Chain, chain2D>) {
            if (!isSet(point.elevation))
                point.vertType = vtFreeElevation;
        }
        if (isSet(point.easting))
            (point.stdErrE >= 0.0 ? Chain::points() : Chain::fixed()).append(point);
        else if (isSet(point.elevation))
            Chain::points().append(point);
    });
}

// Step 3: a point an observation names and no list holds yet.
template <class Chain>
void addObservedPoint(std::string_view name, int vertType = vtFreeElevation) {
    if (inList(Chain::points(), name) || inList(Chain::fixed(), name))
        return;
    typename Chain::point point = Chain::fresh(name);
    takeDescriptions(point);
    if constexpr (std::is_same_v<Chain, chain2D>)
        point.vertType = vertType;
    if (point.stdErrE >= 0.0)
        Chain::points().append(point);
}

template <class Chain> void addAngleNames() {
    walk(Chain::angles(), [](const auto& a) {
        addObservedPoint<Chain>(fixedText(a.backsight));
        addObservedPoint<Chain>(fixedText(a.instrument));
        addObservedPoint<Chain>(fixedText(a.foresight));
    });
}

template <class Chain> void addAzimuthNames() {
    walk(Chain::azimuths(), [](const azimuthObs& a) {
        addObservedPoint<Chain>(fixedText(a.from));
        addObservedPoint<Chain>(fixedText(a.to));
    });
}

// Step 4: control points without a horizontal position.
template <class Chain> void addControlWithoutPosition() {
    walk(Chain::control(), [](typename Chain::point point) {
        if (isSet(point.easting))
            return;
        takeDescriptions(point);
        typename Chain::point stored;
        if (Chain::points().find(fixedText(point.name), stored) < 0) {
            point.pointType = ptCarried;
            Chain::points().append(point);
            return;
        }
        stored.elevation = point.elevation;
        stored.geoidSep = point.geoidSep;
        stored.description = point.description;
        stored.description2 = point.description2;
        Chain::points().replace(stored);
    });
}

// A 2D distance names its from point with a free elevation and its to point
// as the distance carries a height difference or not; a distance with one
// frees the elevation of a point that had none.
void addDistanceNames2D() {
    const auto freeElevation = [](std::string_view name) {
        coordRec stored;
        if (pointList2D.find(name, stored) >= 0 && stored.vertType == vtNoVertical) {
            stored.vertType = vtFreeElevation;
            pointList2D.replace(stored);
        }
    };
    walk(distanceList2D, [&](const distanceObs2D& d) {
        const std::string_view from = fixedText(d.from);
        const std::string_view to = fixedText(d.to);
        addObservedPoint<chain2D>(from);
        addObservedPoint<chain2D>(to, d.vertType == vtNoVertical ? vtNoVertical : vtFreeElevation);
        if (d.vertType == 0) {
            freeElevation(from);
            freeElevation(to);
        }
    });
}

// Step 5: given points held at a fixed elevation.
void takeGivenFixedElevations2D() {
    walk(givenPointList2D, [](const coordRec& given) {
        coordRec stored;
        if (given.vertType != vtFixedElevation ||
            pointList2D.find(fixedText(given.name), stored) < 0)
            return;
        stored.vertType = vtFixedElevation;
        pointList2D.replace(stored);
    });
}

template <class Record> bool adjusted(const Record& record) {
    return record.status != obsNotAdjusted;
}

template <class Point>
void countPoints(obsList<Point>& points, int perPoint, int& unknowns, int& observations) {
    int unknownPoints = 0;
    walk(points, [&](const Point& p) {
        if (p.pointType == ptUnknown || p.pointType == ptWeightedControl)
            ++unknownPoints;
        if (p.pointType == ptWeightedControl)
            observations += perPoint;
    });
    unknowns = unknownPoints * perPoint;
}

template <class List> int adjustedCount(List& list) {
    int n = 0;
    walk(list, [&n](const auto& record) {
        if (adjusted(record))
            ++n;
    });
    return n;
}

constexpr const char* countingMessage = "Computing total unknowns and observations.";

} // namespace

int notFixedStation(std::string_view name) {
    return inList(fixedStationList, name) ? 0 : 1;
}

int notFixedPoint2D(std::string_view name) {
    return inList(fixedPointList2D, name) ? 0 : 1;
}

int addAzimuthStations3D() {
    scan(azimuthList, addAzimuthEnds<chain3D>);
    return 0;
}

int addAzimuthStations2D() {
    scan(azimuthList2D, addAzimuthEnds<chain2D>);
    return 0;
}

int buildStationList3D() {
    addControl<chain3D>();
    addAzimuthStations3D();
    addAzimuthNames<chain3D>();
    walk(distanceList, [](const distanceObs& d) {
        addObservedPoint<chain3D>(fixedText(d.from));
        addObservedPoint<chain3D>(fixedText(d.to));
    });
    walk(verticalList, [](const verticalObs& v) {
        addObservedPoint<chain3D>(fixedText(v.from));
        addObservedPoint<chain3D>(fixedText(v.to));
    });
    addAngleNames<chain3D>();
    addControlWithoutPosition<chain3D>();
    return 0;
}

int buildStationList2D() {
    addControl<chain2D>();
    addAzimuthStations2D();
    addAzimuthNames<chain2D>();
    addDistanceNames2D();
    addAngleNames<chain2D>();
    addControlWithoutPosition<chain2D>();
    takeGivenFixedElevations2D();
    return 0;
}

// No run context reaches countUnknownsObs3D and countUnknownsObs2D: their interface has none, so
// the shell is the active one (the run installs its own for its length).
int countUnknownsObs3D(int& unknowns, int& observations) {
    unknowns = observations = 0;
    activeShell().setMessage(countingMessage);
    countPoints(stationList, 3, unknowns, observations);
    observations += adjustedCount(distanceList) + adjustedCount(verticalList) +
                    adjustedCount(angleList) + adjustedCount(azimuthList);
    walk(gpsVectorList, [&observations](const gpsVectorRec& v) {
        if (adjusted(v))
            observations += 3;
    });
    observations += levelList.count();
    return 0;
}

int countUnknownsObs2D(int& unknowns, int& observations) {
    unknowns = observations = 0;
    activeShell().setMessage(countingMessage);
    countPoints(pointList2D, 2, unknowns, observations);
    observations +=
        adjustedCount(distanceList2D) + adjustedCount(angleList2D) + adjustedCount(azimuthList2D);
    observations += 2 * gpsVectorList2D.count();
    return 0;
}
