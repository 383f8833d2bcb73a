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
    return cone;
}

// The cone, computed once for a run of points on one zone.
const std::optional<ConeConstants>& coneOf(const LambertZone& zone) {
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
    const double phi = point->lat;
    const double sinPhi = std::sin(phi);
    const double cosPhi = std::cos(phi);
    const double radius =
        cone->k / std::exp(isometricLatitudeOfSine(zone.ell->eccentricity, sinPhi) * cone->sinPhi0);
    const double gamma = cone->sinPhi0 * longitudeDifference(zone.centralMeridian, point->lon);
    point->conv = gamma;
    point->scale = pointScale(zone, *cone, radius, sinPhi, cosPhi);
    point->northing = cone->rb + zone.falseNorthing - radius * std::cos(gamma);
    point->easting = radius * std::sin(gamma) + zone.falseEasting;
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
