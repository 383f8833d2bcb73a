#pragma once
// Builders of the records the sideshot tests put into the program-wide lists.

#include "model/program_lists.hpp"

namespace sideshottest {

inline coordRec point2D(const char* name, int type, double northing, double easting,
                        double stdErr = -2.0) {
    coordRec p;
    setPointName(p.name, name);
    p.pointType = type;
    p.northing = northing;
    p.easting = easting;
    p.stdErrN = stdErr;
    p.stdErrE = stdErr;
    return p;
}

// A point not yet located: no position.
inline coordRec unplaced2D(const char* name, int type = ptUnknown) {
    return point2D(name, type, notComputed, notComputed, 0.0);
}

inline distanceObs2D distance2D(const char* from, const char* to, double distance,
                                double stdErr = 0.005) {
    distanceObs2D d;
    setPointName(d.from, from);
    setPointName(d.to, to);
    d.distance = distance;
    d.stdErrDist = stdErr;
    return d;
}

// A distance that also carries a height difference from -> to.
inline distanceObs2D levelled2D(const char* from, const char* to, double heightDiff) {
    distanceObs2D d = distance2D(from, to, 100.0);
    d.vertDiff = heightDiff;
    d.stdErrVert = 0.01;
    d.vertType = 0;
    return d;
}

template <class Angle = angleObs2D>
Angle angleAt(const char* backsight, const char* instrument, const char* foresight,
              double angle_rad, double stdErr_sec = 5.0) {
    Angle a;
    setPointName(a.backsight, backsight);
    setPointName(a.instrument, instrument);
    setPointName(a.foresight, foresight);
    a.angle = angle_rad;
    a.stdErr = stdErr_sec;
    return a;
}

inline azimuthObs azimuthFrom(const char* from, const char* to, double azimuth_rad,
                              double stdErr_sec = 5.0) {
    azimuthObs a;
    setPointName(a.from, from);
    setPointName(a.to, to);
    a.azimuth = azimuth_rad;
    a.stdErr = stdErr_sec;
    return a;
}

inline gpsVectorRec vector(const char* from, const char* to) {
    gpsVectorRec v;
    setPointName(v.from, from);
    setPointName(v.to, to);
    v.dX = v.dY = v.dZ = 1.0;
    return v;
}

inline coordRec pointNamed(const char* name) {
    coordRec p;
    if (pointList2D.find(name, p) < 0)
        fixedPointList2D.find(name, p);
    return p;
}

} // namespace sideshottest
