#pragma once
// The supplemental control file read straight into the control lists, for
// the preprocessing run of blunder detection: the 3D chain's
// `controlStationList` (then merged into `stationList`) and the 2D chain's
// `controlPointList2D`.
//
// Only points the project observes are taken (use test: an end of a
// distance, an angle's instrument, backsight or foresight, an end of an
// azimuth or of a GPS vector, over the chain's own lists). A point already in
// the control list gains only the coordinates it lacks, while a non-empty
// description or code replaces its own; a line without a name is dropped.
// The standard errors are the line's (format 7, 0 holding the coordinate
// fixed), otherwise the project's `stErrX` (easting), `stErrY` (northing) and
// `stErrZ`. A point whose northing and easting are both set becomes weighted
// control (type 1).
//
// 3D: lengths go to metres by the factor of `HorizUnits` (the standard errors
// too, where they are lengths); the latitude, longitude (east positive),
// geoid separation and earth-centred X, Y, Z follow from the grid position
// whenever northing and easting are set, and the elevation is held
// ellipsoidal (orthometric + separation).
// 2D: values in the project's unit as read; a latitude-longitude file
// (format 6) is read only on a grid system, each point keeping the geoid
// separation at its position beside its orthometric height.

#include <string>

// 0, or 1 with the reason in `error` (readSupplementalControl).
int loadSupplementalStations(std::string& error);
int loadSupplementalCoords(std::string& error);

// Every station of `controlStationList` replaces the station of its name in
// `stationList`; one not there yet is appended unless `fixedStationList`
// holds it.
void mergeControlIntoStations();
