// The reference ellipsoid from its semi-major axis and flattening.

#include "geodetic/projection_engine.hpp"

#include <cmath>

int initEllipsoid(ellipsoid* ell, double a, double f) {
    ell->semiMajor = a;
    ell->flattening = f;
    ell->semiMinor = a - a * f;
    ell->eccentricity = std::sqrt(2.0 * f - f * f);
    ell->eccentricitySq = ell->eccentricity * ell->eccentricity;
    ell->invFlattening = 1.0 / f;
    return projectionOk;
}
