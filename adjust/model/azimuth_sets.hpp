#pragma once
// Azimuth observations from the azimuth records of the raw data: every
// record of a line, either way round, merged into one mean azimuth. The
// distance passes (distance_sets.hpp) call these at the first record of each
// line.

#include <string_view>

// Merges the azimuth records joining A and B from raw index `startIndex` on
// into an `azimuthObs` from A to B, appended to `azimuthList` (3D) or
// `azimuthList2D`. A record from B to A counts turned by pi. The records are
// averaged as directions: each is brought to within pi of the first before
// the mean is taken, and the mean is put into [0, 2pi), so records either
// side of north average to north. Standard error of the mean, seconds of arc:
// sqrt(sum of the squared azimuth errors in force at the records) / n.
// Standard-error records on the way are applied and the errors in force are
// the same afterwards as before. Returns 0 (nothing appended when no record
// joins the points), or 1 when `startIndex` is past the end.
int addAzimuthObs3D(std::string_view from, std::string_view to, int startIndex);
int addAzimuthObs2D(std::string_view from, std::string_view to, int startIndex);

// 1 when an azimuth observation joins the two points in either order, else 0.
int isPairInAzimuths3D(std::string_view a, std::string_view b);
int isPairInAzimuths2D(std::string_view a, std::string_view b);
