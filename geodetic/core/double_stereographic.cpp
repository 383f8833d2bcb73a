// Double stereographic projection on a zone-constant record, and the New
// Brunswick grid built on it.

#include "geodetic/double_stereographic.hpp"

#include "geodetic/projection_engine.hpp"

#include <cmath>
#include <numbers>

namespace {

constexpr double quarterPi = std::numbers::pi / 4.0;
constexpr int maxNewtonSteps = 30;
constexpr double newtonStop_rad = 1e-7;
// Closer than this to the origin (in grid units) the direction of the point
// is undefined (0/0); the point is the origin to far below a micro-arcsecond.
constexpr double originRadius = 1e-9;

// The Gauss conformal sphere at the origin latitude and the stereographic
// constants of the zone.
struct Stereographic {
    double e, eSq;
    double radius; // R = sqrt(rho0 nu0)
    double n;
    double c;
    double sinChi0, cosChi0;
    double lambda0, k0, falseNorthing, falseEasting;

    Stereographic(const ellipsoid& ell, const zoneCnstnt& zone)
        : e(ell.eccentricity), eSq(ell.eccentricity * ell.eccentricity),
          lambda0(zone.centralMeridian), k0(zone.scaleFactor), falseNorthing(zone.falseNorthing),
          falseEasting(zone.falseEasting) {
        const double phi0 = zone.originLat;
        const double sinPhi0 = std::sin(phi0);
        const double w0Sq = 1.0 - eSq * sinPhi0 * sinPhi0;
        const double rho0 = ell.semiMajor * (1.0 - eSq) / std::pow(w0Sq, 1.5);
        const double nu0 = ell.semiMajor / std::sqrt(w0Sq);
        radius = std::sqrt(rho0 * nu0);
        n = std::sqrt(1.0 + eSq * std::pow(std::cos(phi0), 4) / (1.0 - eSq));
        const double chi0 = std::asin(sinPhi0 / n);
        sinChi0 = std::sin(chi0);
        cosChi0 = std::cos(chi0);
        c = std::tan(quarterPi + chi0 / 2.0) * std::pow(isometricTerm(phi0), -n);
    }

    // S(phi) = ((1 - e sin phi)/(1 + e sin phi))^(e/2).
    double sFactor(double phi) const {
        const double es = e * std::sin(phi);
        return std::pow((1.0 - es) / (1.0 + es), e / 2.0);
    }

    // tan(pi/4 + phi/2) S(phi), the exponential of the isometric latitude.
    double isometricTerm(double phi) const {
        return std::tan(quarterPi + phi / 2.0) * sFactor(phi);
    }

    double conformalLatitude(double phi) const {
        return 2.0 * (std::atan(c * std::pow(isometricTerm(phi), n)) - quarterPi);
    }

    // The latitude whose conformal latitude is chi, by Newton's method from phi = chi.
    double latitudeOf(double chi) const {
        const double target = std::tan(quarterPi + chi / 2.0);
        double phi = chi;
        for (int step = 0; step < maxNewtonSteps; ++step) {
            const double t = std::tan(quarterPi + phi / 2.0);
            const double s = sFactor(phi);
            const double sinPhi = std::sin(phi);
            const double cosHalf = std::cos(quarterPi + phi / 2.0);
            const double f = c * std::pow(t * s, n) - target;
            const double derivative = n * c * std::pow(t * s, n - 1.0) * s *
                                      (1.0 / (2.0 * cosHalf * cosHalf) -
                                       t * eSq * std::cos(phi) / (1.0 - eSq * sinPhi * sinPhi));
            const double change = f / derivative;
            phi -= change;
            if (std::abs(change) < newtonStop_rad)
                break;
        }
        return phi;
    }

    // Convergence and point scale factor from the point's position on the
    // sphere (chi, Lambda = n (lambda - lambda0)) and on the grid.
    void writeFactors(double chi, double bigLambda, geodCoord* point) const {
        const double sinChi = std::sin(chi);
        point->conv =
            std::atan((sinChi0 + sinChi) * std::sin(bigLambda) /
                      (std::cos(bigLambda) * (1.0 + sinChi0 * sinChi) + cosChi0 * std::cos(chi)));
        const double dE = point->easting - falseEasting, dN = point->northing - falseNorthing;
        point->scale = k0 + (dE * dE + dN * dN) / (4.0 * k0 * radius * radius);
    }

    void forward(geodCoord* point) const {
        const double chi = conformalLatitude(point->lat);
        const double bigLambda = n * (point->lon - lambda0);
        const double sinChi = std::sin(chi), cosChi = std::cos(chi);
        const double d = 1.0 + sinChi * sinChi0 + cosChi * cosChi0 * std::cos(bigLambda);
        const double twoRk = 2.0 * radius * k0;
        point->northing =
            falseNorthing + twoRk * (cosChi0 * sinChi - sinChi0 * cosChi * std::cos(bigLambda)) / d;
        point->easting = falseEasting + twoRk * cosChi * std::sin(bigLambda) / d;
        writeFactors(chi, bigLambda, point);
    }

    void inverse(geodCoord* point) const {
        const double x = (point->easting - falseEasting) / k0;
        const double y = (point->northing - falseNorthing) / k0;
        const double rho = std::hypot(x, y);
        double chi = std::asin(sinChi0);
        double bigLambda = 0.0;
        if (rho >= originRadius) {
            const double delta = 2.0 * std::atan(rho / (2.0 * radius));
            chi = std::asin(cosChi0 * std::sin(delta) * y / rho + std::cos(delta) * sinChi0);
            bigLambda = std::asin(std::sin(delta) * (x / rho) / std::cos(chi));
        }
        point->lat = latitudeOf(chi);
        point->lon = lambda0 + bigLambda / n;
        writeFactors(chi, bigLambda, point);
    }
};

constexpr double degree = std::numbers::pi / 180.0;

} // namespace

void stereographic_calc(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point,
                        int direction) {
    const Stereographic projection(*ell, *zone);
    if (direction != 0)
        projection.forward(point);
    else
        projection.inverse(point);
}

void initNewBrunswickParams(ellipsoid* ell, zoneCnstnt* zone) {
    initEllipsoid(ell, 6378137.0, 0.0033528106811836675);
    zone->originLat = 46.5 * degree;
    zone->centralMeridian = -66.5 * degree;
    zone->scaleFactor = 0.999912;
    zone->falseNorthing = 7500000.0;
    zone->falseEasting = 2500000.0;
}

void latLongToXY_newBrunswickStereographic(geodCoord* point) {
    ellipsoid ell{};
    zoneCnstnt zone{};
    initNewBrunswickParams(&ell, &zone);
    stereographic_calc(&ell, &zone, point, 1);
}

void XYToLatLong_newBrunswickStereographic(geodCoord* point) {
    ellipsoid ell{};
    zoneCnstnt zone{};
    initNewBrunswickParams(&ell, &zone);
    stereographic_calc(&ell, &zone, point, 0);
}
