#pragma once
// The "Unadjusted Observations" sections of the report: the control points
// and the observations as they enter the adjustment. Each stops at its first
// failed write.

// 2D run: control coordinates, distances, angles, azimuths and GPS vectors of
// the 2D lists, in the project's unit.
void writeRptUnadjustedObs(int handle);

// 3D run: control in geographic, grid and geocentric coordinates, then the
// distances (horizontal ground distances when `distanceKind` is set, else
// mark-to-mark slope distances), zenith angles, angles, azimuths, GPS vectors
// and level differences of the 3D lists. The 3D chain holds metres; lengths
// are shown in the project's `HorizUnits` (geocentric values in metres).
void writeRptUnadjustedObs3D(int handle, int distanceKind);
