#pragma once
// The geometry of the three-dimensional adjustment: directions, elevation
// angles and vectors between two stations in the local north/east/up frame
// of the first, and the partial derivatives of each kind of observation with
// respect to the small north, east and up displacements of its stations.
//
// Units: angles in radians, longitudes positive EAST; lengths in metres; the
// partials of angular observations in seconds of arc per metre.
//
// The local frame at latitude phi, longitude lambda has the earth-centred
// axes
//   north (-sin phi cos lambda, -sin phi sin lambda, cos phi)
//   east  (-sin lambda, cos lambda, 0)
//   up    (cos phi cos lambda, cos phi sin lambda, sin phi).
// A station moved by (dn, de, du) in its own frame moves by those components
// along its axes, and its latitude and longitude turn by dn / (M + h) and
// de / ((N + h) cos phi): its frame turns with it. The partials are the
// exact derivatives of the computed values of `buildMisclosures3D`,
// including that turn of the frame in which an observation at a station is
// measured, so a converged adjustment is the least-squares solution of the
// observations as modelled.

#include "geodetic/geodesy_records.hpp"

#include <array>
#include <string>

// A station as the adjustment sees it: its current position and, for an
// adjustable station, the column of its north unknown (east and up follow);
// -1 for a station held fixed.
struct SpatialStation {
    std::string name;
    double latitude = 0.0;
    double longitude = 0.0;
    double height = 0.0; // above the ellipsoid (the station's elevation field)
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
    int column = -1;
};

struct LocalVector {
    double north = 0.0;
    double east = 0.0;
    double up = 0.0;
};

// (n, e, up) of the earth-centred difference (dX, dY, dZ) at (phi, lambda).
LocalVector ecefToLocalVector(double phi, double lambda, double dX, double dY, double dZ);

// The vector from i to j in the local frame of i.
LocalVector localVectorBetween(const SpatialStation& i, const SpatialStation& j);

// The azimuth of j seen from i, clockwise from north, in [0, 2 pi).
double geodAzimuth3D(const SpatialStation& i, const SpatialStation& j);

// The elevation angle of j above the horizon of i: asin(up / S).
double geodVerticalAngle3D(const SpatialStation& i, const SpatialStation& j);

// The local offset of a control position c from a station s on `ell`, with
// W2 = 1 - e^2 sin^2 phi_c, M = a (1 - e^2) / W2^1.5, Nv = a / sqrt(W2) and
// dh = h_c - h_s: ((M + dh)(phi_c - phi_s), cos phi_c (Nv + dh)(lambda_c -
// lambda_s), dh).
LocalVector geodToLocalOffset(const ellipsoid& ell, double phiC, double lambdaC, double hC,
                              double phiS, double lambdaS, double hS);

// The radii of curvature in the meridian (M) and in the prime vertical (N)
// at latitude phi.
struct CurvatureRadii {
    double meridian;
    double primeVertical;
};
CurvatureRadii curvatureRadii(const ellipsoid& ell, double phi);

// d(local vector from i to j, in i's frame) / d(displacement): the columns
// are the north, east and up displacements. `fromStation` for i (the vector
// shortens and i's frame turns), `toStation` for j.
using LocalJacobian = std::array<std::array<double, 3>, 3>;
struct VectorPartials {
    LocalJacobian fromStation;
    LocalJacobian toStation;
};
VectorPartials localVectorPartials(const ellipsoid& ell, const SpatialStation& i,
                                   const SpatialStation& j);

// d(R_i v) / d(displacement of i) for a fixed earth-centred vector v: how a
// vector given in the earth-centred frame turns in the frame of i as i moves.
LocalJacobian frameTurnPartials(const ellipsoid& ell, const SpatialStation& i, double vX, double vY,
                                double vZ);

// The partials of each observation with respect to (north, east, up) of each
// of its stations, in the roles of the observation.
std::array<LocalVector, 2> distancePartials3D(const ellipsoid& ell, const SpatialStation& i,
                                              const SpatialStation& j);
std::array<LocalVector, 2> azimuthPartials3D(const ellipsoid& ell, const SpatialStation& i,
                                             const SpatialStation& j);
std::array<LocalVector, 2> zenithPartials3D(const ellipsoid& ell, const SpatialStation& i,
                                            const SpatialStation& j);
// Backsight, instrument, foresight.
std::array<LocalVector, 3> anglePartials3D(const ellipsoid& ell, const SpatialStation& backsight,
                                           const SpatialStation& instrument,
                                           const SpatialStation& foresight);
