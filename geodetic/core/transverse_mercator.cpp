// Transverse Mercator by the power series of NOS NGS 5 (rectifying latitude,
// footpoint latitude and the series in L = delta-lambda cos phi), on a zone
// record of the engine or on plain constants.

#include "transverse_mercator.hpp"

#include "geodetic/projection_engine.hpp"
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

} // namespace

int transverseMercatorForward(const TransverseMercatorZone& zone, geodCoord* point) {
    const ellipsoid& ell = *zone.ell;
    if (ell.semiMinor == 0.0 || ell.semiMajor == 0.0)
        return projectionRefused;
    const ZoneTerms& terms = termsOf(zone);
    const MeridianSeries& series = terms.series;
    const double k0 = zone.scaleFactor;
    const double phi = point->lat;
    const double t = std::tan(phi), t2 = t * t, t4 = t2 * t2, t6 = t4 * t2;
    const double sinPhi = std::sin(phi);
    const double cosPhi = std::cos(phi);
    const double eta2 = terms.ePrimeSq * cosPhi * cosPhi;
    const double rn = k0 * ell.semiMajor / wFactorOfSine(ell.eccentricitySq, sinPhi);
    const double l = longitudeDifference(point->lon, zone.centralMeridian) * cosPhi;
    const double l2 = l * l;

    const double a4 = (5.0 - t2 + eta2 * (9.0 + 4.0 * eta2)) / 12.0;
    const double a6 = (61.0 - 58.0 * t2 + t4 + eta2 * (270.0 - 330.0 * t2)) / 360.0;
    const double a3 = (1.0 - t2 + eta2) / 6.0;
    const double a5 = (5.0 - 18.0 * t2 + t4 + eta2 * (14.0 - 58.0 * t2)) / 120.0;
    const double a7 = (61.0 - 479.0 * t2 + 179.0 * t4 - t6) / 5040.0;

    point->northing = series.arc(k0, phi, sinPhi, cosPhi) - terms.originArc + zone.falseNorthing +
                      (rn * t / 2.0) * l2 * (1.0 + l2 * (a4 + a6 * l2));
    point->easting = zone.falseEasting - rn * l * (1.0 + l2 * (a3 + l2 * (a5 + a7 * l2)));
    point->scale = k0 * (1.0 + (1.0 + eta2) * l2 / 2.0 *
                                   (1.0 + l2 * (5.0 - 4.0 * t2 + eta2 * (9.0 - 24.0 * t2)) / 12.0));
    point->conv =
        -t * l *
        (1.0 + l2 * ((1.0 + 3.0 * eta2 + 2.0 * eta2 * eta2) / 3.0 + l2 * (2.0 - t2) / 15.0));
    return projectionOk;
}

int transverseMercatorInverse(const TransverseMercatorZone& zone, geodCoord* point) {
    const ellipsoid& ell = *zone.ell;
    const double k0 = zone.scaleFactor;
    // k0 a / w is 0 exactly when k0 or a is; tested first, since either
    // would already have turned the footpoint latitude into NaN.
    if (k0 * ell.semiMajor == 0.0)
        return projectionRefused;
    const ZoneTerms& terms = termsOf(zone);
    const MeridianSeries& series = terms.series;
    const double omega =
        (point->northing - zone.falseNorthing + terms.originArc) / (k0 * series.rectifyingRadius);
    const double phiF = series.toFootpoint(omega);
    const double rf = k0 * ell.semiMajor / wFactor(ell.eccentricitySq, phiF);

    const double q = (point->easting - zone.falseEasting) / rf, q2 = q * q;
    const double t = std::tan(phiF), t2 = t * t, t4 = t2 * t2, t6 = t4 * t2;
    const double cosF = std::cos(phiF);
    const double eta2 = terms.ePrimeSq * cosF * cosF;
    const double eta4 = eta2 * eta2;

    const double b4 = -(5.0 + 3.0 * t2 + eta2 * (1.0 - 9.0 * t2) - 4.0 * eta4) / 12.0;
    const double b6 =
        (61.0 + 90.0 * t2 + 45.0 * t4 + eta2 * (46.0 - 252.0 * t2 - 90.0 * t4)) / 360.0;
    const double b3 = -(1.0 + 2.0 * t2 + eta2) / 6.0;
    const double b5 = (5.0 + 28.0 * t2 + 24.0 * t4 + eta2 * (6.0 + 8.0 * t2)) / 120.0;
    const double b7 = -(61.0 + 662.0 * t2 + 1320.0 * t4 + 720.0 * t6) / 5040.0;

    point->lat = phiF - (t / 2.0) * (1.0 + eta2) * q2 * (1.0 + q2 * (b4 + b6 * q2));
    point->lon = zone.centralMeridian - (q / cosF) * (1.0 + q2 * (b3 + q2 * (b5 + b7 * q2)));
    point->conv = q * t *
                  (1.0 + q2 * (-(1.0 + t2 - eta2 - 2.0 * eta4) / 3.0 +
                               q2 * (2.0 + 5.0 * t2 + 3.0 * t4) / 15.0));
    point->scale = k0 * (1.0 + (1.0 + eta2) * q2 / 2.0 * (1.0 + (1.0 + 5.0 * eta2) * q2 / 12.0));
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
