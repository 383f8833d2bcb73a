#pragma once
// The walks shared by the 2D and 3D roads of the model build, written once
// for both record chains. A chain is described by a traits type with:
//   Point            the point record (stationRec or coordRec)
//   controlList(), stationList(), givenList()   the three point lists
//   angles()         the angle list
//   findDistance(a, b, distance, stdErr)  a distance either way; false when none
//   findKnown(point) the point's known coordinates; false when unknown
//   findAzimuth(from, to, azimuth, stdErr) the observed azimuth from -> to

#include "model/plane_geometry.hpp"
#include "model/point_records.hpp"
#include "vistra/network_model.hpp"

#include <cmath>
#include <string>
#include <string_view>

namespace graphwalk {

inline bool isMarkedControlType(int type) {
    return type == ptWeightedControl || type == ptFixed || type == ptGiven;
}

template <class Point> graphPoint markOf(const Point& p) {
    graphPoint g;
    setPointName(g.name, fixedText(p.name));
    g.northing = p.northing;
    g.easting = p.easting;
    g.elevation = p.elevation;
    g.pointType = p.pointType;
    g.stdErrN = p.stdErrN;
    g.stdErrE = p.stdErrE;
    g.description = p.description;
    g.description2 = p.description2;
    return g;
}

// Every record with a northing widens the extents; control of a marked type
// is listed with or without coordinates, weighted control of the station
// list once, and every given point with a northing.
template <class Chain> void collectPoints(rawDataGraph& graph) {
    graph.resetExtents();
    typename Chain::Point p;
    const auto& control = Chain::controlList();
    for (int i = 0; control.getAt(i, p) == 0; ++i) {
        if (isMarkedControlType(p.pointType))
            graph.appendPoint(markOf(p));
        if (isSet(p.northing))
            graph.widenExtents(p.northing, p.easting);
    }
    const auto& stations = Chain::stationList();
    for (int i = 0; stations.getAt(i, p) == 0; ++i) {
        if (!isSet(p.northing))
            continue;
        graph.widenExtents(p.northing, p.easting);
        if (p.pointType == ptWeightedControl && control.indexOf(fixedText(p.name)) < 0)
            graph.appendPoint(markOf(p));
    }
    const auto& given = Chain::givenList();
    for (int i = 0; given.getAt(i, p) == 0; ++i) {
        if (!isSet(p.northing))
            continue;
        graph.widenExtents(p.northing, p.easting);
        graph.appendPoint(markOf(p));
    }
}

template <class Chain> bool knownPosition(std::string_view name, double& n, double& e) {
    typename Chain::Point p;
    setPointName(p.name, name);
    if (!Chain::findKnown(p) || !isSet(p.northing) || !isSet(p.easting))
        return false;
    n = p.northing;
    e = p.easting;
    return true;
}

template <class Chain>
graphSetup newSetup(std::string_view instrument, std::string_view backsight) {
    graphSetup s;
    setPointName(s.instrument, instrument);
    setPointName(s.backsight, backsight);
    double unusedStdErr = 0.0;
    if (!Chain::findDistance(instrument, backsight, s.backsightDist, unusedStdErr))
        s.backsightDist = 0.0;
    const bool instrumentKnown = knownPosition<Chain>(instrument, s.instrumentN, s.instrumentE);
    if (Chain::findAzimuth(instrument, backsight, s.direction, s.directionStdErr)) {
        s.directionSource = directionObserved;
        return s;
    }
    double bsN = notComputed;
    double bsE = notComputed;
    if (instrumentKnown && knownPosition<Chain>(backsight, bsN, bsE)) {
        double length = 0.0;
        s.direction = inverseDirDist(s.instrumentN, s.instrumentE, bsN, bsE, length);
        s.directionSource = directionComputed;
        s.directionStdErr = 0.0;
    }
    return s;
}

// A foresight is carried out from the instrument along the backsight
// direction turned by the angle. Without a distance, or from a known
// instrument whose backsight direction is unknown, it stands on its own
// known coordinates; a distance from an unknown instrument places it nowhere.
template <class Chain>
graphForesight foresightOf(const graphSetup& setup, std::string_view foresight, double angle,
                           double stdErr, int status) {
    graphForesight f;
    setPointName(f.foresight, foresight);
    f.angle = angle;
    f.angleStdErr = stdErr;
    f.angleStatus = status;
    const bool measured =
        Chain::findDistance(fixedText(setup.instrument), foresight, f.distance, f.distanceStdErr);
    if (!measured) {
        f.distance = 0.0;
        f.distanceStdErr = 0.0;
    }
    const bool instrumentKnown = isSet(setup.instrumentN) && isSet(setup.instrumentE);
    if (measured && instrumentKnown && isSet(setup.direction)) {
        const double azimuth = normalizedAngle(setup.direction + angle);
        f.northing = setup.instrumentN + f.distance * std::cos(azimuth);
        f.easting = setup.instrumentE + f.distance * std::sin(azimuth);
    } else if (!measured || instrumentKnown) {
        knownPosition<Chain>(foresight, f.northing, f.easting);
    }
    return f;
}

template <class Chain> void collectSetups(rawDataGraph& graph) {
    typename Chain::Angle a;
    const auto& angles = Chain::angles();
    for (int i = 0; angles.getAt(i, a) == 0; ++i) {
        const std::string_view instrument = fixedText(a.instrument);
        const std::string_view backsight = fixedText(a.backsight);
        graphSetup setup;
        int index = graph.findSetup(instrument, backsight, setup);
        if (index < 0) {
            setup = newSetup<Chain>(instrument, backsight);
            if (graph.appendSetup(setup) != 0)
                continue;
            index = graph.setupCount() - 1;
        }
        graph.appendForesight(
            index, foresightOf<Chain>(setup, fixedText(a.foresight), a.angle, a.stdErr, a.status));
    }
}

} // namespace graphwalk
