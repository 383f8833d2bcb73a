#pragma once
// The small plane-geometry kernel shared by the data preparation, the
// preliminary coordinates, the adjustment and the reports: direction and
// distance between two points, angle arithmetic on directions, intersections
// and the three-point resection.
//
// Coordinates are passed as (northing, easting) pairs in the caller's length
// unit; directions are azimuths in radians, clockwise from north. "Near zero"
// means an absolute value under `geometryZero`.
//
// Results: `geometrySolved` (0), or `geometryNoSolution` (1) when the geometry
// gives no point; the outputs are then left as they were.

inline constexpr double geometryZero = 1e-15;
inline constexpr int geometrySolved = 0;
inline constexpr int geometryNoSolution = 1;

// Azimuth from point 1 to point 2 in [0, 2pi), and the distance
// sqrt(dN^2 + dE^2). Coincident points give 0 and distance 0; a northing
// difference near zero gives pi/2 (east) or 3pi/2 (west).
double inverseDirDist(double n1, double e1, double n2, double e2, double& distance);

// Clockwise angle from direction a to direction b, in [0, 2pi).
void angleFromDirections(double a, double b, double& angle);

// The angle put into [0, 2pi) (2pi itself becomes 0).
void normalizeAngle(double& angle);
// The same, returned; a value already inside is returned unchanged.
double normalizedAngle(double angle);

double cot(double angle);

// The point at distance d1 from point 1 and d2 from point 2 that lies to the
// left of the line from point 1 to point 2 (swap the points for the other
// one). No solution when the points coincide, d1 <= 0, or the circles do not
// cross in two points (touching circles count as no solution).
int intersectDistDist(double n1, double e1, double n2, double e2, double d1, double d2, double& n,
                      double& e);

// The crossing of the line through point 1 with azimuth az1 and the line
// through point 2 with azimuth az2 (lines, not rays). No solution when the
// lines are parallel: equal or opposite azimuths, or azimuths a full turn
// apart.
int intersectDirDir(double n1, double e1, double az1, double n2, double e2, double az2, double& n,
                    double& e);

// Three-point resection by Tienstra's weighted mean of the known points.
// alpha is the clockwise angle measured at the new point from point 1 to
// point 2, beta the clockwise angle from point 2 to point 3. No solution when
// the new point lies on the circle through the three known points (the
// danger circle), or the known points are collinear or coincide.
int resection3Pt(double n1, double e1, double n2, double e2, double n3, double e3, double alpha,
                 double beta, double& n, double& e);
