#pragma once
// The error ellipses of a converged adjustment, horizontal or 3D: their
// listing in the report and the ellipse file (.EEL), a comma-separated text
// with CR LF line ends that carries the ellipses with the network's points
// and observation connections:
//   H1,HU<unit word>,CI<confidence %2.0f>,PR<project file>
//   EE,PN<name>,N <northing>,E <easting>,MA<semi-major>,MI<semi-minor>,AZ<dd.mmss>
//   ND,T,PF<from>,PT<to>          one per distance record
//   NA,T,PB<bs>,PI<inst>,PT<fs>   one per angle record
//   NZ,T,PI<from>,PT<to>          one per azimuth record
//   NG,PF<from>,PT<to>            one per GPS vector (3D run only)
// EE records: the points of the main list (2D `pointList2D`, 3D
// `stationList`) in list order, the adjustable ones (types 0 and 1) with
// their ellipses and the others (sideshots and taken-out points excepted)
// with a zero ellipse (MA0.0,MI0.0,AZ0.0); then the points of the fixed list
// (`fixedPointList2D`, `fixedStationList`) with a zero ellipse; then the
// sideshot points (type 2) of the main list with a zero ellipse. The 3D
// chain holds metres: its northings, eastings and axes are written times the
// factor of `HorizUnits` (1, 3.2808333333333333 or 3.280839895013123), the
// axes as absolute values.

#include "engine/adjustment_results.hpp"

#include <string>
#include <vector>

// "Adjusted Coordinates Error Ellipses, %2.0f%% CI": semi-axes and the
// direction of the semi-major axis of each record. 0, or 1 after a failed
// write (the listing stops there).
int writeRptErrorEllipses(int handle, const std::vector<errEllipseRec>& ellipses);

// "Adjusted XYZ Coordinates Error Ellipses, %2.0f%% CI": as the 2D listing
// for the adjustable stations of `stationList`, the axes in the project's
// unit, with a last column of the station's elevation standard error (as
// the grid listing stored it) times `elevationMultiplier`, the confidence
// factor of the ellipses. Every value is printed as its absolute value.
int writeRptErrorEllipses3D(int handle, const std::vector<errEllipseRec>& ellipses,
                            double elevationMultiplier);

// The .EEL file's text of a 2D and of a 3D run.
std::string eelFileText(const std::vector<errEllipseRec>& ellipses);
std::string eelFileText3D(const std::vector<errEllipseRec>& ellipses);

// Writes the text as the project's .EEL file and, as a copy, as
// "TARNWELL.EEL" in the run's temporary folder (the user's private
// temporary folder when it is empty). The copy is best effort: the project's file is
// written whether or not the copy can be.
void writeEelFile(const std::vector<errEllipseRec>& ellipses, const std::string& temporaryFolder);

// The same for a 3D run.
void writeEelFile3D(const std::vector<errEllipseRec>& ellipses, const std::string& temporaryFolder);
