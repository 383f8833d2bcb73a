#pragma once
// Latitude, longitude and ellipsoid height from earth-centred X, Y, Z by
// Newton's method on t = tan(latitude), without a trigonometric call in the
// iteration: for chains that convert every point of a run between datums,
// where the step-by-step iteration of XYZ_EC2latLongElev costs three
// arctangents and two sines and cosines a point.
//
// With p = sqrt(X^2 + Y^2) the latitude solves
//     g(t) = p t - Z - e^2 a t / sqrt(1 + (1 - e^2) t^2) = 0,
// (p tan(phi) - Z = e^2 N sin(phi)), with
//     g'(t) = p - e^2 a / (1 + (1 - e^2) t^2)^(3/2).
// Started from Bowring's formula, which is within about 1e-10 rad for
// terrestrial heights, one step leaves the latitude within two ulps of the
// true one (measured 2.2e-16 rad up to 10 km, 3.3e-16 up to 1000 km). Start
// and step are written as fractions, so that the whole conversion divides
// once (and once more for tan(latitude)). Points on the polar axis are at
// latitude +-90 degrees, longitude 0. Near the earth's centre (within about
// e^2 a, 43 km) g' may vanish and the result need not be finite.

#include "geodetic/geodesy_records.hpp"

namespace geodetic_detail {

struct GeodeticPosition {
    double lat, lon, h; // radians, east-positive; metres
};

GeodeticPosition geodeticByNewton(const ellipsoid& ell, double x, double y, double z);

// The same before its arctangents, for chains that go on with the sine and
// cosine of the latitude (and the longitude's as Y / p and X / p): on the
// polar axis p = 0, tanLat infinite, sinLat +-1, cosLat 0.
struct GeodeticTerms {
    double tanLat, sinLat, cosLat;
    double p; // distance from the polar axis, sqrt(X^2 + Y^2)
    double h;
};

GeodeticTerms geodeticTermsByNewton(const ellipsoid& ell, double x, double y, double z);

} // namespace geodetic_detail
