#pragma once
// The point error ellipses of a converged adjustment, from the cofactor
// blocks of each adjustable point's horizontal unknowns, at the project's
// confidence level.

#include "engine/adjustment_results.hpp"
#include "engine/cofactors.hpp"
#include "engine/horizontal_network.hpp"
#include "engine/spatial_network.hpp"

#include <vector>

// The error ellipse of a point from its 2 x 2 cofactor block: orientation
// (azimuth of the semi-major axis, 0 <= o < pi, taken with atan2 so equal
// variances orient along the covariance), semi-axes s0 sqrt of the extreme
// variances and the coordinate standard deviations s0 sqrt(Qee), s0 sqrt(Qnn),
// all four lengths multiplied by `confidenceFactor`. The name stays empty.
errEllipseRec pointErrorEllipse(double qEE, double qNN, double qEN, double s0,
                                double confidenceFactor);

// sqrt(2 F(2, dof)) at the project's confidence interval: scales a
// standard ellipse to the confidence level.
double ellipseConfidenceFactor(int dof);

// The error ellipses of the adjustable points, named, in list order: from
// the (easting, northing) block in 2D, the (north, east) block of the three
// unknowns of a station in 3D.
std::vector<errEllipseRec> pointErrorEllipses(const HorizontalNetwork& network,
                                              const Cofactors& cofactors, double s0);
std::vector<errEllipseRec> pointErrorEllipses(const SpatialNetwork& network,
                                              const Cofactors& cofactors, double s0);
