// The Krovak oblique conformal conic projection, EPSG method 9819.

#include "geodetic/krovak.hpp"

#include "projection_terms.hpp"
#include "zone_constant_cache.hpp"

#include <cmath>
#include <numbers>

namespace {

constexpr double quarterPi = std::numbers::pi / 4.0;
// Newton's steps for the latitude from its conformal tangent (see
// latitudeTanOf): from tau' / (1 - e^2), whose error is of order e^4,
// two steps leave less than an ulp.
constexpr int latitudeSteps = 2;

// The constants of the Gauss sphere and the cone, from the zone record.
struct KrovakConstants {
    double e;        // first eccentricity
    double b;        // B: the sphere's longitude factor
    double t0;       // t0: the sphere's latitude constant
    double n;        // cone constant sin(phi_p)
    double r0;       // radius of the pseudo standard parallel on the cone
    double tanP;     // tan(pi/4 + phi_p/2)
    double logTanP;  // ln tanP
    double cosA;     // cos(alpha_c)
    double sinA;     // sin(alpha_c)
    double r0Sq;     // r0^2
    double halfInvN; // 1 / (2n)
    double invB;     // 1 / B
    double invT0;    // 1 / t0
    double oneMinusESq;

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
        r0Sq = r0 * r0;
        halfInvN = 0.5 / n;
        invB = 1.0 / b;
        invT0 = 1.0 / t0;
        oneMinusESq = 1.0 - eSq;
    }

    // e atanh(e x), by its series for the earth's eccentricities.
    double eccentricityTerm(double x) const {
        const double eX = e * x;
        return e * (e <= geodetic_detail::maxAtanhSeriesArgument ? geodetic_detail::atanhSeries(eX)
                                                                 : std::atanh(eX));
    }

    // tan(phi) from the tangent of the conformal latitude tau' = sinh(q), q
    // the isometric latitude, by Newton's method on tau' = tau sqrt(1 +
    // sigma^2) - sigma sqrt(1 + tau^2), sigma = sinh(e atanh(e sin phi))
    // (C. F. F. Karney, "Transverse Mercator with an accuracy of a few
    // nanometers", J. Geodesy 85, 2011, eqs. 7, 19-21).
    double latitudeTanOf(double conformalTan) const {
        double tau = conformalTan / oneMinusESq;
        for (int step = 0; step < latitudeSteps; ++step) {
            const double secant = std::sqrt(1.0 + tau * tau);
            const double y = eccentricityTerm(tau / secant);
            const double sigma = e <= geodetic_detail::maxAtanhSeriesArgument
                                     ? geodetic_detail::sinhOfSmall(y)
                                     : std::sinh(y);
            const double tauI = tau * std::sqrt(1.0 + sigma * sigma) - sigma * secant;
            tau += (conformalTan - tauI) / std::sqrt(1.0 + tauI * tauI) *
                   (1.0 + oneMinusESq * tau * tau) / (oneMinusESq * secant);
        }
        return tau;
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
    const double x = k.t0 * std::exp(k.b * (sphereIsometric(s) - k.eccentricityTerm(s)));
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

// The method's inverse chain r, theta -> T, D -> U, V -> phi, with its
// tangents, powers and arcsines written through what they stand for:
// tan(pi/4 + T/2) = (r0/r)^(1/n) tan(pi/4 + phi_p/2) gives sin T and cos T as
// in the forward; U and V come from the turned sphere's unit vector, V by the
// arctangent of its two horizontal parts; the Gauss sphere's latitude U gives
// the ellipsoid's isometric latitude q = (atanh(sin U) - ln t0) / B, and the
// latitude follows from the conformal tangent sinh q by Newton's method, in
// place of the method's fixed-point iteration with a sine, a power and an
// arctangent a step.
int XY2latLong_KrovakObliqueConic(zoneCnstntKrovakObliqueConic* zone, geodCoord* point) {
    const KrovakConstants& k = constantsOf(*zone);
    const double xp = point->easting - zone->falseSouthing;
    const double yp = point->northing - zone->falseWesting;
    const double theta = std::atan(yp / xp);
    const double tanHalfT = k.tanP * std::pow(k.r0Sq / (xp * xp + yp * yp), k.halfInvN);
    const double tSq = tanHalfT * tanHalfT;
    const double sinT = (tSq - 1.0) / (tSq + 1.0), cosT = 2.0 * tanHalfT / (tSq + 1.0);
    const double d = theta / k.n;
    const double sinD = std::sin(d), cosD = std::cos(d);
    // cos U cos V, cos U sin V and sin U.
    const double towardsOrigin = k.sinA * sinT + k.cosA * cosT * cosD;
    const double sideways = cosT * sinD;
    const double sinU = k.cosA * sinT - k.sinA * cosT * cosD;
    const double cosU = std::sqrt(towardsOrigin * towardsOrigin + sideways * sideways);
    const double v = std::atan(sideways / towardsOrigin);
    // exp(q) = (tan(pi/4 + U/2) / t0)^(1/B).
    const double expQ = std::pow((1.0 + sinU) / cosU * k.invT0, k.invB);
    const double conformalTan = 0.5 * (expQ - 1.0 / expQ);
    point->lat = std::atan(k.latitudeTanOf(conformalTan));
    point->lon = zone->originLon - v * k.invB;
    return 0;
}
