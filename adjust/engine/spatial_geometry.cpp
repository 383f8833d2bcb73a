#include "engine/spatial_geometry.hpp"

#include "model/angle_math.hpp"

#include <cmath>

using angle::pi;
using angle::secondsPerRadian;

namespace {

using Axes = std::array<std::array<double, 3>, 3>; // rows north, east, up

Axes localAxes(double phi, double lambda) {
    const double sp = std::sin(phi), cp = std::cos(phi);
    const double sl = std::sin(lambda), cl = std::cos(lambda);
    return {{{-sp * cl, -sp * sl, cp}, {-sl, cl, 0.0}, {cp * cl, cp * sl, sp}}};
}

double dot(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

std::array<double, 3> asArray(const LocalVector& v) {
    return {v.north, v.east, v.up};
}

// The turn of the frame of i, applied to a vector l given in it, for a
// displacement of i by one unit north (column 0) and east (column 1).
LocalJacobian turnOf(const ellipsoid& ell, const SpatialStation& i, const LocalVector& l) {
    const CurvatureRadii r = curvatureRadii(ell, i.latitude);
    const double sp = std::sin(i.latitude), cp = std::cos(i.latitude);
    const double dPhi = 1.0 / (r.meridian + i.height);
    const double dLambda = 1.0 / ((r.primeVertical + i.height) * cp);
    LocalJacobian j{};
    j[0][0] = -l.up * dPhi;
    j[1][0] = 0.0;
    j[2][0] = l.north * dPhi;
    j[0][1] = -sp * l.east * dLambda;
    j[1][1] = (sp * l.north - cp * l.up) * dLambda;
    j[2][1] = cp * l.east * dLambda;
    return j;
}

// The gradient g (with respect to the local vector) carried through the
// Jacobian: g^T J, one value per displacement component.
LocalVector chain(const std::array<double, 3>& g, const LocalJacobian& j) {
    LocalVector out;
    out.north = g[0] * j[0][0] + g[1] * j[1][0] + g[2] * j[2][0];
    out.east = g[0] * j[0][1] + g[1] * j[1][1] + g[2] * j[2][1];
    out.up = g[0] * j[0][2] + g[1] * j[1][2] + g[2] * j[2][2];
    return out;
}

LocalVector scaled(const LocalVector& v, double k) {
    return {v.north * k, v.east * k, v.up * k};
}

LocalVector minus(const LocalVector& a, const LocalVector& b) {
    return {a.north - b.north, a.east - b.east, a.up - b.up};
}

// d(azimuth) / d(local vector), radians per metre.
std::array<double, 3> azimuthGradient(const LocalVector& l) {
    const double h2 = l.north * l.north + l.east * l.east;
    return {-l.east / h2, l.north / h2, 0.0};
}

// d(elevation angle) / d(local vector), radians per metre.
std::array<double, 3> elevationGradient(const LocalVector& l) {
    const double h = std::hypot(l.north, l.east);
    const double s2 = h * h + l.up * l.up;
    return {-l.up * l.north / (h * s2), -l.up * l.east / (h * s2), h / s2};
}

std::array<LocalVector, 2> partialsOf(const ellipsoid& ell, const SpatialStation& i,
                                      const SpatialStation& j,
                                      const std::array<double, 3>& gradient, double scale) {
    const VectorPartials p = localVectorPartials(ell, i, j);
    return {{scaled(chain(gradient, p.fromStation), scale),
             scaled(chain(gradient, p.toStation), scale)}};
}

} // namespace

LocalVector ecefToLocalVector(double phi, double lambda, double dX, double dY, double dZ) {
    const Axes r = localAxes(phi, lambda);
    const std::array<double, 3> d = {dX, dY, dZ};
    return {dot(r[0], d), dot(r[1], d), dot(r[2], d)};
}

LocalVector localVectorBetween(const SpatialStation& i, const SpatialStation& j) {
    return ecefToLocalVector(i.latitude, i.longitude, j.X - i.X, j.Y - i.Y, j.Z - i.Z);
}

double geodAzimuth3D(const SpatialStation& i, const SpatialStation& j) {
    const LocalVector l = localVectorBetween(i, j);
    constexpr double tiny = 1e-15;
    if (std::fabs(l.north) < tiny) {
        if (std::fabs(l.east) < tiny)
            return 0.0;
        return l.east > 0.0 ? pi / 2.0 : 1.5 * pi;
    }
    double a = std::atan(l.east / l.north);
    if (l.north < 0.0)
        a += pi;
    else if (l.east < 0.0)
        a += 2.0 * pi;
    return a;
}

double geodVerticalAngle3D(const SpatialStation& i, const SpatialStation& j) {
    const LocalVector l = localVectorBetween(i, j);
    return std::atan2(l.up, std::hypot(l.north, l.east));
}

CurvatureRadii curvatureRadii(const ellipsoid& ell, double phi) {
    const double s = std::sin(phi);
    const double w2 = 1.0 - ell.eccentricitySq * s * s;
    return {ell.semiMajor * (1.0 - ell.eccentricitySq) / std::pow(w2, 1.5),
            ell.semiMajor / std::sqrt(w2)};
}

LocalVector geodToLocalOffset(const ellipsoid& ell, double phiC, double lambdaC, double hC,
                              double phiS, double lambdaS, double hS) {
    const CurvatureRadii r = curvatureRadii(ell, phiC);
    const double dh = hC - hS;
    return {(r.meridian + dh) * (phiC - phiS),
            std::cos(phiC) * (r.primeVertical + dh) * (lambdaC - lambdaS), dh};
}

VectorPartials localVectorPartials(const ellipsoid& ell, const SpatialStation& i,
                                   const SpatialStation& j) {
    const Axes ri = localAxes(i.latitude, i.longitude);
    const Axes rj = localAxes(j.latitude, j.longitude);
    VectorPartials p{};
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b)
            p.toStation[a][b] = dot(ri[a], rj[b]);
    p.fromStation = turnOf(ell, i, localVectorBetween(i, j));
    for (int a = 0; a < 3; ++a)
        p.fromStation[a][a] -= 1.0;
    return p;
}

LocalJacobian frameTurnPartials(const ellipsoid& ell, const SpatialStation& i, double vX, double vY,
                                double vZ) {
    return turnOf(ell, i, ecefToLocalVector(i.latitude, i.longitude, vX, vY, vZ));
}

std::array<LocalVector, 2> distancePartials3D(const ellipsoid& ell, const SpatialStation& i,
                                              const SpatialStation& j) {
    const LocalVector l = localVectorBetween(i, j);
    const double s = std::sqrt(dot(asArray(l), asArray(l)));
    return partialsOf(ell, i, j, {l.north / s, l.east / s, l.up / s}, 1.0);
}

std::array<LocalVector, 2> azimuthPartials3D(const ellipsoid& ell, const SpatialStation& i,
                                             const SpatialStation& j) {
    return partialsOf(ell, i, j, azimuthGradient(localVectorBetween(i, j)), secondsPerRadian);
}

std::array<LocalVector, 2> zenithPartials3D(const ellipsoid& ell, const SpatialStation& i,
                                            const SpatialStation& j) {
    return partialsOf(ell, i, j, elevationGradient(localVectorBetween(i, j)), secondsPerRadian);
}

std::array<LocalVector, 3> anglePartials3D(const ellipsoid& ell, const SpatialStation& backsight,
                                           const SpatialStation& instrument,
                                           const SpatialStation& foresight) {
    // The angle is the azimuth instrument -> foresight minus the azimuth
    // instrument -> backsight.
    const auto toBacksight = azimuthPartials3D(ell, instrument, backsight);
    const auto toForesight = azimuthPartials3D(ell, instrument, foresight);
    return {{scaled(toBacksight[1], -1.0), minus(toForesight[0], toBacksight[0]), toForesight[1]}};
}
