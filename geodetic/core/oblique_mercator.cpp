// Oblique Mercator given by the azimuth of its skew axis at the projection
// centre, in the form of NOS NGS 5 (Alaska zone 1): the ellipsoid is mapped
// conformally onto an aposphere of constant total curvature, which is then
// projected by a Mercator along the skew axis.

#include "oblique_mercator.hpp"

#include "geodetic/projection_engine.hpp"
#include "projection_terms.hpp"

#include <algorithm>
#include <cmath>

namespace geodetic_detail {
namespace {

struct ObliqueMercatorConstants {
    double eSq; // 2f' - f'^2 with f' = (a - b)/a
    double e;
    double b; // B
    double a; // A
    double f; // F = D - B q(phi_c)
    double sinGamma0;
    double cosGamma0;
    double lambda0; // west-positive
    double ak;      // kc A / B
    double azimuth; // alpha_c
    double scaleAtCentre;

    ObliqueMercatorConstants(const ellipsoid& ell, const zoneCnstnt& zone) {
        const double semiMajor = ell.semiMajor;
        const double flat = (semiMajor - ell.semiMinor) / semiMajor;
        eSq = 2.0 * flat - flat * flat;
        e = std::sqrt(eSq);
        const double phiC = zone.originLat;
        const double cosC = std::cos(phiC);
        const double ePrimeSq = secondEccentricitySq(semiMajor, ell.semiMinor);
        b = std::sqrt(1.0 + ePrimeSq * cosC * cosC * cosC * cosC);
        const double wc = wFactor(eSq, phiC);
        a = semiMajor * b * std::sqrt(1.0 - eSq) / (wc * wc);
        // A centre on or near the equator makes the argument a rounding error
        // below 1, where acosh is undefined; its true value is 1.
        const double coshD = std::max(1.0, b * std::sqrt(1.0 - eSq) / (wc * cosC));
        const double d = std::acosh(coshD);
        f = d - b * isometricLatitude(e, phiC);
        azimuth = zone.centralMeridian;
        sinGamma0 = semiMajor * std::sin(azimuth) * cosC / (a * wc);
        cosGamma0 = std::cos(std::asin(sinGamma0));
        lambda0 = zone.originLon + std::asin(std::sinh(d) * sinGamma0 / cosGamma0) / b;
        scaleAtCentre = zone.scaleFactor;
        ak = scaleAtCentre * a / b;
    }

    // The unrotated skew coordinates u, v of a point from its aposphere terms.
    void skewCoordinates(double sinhQ, double coshQ, double delta, double* u, double* v) const {
        const double sinD = std::sin(delta), cosD = std::cos(delta);
        *u = ak * std::atan((sinhQ * cosGamma0 - sinGamma0 * sinD) / cosD);
        *v = ak / 2.0 *
             std::log((coshQ - sinGamma0 * sinhQ - cosGamma0 * sinD) /
                      (coshQ + sinGamma0 * sinhQ + cosGamma0 * sinD));
    }

    // u, v of a point given by latitude and west-positive longitude.
    void skewCoordinatesOf(const geodCoord& point, double* u, double* v) const {
        const double q = b * isometricLatitude(e, point.lat) + f;
        skewCoordinates(std::sinh(q), std::cosh(q), b * longitudeDifference(point.lon, lambda0), u,
                        v);
    }

    double convergence(double sinhQ, double coshQ, double delta) const {
        return std::atan((sinGamma0 - sinhQ * cosGamma0 * std::sin(delta)) /
                         (coshQ * cosGamma0 * std::cos(delta))) -
               azimuth;
    }

    double pointScale(double u, double delta, double phi, double semiMajor) const {
        return (scaleAtCentre * a / semiMajor) * std::cos(u / ak) * wFactor(eSq, phi) /
               (std::cos(phi) * std::cos(delta));
    }
};

// Latitude from the conformal latitude chi by the series in e^2 .. e^8.
double latitudeFromConformal(double e, double chi) {
    const double e2 = e * e, e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
    const CosinePowerSeries series = CosinePowerSeries::fromSineCoefficients(
        e2 / 2.0 + 5.0 * e4 / 24.0 + e6 / 12.0 + 13.0 * e8 / 360.0,
        7.0 * e4 / 48.0 + 29.0 * e6 / 240.0 + 811.0 * e8 / 11520.0,
        7.0 * e6 / 120.0 + 81.0 * e8 / 1120.0, 4279.0 * e8 / 161280.0);
    return series(chi);
}

} // namespace

double obliqueMercatorArcToChord(const ellipsoid& ell, const zoneCnstnt& zone,
                                 const geodCoord& from, const geodCoord& to) {
    const ObliqueMercatorConstants om(ell, zone);
    // Each end at its own latitude: with both at the mean latitude, the
    // along-axis difference u1 - u2 would lose the line's north-south part
    // and the correction would be off by seconds of arc.
    double u1, v1, u2, v2;
    om.skewCoordinatesOf(from, &u1, &v1);
    om.skewCoordinatesOf(to, &u2, &v2);
    return (u1 - u2) * (2.0 * v1 + v2) / (6.0 * om.ak * om.ak);
}

} // namespace geodetic_detail

int geod2OM(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point) {
    using namespace geodetic_detail;
    if (ell->semiMinor == 0.0 || ell->semiMajor == 0.0)
        return projectionRefused;
    const ObliqueMercatorConstants om(*ell, *zone);
    const double phi = point->lat;
    const double q = om.b * isometricLatitude(om.e, phi) + om.f;
    const double sinhQ = std::sinh(q), coshQ = std::cosh(q);
    const double delta = om.b * longitudeDifference(point->lon, om.lambda0);
    double u, v;
    om.skewCoordinates(sinhQ, coshQ, delta, &u, &v);
    const double cosA = std::cos(om.azimuth), sinA = std::sin(om.azimuth);
    point->northing = u * cosA - v * sinA + zone->falseNorthing;
    point->easting = u * sinA + v * cosA + zone->falseEasting;
    point->conv = om.convergence(sinhQ, coshQ, delta);
    point->scale = om.pointScale(u, delta, phi, ell->semiMajor);
    return projectionOk;
}

int OM2Geod(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point) {
    using namespace geodetic_detail;
    const ObliqueMercatorConstants om(*ell, *zone);
    const double dN = point->northing - zone->falseNorthing;
    const double dE = point->easting - zone->falseEasting;
    const double cosA = std::cos(om.azimuth), sinA = std::sin(om.azimuth);
    const double u = (dN * cosA + dE * sinA) / om.ak;
    const double v = (dE * cosA - dN * sinA) / om.ak;
    const double sinhV = std::sinh(v), coshV = std::cosh(v), sinU = std::sin(u), cosU = std::cos(u);
    const double q = (0.5 * std::log((coshV - om.sinGamma0 * sinhV + om.cosGamma0 * sinU) /
                                     (coshV + om.sinGamma0 * sinhV - om.cosGamma0 * sinU)) -
                      om.f) /
                     om.b;
    const double expQ = std::exp(q);
    const double chi = 2.0 * std::atan((expQ - 1.0) / (expQ + 1.0));
    const double phi = latitudeFromConformal(ell->eccentricity, chi);
    const double lon =
        om.lambda0 - std::atan((om.cosGamma0 * sinhV + om.sinGamma0 * sinU) / cosU) / om.b;
    const double delta = om.b * (lon - om.lambda0);
    const double bigQ = om.f + om.b * q;
    point->lat = phi;
    point->lon = lon;
    point->conv = om.convergence(std::sinh(bigQ), std::cosh(bigQ), delta);
    point->scale = om.pointScale(u * om.ak, delta, phi, ell->semiMajor);
    return projectionOk;
}
