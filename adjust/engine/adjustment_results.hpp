#pragma once
// What the last converged least-squares adjustment leaves behind until the
// next run: the cofactor matrix of the unknowns, the point error ellipses and
// the standard error of unit weight. The relative error ellipses, the inverse
// tool and the network graphics read them; each adjustment releases them
// before it starts.

#include "engine/cofactors.hpp"

#include <memory>
#include <vector>

// One adjusted point's error ellipse at the project's confidence level.
struct errEllipseRec {
    char name[16] = {};
    double orientation = 0.0; // radians, azimuth of the semi-major axis, 0 <= o < pi
    double semiMajor = 0.0;   // the four lengths in the chain's unit, scaled by
    double semiMinor = 0.0;   // the confidence factor sqrt(2 F(2, dof))
    double sigmaE = 0.0;
    double sigmaN = 0.0;
};

// Q = N^-1 of the unknowns (u x u), in the unknowns' order: easting then
// northing of each adjustable point (2D), or the three unknowns of each
// station (3D); read through its `at` and `block`. Null when no adjustment
// has converged since the last release.
extern std::unique_ptr<Cofactors> varCovMatrix;
// One record per adjustable point, in list order; errEllipseCount == size.
extern std::vector<errEllipseRec> errEllipses;
extern int errEllipseCount;
// s0, the a-posteriori standard error of unit weight; 0 when none.
extern double referenceStdDev;

// Forgets the results of the last adjustment.
void releaseAdjustmentResults();
