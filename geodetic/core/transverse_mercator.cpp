// Transverse Mercator by Krueger's series (kruger_series.hpp), exact to
// nanometres across any zone; the arc-to-chord term by the series of NOS
// NGS 5 (rectifying latitude and footpoint latitude). On a zone record of the
// engine or on plain constants.

#include "transverse_mercator.hpp"

#include "geodetic/projection_engine.hpp"
#include "kruger_series.hpp"
#include "projection_terms.hpp"
#include "zone_constant_cache.hpp"

#include <cmath>

namespace geodetic_detail {
namespace {

// The constants of the meridian-arc and footpoint series, which depend only on
// the third flattening n = (a - b)/(a + b).
struct MeridianSeries {
    double rectifyingRadius = 0.0;    // r
    CosinePowerSeries toRectifying{}; // U set: phi -> omega
    CosinePowerSeries toFootpoint{};  // G set: omega -> phi

    MeridianSeries() = default;
    explicit MeridianSeries(const ellipsoid& ell) {
        const double a = ell.semiMajor;
        const double n = (a - ell.semiMinor) / (a + ell.semiMinor);
        const double n2 = n * n, n3 = n2 * n, n4 = n3 * n;
        rectifyingRadius = a * (1.0 - n) * (1.0 - n2) * (1.0 + 9.0 * n2 / 4.0 + 225.0 * n4 / 64.0);
        toRectifying = CosinePowerSeries::fromSineCoefficients(
            -3.0 * n / 2.0 + 9.0 * n3 / 16.0, 15.0 * n2 / 16.0 - 15.0 * n4 / 32.0,
            -35.0 * n3 / 48.0, 315.0 * n4 / 512.0);
        toFootpoint = CosinePowerSeries::fromSineCoefficients(
            3.0 * n / 2.0 - 27.0 * n3 / 32.0, 21.0 * n2 / 16.0 - 55.0 * n4 / 32.0,
            151.0 * n3 / 96.0, 1097.0 * n4 / 512.0);
    }

    // S(phi) = k0 r omega(phi), the scaled meridian arc from the equator.
    double arc(double k0, double phi) const { return k0 * rectifyingRadius * toRectifying(phi); }
    // The same from sin phi and cos phi already at hand.
    double arc(double k0, double phi, double sinPhi, double cosPhi) const {
        return k0 * rectifyingRadius * toRectifying.at(phi, sinPhi, cosPhi);
    }
};

// What a zone fixes for all its points: the series, the scaled arc to the
// origin latitude and the second eccentricity squared.
struct ZoneTerms {
    MeridianSeries series;
    double originArc = 0.0; // S(phi0)
    double ePrimeSq = 0.0;
};

// The zone's terms, computed once for a run of points on one zone.
const ZoneTerms& termsOf(const TransverseMercatorZone& zone) {
    [[gnu::tls_model("initial-exec")]] thread_local LastZoneCache<4, ZoneTerms> cache;
    const ellipsoid& ell = *zone.ell;
    return cache.get({ell.semiMajor, ell.semiMinor, zone.scaleFactor, zone.originLat}, [&] {
        ZoneTerms terms{MeridianSeries(ell)};
        terms.originArc = terms.series.arc(zone.scaleFactor, zone.originLat);
        terms.ePrimeSq = secondEccentricitySq(ell.semiMajor, ell.semiMinor);
        return terms;
    });
}

// Krüger's series of the zone's ellipsoid and the origin's place on it.
struct KrugerTerms {
    KrugerSeries series;
    double originXi = 0.0;
};

const KrugerTerms& krugerTermsOf(const TransverseMercatorZone& zone) {
    [[gnu::tls_model("initial-exec")]] thread_local LastZoneCache<3, KrugerTerms> cache;
    const ellipsoid& ell = *zone.ell;
    return cache.get({ell.semiMajor, ell.semiMinor, zone.originLat}, [&] {
        KrugerTerms terms{KrugerSeries(ell)};
        terms.originXi = terms.series.meridianXi(zone.originLat);
        return terms;
    });
}

} // namespace

namespace {

// The zone's northing and easting of a grid point of its series.
[[gnu::always_inline]] inline void placeOnZone(const TransverseMercatorZone& zone,
                                               const KrugerTerms& terms,
                                               const KrugerSeries::Grid& grid, geodCoord* point) {
    const double k0A = zone.scaleFactor * terms.series.rectifyingRadius();
    point->northing = zone.falseNorthing + k0A * (grid.xi - terms.originXi);
    point->easting = zone.falseEasting + k0A * grid.eta;
}

bool refused(const TransverseMercatorZone& zone) {
    return zone.ell->semiMinor == 0.0 || zone.ell->semiMajor == 0.0;
}

// The forward projection of point->lat at eastOfCm east of the central
// meridian.
[[gnu::always_inline]] inline int forwardFromCentralMeridian(const TransverseMercatorZone& zone,
                                                             double eastOfCm, geodCoord* point) {
    if (refused(zone))
        return projectionRefused;
    const KrugerTerms& terms = krugerTermsOf(zone);
    const KrugerSeries::Grid grid = terms.series.forward(point->lat, eastOfCm);
    placeOnZone(zone, terms, grid, point);
    point->scale = zone.scaleFactor * grid.scale;
    point->conv = grid.conv;
    return projectionOk;
}

} // namespace

int transverseMercatorGrid(const TransverseMercatorZone& zone, double sinLat, double cosLat,
                           double sinLonFromCm, double cosLonFromCm, geodCoord* point) {
    if (refused(zone))
        return projectionRefused;
    const KrugerTerms& terms = krugerTermsOf(zone);
    placeOnZone(zone, terms, terms.series.forwardGrid(sinLat, cosLat, sinLonFromCm, cosLonFromCm),
                point);
    return projectionOk;
}

int transverseMercatorForward(const TransverseMercatorZone& zone, geodCoord* point) {
    return forwardFromCentralMeridian(zone, -longitudeDifference(point->lon, zone.centralMeridian),
                                      point);
}

// -(lon - cm) and lonEast - (-cm) are the same double, as are their
// remainders.
int transverseMercatorForwardEast(const TransverseMercatorZone& zone, geodCoord* point) {
    return forwardFromCentralMeridian(zone, longitudeDifference(point->lon, -zone.centralMeridian),
                                      point);
}

int transverseMercatorInverse(const TransverseMercatorZone& zone, geodCoord* point) {
    const ellipsoid& ell = *zone.ell;
    const double k0 = zone.scaleFactor;
    // k0 a = 0 leaves no grid to invert; tested first, since either factor
    // would already have turned the latitude into NaN.
    if (k0 * ell.semiMajor == 0.0)
        return projectionRefused;
    const KrugerTerms& terms = krugerTermsOf(zone);
    const KrugerSeries& series = terms.series;
    const double k0A = k0 * series.rectifyingRadius();
    const double xi = (point->northing - zone.falseNorthing) / k0A + terms.originXi;
    const double eta = (point->easting - zone.falseEasting) / k0A;
    double lat = 0.0, eastOfCm = 0.0;
    series.inverse(xi, eta, &lat, &eastOfCm);
    const KrugerSeries::Grid grid = series.forward(lat, eastOfCm);
    point->lat = lat;
    point->lon = zone.centralMeridian - eastOfCm;
    point->conv = grid.conv;
    point->scale = k0 * grid.scale;
    return projectionOk;
}

double transverseMercatorArcToChord(const TransverseMercatorZone& zone, const geodCoord& from,
                                    const geodCoord& to) {
    const ellipsoid& ell = *zone.ell;
    const ZoneTerms& terms = termsOf(zone);
    const MeridianSeries& series = terms.series;
    const double k0 = zone.scaleFactor;
    const double meanNorthing = (from.northing + to.northing) / 2.0;
    const double omega =
        (meanNorthing - zone.falseNorthing + terms.originArc) / (k0 * series.rectifyingRadius);
    const double phiM = omega + std::sin(omega) * std::cos(omega) * series.toFootpoint.c0;
    const double w = wFactor(ell.eccentricitySq, phiM);
    const double cosM = std::cos(phiM);
    const double eta2 = terms.ePrimeSq * cosM * cosM;
    const double k0a = k0 * ell.semiMajor;
    const double invR0Sq = w * w * (1.0 + eta2) / (k0a * k0a);
    const double ePrime =
        2.0 * (from.easting - zone.falseEasting) + (to.easting - zone.falseEasting);
    return -(to.northing - from.northing) * ePrime * invR0Sq / 6.0 *
           (1.0 - ePrime * ePrime * invR0Sq / 27.0);
}

} // namespace geodetic_detail

namespace geodetic_detail {

TransverseMercatorZone tmZoneOf(const ellipsoid* ell, const zoneCnstnt* zone) {
    return {ell,
            zone->scaleFactor,
            zone->falseNorthing,
            zone->falseEasting,
            zone->originLat,
            zone->centralMeridian};
}

} // namespace geodetic_detail

int geod2TM(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point) {
    return geodetic_detail::transverseMercatorForward(geodetic_detail::tmZoneOf(ell, zone), point);
}

int TM2Geod(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point) {
    return geodetic_detail::transverseMercatorInverse(geodetic_detail::tmZoneOf(ell, zone), point);
}
