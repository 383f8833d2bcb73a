// Hotine oblique Mercator by projection centre (EPSG 9815): the functions
// used for user-defined projections and the object form of the same
// projection.

#include "geodetic/oblique_mercator_centre.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;
constexpr double tolerance = 1e-10;

double sign(double x) {
    return x < 0.0 ? -1.0 : 1.0;
}

// t(phi) = tan(pi/4 - phi/2) / ((1 - e sin phi)/(1 + e sin phi))^(e/2).
double tFunction(double e, double phi) {
    const double es = e * std::sin(phi);
    return std::tan(pi / 4.0 - phi / 2.0) / std::pow((1.0 - es) / (1.0 + es), e / 2.0);
}

// The two forms differ only in these details of their constants.
struct ConstantsForm {
    bool capNaturalOriginArgument; // asin(min(G tan gamma0, 1)) instead of a clamp to [-1, 1]
    bool snapRightGridAngle;       // cos 0, sin 1 for a grid angle within 1e-10 of pi/2
};

obliqueMercatorCentreConstants deriveConstants(const zoneCnstntObliqueMerc& zone,
                                               ConstantsForm form) {
    obliqueMercatorCentreConstants k{};
    k.falseNorthing = zone.falseNorthing;
    k.falseEasting = zone.falseEasting;
    k.centreLon = zone.centreLon;
    k.a = zone.ellipsoid.semiMajor;
    k.e = zone.ellipsoid.eccentricity;
    k.eSq = zone.ellipsoid.eccentricitySq;

    const double phiC = zone.centreLat;
    const double sinC = std::sin(phiC), cosC = std::cos(phiC);
    const double wc = std::sqrt(1.0 - k.eSq * sinC * sinC);
    k.b = std::sqrt(1.0 + k.eSq * std::pow(cosC, 4) / (1.0 - k.eSq));
    k.aHotine = k.a * k.b * zone.centreScale * std::sqrt(1.0 - k.eSq) / (wc * wc);
    const double d = k.b * std::sqrt(1.0 - k.eSq) / (cosC * wc);
    const double rootDSqMinus1 = d < 1.0 ? 0.0 : std::sqrt(d * d - 1.0);
    const double f = d + sign(phiC) * rootDSqMinus1;
    k.h = f * std::pow(tFunction(k.e, phiC), k.b);
    const double g = (f - 1.0 / f) / 2.0;
    const double gamma0 = std::asin(std::sin(zone.azimuth) / d);
    k.sinGamma0 = std::sin(gamma0);
    k.cosGamma0 = std::cos(gamma0);
    // At an azimuth of exactly pi/2 the argument is 1 in exact arithmetic;
    // rounding can put it a hair above, where the arc sine has no value.
    const double argument = g * std::tan(gamma0);
    const double bounded =
        form.capNaturalOriginArgument ? std::min(argument, 1.0) : std::clamp(argument, -1.0, 1.0);
    k.lambda0 = zone.centreLon - std::asin(bounded) / k.b;
    k.uc = sign(phiC) * (k.aHotine / k.b) * std::atan(rootDSqMinus1 / std::cos(zone.azimuth));

    k.gridAngle = zone.gridAngle;
    if (form.snapRightGridAngle && std::abs(zone.gridAngle - pi / 2.0) <= tolerance) {
        k.cosGridAngle = 0.0;
        k.sinGridAngle = 1.0;
    } else {
        k.cosGridAngle = std::cos(zone.gridAngle);
        k.sinGridAngle = std::sin(zone.gridAngle);
    }
    return k;
}

constexpr ConstantsForm functionForm{false, false};
constexpr ConstantsForm objectForm{true, true};

// The point's coordinates on the skew grid, u from the natural origin, with
// the terms that the scale and the convergence need.
struct SkewPoint {
    double u0, v;
    double s, t;          // S and T of the aposphere
    double longitudeTerm; // B (lambda - lambda0)
};

// Q = H / t(phi)^B, which is H exp(B psi) with psi the isometric latitude.
double aposphereQ(const obliqueMercatorCentreConstants& k, double lat) {
    return k.h / std::pow(tFunction(k.e, lat), k.b);
}

SkewPoint skewPoint(const obliqueMercatorCentreConstants& k, double q, double lon) {
    SkewPoint p{};
    p.s = (q - 1.0 / q) / 2.0;
    p.t = (q + 1.0 / q) / 2.0;
    p.longitudeTerm = k.b * (lon - k.lambda0);
    const double v = std::sin(p.longitudeTerm);
    const double u = (p.s * k.sinGamma0 - v * k.cosGamma0) / p.t;
    p.v = k.aHotine * std::log((1.0 - u) / (1.0 + u)) / (2.0 * k.b);
    // The two-argument arc tangent keeps u continuous where B (lambda -
    // lambda0) passes pi/2, which an initial line due east at the centre
    // puts right on the centre's meridian; elsewhere in a zone the cosine is
    // positive and it equals the one-argument form.
    p.u0 = (k.aHotine / k.b) *
           std::atan2(p.s * k.cosGamma0 + v * k.sinGamma0, std::cos(p.longitudeTerm));
    return p;
}

void skewToGrid(const obliqueMercatorCentreConstants& k, double u, double v, geodCoord* point) {
    point->easting = k.falseEasting + u * k.sinGridAngle + v * k.cosGridAngle;
    point->northing = k.falseNorthing + u * k.cosGridAngle - v * k.sinGridAngle;
}

// Snyder (1987) eq. 9-32, A cos(B u/A) w(phi) / (a cos phi cos(B (lambda -
// lambda0))), in the equal form A w(phi) cosh(B v/A) / (a cos phi T): the
// scale of the ellipsoid on the aposphere times that of the Mercator along
// the initial line. The first form is 0/0 on the centre's meridian when the
// initial line runs due east there.
double pointScale(const obliqueMercatorCentreConstants& k, const SkewPoint& p, double lat) {
    const double sinLat = std::sin(lat);
    return k.aHotine * std::sqrt(1.0 - k.eSq * sinLat * sinLat) * std::cosh(k.b * p.v / k.aHotine) /
           (k.a * std::cos(lat) * p.t);
}

// The azimuth of the skew grid's u axis at the point (NOS NGS 5, eq. 2-52,
// with east-positive longitudes) less the grid angle, in [-pi, pi].
double convergence(const obliqueMercatorCentreConstants& k, const SkewPoint& p) {
    const double uAxisAzimuth =
        std::atan2(k.sinGamma0 + p.s * k.cosGamma0 * std::sin(p.longitudeTerm),
                   p.t * k.cosGamma0 * std::cos(p.longitudeTerm));
    return std::remainder(uAxisAzimuth - k.gridAngle, 2.0 * pi);
}

struct GridPosition {
    double uPrime, vPrime; // u from the natural origin, v, on the skew grid
};

GridPosition unrotate(const obliqueMercatorCentreConstants& k, const geodCoord& point) {
    const double dE = point.easting - k.falseEasting;
    const double dN = point.northing - k.falseNorthing;
    return {dN * k.cosGridAngle + dE * k.sinGridAngle + k.uc,
            dE * k.cosGridAngle - dN * k.sinGridAngle};
}

// The latitude from the conformal latitude chi: chi + c2 sin 2chi + c4 sin
// 4chi + c6 sin 6chi + c8 sin 8chi (EPSG GN 7-2, 2.4.1.3).
struct LatitudeSeries {
    double c2, c4, c6, c8;

    explicit LatitudeSeries(double e2) {
        const double e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
        c2 = e2 / 2.0 + 5.0 * e4 / 24.0 + e6 / 12.0 + 13.0 * e8 / 360.0;
        c4 = 7.0 * e4 / 48.0 + 29.0 * e6 / 240.0 + 811.0 * e8 / 11520.0;
        c6 = 7.0 * e6 / 120.0 + 81.0 * e8 / 1120.0;
        c8 = 4279.0 * e8 / 161280.0;
    }
};

// Conformal latitude and longitude (before any side correction) of a skew-grid point.
struct ConformalPoint {
    double chi, lon;
};

ConformalPoint skewToConformal(const obliqueMercatorCentreConstants& k, GridPosition g) {
    const double q = std::exp(-k.b * g.vPrime / k.aHotine);
    const double s = (q - 1.0 / q) / 2.0;
    const double t = (q + 1.0 / q) / 2.0;
    const double v = std::sin(k.b * g.uPrime / k.aHotine);
    const double u = (v * k.cosGamma0 + s * k.sinGamma0) / t;
    const double tPrime = std::pow(k.h / std::sqrt((1.0 + u) / (1.0 - u)), 1.0 / k.b);
    return {pi / 2.0 - 2.0 * std::atan(tPrime),
            k.lambda0 - std::atan2(s * k.cosGamma0 - v * k.sinGamma0,
                                   std::cos(k.b * g.uPrime / k.aHotine)) /
                            k.b};
}

double latitudeFromConformal(const LatitudeSeries& c, double chi) {
    return chi + c.c2 * std::sin(2.0 * chi) + c.c4 * std::sin(4.0 * chi) +
           c.c6 * std::sin(6.0 * chi) + c.c8 * std::sin(8.0 * chi);
}

} // namespace

int latLong2XY_OMProjCenter(zoneCnstntObliqueMerc zone, geodCoord* point) {
    const obliqueMercatorCentreConstants k = deriveConstants(zone, functionForm);
    const SkewPoint p = skewPoint(k, aposphereQ(k, point->lat), point->lon);
    skewToGrid(k, p.u0 - k.uc, p.v, point);
    point->scale = pointScale(k, p, point->lat);
    point->conv = convergence(k, p);
    return 0;
}

int XY2latLong_OMProjCenter(zoneCnstntObliqueMerc zone, geodCoord* point) {
    const obliqueMercatorCentreConstants k = deriveConstants(zone, functionForm);
    const ConformalPoint c = skewToConformal(k, unrotate(k, *point));
    point->lat = latitudeFromConformal(LatitudeSeries(k.eSq), c.chi);
    point->lon = c.lon;
    const SkewPoint p = skewPoint(k, aposphereQ(k, point->lat), point->lon);
    point->scale = pointScale(k, p, point->lat);
    point->conv = convergence(k, p);
    return 0;
}

int OGCTObliqueMercator::Init(zoneCnstntObliqueMerc zone) {
    constants_ = deriveConstants(zone, objectForm);
    return 1;
}

double OGCTObliqueMercator::dGetIsometricLat(double x) const {
    const double es = constants_.e * std::sin(x);
    return std::log(std::tan(pi / 4.0 + x / 2.0) *
                    std::pow((1.0 - es) / (1.0 + es), constants_.e / 2.0));
}

double OGCTObliqueMercator::dTrigSeries2468(double c2, double c4, double c6, double c8, double x) {
    return c2 * std::sin(2.0 * x) + c4 * std::sin(4.0 * x) + c6 * std::sin(6.0 * x) +
           c8 * std::sin(8.0 * x);
}

void OGCTObliqueMercator::TransGeoToMap(geodCoord* point) const {
    const obliqueMercatorCentreConstants& k = constants_;
    const double lon = k.centreLon + std::remainder(point->lon - k.centreLon, 2.0 * pi);
    const SkewPoint p = skewPoint(k, k.h * std::exp(k.b * dGetIsometricLat(point->lat)), lon);
    skewToGrid(k, p.u0 - k.uc, p.v, point);
}

void OGCTObliqueMercator::TransMapToGeo(geodCoord* point) const {
    const obliqueMercatorCentreConstants& k = constants_;
    const ConformalPoint c = skewToConformal(k, unrotate(k, *point));
    const LatitudeSeries series(k.eSq);
    double lon = c.lon;
    const double dE = point->easting - k.falseEasting;
    if (lon - k.centreLon < -tolerance && dE > -tolerance)
        lon += pi / k.b;
    else if (lon - k.centreLon > tolerance && dE < tolerance)
        lon -= pi / k.b;
    point->lat = c.chi + dTrigSeries2468(series.c2, series.c4, series.c6, series.c8, c.chi);
    point->lon = lon;
}

int latLong2XY_ObliqueMercator(const zoneCnstntObliqueMerc* zone, geodCoord* point) {
    OGCTObliqueMercator projection;
    projection.Init(*zone);
    projection.TransGeoToMap(point);
    return 0;
}

int XY2latLong_ObliqueMercator(const zoneCnstntObliqueMerc* zone, geodCoord* point) {
    OGCTObliqueMercator projection;
    projection.Init(*zone);
    projection.TransMapToGeo(point);
    return 0;
}
