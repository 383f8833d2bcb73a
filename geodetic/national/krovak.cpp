// The Krovak oblique conformal conic projection, EPSG method 9819.

#include "geodetic/krovak.hpp"

#include "zone_constant_cache.hpp"

#include <cmath>
#include <numbers>

namespace {

constexpr double quarterPi = std::numbers::pi / 4.0;
constexpr double latitudeTolerance = 1e-12;
constexpr int maxLatitudeSteps = 30;

// The constants of the Gauss sphere and the cone, from the zone record.
struct KrovakConstants {
    double e;    // first eccentricity
    double b;    // B: the sphere's longitude factor
    double t0;   // t0: the sphere's latitude constant
    double n;    // cone constant sin(phi_p)
    double r0;   // radius of the pseudo standard parallel on the cone
    double tanP; // tan(pi/4 + phi_p/2)
    double cosA; // cos(alpha_c)
    double sinA; // sin(alpha_c)

    KrovakConstants() = default;
    explicit KrovakConstants(const zoneCnstntKrovakObliqueConic& zone) {
        const ellipsoid& ell = zone.ellipsoid;
        e = ell.eccentricity;
        const double eSq = e * e;
        const double phiC = zone.centreLat, sinC = std::sin(phiC), cosC = std::cos(phiC);
        const double a = ell.semiMajor * std::sqrt(1.0 - eSq) / (1.0 - eSq * sinC * sinC);
        b = std::sqrt(1.0 + eSq * std::pow(cosC, 4) / (1.0 - eSq));
        const double gamma0 = std::asin(sinC / b);
        t0 = std::tan(quarterPi + gamma0 / 2.0) *
             std::pow((1.0 + e * sinC) / (1.0 - e * sinC), e * b / 2.0) /
             std::pow(std::tan(quarterPi + phiC / 2.0), b);
        n = std::sin(zone.pseudoParallelLat);
        r0 = zone.pseudoParallelScale * a / std::tan(zone.pseudoParallelLat);
        tanP = std::tan(quarterPi + zone.pseudoParallelLat / 2.0);
        cosA = std::cos(zone.coneAxisColatitude);
        sinA = std::sin(zone.coneAxisColatitude);
    }

    double eFactor(double phi) const {
        const double s = e * std::sin(phi);
        return (1.0 + s) / (1.0 - s);
    }
};

// The constants of a zone, computed once for a run of points on the same zone.
const KrovakConstants& constantsOf(const zoneCnstntKrovakObliqueConic& zone) {
    [[gnu::tls_model("initial-exec")]] thread_local geodetic_detail::LastZoneCache<6, KrovakConstants>
        cache;
    return cache.get({zone.centreLat, zone.coneAxisColatitude, zone.pseudoParallelLat,
                      zone.pseudoParallelScale, zone.ellipsoid.semiMajor, zone.ellipsoid.eccentricity},
                     [&] { return KrovakConstants(zone); });
}

// The next latitude of the fixed-point iteration from the conformal latitude U.
double nextLatitude(const KrovakConstants& k, double u, double phi) {
    return 2.0 * (std::atan(std::pow(k.t0, -1.0 / k.b) *
                            std::pow(std::tan(quarterPi + u / 2.0), 1.0 / k.b) *
                            std::pow(k.eFactor(phi), k.e / 2.0)) -
                  quarterPi);
}

} // namespace

int latLong2XY_KrovakObliqueConic(zoneCnstntKrovakObliqueConic* zone, geodCoord* point) {
    const KrovakConstants& k = constantsOf(*zone);
    const double phi = point->lat;
    const double u = 2.0 * (std::atan(k.t0 * std::pow(std::tan(quarterPi + phi / 2.0), k.b) /
                                      std::pow(k.eFactor(phi), k.e * k.b / 2.0)) -
                            quarterPi);
    const double v = k.b * (zone->originLon - point->lon);
    const double t = std::asin(k.cosA * std::sin(u) + k.sinA * std::cos(u) * std::cos(v));
    const double d = std::asin(std::cos(u) * std::sin(v) / std::cos(t));
    const double theta = k.n * d;
    const double r = k.r0 * std::pow(k.tanP / std::tan(quarterPi + t / 2.0), k.n);
    point->easting = r * std::cos(theta) + zone->falseSouthing;
    point->northing = r * std::sin(theta) + zone->falseWesting;
    return 0;
}

int XY2latLong_KrovakObliqueConic(zoneCnstntKrovakObliqueConic* zone, geodCoord* point) {
    const KrovakConstants& k = constantsOf(*zone);
    const double xp = point->easting - zone->falseSouthing;
    const double yp = point->northing - zone->falseWesting;
    const double r = std::hypot(xp, yp);
    const double theta = std::atan(yp / xp);
    const double t = 2.0 * (std::atan(std::pow(k.r0 / r, 1.0 / k.n) * k.tanP) - quarterPi);
    const double d = theta / k.n;
    const double u = std::asin(k.cosA * std::sin(t) - k.sinA * std::cos(t) * std::cos(d));
    const double v = std::asin(std::cos(t) * std::sin(d) / std::cos(u));
    double phi = zone->centreLat;
    for (int step = 0; step < maxLatitudeSteps; ++step) {
        const double next = nextLatitude(k, u, phi);
        const bool settled = std::abs(next - phi) < latitudeTolerance;
        phi = next;
        if (settled)
            break;
    }
    point->lat = phi;
    point->lon = zone->originLon - v / k.b;
    return 0;
}
