// The Alaska zones of 1927. Zone 5001 is a Hotine oblique Mercator whose
// constants (Clarke 1866, the skew axis at tan = -3/4 through 57 N 133 40 W,
// k 0.9999) are written into the formulas; it computes in metres and gives
// feet. Zones 5002-5009 are transverse Mercator zones with k 0.9999 and the
// origin at 54 N, by series in powers of the longitude difference. The
// inverse formulas of both kinds are refined against their forwards, so a
// grid position taken to the ellipsoid projects back onto itself.

#include "state_plane_27_formulas.hpp"

#include "inverse_by_forward.hpp"

#include <cmath>
#include <numbers>

namespace geodetic_detail {

namespace {

// Zone 5001.
constexpr double alaskaESq = 0.006768657997291;
constexpr double alaskaE = 0.082271854223003;
constexpr double aposphereB = 1.00029977273;
constexpr double naturalOriginLon = 1.7717540856301297;              // west-positive radians
constexpr double skewSin = 0.327015517176, skewCos = 0.945018968871; // sin, cos gamma0
constexpr double akRatio = 6386352.67013;

struct ObliqueTerms {
    double s, t, sinDelta, cosDelta, u;
};

ObliqueTerms obliqueTerms(double lat, double lon) {
    const double esin = alaskaE * std::sin(lat);
    const double q = aposphereB * (std::log(std::tan(std::numbers::pi / 4.0 + lat / 2.0)) -
                                   0.0411359271115015 * std::log((1.0 + esin) / (1.0 - esin))) +
                     0.00447599131;
    const double delta = aposphereB * (lon - naturalOriginLon);
    ObliqueTerms terms{std::sinh(q), std::cosh(q), std::sin(delta), std::cos(delta), 0.0};
    terms.u = akRatio * std::atan((skewSin * terms.sinDelta + skewCos * terms.s) / terms.cosDelta);
    return terms;
}

void obliqueConvergenceAndScale(const ObliqueTerms& terms, double lat, geodCoord* point) {
    const double s = terms.s, t = terms.t, sinD = terms.sinDelta, cosD = terms.cosDelta;
    point->conv = std::atan((3.0 * t * cosD - 4.0 * s * sinD - 1.3841648812) /
                            (3.0 * s * sinD + 4.0 * t * cosD + 1.0381236609));
    point->scale = std::cos(terms.u / akRatio) *
                   std::sqrt(1.0 - alaskaESq * std::sin(lat) * std::sin(lat)) * 1.0015773595 /
                   (cosD * std::cos(lat));
}

// Zones 5002-5009.
constexpr double transverseScale = 0.9999;

double transverseScaleAt(double cos2, double x) {
    const double r = 1.0 + clarke1866SecondESq * cos2;
    return transverseScale * (1.0 + r * r * x * x / 881.572821);
}

// Arc-seconds; g and d in units of 10^4 arc-seconds of longitude difference.
double transverseConvergenceSeconds(double cos2, double g) {
    const double h = cos2 * cos2;
    return g * std::sqrt(1.0 - cos2) *
           (10000.0 + 7.83481 * g * g * (cos2 + 0.02044 * h + 0.00009 * h * cos2) +
            0.003683 * g * g * g * g * (3.0 * h - cos2));
}

} // namespace

void alaskaObliqueToGrid(geodCoord* point) {
    const ObliqueTerms terms = obliqueTerms(point->lat, point->lon);
    const double s = terms.s, t = terms.t, sinD = terms.sinDelta;
    const double v =
        akRatio / 2.0 *
        std::log((skewSin * s + t - skewCos * sinD) / (skewCos * sinD + t - skewSin * s));
    obliqueConvergenceAndScale(terms, point->lat, point);
    point->easting = (-0.6 * terms.u + 0.8 * v + 5000000.0) / usSurveyFoot_m;
    point->northing = (0.8 * terms.u + 0.6 * v - 5000000.0) / usSurveyFoot_m;
}

namespace {

// The zone's own inverse, which inverts the forward to 1e-5 ft.
GeodeticPosition alaskaObliqueSeriesInverse(GridPosition grid) {
    const double n = grid.northing, e = grid.easting;
    const double u = (0.243840487681 * n - 0.182880365761 * e + 7000000.0) / akRatio;
    const double v = (0.182880365761 * n + 0.243840487681 * e - 1000000.0) / akRatio;
    const double q = std::log((skewCos * std::sin(u) + skewSin * std::sinh(v) + std::cosh(v)) /
                              (std::cosh(v) - skewSin * std::sinh(v) - skewCos * std::sin(u)));
    const double chi = 2.0 * std::atan(std::exp(0.4998501585533795 * q - 0.0044746499319740975)) -
                       std::numbers::pi / 2.0;
    const double c2 = std::cos(chi) * std::cos(chi);
    const double lat =
        chi + std::sin(chi) * std::cos(chi) *
                  (0.006761032571 + c2 * (5.3172205e-05 + c2 * (5.73027e-07 + c2 * 7.128e-09)));
    const double lon =
        naturalOriginLon +
        0.999700317106759 *
            std::atan((skewSin * std::sin(u) - skewCos * std::sinh(v)) / std::cos(u));
    return {lat, lon};
}

// A hundredth of the micro-foot the inverses are held to.
constexpr double refinementTolerance_ft = 1e-8;

// The point whose forward is the grid position of `point`.
template <typename Forward, typename Inverse>
void refinedInverse(geodCoord* point, Forward forwardToGrid, Inverse seriesInverse) {
    const auto forwardOf = [&forwardToGrid](GeodeticPosition g) {
        geodCoord p{};
        p.lat = g.lat;
        p.lon = g.lon;
        forwardToGrid(&p);
        return GridPosition{p.easting, p.northing};
    };
    const GeodeticPosition g = inverseByForward(GridPosition{point->easting, point->northing},
                                                refinementTolerance_ft, forwardOf, seriesInverse);
    point->lat = g.lat;
    point->lon = g.lon;
}

} // namespace

void alaskaObliqueToGeodetic(geodCoord* point) {
    refinedInverse(point, alaskaObliqueToGrid, alaskaObliqueSeriesInverse);
    obliqueConvergenceAndScale(obliqueTerms(point->lat, point->lon), point->lat, point);
}

void alaskaTransverseToGrid(const zoneconstant27& zone, geodCoord* point) {
    const double t1 = zone.tab[0], t2 = zone.tab[1];
    const double lat = point->lat;
    const double d = std::cos(lat) * std::cos(lat), h = d * d;
    const double e = 1.0 + clarke1866SecondESq * d;
    const double g = secondsEastOfCentralMeridian(t2, radiansToArcSeconds(point->lon)) / 1e4;
    const double g2 = g * g;
    const double sinLat = std::sqrt(1.0 - d);
    const double cosOverRootE = std::cos(lat) / std::sqrt(e);

    point->easting =
        t1 + 1017862.15 * cosOverRootE * g *
                 (1.0 - 0.000391740509 * g2 * (1.0 - 2.0 * d - 0.00681478 * h) +
                  4.60382e-8 * g2 * g2 * (1.0 - 20.0 * d + 23.6047 * h + 0.4907 * h * d));
    point->northing =
        24673.6748 * g2 * sinLat * cosOverRootE *
            (1.0 + 0.0001958703 * g2 * (6.0 * d - 1.0 + 0.06133306 * h + 0.00018577 * h * d) +
             1.5346e-8 * g2 * g2 * (1.0 - 60.0 * d + 117.75 * h + 4.089 * h * d)) +
        101.269278503 * (radiansToArcSeconds(lat) - 193900.05442 -
                         sinLat * (1052.893943 - 4.483386 * d + 0.023559 * h) * std::cos(lat));
    point->conv = arcSecondsToRadians(transverseConvergenceSeconds(d, g));
    point->scale = transverseScaleAt(d, (point->easting - t1) / 1e6);
}

namespace {

// The zones' own inverse series, which inverts the forward series only to
// 4e-4 ft.
GeodeticPosition alaskaTransverseSeriesInverse(const zoneconstant27& zone, GridPosition grid) {
    const double t1 = zone.tab[0], t2 = zone.tab[1];
    const double a = 0.00987466302498 * grid.northing + 193900.05442;
    const double aRad = arcSecondsToRadians(a);
    const double c = std::cos(aRad) * std::cos(aRad);
    const double phi1 =
        a + std::cos(aRad) * std::sqrt(1.0 - c) * (1047.546691 + 6.193011 * c + 0.050699 * c * c);

    const double f = std::cos(arcSecondsToRadians(phi1)), l = f * f;
    const double m = std::sqrt(1.0 / l - 1.0);
    const double r = 1.0 + clarke1866SecondESq * l;
    const double t = (grid.easting - t1) / 1e6, tt = t * t;

    const double phiSeconds =
        phi1 -
        233.973645 * m * r * r * tt *
            (1.0 - 0.00018905604 * tt * (3.0 / l + 1.9591113 + 0.081359 * l + 0.000279 * l * l) +
             1.42969e-8 * r * tt * tt * (45.0 / (l * l) + 15.5 - 0.307 / l + 1.53 * l));
    const double lambdaSeconds = t2 - 9824.513072 * std::sqrt(r) / f * t *
                                          (1.0 - 0.00037811208 * r * tt * (r + 2.0 / l - 2.0) +
                                           4.2890624e-8 * r * r * tt * tt *
                                               (24.0 / (l * l) + 1.054 - 20.0 / l - 0.0136 * l));
    return {arcSecondsToRadians(phiSeconds), arcSecondsToRadians(lambdaSeconds)};
}

} // namespace

void alaskaTransverseToGeodetic(const zoneconstant27& zone, geodCoord* point) {
    refinedInverse(
        point, [&zone](geodCoord* p) { alaskaTransverseToGrid(zone, p); },
        [&zone](GridPosition grid) { return alaskaTransverseSeriesInverse(zone, grid); });
    const double b = std::cos(point->lat) * std::cos(point->lat);
    const double t = (point->easting - zone.tab[0]) / 1e6;
    point->conv = arcSecondsToRadians(
        transverseConvergenceSeconds(b, (zone.tab[1] - radiansToArcSeconds(point->lon)) / 1e4));
    point->scale = transverseScaleAt(b, t);
}

} // namespace geodetic_detail
