#pragma once
// Preliminary coordinates of the 2D chain: an approximate easting and
// northing for every point of `pointList2D` that needs one, and an
// approximate elevation for every point that can get one, before the
// horizontal adjustment linearises around them.
//
// Points are taken from the known points (fixed control, seeded given points,
// weighted control) and the observations of the 2D lists: angles place
// instrument and backsight points, a traverse pass runs foresights out from a
// known instrument and backsight direction, and every remaining point is
// solved by the first of these that works: distance and a consistent
// direction, three distances, distance and any direction, intersection of
// directions, three-point resection, intersection of two distances. When
// control exists but no orientation reaches the unknown part of the network,
// it is solved from one origin with an assumed azimuth and rotated into
// place.
//
// Lengths are in the project's unit, directions are grid azimuths in radians
// clockwise from north, angles are clockwise from backsight to foresight.
// The computations are exact plane geometry: observations without error give
// the true coordinates back (to rounding).
//
// A point is *known* when `fixedPointList2D`, else `pointList2D`, holds it with
// a set easting. A point *needs computing* when `pointList2D` holds it with an
// unset easting and a point type other than -1 (carried, not adjusted).
//
// Every point placed here is written back into `pointList2D` by name after
// its geodetic context is refreshed: its position goes through
// `projGridToGeod` and its geoid separation is taken from `getGeoidHeight`.
// With a grid system other than local, the distances used at a provisional
// position are first reduced to grid and ellipsoid there; a method whose
// reduction cannot get an elevation factor gives up for that point.

#include "engine/assumed_azimuth_frame.hpp" // assumedAzimuthImpossible
#include "engine/station_solver_shared.hpp"
#include "model/observation_records.hpp"
#include "model/point_records.hpp"
#include "model/project_geodesy.hpp" // findKnownStation2D

#include <string_view>
#include <vector>

// Result of prelimCoords2D in its status argument: which points the count is
// about.
inline constexpr int prelimOtherPoints = 0;
inline constexpr int prelimInstrumentOrBacksight =
    1; // the angle passes stalled, or nothing is left

// Computes the preliminary coordinates of the run. Returns the number of
// points that still need computing (0: all placed). `status` tells the
// driver how to word a failure (prelimInstrumentOrBacksight: the angle
// passes stalled, so the points concerned are instrument and backsight
// points; prelimOtherPoints: other points). Elevations are carried along
// the height differences in every case, and azimuths get their grid
// convergence when the project has a grid system.
int prelimCoords2D(int& status);

// 0 and the point copied into `point` when `fixedPointList2D` or
// `pointList2D` holds its name, whatever its coordinates; 1 otherwise.
int getStation2D(coordRec& point);
// 0 when `fixedPointList2D` or `pointList2D` holds the name, 1 otherwise.
int lookupStation2D(std::string_view name);

// 1 when the name is the instrument, backsight or foresight of an angle of
// `angleList2D`, else 0.
int isAngleStation2D(std::string_view name);
// 1 when the name is the instrument or backsight of an angle, else 0.
int isInstOrBacksightPt2D(std::string_view name);

// Control points of the run with a position: weighted control of
// `pointList2D` (type 1, easting set) plus the fixed points of
// `fixedPointList2D` that have a position, azimuth dummies (type 5) not
// counted.
int countControlPoints2D();
// Number of records of `azimuthList2D`.
int getAzimuthCount2D();
// 1 when the network has enough control for an assumed azimuth: weighted
// control of `controlPointList2D` + fixed points other than azimuth dummies +
// given points come to 2 or more, or to exactly 1 with an azimuth; else 0.
int hasEnoughControl2D();

// The point at distances dA, dB, dC from the known points A, B, C: of the two
// mirror points of A and B, the one that lies next to one of the two mirror
// points of B and C. 0 with (n, e) set; 1 (outputs unchanged) when a pair of
// circles does not cross.
int intersectThreeDistances(double nA, double eA, double dA, double nB, double eB, double dB,
                            double nC, double eC, double dC, double& n, double& e);

// intersectThreeDistances from the known points of the first three kept
// distances (of either chain), at the distances `distance`.
template <class KeptDistance>
int intersectKeptDistances(const std::vector<KeptDistance>& d, const double (&distance)[3],
                           double& n, double& e) {
    return intersectThreeDistances(d[0].known.northing, d[0].known.easting, distance[0],
                                   d[1].known.northing, d[1].known.easting, distance[1],
                                   d[2].known.northing, d[2].known.easting, distance[2], n, e);
}

// A distance from a known point to the point being solved.
struct keptDistance2D {
    coordRec known;
    distanceObs2D line;            // the observation as stored
    double vertDiff = notComputed; // height difference known -> point, unset when none

    double distance() const { return line.distance; }
};

// A direction from a known point to the point being solved.
using keptDirection2D = keptDirection<coordRec>;

// Places `point` from the kept distance and kept direction that start at the
// same known point, of all such pairs the one with a consistent direction
// (keptDirection) and then the shortest distance, the first kept among
// equals; the known point is remembered as the one it was placed from
// (engine/placement_links.hpp): point = known + distance x
// (sin t, cos t). With a grid system the distance is first reduced at that
// position and the point recomputed with the reduced distance; the elevation
// used there (the point's own, else the known elevation plus the height
// difference) is kept in the point. 1 with `point` placed; 0 (`point`
// unchanged) when no known point carries both, or the reduction failed.
int polarFromDistDir2D(const std::vector<keptDistance2D>& distances,
                       const std::vector<keptDirection2D>& directions, coordRec& point);

// Solves one point that needs computing by the first method that works:
// a distance and a consistent direction (an observed azimuth, or an angle at
// a known instrument oriented along its own path: keptDirection), so that
// the point carries that path's frame on; three distances (the first three
// kept); a distance and any direction; intersection of directions;
// resection from angles measured at the point; intersection of two
// distances. 1 with its easting and
// northing set (the caller writes it back), 0 (point unchanged) otherwise.
int solveStation2D(coordRec& point);

// Walks the angles, solving their instrument and backsight points, until a
// walk meets no failure (returns 0) or places nothing (returns 1, stalled);
// between two walks it solves outward from the points a walk placed
// (prelimpasses::solveAngleStations). `placed` counts the points placed.
int anglePass2D(int& placed);
// Places foresights from a known instrument, a backsight direction (known
// backsight or observed azimuth) and the measured distance. Returns the
// number of foresights placed.
int traversePass2D();
// Fills missing elevations along the height differences of `distanceList2D`
// until a walk changes nothing. Returns 0.
int computeInitialZ2D();
// Stores the grid convergence at the from-point in every azimuth whose
// from-point is known. Returns 0.
int setAzimuthConvergence2D();
// One attempt at every point without seeding, initial elevations or assumed
// azimuth. Returns the number of points that still need computing.
int prelimPass2D();

// Solves the network from an origin (the first known point met in an angle)
// with an assumed azimuth 0 to a neighbour, then rotates the new points about
// the origin onto the control (a second known point, or the first observed
// azimuth). Returns 0 when every point was placed; otherwise the number of
// points left, or assumedAzimuthImpossible. On any failure the point, fixed
// and azimuth lists are put back as they were.
int assumedAzimuthPass2D();
