// WGS84 to and from the Hungarian EOV grid through a seven-parameter datum
// change, the IUGG 1967 ellipsoid, a Gauss sphere and an oblique Mercator
// projection of it.

#include "geodetic/eov_grid.hpp"

#include "geodetic/earth_centred.hpp"
#include "geodetic/projection_engine.hpp"
#include "projection_terms.hpp"
#include "zone_constant_cache.hpp"

#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;
constexpr double secondsPerRadian = 206264.806247;

// IUGG 1967.
constexpr double iuggSemiMajor = 6378160.0;
constexpr double iuggEccentricitySq = 0.00669460535691779;
constexpr double iuggOneMinusESq = 0.9933053946430822;

// WGS84 as each direction holds it.
constexpr double wgsSemiMajor = 6378137.0;
constexpr double wgsFlattening = 0.00335281066475;
constexpr double wgsEccentricitySq = 0.0066943800667647;

// The EOV projection.
constexpr double originLat = 0.823213630523992;         // phi_0, 47 10' 00"
constexpr double sphereOriginLat = 0.822438208856524;   // psi_0, 47 07' 20.0578"
constexpr double originLon = 0.332460295324692;         // lambda_0, 19 02' 54.8584"
constexpr double sphereConstant = 1.0007197049;         // n
constexpr double obliqueEquatorLat = 0.822050077689329; // phi_K, 47 06' 00"
const double tanOriginLat = std::tan(originLat);
const double sinSphereOriginLat = std::sin(sphereOriginLat);
const double cosSphereOriginLat = std::cos(sphereOriginLat);
const double sinObliqueEquatorLat = std::sin(obliqueEquatorLat);
const double cosObliqueEquatorLat = std::cos(obliqueEquatorLat);
constexpr double forwardRadiusTimesScale = 6379296.41898993;
constexpr double sphereRadius = 6379743.001;
constexpr double gridScale = 0.99993;
constexpr double falseNorthing = 200000.0;
constexpr double falseEasting = 650000.0;

struct Ecef {
    double x, y, z;
};

struct Geographic {
    double lat, lon, h;
};

struct DatumChange {
    double dX, dY, dZ, rx, ry, rz, ds; // metres, arc seconds, ppm
};

// m R1(rx) R2(ry) R3(rz) p + d: the coordinate-frame rotation, applied in
// full to the untransformed vector.
using Rotation = std::array<std::array<double, 3>, 3>;

Rotation rotationOf(double rx, double ry, double rz) {
    const double toRad = pi / (3600.0 * 180.0);
    const double sx = std::sin(rx * toRad), cx = std::cos(rx * toRad);
    const double sy = std::sin(ry * toRad), cy = std::cos(ry * toRad);
    const double sz = std::sin(rz * toRad), cz = std::cos(rz * toRad);
    return {{
        {cz * cy, sz * cy, -sy},
        {cz * sy * sx - sz * cx, cz * cx + sz * sy * sx, cy * sx},
        {sz * sx + cz * sy * cx, sz * sy * cx - cz * sx, cy * cx},
    }};
}

// The rotation, computed once for a run of points with the same angles.
const Rotation& rotationOfRun(double rx, double ry, double rz) {
    [[gnu::tls_model("initial-exec")]] thread_local geodetic_detail::LastZoneCache<3, Rotation>
        cache;
    return cache.get({rx, ry, rz}, [&] { return rotationOf(rx, ry, rz); });
}

Ecef changeDatum(const DatumChange& c, const Ecef& p) {
    const double m = 1.0 + c.ds / 1000000.0;
    const Rotation& r = rotationOfRun(c.rx, c.ry, c.rz);
    return {m * (r[0][0] * p.x + r[0][1] * p.y + r[0][2] * p.z) + c.dX,
            m * (r[1][0] * p.x + r[1][1] * p.y + r[1][2] * p.z) + c.dY,
            m * (r[2][0] * p.x + r[2][1] * p.y + r[2][2] * p.z) + c.dZ};
}

// Bowring's closed form: b/a, e^2 a and a with e^2 for the height.
struct BowringConstants {
    double axisRatio, eSqTimesA, semiMajor, eSq;
};

constexpr BowringConstants iuggBowring{0.996647076272781, 42699.2641032788, iuggSemiMajor,
                                       iuggEccentricitySq};
const BowringConstants wgsBowring{std::sqrt(40408299981544.36) / wgsSemiMajor, 42697.67319589441,
                                  wgsSemiMajor, wgsEccentricitySq};

// The closed form's latitude as its tangent, with the longitude and the
// height; the sines and cosines of u and of the latitude come from their
// tangents by a square root.
struct ClosedForm {
    double tanLat, lon, h;
};

ClosedForm closedFormOf(const BowringConstants& k, const Ecef& p) {
    const double horizontal = std::sqrt(p.x * p.x + p.y * p.y);
    const double r = std::sqrt(horizontal * horizontal + p.z * p.z);
    const double tanU = (p.z / horizontal) * (k.axisRatio + k.eSqTimesA / r);
    const double cu = 1.0 / std::sqrt(1.0 + tanU * tanU), su = tanU * cu;
    const double tanLat = (p.z * k.axisRatio + k.eSqTimesA * su * su * su) /
                          (k.axisRatio * (horizontal - k.eSqTimesA * cu * cu * cu));
    const double cl = 1.0 / std::sqrt(1.0 + tanLat * tanLat), sl = tanLat * cl;
    const double h = horizontal * cl + p.z * sl - k.semiMajor * std::sqrt(1.0 - k.eSq * sl * sl);
    return {tanLat, std::atan(p.y / p.x), h};
}

Geographic geographicOf(const BowringConstants& k, const Ecef& p) {
    const ClosedForm c = closedFormOf(k, p);
    return {std::atan(c.tanLat), c.lon, c.h};
}

// (phi - phi0) rho" from tan phi: the arctangent of tan(phi - phi0), an angle
// within the series' reach over the grid's area.
double secondsFromOrigin(double tanLat) {
    const double w = (tanLat - tanOriginLat) / (1.0 + tanLat * tanOriginLat);
    if (std::abs(w) <= geodetic_detail::maxSmallAngle)
        return geodetic_detail::atanOfSmall(w) * secondsPerRadian;
    return (std::atan(tanLat) - originLat) * secondsPerRadian;
}

// sin and cos of psi = psi0 + delta, delta small over the grid's area.
geodetic_detail::SineCosine sphereLatitudeTerms(double delta) {
    if (std::abs(delta) > geodetic_detail::maxSmallAngle)
        return {std::sin(sphereOriginLat + delta), std::cos(sphereOriginLat + delta)};
    const geodetic_detail::SineCosine d = geodetic_detail::sinCosOfSmall(delta);
    return {sinSphereOriginLat * d.cos + cosSphereOriginLat * d.sin,
            cosSphereOriginLat * d.cos - sinSphereOriginLat * d.sin};
}

Ecef iuggEcefOf(const Geographic& g) {
    const double sl = std::sin(g.lat);
    const double n = iuggSemiMajor / std::sqrt(1.0 - iuggEccentricitySq * sl * sl);
    return {(n + g.h) * std::cos(g.lat) * std::cos(g.lon),
            (n + g.h) * std::cos(g.lat) * std::sin(g.lon), (n * iuggOneMinusESq + g.h) * sl};
}

// atan(t / sqrt(1 - t^2)), the arcsine as the grid's formulas compute it.
double arcsine(double t) {
    return std::atan(t / std::sqrt(1.0 - t * t));
}

} // namespace

int latLongWGS84ToXY_EOV(double lat, double lon, double h, double dX, double dY, double dZ,
                         double rx, double ry, double rz, double ds, double* eovY, double* eovX,
                         double* hIugg67) {
    static const ellipsoid wgs84 = [] {
        ellipsoid ell{};
        initEllipsoid(&ell, wgsSemiMajor, wgsFlattening);
        return ell;
    }();
    geodCoord point{};
    point.lat = lat;
    point.lon = lon;
    point.elev = h;
    latLongElev2XYZ_EC(wgs84, &point);
    const Ecef hungarian =
        changeDatum({dX, dY, dZ, rx, ry, rz, ds}, {point.easting, point.northing, point.elev});
    const ClosedForm g = closedFormOf(iuggBowring, hungarian);

    const double s = secondsFromOrigin(g.tanLat);
    const geodetic_detail::SineCosine psi = sphereLatitudeTerms(
        (0.99844601 * s + 2.4323e-08 * s * s - 5.3e-15 * s * s * s) / secondsPerRadian);
    const double bigLambda = sphereConstant * (g.lon - originLon);
    // sin phi' and cos phi'; ln tan(pi/4 + phi'/2) = atanh(sin phi').
    const double sinObliqueLat =
        cosObliqueEquatorLat * psi.sin - sinObliqueEquatorLat * psi.cos * std::cos(bigLambda);
    const double cosObliqueLat = std::sqrt(1.0 - sinObliqueLat * sinObliqueLat);
    const double obliqueLon = arcsine(std::sin(bigLambda) * psi.cos / cosObliqueLat);

    *eovX =
        forwardRadiusTimesScale * 0.5 * std::log((1.0 + sinObliqueLat) / (1.0 - sinObliqueLat)) +
        falseNorthing;
    *eovY = forwardRadiusTimesScale * obliqueLon + falseEasting;
    *hIugg67 = g.h;
    return 0;
}

int EOV_XYToLatLongWGS84(double eovY, double eovX, double hIugg67, double dX, double dY, double dZ,
                         double rx, double ry, double rz, double ds, double* lat, double* lon,
                         double* h) {
    const double obliqueLat =
        2.0 * (std::atan(std::exp((eovX - falseNorthing) / sphereRadius / gridScale)) - pi / 4.0);
    const double obliqueLon = (eovY - falseEasting) / sphereRadius / gridScale;
    const double psi =
        std::asin(std::cos(obliqueLon) * std::cos(obliqueLat) * sinObliqueEquatorLat +
                  std::sin(obliqueLat) * cosObliqueEquatorLat);
    const double bigLambda = std::asin(std::cos(obliqueLat) * std::sin(obliqueLon) / std::cos(psi));
    const double t = (psi - sphereOriginLat) * secondsPerRadian;
    const Geographic hungarian{
        originLat + (1.00155641 * t - 2.4436e-08 * t * t + 6.5e-15 * t * t * t) / secondsPerRadian,
        originLon + bigLambda / sphereConstant, hIugg67};
    const Ecef wgs = changeDatum({-dX, -dY, -dZ, -rx, -ry, -rz, -ds}, iuggEcefOf(hungarian));
    const Geographic g = geographicOf(wgsBowring, wgs);
    *lat = g.lat;
    *lon = g.lon;
    *h = g.h;
    return 0;
}
