// The Cassini-Soldner projection by Snyder's series, the inverse series
// refined against the forward.

#include "geodetic/cassini_soldner.hpp"

#include "inverse_by_forward.hpp"
#include "zone_constant_cache.hpp"

#include <cmath>
#include <numbers>

namespace {

using geodetic_detail::GeodeticPosition;
using geodetic_detail::GridPosition;
using geodetic_detail::inverseByForward;

constexpr double pi = std::numbers::pi;
constexpr double fourDegrees = 0.0698131700797731819;
constexpr double limitLatitude = 0.5410520681182421; // 31 degrees
constexpr double eastingLimitFar = 20037508.4;
constexpr double eastingLimitNear = 19926188.9;
constexpr double northingLimitSlack = 0.1;
constexpr double poleTolerance = 1e-5;

// The grid's extent that the inverse accepts, relative to the false values.
struct GridLimits {
    double minEasting, maxEasting, minNorthing, maxNorthing;
};

struct CassiniParams {
    double a = 0.0, f = 0.0, originLat = 0.0, centralMeridian = 0.0;
    double falseEasting = 0.0, falseNorthing = 0.0;
    // Derived.
    double eSq = 0.0;
    double ePrimeSq = 0.0;                         // e^2 / (1 - e^2)
    double c0 = 0.0, c1 = 0.0, c2 = 0.0, c3 = 0.0; // meridian arc
    double m0 = 0.0;                               // meridian arc of the origin
    double k1 = 0.0, k2 = 0.0, k3 = 0.0, k4 = 0.0; // footpoint latitude
    GridLimits limits{};                           // of the inverse

    double meridianArc(double phi) const {
        return a * (c0 * phi - c1 * std::sin(2.0 * phi) + c2 * std::sin(4.0 * phi) -
                    c3 * std::sin(6.0 * phi));
    }

    // The same from sin phi and cos phi at hand, the multiple angles by
    // their double- and sum-angle formulas in place of three sines.
    double meridianArc(double phi, double sinPhi, double cosPhi) const {
        const double sin2 = 2.0 * sinPhi * cosPhi, cos2 = (cosPhi - sinPhi) * (cosPhi + sinPhi);
        const double sin4 = 2.0 * sin2 * cos2, cos4 = (cos2 - sin2) * (cos2 + sin2);
        const double sin6 = sin4 * cos2 + cos4 * sin2;
        return a * (c0 * phi - c1 * sin2 + c2 * sin4 - c3 * sin6);
    }
};

CassiniParams moduleParams;

int setupErrors(double a, double f, double originLat, double centralMeridian) {
    int bits = 0;
    if (originLat < -pi / 2.0 || originLat > pi / 2.0)
        bits |= cassiniOriginLatError;
    if (centralMeridian < -pi || centralMeridian > 2.0 * pi)
        bits |= cassiniCentralMeridianError;
    if (a <= 0.0)
        bits |= cassiniSemiMajorError;
    const double invF = 1.0 / f;
    if (!(invF >= 250.0 && invF <= 350.0))
        bits |= cassiniFlatteningError;
    return bits;
}

// The forward series without checks or warning.
void project(const CassiniParams& p, double lat, double lon, double* easting, double* northing) {
    double dLon = lon - p.centralMeridian;
    if (dLon > pi)
        dLon -= 2.0 * pi;
    if (dLon < -pi)
        dLon += 2.0 * pi;
    const double sinLat = std::sin(lat), cosLat = std::cos(lat), tanLat = sinLat / cosLat;
    const double n = p.a / std::sqrt(1.0 - p.eSq * sinLat * sinLat);
    const double t = tanLat * tanLat;
    const double a = dLon * cosLat, a2 = a * a;
    const double c = p.ePrimeSq * cosLat * cosLat;
    *easting = p.falseEasting + n * (a - t * a2 * a * (1.0 / 6.0) -
                                     (8.0 - t + 8.0 * c) * t * a2 * a2 * a * (1.0 / 120.0));
    *northing = p.falseNorthing + p.meridianArc(lat, sinLat, cosLat) - p.m0 +
                n * tanLat * (a2 * 0.5 + (5.0 - t + 6.0 * c) * a2 * a2 * (1.0 / 24.0));
}

void deriveConstants(CassiniParams* p) {
    const double e2 = 2.0 * p->f - p->f * p->f, e4 = e2 * e2, e6 = e4 * e2;
    p->eSq = e2;
    p->ePrimeSq = e2 / (1.0 - e2);
    p->c0 = 1.0 - e2 / 4.0 - 3.0 * e4 / 64.0 - 5.0 * e6 / 256.0;
    p->c1 = 3.0 * e2 / 8.0 + 3.0 * e4 / 32.0 + 45.0 * e6 / 1024.0;
    p->c2 = 15.0 * e4 / 256.0 + 45.0 * e6 / 1024.0;
    p->c3 = 35.0 * e6 / 3072.0;
    p->m0 = p->meridianArc(p->originLat);
    const double root = std::sqrt(1.0 - e2);
    const double e1 = (1.0 - root) / (1.0 + root);
    const double e1Sq = e1 * e1;
    p->k1 = 3.0 * e1 / 2.0 - 27.0 * e1Sq * e1 / 32.0;
    p->k2 = 21.0 * e1Sq / 16.0 - 55.0 * e1Sq * e1Sq / 32.0;
    p->k3 = 151.0 * e1Sq * e1 / 96.0;
    p->k4 = 1097.0 * e1Sq * e1Sq / 512.0;
}

// Eastings by the side of the central meridian; northings of 31 N and 31 S
// on the meridian opposite the central one.
GridLimits limitsOf(const CassiniParams& p) {
    const double lambda0 = p.centralMeridian;
    GridLimits limits{-eastingLimitFar, eastingLimitFar, 0.0, 0.0};
    if (lambda0 > 0.0)
        limits.maxEasting = eastingLimitNear;
    else if (lambda0 < 0.0)
        limits.minEasting = -eastingLimitNear;
    const double opposite = lambda0 > 0.0 ? lambda0 - pi : (lambda0 < 0.0 ? lambda0 + pi : pi);
    double e, n;
    project(p, limitLatitude, opposite, &e, &n);
    limits.maxNorthing = n - p.falseNorthing;
    project(p, -limitLatitude, opposite, &e, &n);
    limits.minNorthing = n - p.falseNorthing;
    return limits;
}

int setup(double a, double f, double originLat, double centralMeridian, double falseEasting,
          double falseNorthing, CassiniParams* out) {
    const int bits = setupErrors(a, f, originLat, centralMeridian);
    if (bits != 0)
        return bits;
    CassiniParams p;
    p.a = a;
    p.f = f;
    p.originLat = originLat;
    p.centralMeridian = centralMeridian > pi ? centralMeridian - 2.0 * pi : centralMeridian;
    p.falseEasting = falseEasting;
    p.falseNorthing = falseNorthing;
    deriveConstants(&p);
    p.limits = limitsOf(p);
    *out = p;
    return 0;
}

int forward(const CassiniParams& p, double lat, double lon, double* easting, double* northing) {
    int bits = 0;
    if (lat < -pi / 2.0 || lat > pi / 2.0)
        bits |= cassiniLatitudeError;
    if (lon < -pi || lon > 2.0 * pi)
        bits |= cassiniLongitudeError;
    if (bits != 0)
        return bits;
    project(p, lat, lon, easting, northing);
    return std::abs(lon - p.centralMeridian) > fourDegrees ? cassiniDistortionWarning : 0;
}

double clamped(double v, double lo, double hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

double wrappedLongitude(double l) {
    if (l > pi)
        l -= 2.0 * pi;
    if (l < -pi)
        l += 2.0 * pi;
    return clamped(l, -pi, pi);
}

// The footpoint latitude: the latitude on the central meridian whose
// meridian arc is the northing's.
double footpointLatitude(const CassiniParams& p, double dN) {
    const double mu = (p.m0 + dN) / (p.a * p.c0);
    return mu + p.k1 * std::sin(2.0 * mu) + p.k2 * std::sin(4.0 * mu) + p.k3 * std::sin(6.0 * mu) +
           p.k4 * std::sin(8.0 * mu);
}

bool atPole(double phi) {
    return std::abs(std::abs(phi) - pi / 2.0) <= poleTolerance;
}

// The inverse series of the method, which inverts the forward only to
// 0.4 mm at half a degree from the central meridian and 16 cm at five.
GeodeticPosition seriesInverse(const CassiniParams& p, GridPosition grid) {
    const double dE = grid.easting - p.falseEasting;
    const double phi1 = footpointLatitude(p, grid.northing - p.falseNorthing);
    if (atPole(phi1))
        return {std::copysign(pi / 2.0, phi1), p.centralMeridian};
    const double sin1 = std::sin(phi1), tan1 = std::tan(phi1);
    const double t1 = tan1 * tan1;
    const double w2 = 1.0 - p.eSq * sin1 * sin1;
    const double n1 = p.a / std::sqrt(w2);
    const double r1 = n1 * (1.0 - p.eSq) / w2;
    const double d = dE / n1, d2 = d * d;
    const double lat =
        clamped(phi1 - (n1 * tan1 / r1) * (d2 / 2.0 - (1.0 + 3.0 * t1) * d2 * d2 / 24.0), -pi / 2.0,
                pi / 2.0);
    const double lon =
        p.centralMeridian +
        (d - t1 * d2 * d / 3.0 + (1.0 + 3.0 * t1) * t1 * d2 * d2 * d / 15.0) / std::cos(phi1);
    return {lat, wrappedLongitude(lon)};
}

// A thousandth of a millimetre in metres, in the unit of the axis.
double refinementTolerance(const CassiniParams& p) {
    return 1e-6 * p.a / 6378137.0;
}

int inverse(const CassiniParams& p, double easting, double northing, double* lat, double* lon) {
    int bits = 0;
    const GridLimits& limits = p.limits;
    const double dE = easting - p.falseEasting, dN = northing - p.falseNorthing;
    if (dE < limits.minEasting || dE > limits.maxEasting)
        bits |= cassiniEastingError;
    if (dN < limits.minNorthing - northingLimitSlack ||
        dN > limits.maxNorthing + northingLimitSlack)
        bits |= cassiniNorthingError;
    if (bits != 0)
        return bits;
    const GridPosition target{easting, northing};
    GeodeticPosition point;
    if (atPole(footpointLatitude(p, dN))) {
        point = seriesInverse(p, target);
    } else {
        const auto forwardOf = [&p](GeodeticPosition g) {
            GridPosition grid;
            project(p, g.lat, g.lon, &grid.easting, &grid.northing);
            return grid;
        };
        const auto seriesOf = [&p](GridPosition grid) { return seriesInverse(p, grid); };
        point = inverseByForward(target, refinementTolerance(p), forwardOf, seriesOf);
    }
    *lat = point.lat;
    *lon = point.lon;
    return std::abs(*lon - p.centralMeridian) > fourDegrees ? cassiniDistortionWarning : 0;
}

int setupFromRecord(const zoneCnstntCassini& zone, CassiniParams* p) {
    return setup(zone.semiMajor, zone.flattening, zone.originLat, zone.centralMeridian,
                 zone.falseEasting, zone.falseNorthing, p);
}

} // namespace

namespace {

// The settings of a record and the error bits of its setup.
struct CheckedParams {
    int bits = 0;
    CassiniParams params;
};

// The settings of a record, derived once for a run of points on the same record.
const CheckedParams& paramsOfRecord(const zoneCnstntCassini& zone) {
    [[gnu::tls_model("initial-exec")]] thread_local geodetic_detail::LastZoneCache<6, CheckedParams>
        cache;
    return cache.get({zone.semiMajor, zone.flattening, zone.originLat, zone.centralMeridian,
                      zone.falseEasting, zone.falseNorthing},
                     [&] {
                         CheckedParams checked;
                         checked.bits = setupFromRecord(zone, &checked.params);
                         return checked;
                     });
}

} // namespace

int latLong2XY_CassiniSoldner(zoneCnstntCassini* zone, geodCoord* point) {
    const CheckedParams& p = paramsOfRecord(*zone);
    if (p.bits != 0)
        return p.bits;
    return forward(p.params, point->lat, point->lon, &point->easting, &point->northing);
}

int XY2latLong2_CassiniSoldner(zoneCnstntCassini* zone, geodCoord* point) {
    const CheckedParams& p = paramsOfRecord(*zone);
    if (p.bits != 0)
        return p.bits;
    return inverse(p.params, point->easting, point->northing, &point->lat, &point->lon);
}

int cassiniSetup(double a, double f, double originLat, double centralMeridian, double falseEasting,
                 double falseNorthing) {
    return setup(a, f, originLat, centralMeridian, falseEasting, falseNorthing, &moduleParams);
}

void cassiniGetSetup(double* a, double* f, double* originLat, double* centralMeridian,
                     double* falseEasting, double* falseNorthing) {
    *a = moduleParams.a;
    *f = moduleParams.f;
    *originLat = moduleParams.originLat;
    *centralMeridian = moduleParams.centralMeridian;
    *falseEasting = moduleParams.falseEasting;
    *falseNorthing = moduleParams.falseNorthing;
}

int cassiniForward(double lat, double lon, double* easting, double* northing) {
    return forward(moduleParams, lat, lon, easting, northing);
}

int cassiniInverse(double easting, double northing, double* lat, double* lon) {
    return inverse(moduleParams, easting, northing, lat, lon);
}
