#pragma once
// The report sections of a converged horizontal adjustment: adjusted
// coordinates with their standard deviations, geographic coordinates with the
// grid and elevation factors, and the adjusted observations with residuals,
// standardized residuals, standard deviations and the RMS of each kind.
//
// Each writes line by line through writeLine on `handle` and stops at the
// first failed write; the result is 0, or 1 after a failed write.
//
// Listed points: the adjustable points of `pointList2D` (type 0 or 1), in
// list order, each with its two unknowns. Observation entries follow the
// rows of the adjustment (horizontal_network.hpp): distances, angles,
// azimuths, two entries per weighted control point (not listed), two per GPS
// vector.

#include <vector>

// "Adjusted Coordinates" with the standard deviations of the unknowns
// (easting, northing per listed point), in the order of `NEDisplayType`. Each
// point's two standard deviations are stored into its standard-error fields
// in `pointList2D`, where the final coordinate output finds them.
int writeRptAdjustedCoords(int handle, const std::vector<double>& unknownSigmas);

// "Adjusted Geographic Coordinates": latitude, longitude, convergence, grid
// scale factor, elevation factor and their product of each listed point.
int writeRptGeographicCoords(int handle);

// "Adjusted Observations": per observation the adjusted value (observed +
// residual), the residual, '*' when the standardized residual |v| / sigma
// (a-priori) exceeds 2, the standardized residual and the standard deviation
// of the adjusted observation. Residuals and standard deviations of angles
// and azimuths are in seconds of arc. The entry numbered `markIndex` ends
// with " **" (the observation a blunder pass floated); -1 marks none.
int writeRptAdjustedObs(int handle, const std::vector<double>& residuals,
                        const std::vector<double>& observationSigmas, int markIndex);
