#pragma once
// Standard errors carried from point records into the lines between them, and
// new points intersected from two known points with their standard errors.
//
// Coordinates and coordinate standard errors in the chain's unit; directions
// in radians clockwise from north. A negative coordinate standard error is a
// marker (-1 none, -2 fixed), not a spread: it enters the propagation as 0.

#include "model/point_records.hpp"

inline constexpr int errorsComputed = 0;
inline constexpr int errorsCoincidentPoints = 1;

// Standard errors of the direction (radians) and the distance from A to B,
// from the easting and northing errors of both points:
// sE = sqrt(sE_A^2 + sE_B^2), sN likewise;
// direction error = sqrt((dN sE)^2 + (dE sN)^2) / d^2;
// distance error = sqrt((cos az sN)^2 + (sin az sE)^2).
// Coincident points have no direction: the direction error is then
// `notComputed` and the result `errorsCoincidentPoints`; else `errorsComputed`.
int inverseStdErrs2D(coordRec a, coordRec b, double& directionErr, double& distanceErr);
int inverseStdErrs3D(stationRec a, stationRec b, double& directionErr, double& distanceErr);

// Straight-line distance between the earth-centred X, Y, Z of two stations.
double stationDistXYZ(stationRec a, stationRec b);

// New point P where the line from A with direction dirA meets the line from B
// with direction dirB (errors in seconds of arc). P's easting and northing
// are written with their standard errors: each the root sum of squares of A's
// error of the same coordinate and the error the intersection adds, from the
// error of the length A-P (by the sine rule, from the A-B distance error and
// the angle errors) and of the direction at A. Other fields of P are left as
// they were. Returns geometryNoSolution (1) when the lines are parallel or A
// and B coincide, else 0.
int intersectDirections2D(const coordRec& a, double dirA, double errA_sec, const coordRec& b,
                          double dirB, double errB_sec, coordRec& p);
int intersectDirections3D(const stationRec& a, double dirA, double errA_sec, const stationRec& b,
                          double dirB, double errB_sec, stationRec& p);
