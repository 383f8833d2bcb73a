#pragma once
// The records of the network model that the graphics window draws: the
// points it marks, and the instrument setups with the foresights turned at
// them and the GPS vectors that start there. Names are point names of at most
// 10 characters, compared without regard to letter case; lengths are in the
// project's unit (3D: metres); angles and directions are radians, directions
// clockwise from north. A double without a value holds `notComputed`.

#include "model/point_name.hpp"
#include "platform/sentinels.hpp"

#include <string>
#include <vector>

// One marked point.
struct graphPoint {
    pointNameField name = {};
    double northing = notComputed;
    double easting = notComputed;
    double elevation = notComputed;
    int pointType = 0; // 1 weighted control, 3 given, 4 fixed
    double stdErrN = 0.0;
    double stdErrE = 0.0;
    std::string description;
    std::string description2;
};

// One angle turned from the backsight of a setup.
struct graphForesight {
    pointNameField foresight = {};
    double angle = notComputed; // clockwise from the backsight
    double distance = 0.0;      // 0 when no distance was observed
    double angleStdErr = 0.0;   // seconds of arc
    double distanceStdErr = 0.0;
    double northing = notComputed; // where the foresight lands; unset when it cannot be placed
    double easting = notComputed;
    int angleStatus = 0; // the angle's status word; 2 set aside
};

// One GPS baseline from a setup's instrument point.
struct graphVector {
    pointNameField to = {};
    double dX = notComputed;
    double dY = notComputed;
    double dZ = notComputed;
    double varX = notComputed;
    double varY = notComputed;
    double varZ = notComputed;
    double toN = notComputed; // the end point's known position; unset when unknown
    double toE = notComputed;
};

// Where a setup's backsight direction came from.
inline constexpr int directionObserved = 0; // an observed azimuth
inline constexpr int directionComputed = 1; // the coordinates of both points

// One instrument setup on one backsight.
struct graphSetup {
    pointNameField backsight = {}; // empty for a setup made for GPS vectors
    pointNameField instrument = {};
    double backsightDist = 0.0;     // 0 when none was observed
    double direction = notComputed; // azimuth instrument -> backsight
    double instrumentN = notComputed;
    double instrumentE = notComputed;
    int directionSource = directionObserved;
    double directionStdErr = 0.0; // seconds of arc; 0 when computed
    std::vector<graphForesight> foresights;
    std::vector<graphVector> vectors;

    // Copy the index-th foresight or vector out: 0, or 1 past the end.
    int getForesightAt(int index, graphForesight& out) const;
    int getVectorAt(int index, graphVector& out) const;
};
