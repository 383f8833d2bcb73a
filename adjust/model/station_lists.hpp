#pragma once
// The point lists of a run and the count of its unknowns and observations.
//
// After the observation lists are built, the points of the run are gathered
// from the control read (the input lists) and from every point an
// observation names: the points that are unknowns or carried along go to
// `stationList` (2D `pointList2D`), the fixed points to `fixedStationList`
// (2D `fixedPointList2D`). A lone azimuth, whose end point nothing else
// observes, enters the adjustment through a fixed dummy end point 1000
// units from its start along the azimuth (point type 5).
//
// Names are compared without regard to letter case. The walks post their
// progress (100 x i / n) to the shell's progress bar and reset it to 0
// between walks.

#include <string_view>

// 1 when the point is not in `fixedStationList` (2D: `fixedPointList2D`),
// 0 when it is.
int notFixedStation(std::string_view name);
int notFixedPoint2D(std::string_view name);

// Appends the fixed entries for the lone ends of the azimuths: for each
// azimuth from F to T whose start F nothing else observes, a bare record
// named F (no coordinates, type 0); whose end T nothing else observes, a
// dummy T (type 5; 2D also vertical type -1) 1000 units from F's known
// coordinates along the azimuth, when F has coordinates. Returns 0.
int addAzimuthStations3D();
int addAzimuthStations2D();

// Builds the point lists of the run from the input lists
// (`controlStationList`; 2D `controlPointList2D` and `givenPointList2D`), the
// observation lists and `ptDescList`. Expects the point lists empty.
// Returns 0.
int buildStationList3D();
int buildStationList2D();

// Counts the unknowns and observations of the run (both set to 0 first):
// 3D: 3 unknowns per point of type 0 or 1, 3 observations per point of type
// 1, 1 per distance, zenith angle, angle and azimuth and 3 per GPS vector
// not of status 2, 1 per level observation. 2D: 2 unknowns per point of type
// 0 or 1, 2 observations per point of type 1, 1 per distance, angle and
// azimuth not of status 2, 2 per vector of `gpsVectorList2D`. Callers pass
// `unknownCount` and `obsCount`. Returns 0.
int countUnknownsObs3D(int& unknowns, int& observations);
int countUnknownsObs2D(int& unknowns, int& observations);
