// Conversions between geodetic coordinates and earth-centred X, Y, Z.

#include "geodetic/earth_centred.hpp"

#include "earth_centred_newton.hpp"

#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double builtInSemiMajor = 6378137.0;
constexpr double builtInSemiMinor = 6356752.3141403;
constexpr double builtInEccentricitySq = 0.0066943800229034;

constexpr double heightTolerance = 0.0001;
constexpr double latitudeTolerance = 1e-10;
// The iteration contracts by about e^2 per step; a point where it cannot
// settle (a value that is not finite) must not hang the caller.
constexpr int maxSteps = 100;

struct Geocentric {
    double x, y, z;
};

struct Geodetic {
    double lat, lon, h;
};

Geocentric geocentricOf(double a, double b, double lat, double lon, double h) {
    const double eSq = (a * a - b * b) / (a * a);
    const double sinLat = std::sin(lat);
    const double n = a / std::sqrt(1.0 - eSq * sinLat * sinLat);
    return {(n + h) * std::cos(lat) * std::cos(lon), (n + h) * std::cos(lat) * std::sin(lon),
            (n * (1.0 - eSq) + h) * sinLat};
}

// Radius of curvature in the prime vertical, N = a^2 / sqrt(a^2 cos^2 + b^2 sin^2).
double primeVerticalRadius(double a, double b, double lat) {
    const double c = std::cos(lat), s = std::sin(lat);
    return a * a / std::sqrt(a * a * c * c + b * b * s * s);
}

// The height above the ellipsoid of a point at distance p from the axis
// and Z along it, for latitude lat: p cos + Z sin - a^2/N, which equals
// p / cos - N but keeps its precision as the latitude nears a pole.
double heightAt(double a, double p, double z, double lat, double n) {
    return p * std::cos(lat) + z * std::sin(lat) - a * a / n;
}

// A point on the polar axis.
Geodetic polar(double b, double z) {
    return {std::copysign(std::numbers::pi / 2.0, z), 0.0, std::abs(z) - b};
}

Geodetic geodeticOf(double a, double b, double eSq, double x, double y, double z) {
    const double p = std::hypot(x, y);
    if (p == 0.0)
        return polar(b, z);
    double lat = std::atan2(z, p * (1.0 - eSq));
    double n = primeVerticalRadius(a, b, lat);
    double h = heightAt(a, p, z, lat, n);
    for (int step = 0; step < maxSteps; ++step) {
        const double nextLat = std::atan2(z, p * (1.0 - eSq * n / (n + h)));
        const double nextN = primeVerticalRadius(a, b, nextLat);
        const double nextH = heightAt(a, p, z, nextLat, nextN);
        const bool settled =
            std::abs(nextH - h) <= heightTolerance && std::abs(nextLat - lat) <= latitudeTolerance;
        lat = nextLat;
        n = nextN;
        h = nextH;
        if (settled || !std::isfinite(lat))
            break;
    }
    // atan2 keeps the quadrant, so the 180th meridian (X < 0, Y = 0) is +-pi.
    return {lat, std::atan2(y, x), h};
}

} // namespace

namespace geodetic_detail {

GeodeticTerms geodeticTermsByNewton(const ellipsoid& ell, double x, double y, double z) {
    const double a = ell.semiMajor, b = ell.semiMinor;
    const double eSq = ell.eccentricity * ell.eccentricity;
    const double p = std::sqrt(x * x + y * y);
    if (p == 0.0)
        return {std::copysign(std::numeric_limits<double>::infinity(), z), std::copysign(1.0, z),
                0.0, 0.0, std::abs(z) - b};
    const double oneMinusESq = 1.0 - eSq, eSqA = eSq * a;
    // Bowring's start t = n / d: the parametric latitude u has tan u = (z / b)
    // / (p / a) = s / c, and t = (z + e'^2 b sin^3 u) / (p - e^2 a cos^3 u),
    // numerator and denominator multiplied by r^3, r^2 = s^2 + c^2, which
    // takes the sine and cosine of u without a division.
    const double s = z / b, c = p / a;
    const double rSq = s * s + c * c, rCubed = rSq * std::sqrt(rSq);
    const double n = z * rCubed + eSq / oneMinusESq * b * (s * s * s);
    const double d = p * rCubed - eSqA * (c * c * c);
    // One Newton step on t = n / d, written over d so that it divides once
    // at the end: with Q = d^2 + (1 - e^2) n^2,
    // t' = (z Q^(3/2) + e^2 a (1 - e^2) n^3) / (p Q^(3/2) - e^2 a d^3).
    const double q = d * d + oneMinusESq * n * n, qRoot = q * std::sqrt(q);
    const double num = z * qRoot + eSqA * oneMinusESq * (n * n * n);
    const double den = p * qRoot - eSqA * (d * d * d);
    const double invNorm = std::copysign(1.0 / std::sqrt(num * num + den * den), den);
    const double cosLat = den * invNorm, sinLat = num * invNorm;
    // p cos + Z sin - a w, as heightAt: it keeps its precision near a pole.
    const double h = p * cosLat + z * sinLat - a * std::sqrt(1.0 - eSq * sinLat * sinLat);
    return {num / den, sinLat, cosLat, p, h};
}

GeodeticPosition geodeticByNewton(const ellipsoid& ell, double x, double y, double z) {
    const GeodeticTerms terms = geodeticTermsByNewton(ell, x, y, z);
    if (terms.p == 0.0) {
        const Geodetic g = polar(ell.semiMinor, z);
        return {g.lat, g.lon, g.h};
    }
    return {std::atan(terms.tanLat), std::atan2(y, x), terms.h};
}

} // namespace geodetic_detail

void lat2ecef(double* X, double* Y, double* Z, double lat, double lon, double h) {
    const Geocentric g = geocentricOf(builtInSemiMajor, builtInSemiMinor, lat, lon, h);
    *X = g.x;
    *Y = g.y;
    *Z = g.z;
}

void ecef2lat(double X, double Y, double Z, double* lat, double* lon, double* h) {
    const Geodetic g =
        geodeticOf(builtInSemiMajor, builtInSemiMinor, builtInEccentricitySq, X, Y, Z);
    *lat = g.lat;
    *lon = g.lon;
    *h = g.h;
}

int latLongElev2XYZ_EC(ellipsoid ell, geodCoord* point) {
    const Geocentric g =
        geocentricOf(ell.semiMajor, ell.semiMinor, point->lat, point->lon, point->elev);
    point->easting = g.x;
    point->northing = g.y;
    point->elev = g.z;
    return projectionOk;
}

int XYZ_EC2latLongElev(ellipsoid ell, geodCoord* point) {
    const Geodetic g = geodeticOf(ell.semiMajor, ell.semiMinor, ell.eccentricity * ell.eccentricity,
                                  point->easting, point->northing, point->elev);
    point->lat = g.lat;
    point->lon = g.lon;
    point->elev = g.h;
    return projectionOk;
}
