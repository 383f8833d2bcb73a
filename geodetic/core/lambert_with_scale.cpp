// Lambert conformal conic with a scale factor on the cone and an origin
// latitude of its own (Snyder 1987, eqs. 15-1 to 15-11, 14-15, 7-9), for
// projections defined by one standard parallel or by two.

#include "geodetic/explicit_projections.hpp"

#include "projection_terms.hpp"

#include <cmath>
#include <numbers>

namespace {

constexpr double quarterPi = std::numbers::pi / 4.0;
constexpr double halfPi = std::numbers::pi / 2.0;

// Snyder's iteration for the latitude stops once a step changes it by less
// than this; a looser stop leaves millimetres of error on the ground.
constexpr double latitudeTolerance = 1e-12;
constexpr int maxLatitudeSteps = 30;

struct SnyderCone {
    double e;
    double semiMajor;
    double n;    // cone constant
    double f;    // F
    double rho0; // mapping radius of the origin latitude, k0 included
    double k0;

    double m(double phi) const {
        const double s = std::sin(phi);
        return std::cos(phi) / std::sqrt(1.0 - e * e * s * s);
    }
    double t(double phi) const {
        const double s = std::sin(phi);
        return std::tan(quarterPi - phi / 2.0) / std::pow((1.0 - e * s) / (1.0 + e * s), e / 2.0);
    }
    double pointScale(double rho, double phi) const { return n * rho / (semiMajor * m(phi)); }

    SnyderCone(const ellipsoid& ell, const zoneCnstnt& zone)
        : e(ell.eccentricity), semiMajor(ell.semiMajor), k0(zone.scaleFactor) {
        const double t1 = t(zone.northParallel), t2 = t(zone.southParallel);
        const double m1 = m(zone.northParallel), m2 = m(zone.southParallel);
        n = t1 == t2 ? std::sin(zone.oneParallelOrigin) : std::log(m1 / m2) / std::log(t1 / t2);
        f = m1 / (n * std::pow(t1, n));
        rho0 = semiMajor * f * std::pow(t(zone.oneParallelOrigin), n) * k0;
    }

    double latitudeFromT(double tValue) const {
        double phi = halfPi - 2.0 * std::atan(tValue);
        for (int step = 0; step < maxLatitudeSteps; ++step) {
            const double s = std::sin(phi);
            const double next =
                halfPi - 2.0 * std::atan(tValue * std::pow((1.0 - e * s) / (1.0 + e * s), e / 2.0));
            const bool settled = std::abs(next - phi) < latitudeTolerance;
            phi = next;
            if (settled)
                break;
        }
        return phi;
    }
};

} // namespace

void lambert_calc(const ellipsoid* ell, const zoneCnstnt* zone, double in1, double in2,
                  double* out1, double* out2, double* k, double* conv, int direction) {
    const SnyderCone cone(*ell, *zone);
    const double lambda0 = zone->centralMeridian;
    if (direction == 1) {
        const double phi = in1;
        const double rho = cone.semiMajor * cone.f * std::pow(cone.t(phi), cone.n) * cone.k0;
        const double theta = cone.n * geodetic_detail::longitudeDifference(in2, lambda0);
        *out1 = rho * std::sin(theta) + zone->falseEasting;
        *out2 = cone.rho0 + zone->falseNorthing - rho * std::cos(theta);
        *k = cone.pointScale(rho, phi);
        *conv = theta;
        return;
    }
    const double dN = in1 - zone->falseNorthing;
    const double dE = in2 - zone->falseEasting;
    double rho = std::hypot(cone.rho0 - dN, dE);
    if (cone.n < 0.0)
        rho = -rho;
    const double theta = std::atan(dE / (cone.rho0 - dN));
    const double phi =
        cone.latitudeFromT(std::pow(rho / (cone.semiMajor * cone.f * cone.k0), 1.0 / cone.n));
    *out1 = theta / cone.n + lambda0;
    *out2 = phi;
    *conv = theta;
    *k = cone.pointScale(rho, phi);
}
