// The Krovak oblique conformal conic projection, EPSG method 9819.

#include "geodetic/krovak.hpp"

#include "projection_terms.hpp"
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
    double logTanP; // ln tanP
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
        logTanP = std::log(tanP);
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
// sphereTerm = t0^(-1/B) tan(pi/4 + U/2)^(1/B), the same in every step.
double nextLatitude(const KrovakConstants& k, double sphereTerm, double phi) {
    return 2.0 * (std::atan(sphereTerm * std::pow(k.eFactor(phi), k.e / 2.0)) - quarterPi);
}

} // namespace

// atanh(x) = ln((1 + x) / (1 - x)) / 2, the isometric latitude of a sphere
// of sine x.
double sphereIsometric(double x) {
    return 0.5 * std::log((1.0 + x) / (1.0 - x));
}

// The method's chain phi -> U, V -> T, D -> r, theta, with its tangents,
// powers and arcsines written through the isometric latitudes they stand
// for: tan(pi/4 + phi/2)^B / ((1 + e sin phi) / (1 - e sin phi))^(e B / 2) =
// exp(B q) with q the ellipsoid's isometric latitude; U = 2 atan(X) - pi/2
// gives sin U and cos U from X itself; T enters only through sin T, cos T and
// tan(pi/4 + T/2) = exp(atanh(sin T)).
int latLong2XY_KrovakObliqueConic(zoneCnstntKrovakObliqueConic* zone, geodCoord* point) {
    const KrovakConstants& k = constantsOf(*zone);
    const double s = std::sin(point->lat);
    const double eS = k.e * s;
    const double eTerm = k.e <= geodetic_detail::maxAtanhSeriesArgument
                             ? geodetic_detail::atanhSeries(eS)
                             : std::atanh(eS);
    const double x = k.t0 * std::exp(k.b * (sphereIsometric(s) - k.e * eTerm));
    const double xSq = x * x;
    const double sinU = (xSq - 1.0) / (xSq + 1.0), cosU = 2.0 * x / (xSq + 1.0);
    const double v = k.b * (zone->originLon - point->lon);
    const double sinV = std::sin(v), cosV = std::cos(v);
    const double sinT = k.cosA * sinU + k.sinA * cosU * cosV;
    const double cosT = std::sqrt((1.0 - sinT) * (1.0 + sinT));
    const double d = std::asin(cosU * sinV / cosT);
    const double theta = k.n * d;
    const double r = k.r0 * std::exp(k.n * (k.logTanP - sphereIsometric(sinT)));
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
    const double sphereTerm =
        std::pow(k.t0, -1.0 / k.b) * std::pow(std::tan(quarterPi + u / 2.0), 1.0 / k.b);
    double phi = zone->centreLat;
    for (int step = 0; step < maxLatitudeSteps; ++step) {
        const double next = nextLatitude(k, sphereTerm, phi);
        const bool settled = std::abs(next - phi) < latitudeTolerance;
        phi = next;
        if (settled)
            break;
    }
    point->lat = phi;
    point->lon = zone->originLon - v / k.b;
    return 0;
}
