#pragma once
// Earth-centred coordinates of the 3D chain on WGS 84 (GRS 80 axes), and the
// turn of local north/east/up vectors and covariances into the earth-centred
// frame.
//
// Angles in radians, longitudes positive EAST; lengths in metres. The local
// frame at latitude phi, longitude lambda has the axes (earth-centred
// components):
//   north (-sin phi cos lambda, -sin phi sin lambda, cos phi)
//   east  (-sin lambda, cos lambda, 0)
//   up    (cos phi cos lambda, cos phi sin lambda, sin phi)
// (Hofmann-Wellenhof et al., GNSS, 2008, 10.2.3.)

#include "model/point_records.hpp"

#include <array>

// The station's X, Y, Z from its latitude, longitude and elevation (its
// height above the ellipsoid) on GRS 80.
void geodToEcefWgs84(stationRec& station);

// The earth-centred difference (dX, dY, dZ) of a local (north, east, up)
// vector at (lat, lon). Returns 0.
int localToEcefVector(double lat, double lon, double north, double east, double up, double& dX,
                      double& dY, double& dZ);

// The six elements of a local covariance, in the order var(east),
// var(north), var(up), cov(east, north), cov(east, up), cov(north, up), as
// the earth-centred covariance R^T C R, R the rotation with rows east,
// north, up: XX, YY, ZZ, XY, XZ, YZ.
std::array<double, 6> localToEcefCovariance(double lat, double lon,
                                            const std::array<double, 6>& eastNorthUp);
