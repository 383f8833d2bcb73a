#pragma once
// The relative error ellipse between two points of the last converged
// adjustment: the ellipse of the horizontal coordinate differences, from the
// two points' blocks of `varCovMatrix` and their cross block (zero for a
// fixed point), Q_d = Q11 - Q12 - Q21 + Q22, scaled by s0 and the confidence
// factor sqrt(2 F(2, dof)) like the point ellipses.
//
// Unknowns: 2D, easting then northing of each adjustable point of
// `pointList2D` (types 0 and 1) in list order; 3D, north, east and up of each
// adjustable station of `stationList` in list order. A point held fixed is
// looked up in `fixedPointList2D` (3D `fixedStationList`).

#include "model/point_records.hpp"

inline constexpr int relativeEllipseComputed = 0;
inline constexpr int relativeEllipseFailed = 1;

// point1 and point2 carry the point names on entry; with `fillRecords` 1 they
// receive the full point records. Outputs: semi-axes in the project's unit
// (3D: converted from metres), orientation (radians, azimuth of the
// semi-major axis, 0 <= o < pi). relativeEllipseFailed when a point is a
// sideshot ("Pt. %s is a sideshot and was not included in the adjustment.")
// or exists in neither point list ("Pt. %s does not exist."), the message
// shown only with `showMessages` 1, or when no adjustment has converged.
int relErrEllipse2D(coordRec* point1, coordRec* point2, double* semiMajor, double* semiMinor,
                    double* orientation, int fillRecords, int showMessages);
int relErrEllipse3D(stationRec* point1, stationRec* point2, double* semiMajor, double* semiMinor,
                    double* orientation, int fillRecords, int showMessages);
