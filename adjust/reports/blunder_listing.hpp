#pragma once
// What the preprocessing run of blunder detection writes to the error
// report: the measured-versus-computed listing of the horizontal
// observations (each observation against the value its points' preliminary
// coordinates give) and the point proximity report.
//
// Listing (2D): a distance is listed when measured - computed exceeds
// `hDistTol` in size, an angle or an azimuth when the difference exceeds 20
// seconds of arc; angles and azimuths are compared across north (a value just
// below a full turn against one just above 0 is a small difference).
// Records of status 2 (not adjusted) are not compared.
//
// Listing (3D): the distances, angles, azimuths, zenith angles and GPS
// vectors of the 3D chain against the preliminary stations. Distances are
// shown in the project's unit and listed past `hDistTol`; angles and
// azimuths past `hAngTol`, zenith angles ("Vertical Angle") past `vAngTol`,
// each with its difference; a GPS vector's earth-centred deltas are shown in
// metres and listed when a component is off by more than `hDistTol` (turned
// into metres).
//
// Proximity: for each point A of the first list in order, every later point B
// of that list and then every point of the fixed list; a pair whose
// horizontal distance is less than `proximity` gives the line
// "  Points  A  and B are within <distance> of each other.".
//
// Each writer stops at its first failed write: 0, or 1 after a failed write.

#include <string>

// The listing over `distanceList2D`, `angleList2D` and `azimuthList2D` at
// the positions of `pointList2D` and `fixedPointList2D`. An observation
// naming a point without a position ends it with that reason as a line.
int writeMeasuredVsComputed2D(int handle);

// The listing over `distanceList`, `angleList`, `azimuthList`,
// `verticalList` and `gpsVectorList` at the positions of `stationList` and
// `fixedStationList`; a network that cannot be read (a station without a
// position, a coordinate system without geodetic positions) ends it with
// that reason as a line.
int writeMeasuredVsComputed3D(int handle);

// Over `pointList2D` and `fixedPointList2D` (2D), `stationList` and
// `fixedStationList` (3D, whose metres are compared and shown in the
// project's unit like `proximity`). Points without a position are passed by.
int writePointProximity2D(int handle, double proximity);
int writePointProximity3D(int handle, double proximity);
