#pragma once
// Scale factors of the 3D chain, whose stations hold grid coordinates and
// ellipsoid heights in metres: the grid scale factor of the project's
// coordinate system at a station, its elevation factor R / (R + h) (R the
// mean earth radius in metres, h the ellipsoid height), and the combined
// factor of a line that turns a ground distance into a grid distance.

#include "model/point_records.hpp"

#include <optional>

// The point scale factor k of the coordinate system at the grid position
// (metres); 1 in a local system.
double stationGridFactor(double northing_m, double easting_m);

// R / (R + h) of the station's ellipsoid height; none when it has no
// height. 1 in a local system.
std::optional<double> stationElevFactor(const stationRec& station);

// The line's grid factor (kA + 4 km + kB) / 6, km at the mid-point of A -> B
// (Simpson's rule), times the mean of the two elevation factors (1 when
// either station has no height).
double lineCombinedFactor(const stationRec& a, const stationRec& b);
