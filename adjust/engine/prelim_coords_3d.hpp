#pragma once
// Preliminary coordinates of the 3D chain: a starting position for every
// station of `stationList` that needs one (grid northing and easting,
// elevation, geoid separation, latitude, longitude and earth-centred X, Y, Z)
// before the three-dimensional adjustment linearises around them.
//
// Stations are taken from the known stations (fixed control, seeded given
// stations, weighted control) and the observations of the 3D lists: GPS
// vectors carry earth-centred positions from station to station; angles place
// instrument and backsight stations; a traverse pass runs foresights out from
// a known instrument and backsight direction; every remaining station is
// solved by the first of these that works: a GPS vector, distance and a
// consistent direction, three distances, distance and any direction,
// intersection of directions, three-point resection, intersection of two
// distances. When control exists but no orientation
// reaches the unknown part of the network, it is solved from one origin with
// an assumed azimuth and rotated into place. Elevations follow along the
// height differences of the distances, then from single zenith sightings.
//
// Units: metres; directions are grid azimuths in radians clockwise from
// north, angles clockwise from backsight to foresight. Horizontal distances
// are the ground means of their sets, taken to the grid by the line's
// combined factor where a station is placed by distance and direction; the
// three-distance intersection uses them as measured. Elevations are heights
// above the ellipsoid.
//
// Accuracy: a GPS vector places its station exactly (to the rounding of the
// earth-centred conversions). A placement by ground observations is plane
// geometry on the grid, good to well under a millimetre per 100 m for exact
// observations, except the elevation carried along a height difference (it
// neglects the earth's curvature, d^2 / 2R: 0.8 mm at 100 m, 3 mm at 200 m)
// and the three-distance intersection (off by the grid scale of the ground
// distances). The adjustment removes all of it.
//
// A station is *known* when `findKnownStation3D` finds it with a set easting.
// A station *needs computing* when `stationList` holds it with an unset
// easting and a point type other than -1 (a filtered-out sideshot). Point
// names are compared without regard to case.

#include "engine/assumed_azimuth_frame.hpp" // assumedAzimuthImpossible
#include "engine/station_solver_shared.hpp"
#include "model/observation_records.hpp"
#include "model/point_records.hpp"

#include <string_view>
#include <vector>

// Status of prelimCoords3D, telling the driver how to word a failure.
inline constexpr int prelim3DOtherStations = 0;
inline constexpr int prelim3DInstrumentOrBacksight = 1;

// Computes the preliminary coordinates of the run. Returns the number of
// stations that still need computing (0: all placed, elevations carried,
// azimuth convergences stored and every positioned station given its
// geodetic and earth-centred values). `status` is read only on a failure:
// prelim3DInstrumentOrBacksight when the angle passes stalled (the stations
// concerned are instrument and backsight stations), prelim3DOtherStations
// otherwise.
int prelimCoords3D(int& status);

// 0 when `fixedStationList`, `stationList` or `givenStationList` holds the
// name (with or without coordinates), 1 otherwise.
int lookupStation3D(std::string_view name);
// 1 when the name is the instrument or backsight of an angle of `angleList`.
int isInstOrBacksightPt3D(std::string_view name);
// 1 when the name is the instrument, backsight or foresight of an angle.
int isAngleStation3D(std::string_view name);

// Control stations with a position: weighted control of `stationList` (type
// 1, easting set) plus the fixed stations with a position, azimuth dummies
// (type 5) not counted.
int countControlPoints3D();
// Number of records of `azimuthList`.
int getAzimuthCount3D();
// 1 when weighted control of `controlStationList` + fixed stations other than
// azimuth dummies + given stations come to 2 or more, or to exactly 1 with an
// azimuth; else 0.
int hasEnoughControl3D();

// Copies the computed position (the nine coordinate values) of each station
// into its record of `controlStationList` when that record has no easting,
// and marks the record as copied.
void copyPrelimToControl3D();
// Gives every positioned station of `stationList` a missing latitude and
// longitude (from its grid position) and missing X, Y, Z (from its geodetic
// position).
void completeGeodeticCoords3D();
// Stores the grid convergence at the from station in every azimuth whose
// from station is known.
void setAzimuthConvergence3D();
// Fills missing elevations along the height differences of `distanceList`
// until a walk changes nothing, then from the first zenith sighting of each
// station still without one. Returns the number of stations left without an
// elevation.
int computeInitialZ3D();

// A distance from a known station to the station being solved.
struct keptDistance3D {
    stationRec known;
    distanceObs line;                // the observation as stored
    double heightDiff = notComputed; // known -> station, unset when none

    double distance() const { return line.meanDist; } // on the ground
};

// A direction from a known station to the station being solved.
using keptDirection3D = keptDirection<stationRec>;

// Places `station` from the kept distance and kept direction that start at the
// same known station, of all such pairs the one with a consistent direction
// (keptDirection) and then the shortest distance, the first kept among
// equals; the known station is remembered as the one it was placed from
// (engine/placement_links.hpp): station = known + c d
// (sin t, cos t), d the mean distance and c the combined factor of the line
// at the provisional position; the elevation is the known one plus the
// height difference when the known station has one. 1 with `station`
// placed, 0 (unchanged) when no known station carries both.
int polarFromDistDir3D(const std::vector<keptDistance3D>& distances,
                       const std::vector<keptDirection3D>& directions, stationRec& station);

// Solves one station that needs computing by the first method that works
// (the GPS vector only with `useGps`). 1 with its position set (the caller
// completes and writes it back), 0 (station unchanged) otherwise.
int solveStation3D(stationRec& station, int useGps);

// Whole walks over `gpsVectorList` placing the far end of every vector with
// one known end, until a walk places nothing. Returns the number placed.
int gpsVectorPass3D();
// Walks the angles, solving their instrument and backsight stations, until
// a walk meets no failure (returns 0) or places nothing (returns 1, stalled).
// `placed` counts the stations placed.
int anglePass3D(int& placed, int useGps);
// Places foresights from a known instrument, a backsight direction and the
// measured distance and height difference. Returns the number placed.
int traversePass3D();
// One attempt at every station without seeding, GPS pass or assumed azimuth.
// Returns the number of stations that still need computing.
int prelimPass3D();

// Solves the network from an origin (the first known station met in an
// angle) with an assumed azimuth 0 to a neighbour, then rotates the new
// stations about the origin onto the control (a second known station, or the
// first observed azimuth). Returns 0 when every station was placed;
// otherwise the number of stations left, or assumedAzimuthImpossible (no
// origin, or no reference for the rotation). The station, fixed and azimuth
// lists are always put back, with the rotated positions added on success.
int assumedAzimuthPass3D();
