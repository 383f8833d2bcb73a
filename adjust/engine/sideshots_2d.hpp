#pragma once
// Horizontal sideshots of the 2D chain, computed after the adjustment from
// the adjusted points and listed in the report's "Sideshots" section. Each
// point of type 2 in `pointList2D` is placed by the first rule that applies:
//
// 1. radial: a distance to a known point K (of `pointList2D` or
//    `fixedPointList2D` with a set easting) and a direction t from K to P
//    (azimuthBetween2D). With d the distance (already reduced to grid and sea
//    level), sd its standard error and st the direction's standard error in
//    radians:
//      E = E_K + d sin t,  N = N_K + d cos t,
//      sE = sqrt(sE_K^2 + sin^2 t sd^2 + (d cos t)^2 st^2),
//      sN = sqrt(sN_K^2 + cos^2 t sd^2 + (d sin t)^2 st^2)
//    (first-order propagation; K's negative standard errors, the "none" and
//    "fixed" markers, count as 0);
// 2. the crossing of the directions from the first two known points that
//    have one to P (intersectDirections2D, with its standard errors);
// 3. a three-point resection from two angles measured at P to known points.
//
// Sideshots located from other sideshots are found in later walks; a point
// no rule places keeps unset coordinates and gets no report line.

#include "model/point_records.hpp"
#include "model/run_context.hpp"

#include <string>
#include <vector>

// How a sideshot was placed, kept for its line in the report's listing.
// Angles in radians, lengths in the project's unit.
struct SideshotPlacement {
    enum class Rule { radial, twoDirections, twoAngles };
    Rule rule = Rule::radial;
    std::string sideshot;
    // radial: the known point; twoDirections: the two known points;
    // twoAngles: the backsight, the foresight and the second foresight.
    std::string known[3];
    double distance = 0.0; // radial only
    // radial: the direction from the known point; twoDirections: the
    // direction from each known point; twoAngles: the two angles at P.
    double angles_rad[2] = {0.0, 0.0};
    double northing = 0.0;
    double easting = 0.0;
    double stdErrN = 0.0;
    double stdErrE = 0.0;
};

// Resets the easting and northing of every type-2 point of `pointList2D` and
// places the points, walking until a walk places nothing. The placements in
// the order they were made, for the "Sideshots" listing.
std::vector<SideshotPlacement> computeSideshots2D(const RunContext& context);

// Places P by the first rule that applies; 1 when placed (position, standard
// errors set and `placement` filled), else 0. `angleCursor` is an open
// cursor of `angleList2D` handed to the direction look-ups. The walk over
// `distanceList2D` starts at the list's cursor, runs to the end and goes on
// from the start up to where it began; it leaves the cursor after the
// distance used.
int locateSideshot2D(coordRec& point, int angleCursor, SideshotPlacement& placement);
// Rule 2.
int locateSideshotByAzimuths2D(coordRec& point, SideshotPlacement& placement, int angleCursor);
// Rule 3: the first angle at P whose backsight B1 and foresight F1 are known
// gives a1; a later one with backsight F1 gives the second angle as measured,
// one with backsight B1 gives it as the difference to a1 (turned into
// [0, 2pi)); its foresight is F2. Known points are those of `pointList2D` or
// `fixedPointList2D` with a set easting.
int locateSideshotByResection2D(coordRec& point, SideshotPlacement& placement);
