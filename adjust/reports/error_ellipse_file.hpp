#pragma once
// The error ellipses of a converged horizontal adjustment: their listing in
// the report and the ellipse file (.EEL), a comma-separated text with CR LF
// line ends that carries the ellipses with the network's points and
// observation connections:
//   H1,HU<unit word>,CI<confidence %2.0f>,PR<project file>
//   EE,PN<name>,N <northing>,E <easting>,MA<semi-major>,MI<semi-minor>,AZ<dd.mmss>
//   ND,T,PF<from>,PT<to>          one per distance record
//   NA,T,PB<bs>,PI<inst>,PT<fs>   one per angle record
//   NZ,T,PI<from>,PT<to>          one per azimuth record
// EE records: the adjustable points with their ellipses, then the other
// points of `pointList2D` (sideshots and taken-out points excepted) and of
// `fixedPointList2D` with a zero ellipse (MA0.0,MI0.0,AZ0.0), then the
// sideshot points (type 2) with a zero ellipse.

#include "engine/adjustment_results.hpp"

#include <string>
#include <vector>

// "Adjusted Coordinates Error Ellipses, %2.0f%% CI": semi-axes and the
// direction of the semi-major axis of each record. 0, or 1 after a failed
// write (the listing stops there).
int writeRptErrorEllipses(int handle, const std::vector<errEllipseRec>& ellipses);

// The .EEL file's text.
std::string eelFileText(const std::vector<errEllipseRec>& ellipses);

// Writes the text as the project's .EEL file and, as a copy, as
// "TARNWELL.EEL" in the run's temporary folder (the user's private
// temporary folder when it is empty). The copy is best effort: the project's file is
// written whether or not the copy can be.
void writeEelFile(const std::vector<errEllipseRec>& ellipses, const std::string& temporaryFolder);
