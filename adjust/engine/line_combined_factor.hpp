#pragma once
// The combined factor of a line of the 3D chain: the factor that takes a
// horizontal ground distance between two stations to the grid.
//
// Grid factor: Simpson's rule over the line, (kA + 4 km + kB) / 6, with the
// point scale factors of the project's grid system at the two ends and at
// the mid-point (NOAA Manual NOS NGS 5, Stem 1989, section 3.3). Elevation
// factor: the mean of R / (R + h) at the two ends, h the station's elevation
// (its height above the ellipsoid, metres) and R the mean earth radius of
// the reductions (engine/geodetic_reductions.hpp); 1 when an end has no
// elevation. In a local grid both factors are 1.

#include "model/point_records.hpp"

// Grid factor x elevation factor of the line from `a` to `b` (easting,
// northing and elevation in metres).
double lineCombinedFactor(const stationRec& a, const stationRec& b);
