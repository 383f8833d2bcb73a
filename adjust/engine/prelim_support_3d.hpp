#pragma once
// Helpers shared by the files of the 3D preliminary coordinates: the
// stations to compute, the completion and write-back of a placed station,
// and the longitude conventions of the grid systems.

#include "engine/prelim_support_2d.hpp"
#include "engine/station_solver_shared.hpp"
#include "model/observation_records.hpp"
#include "model/point_records.hpp"

#include <optional>

namespace prelim3d {

using prelim2d::countWhere;
using prelim2d::nameOf;
using prelim2d::postProgress;
using prelim2d::rewrite;
using prelim2d::walk;

// True when `stationList` holds a station with an unset easting of a type
// other than carried.
bool needsComputing(const stationRec& station);
// Number of such stations.
int countStationsToCompute();

// The station of the name when it is known (a set easting in
// `fixedStationList`, `stationList` or `givenStationList`).
std::optional<stationRec> knownStation(const pointNameField& name);

using stationsolver::samePoint;

// The station's geoid separation at its grid position; a separation that
// cannot be read is warned about and left as the geoid grid wrote it.
void fillGeoidSeparation(stationRec& station);
// Latitude and longitude from the grid position, then X, Y, Z; the record is
// written into `stationList` by name.
void storeStationGeodetic3D(stationRec& station);
// Both: what every station placed on the grid goes through.
void completeStation(stationRec& station);

// X, Y, Z from the station's latitude, longitude and elevation, when it has
// a latitude and an elevation (a height of the unset value would give a
// position far inside the earth).
void ecefFromGeodetic(stationRec& station);

// Puts the station at X, Y, Z = the known station's plus (`stationIsTo`) or
// minus the vector, then takes its latitude, longitude and ellipsoidal
// height, grid position and geoid separation from there. False (station
// unchanged) when the known station has no X, Y, Z or the system no
// geodetic position.
bool placeByVector(stationRec& station, const stationRec& known, const gpsVectorRec& vector,
                   bool stationIsTo);

// Puts the station at `distance` from `from` in the grid direction
// `direction`.
void placePolar(stationRec& station, const stationRec& from, double distance, double direction);
// Places the station by a ground distance and a grid direction from a known
// station: the distance is taken to the grid by the line's combined factor at
// the provisional position. The elevation follows the height difference
// known -> station when both are set.
void placeByGroundDistance(stationRec& station, const stationRec& known, double groundDistance,
                           double direction, double heightDiff);

// The mean ground distance of a record that has one.
bool hasDistance(const distanceObs& line);

} // namespace prelim3d
