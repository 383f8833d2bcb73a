#pragma once
// Sideshots of the 3D chain, computed after the adjustment from the adjusted
// stations and listed in the report's "Sideshots" section. Each station of
// type 2 in `stationList` is placed by the first rule that applies:
//
// 1. radial: a distance of `distanceList` to a known station K (of
//    `stationList`, then `fixedStationList`, with a set easting) and a
//    direction t from K to P (azimuthBetween3D). With d the set's mean
//    horizontal distance and c the combined factor of the line from K to the
//    provisional position K + d (sin t, cos t) (lineCombinedFactor):
//      E = E_K + c d sin t,  N = N_K + c d cos t,
//      h = h_K + the distance's mean height difference, taken from K to P
//          (negated when the record runs from P to K),
//      sE = sqrt(sE_K^2 + sin^2 t sd^2 + (c d cos t)^2 st^2),
//      sN = sqrt(sN_K^2 + cos^2 t sd^2 + (c d sin t)^2 st^2)
//    (sd the distance's standard error, st the direction's in radians; K's
//    negative standard errors, the "none" and "fixed" markers, count as 0);
// 2. a GPS vector of `gpsVectorList` between P and a known station
//    (findKnownStation3D): P's X, Y, Z = the known end's plus the vector
//    (P the to-station) or minus it (P the from-station), its latitude,
//    longitude and ellipsoidal height from them, its grid position and
//    geoid separation from those;
// 3. a three-point resection from two angles measured at P to known
//    stations;
// 4. the crossing of the directions from the first two known stations that
//    have one to P (intersectDirections3D, with its standard errors).
// (Unlike the 2D chain, the resection comes before the two directions.)
// Known stations are those of `stationList`, then `fixedStationList`, with a
// set easting. Rules 3 and 4 place P on the grid and keep its elevation.
//
// A station placed on the grid also gets its latitude, longitude and X, Y, Z
// from its grid position and height, so every placed station is complete.
// Units: metres; angles in radians. Sideshots located from other sideshots
// are found in later walks; a station no rule places keeps unset
// coordinates and gets no report line.

#include "model/observation_records.hpp"
#include "model/point_records.hpp"
#include "model/run_context.hpp"

#include <string>
#include <vector>

// How a sideshot was placed, kept for its line in the report's listing.
struct SideshotPlacement3D {
    enum class Rule { radial, gpsVector, twoAngles, twoDirections };
    Rule rule = Rule::radial;
    stationRec station; // the placed station as written back
    // radial: the known station; twoDirections: the two known stations;
    // twoAngles: the backsight, the foresight and the second foresight.
    std::string known[3];
    double distance = 0.0; // radial: c d, metres on the grid
    // radial: the direction from the known station; twoDirections: the
    // direction from each known station; twoAngles: the two angles at P.
    double angles_rad[2] = {0.0, 0.0};
    gpsVectorRec vector; // gpsVector: the vector used
};

// What computeSideshots3D did: the number of sideshots it reset, and the
// placements in the order they were made.
struct Sideshots3D {
    int count = 0;
    std::vector<SideshotPlacement3D> placements;
};

// Resets the positions of every type-2 station of `stationList` (easting,
// northing, latitude, longitude and X, Y, Z unset; the elevation kept) and
// places them, walking until a walk places nothing.
Sideshots3D computeSideshots3D(const RunContext& context);

// Places P by the first rule that applies; 1 when placed (`placement`
// filled), else 0. `angleCursor` is an open cursor of `angleList` handed to
// the direction look-ups; the walk over `distanceList` starts at
// `distanceCursor`, runs to the end and goes on from the start up to where
// it began, leaving the cursor after the distance used.
int locateSideshot3D(stationRec& station, int angleCursor, int distanceCursor,
                     SideshotPlacement3D& placement);
// Rule 2.
int locateSideshotByGps3D(stationRec& station, SideshotPlacement3D& placement);
// Rule 3: the first angle at P whose backsight B1 and foresight F1 are known
// gives a1; a later one with backsight F1 gives the second angle as measured,
// one with backsight B1 gives it as the difference to a1 (turned into
// [0, 2pi)); its foresight is F2.
int locateSideshotByResection3D(stationRec& station, SideshotPlacement3D& placement);
// Rule 4.
int locateSideshotByAzimuths3D(stationRec& station, SideshotPlacement3D& placement,
                               int angleCursor);
