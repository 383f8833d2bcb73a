// Lambert conformal conic with two standard parallels in the closed form of
// NOS NGS 5; the inverse latitude by Newton's method on the isometric latitude.

#include "lambert_conic.hpp"

#include "geodetic/projection_engine.hpp"
#include "projection_terms.hpp"
#include "zone_constant_cache.hpp"

#include <cmath>
#include <optional>

namespace geodetic_detail {
namespace {

struct ConeConstants {
    double sinPhi0; // cone constant, negative for a cone of the southern hemisphere
    double k;       // mapping radius of the equator
    double rb;      // mapping radius of the origin latitude
    double nOverA;  // sinPhi0 / a, of the point scale n R w / (a cos phi)
};

// The cone of the zone, or nothing when the parallels give equal isometric latitudes.
std::optional<ConeConstants> computeCone(const LambertZone& zone) {
    const ellipsoid& ell = *zone.ell;
    const double e = ell.eccentricity;
    const double qS = isometricLatitude(e, zone.southParallel);
    const double qN = isometricLatitude(e, zone.northParallel);
    if (qN == qS)
        return std::nullopt;
    const double wS = wFactor(ell.eccentricitySq, zone.southParallel);
    const double wN = wFactor(ell.eccentricitySq, zone.northParallel);
    ConeConstants cone{};
    cone.sinPhi0 =
        std::log(wN * std::cos(zone.southParallel) / (wS * std::cos(zone.northParallel))) /
        (qN - qS);
    cone.k = ell.semiMajor * std::cos(zone.southParallel) * std::exp(qS * cone.sinPhi0) /
             (wS * cone.sinPhi0);
    // An origin at the pole is the apex of the cone.
    const double qB = std::abs(std::sin(zone.originLat) - 1.0) < 1e-15
                          ? 1e99
                          : isometricLatitude(e, zone.originLat);
    cone.rb = cone.k / std::exp(qB * cone.sinPhi0);
    cone.nOverA = cone.sinPhi0 / ell.semiMajor;
    return cone;
}

// The cone, computed once for a run of points on one zone.
inline const std::optional<ConeConstants>& coneOf(const LambertZone& zone) {
    [[gnu::tls_model("initial-exec")]] thread_local LastZoneCache<6, std::optional<ConeConstants>>
        cache;
    const ellipsoid& ell = *zone.ell;
    return cache.get({ell.semiMajor, ell.eccentricity, ell.eccentricitySq, zone.southParallel,
                      zone.northParallel, zone.originLat},
                     [&] { return computeCone(zone); });
}

double pointScale(const LambertZone& zone, const ConeConstants& cone, double radius, double sinPhi,
                  double cosPhi) {
    return cone.sinPhi0 * radius * wFactorOfSine(zone.ell->eccentricitySq, sinPhi) /
           (zone.ell->semiMajor * cosPhi);
}

// The isometric latitude from s = sin(phi) and the factors 1 + s and 1 - s,
// as isometricLatitudeOfSine gives it to within an ulp or two: for the
// eccentricities of the earth's ellipsoids (below 0.1) the eccentricity term
// e atanh(e s) is a short series in place of a logarithm and a division.
double isometricLatitudeForward(double e, double s, double onePlus, double oneMinus) {
    if (e > maxAtanhSeriesArgument)
        return isometricLatitudeOfSine(e, s);
    return 0.5 * std::log(onePlus / oneMinus) - e * atanhSeries(e * s);
}

// sin and cos of an angle, by their Taylor series within +-0.1 rad (the
// terms past x^11 and x^12 stay below 1e-18 there), where a cone's
// convergence lies across a zone; the library's beyond.
constexpr double maxTaylorAngle = 0.1;

void sineAndCosine(double x, double* sine, double* cosine) {
    if (std::abs(x) > maxTaylorAngle) {
        *sine = std::sin(x);
        *cosine = std::cos(x);
        return;
    }
    // 1/n! for n = 2 to 12.
    constexpr double f2 = 1.0 / 2, f3 = f2 / 3, f4 = f3 / 4, f5 = f4 / 5, f6 = f5 / 6, f7 = f6 / 7,
                     f8 = f7 / 8, f9 = f8 / 9, f10 = f9 / 10, f11 = f10 / 11, f12 = f11 / 12;
    const double x2 = x * x;
    *sine = x + x * x2 * (-f3 + x2 * (f5 + x2 * (-f7 + x2 * (f9 - x2 * f11))));
    *cosine = 1.0 + x2 * (-f2 + x2 * (f4 + x2 * (-f6 + x2 * (f8 + x2 * (-f10 + x2 * f12)))));
}

// The point scale where cos^2 phi = (1 + s)(1 - s) is 0. Out of line, so
// that its cosine is not fused with the sine of every point into one call.
[[gnu::noinline, gnu::cold]] double scaleAtPole(const LambertZone& zone, const ConeConstants& cone,
                                               double radius, double sinPhi, double phi) {
    return pointScale(zone, cone, radius, sinPhi, std::cos(phi));
}

// sin(phi) from the isometric latitude q: six Newton steps from the sphere's value.
double sineOfLatitudeFromIsometric(double e, double q) {
    const double eSq = e * e;
    const double exp2q = std::exp(2.0 * q);
    double s = (exp2q - 1.0) / (exp2q + 1.0);
    for (int step = 0; step < 6; ++step) {
        const double f1 =
            0.5 * (std::log((1.0 + s) / (1.0 - s)) - e * std::log((1.0 + e * s) / (1.0 - e * s))) -
            q;
        const double f2 = 1.0 / (1.0 - s * s) - eSq / (1.0 - eSq * s * s);
        s -= f1 / f2;
    }
    return s;
}

} // namespace

LambertZone lambertZoneOf(const ellipsoid* ell, const zoneCnstnt* zone) {
    return {ell,
            zone->northParallel,
            zone->southParallel,
            zone->originLat,
            zone->originLon,
            zone->falseNorthing,
            zone->falseEasting};
}

int lambertForward(const LambertZone& zone, geodCoord* point) {
    if (zone.ell->semiMinor == 0.0 || zone.ell->semiMajor == 0.0)
        return projectionRefused;
    const std::optional<ConeConstants>& cone = coneOf(zone);
    if (!cone)
        return projectionRefused;
    const double sinPhi = std::sin(point->lat);
    const double onePlus = 1.0 + sinPhi, oneMinus = 1.0 - sinPhi;
    const double q = isometricLatitudeForward(zone.ell->eccentricity, sinPhi, onePlus, oneMinus);
    const double radius = cone->k * std::exp(-q * cone->sinPhi0);
    const double gamma = cone->sinPhi0 * longitudeDifference(zone.centralMeridian, point->lon);
    double sinGamma = 0.0, cosGamma = 0.0;
    sineAndCosine(gamma, &sinGamma, &cosGamma);
    point->conv = gamma;
    // The scale n R w / (a cos phi) with cos^2 phi = (1 + s)(1 - s) from the
    // factors at hand; at a pole, where that is 0, from cos phi itself.
    const double cosSq = onePlus * oneMinus;
    point->scale =
        cosSq > 0.0
            ? cone->nOverA * radius *
                  std::sqrt((1.0 - zone.ell->eccentricitySq * sinPhi * sinPhi) / cosSq)
            : scaleAtPole(zone, *cone, radius, sinPhi, point->lat);
    point->northing = cone->rb + zone.falseNorthing - radius * cosGamma;
    point->easting = radius * sinGamma + zone.falseEasting;
    return projectionOk;
}

int lambertInverse(const LambertZone& zone, geodCoord* point) {
    const std::optional<ConeConstants>& cone = coneOf(zone);
    if (!cone)
        return projectionRefused;
    const double rPrime = cone->rb - point->northing + zone.falseNorthing;
    const double ePrime = point->easting - zone.falseEasting;
    const double gamma = std::atan(ePrime / rPrime);
    // The mapping radius carries the sign of the cone constant, as in the
    // forward direction; a southern cone would otherwise take the logarithm
    // of a negative ratio.
    const double radius = std::copysign(std::hypot(rPrime, ePrime), cone->sinPhi0);
    const double q = std::log(cone->k / radius) / cone->sinPhi0;
    const double phi = std::asin(sineOfLatitudeFromIsometric(zone.ell->eccentricity, q));
    point->conv = gamma;
    point->lon = zone.centralMeridian - gamma / cone->sinPhi0;
    point->lat = phi;
    point->scale = pointScale(zone, *cone, radius, std::sin(phi), std::cos(phi));
    return projectionOk;
}

bool lambertArcToChord(const LambertZone& zone, const geodCoord& from, const geodCoord& to,
                       double* delta) {
    const std::optional<ConeConstants>& cone = coneOf(zone);
    if (!cone)
        return false;
    *delta =
        (from.lon - to.lon) * (std::sin((2.0 * from.lat + to.lat) / 3.0) - cone->sinPhi0) / 2.0;
    return true;
}

} // namespace geodetic_detail

int geod2Lambert(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point) {
    return geodetic_detail::lambertForward(geodetic_detail::lambertZoneOf(ell, zone), point);
}

int Lambert2Geod(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point) {
    return geodetic_detail::lambertInverse(geodetic_detail::lambertZoneOf(ell, zone), point);
}
