// Transverse Mercator and Lambert zones of 1927 by the tables' formulas:
// latitudes enter as arc-seconds counted from a tabulated latitude, the
// meridian arc and the projection series carry Clarke 1866 in their
// coefficients (the machine-computation formulas of the US Coast and
// Geodetic Survey: Claire, State plane coordinates by automatic data
// processing, Publication 62-4, 1968).

#include "state_plane_27_formulas.hpp"

#include <cmath>

namespace geodetic_detail {

namespace {

struct TabularConstants {
    double t1, t2, t3, t4, t5, t6, t7, t8, t9, t10, t11;
    explicit TabularConstants(const zoneconstant27& zone)
        : t1(zone.tab[0]), t2(zone.tab[1]), t3(zone.tab[2]), t4(zone.tab[3]), t5(zone.tab[4]),
          t6(zone.tab[5]), t7(zone.tab[6]), t8(zone.tab[7]), t9(zone.tab[8]), t10(zone.tab[9]),
          t11(zone.tab[10]) {}
};

double squaredSine(double angle) {
    const double s = std::sin(angle);
    return s * s;
}

// The meridian-arc correction of the tables, arc-seconds, at latitude phi
// (radians): sin phi cos phi (1052.893882 - cos^2 (4.483344 - 0.02352 cos^2)).
double arcCorrection(double phi) {
    const double c2 = std::cos(phi) * std::cos(phi);
    return std::sin(phi) * std::cos(phi) * (1052.893882 - c2 * (4.483344 - 0.02352 * c2));
}

// The arc per arc-second of the tables' meridian arc, feet, and its
// reciprocal. The tables write the reciprocal rounded to 0.009873675553,
// 1.8e-11 of itself off, which alone keeps a point a million feet from the
// origin 7 micrometres from where it started after forward and inverse.
constexpr double feetOfArcPerSecond = 101.2794065;
constexpr double secondsPerFootOfArc = 1.0 / feetOfArcPerSecond;

// US survey feet per metre as the tables write it (3937/1200 cut after
// eight decimals); the inverse takes its exact reciprocal, not the tables'
// 0.3048006099, which is 3.6e-11 of itself off (7 micrometres 200 km out).
constexpr double tabularFeetPerMetre = 3.28083333;

// The inverse of arcCorrection, as the tables add it to a latitude taken
// from an arc.
double inverseArcCorrection(double phi) {
    const double c2 = std::cos(phi) * std::cos(phi);
    return std::sin(phi) * std::cos(phi) * (1047.54671 + 6.19276 * c2 + 0.050912 * c2 * c2);
}

// The latitude phi (arc-seconds) whose arc the forward formulas write as
// phi - arcCorrection(phi) = seconds. The inverse series alone stands up to
// 5e-6 arc-seconds (0.15 mm, at Hawaii's latitudes) from the forward arc, so
// forward then inverse would not return a point to the micrometre; from the
// series the same relation is iterated until it holds, each step gaining two
// digits.
double latitudeOfArcSeconds(double seconds) {
    double phi = seconds + inverseArcCorrection(arcSecondsToRadians(seconds));
    for (int step = 0; step < 3; ++step)
        phi = seconds + arcCorrection(arcSecondsToRadians(phi));
    return phi;
}

// The y with y = target + coefficient y^3: the inverse of the tables' cubic
// corrections (the cubic easting term, the arc-to-sine and sine-to-angle
// terms of the distance from the central meridian). The tables take two
// fixed-point steps from y = target, which leave up to 15 micrometres at
// the edges of the widest zones; each step gains three to four digits, and
// they go on until y stands still.
double cubicFixedPoint(double target, double coefficient) {
    double y = target;
    for (int step = 0; step < 10; ++step) {
        const double next = target + coefficient * y * y * y;
        const bool settled = std::abs(next - y) <= 1e-15 * std::abs(target);
        y = next;
        if (settled)
            break;
    }
    return y;
}

// The footpoint latitude phi1 (arc-seconds) of a point at latitude phi and
// distance term H from the central meridian: the root of phi1 = phi + tan
// phi1 (1 - e^2 sin^2 phi1)^2 eps, eps = 2.552381e-9 H^2, which the inverse
// undoes in one step. Two fixed-point steps from phi1 = phi leave
// tan phi (1 + tan^2 phi)^2 eps^3 (0.7 mm at the edges of the widest zones)
// that the inverse does not take back; each further step gains three
// digits, so the steps go on until the footpoint stands still.
double footpointLatitudeSeconds(double phiSeconds, double phi, double epsilon) {
    double phi1 = phiSeconds;
    double step = std::tan(phi) * std::pow(1.0 - clarke1866TabularESq * squaredSine(phi), 2);
    for (int count = 0; count < 8; ++count) {
        const double next = phiSeconds + step * epsilon;
        const bool settled = std::abs(next - phi1) < 1e-9;
        phi1 = next;
        if (settled)
            break;
        const double phi1Rad = arcSecondsToRadians(phi1);
        step = std::tan(phi1Rad) * std::pow(1.0 - clarke1866TabularESq * squaredSine(phi1Rad), 2);
    }
    return phi1;
}

// Transverse Mercator: the terms of the forward steps that the convergence
// needs as well.
struct TmForwardTerms {
    double deltaLambda; // arc-seconds east of the central meridian
    double h;           // the projected distance term H
    double phi1;        // the latitude of the footpoint on the central meridian, arc-seconds
};

TmForwardTerms tmForwardTerms(const TabularConstants& t, double lat, double lon) {
    TmForwardTerms terms{};
    const double phiSeconds = radiansToArcSeconds(lat);
    terms.deltaLambda = secondsEastOfCentralMeridian(t.t2, radiansToArcSeconds(lon));
    const double g = terms.deltaLambda / 1e4;
    const double c = 1.0 - clarke1866TabularESq * squaredSine(lat);
    double h =
        30.92241724 * std::cos(lat) / std::sqrt(c) * (terms.deltaLambda - 3.9174 * g * g * g);
    h += 4.0831 * h * h * h / 1e15;
    terms.h = h;
    terms.phi1 = footpointLatitudeSeconds(phiSeconds, lat, 2.552381e-9 * h * h);
    return terms;
}

double tmConvergence(const TmForwardTerms& terms, double lat) {
    const double phiM = arcSecondsToRadians((radiansToArcSeconds(lat) + terms.phi1) / 2.0);
    const double dl = terms.deltaLambda;
    const double cosM = std::cos(phiM);
    return arcSecondsToRadians(dl * std::sin(phiM) * (1.0 + 1.9587e-12 * dl * dl * cosM * cosM));
}

double tmScale(const TabularConstants& t, double lat, double easting) {
    const double cos2 = std::cos(lat) * std::cos(lat);
    const double factor = 1.0 + clarke1866SecondESq * cos2;
    const double x = (easting - t.t1) / 1e6;
    return t.t5 * (1.0 + factor * factor / (881.749162 * t.t5 * t.t5) * x * x);
}

// Lambert: the arc from the tabulated latitude to phi, feet.
double lambertArc(double secondsFromTabulatedMinute, double phi) {
    return feetOfArcPerSecond * (secondsFromTabulatedMinute + arcCorrection(phi));
}

// R = R0 + k s (1 + L2 u^2 - L3 u^3 + L4 u^4), u = s / 10^8.
double lambertRadius(const TabularConstants& t, double arc) {
    const double u = arc / 1e8;
    return t.t3 + t.t5 * arc * (1.0 + u * u * (t.t9 - u * t.t10 + u * u * t.t11));
}

double lambertScale(const TabularConstants& t, double lat, double radius) {
    return std::sqrt(1.0 - clarke1866TabularESq * squaredSine(lat)) * t.t6 * radius /
           (std::cos(lat) * clarke1866SemiMajor_ft);
}

} // namespace

void tabularTransverseMercatorToGrid(const zoneconstant27& zone, geodCoord* point) {
    const TabularConstants t(zone);
    const double lat = point->lat;
    const TmForwardTerms terms = tmForwardTerms(t, lat, point->lon);
    const double h = terms.h;
    point->easting = t.t1 + tabularFeetPerMetre * t.t5 * h +
                     35.31445472627337 * t.t5 * t.t5 * t.t5 * h * h * h * t.t6 / 1e15;
    const double phi1 = terms.phi1;
    const double phi1Rad = arcSecondsToRadians(phi1);
    const double minutes = std::trunc(phi1 / 60.0);
    point->northing =
        t.t5 * feetOfArcPerSecond *
        ((minutes - t.t3) * 60.0 + (phi1 - 60.0 * minutes) - t.t4 - arcCorrection(phi1Rad));
    point->conv = tmConvergence(terms, lat);
    point->scale = tmScale(t, lat, point->easting);
}

void tabularTransverseMercatorToGeodetic(const zoneconstant27& zone, geodCoord* point) {
    const TabularConstants t(zone);
    const double phi1Seconds =
        latitudeOfArcSeconds(60.0 * t.t3 + t.t4 + secondsPerFootOfArc * point->northing / t.t5);
    const double phi1 = arcSecondsToRadians(phi1Seconds);

    const double h =
        1.0 / (tabularFeetPerMetre * t.t5) * cubicFixedPoint(point->easting - t.t1, -t.t6 / 1e15);
    const double c1 = 1.0 - clarke1866TabularESq * squaredSine(phi1);
    const double phiSeconds = phi1Seconds - std::tan(phi1) * h * h * c1 * c1 * 25.52381 / 1e10;
    const double lat = arcSecondsToRadians(phiSeconds);

    const double w = std::sqrt(1.0 - clarke1866TabularESq * squaredSine(lat));
    const double d1 = w * cubicFixedPoint(h, -4.0831 / 1e15) / (30.92241724 * std::cos(lat));
    const double lambdaSeconds = t.t2 - cubicFixedPoint(d1, 3.9174 / 1e12);

    point->lat = lat;
    point->lon = arcSecondsToRadians(lambdaSeconds);
    point->conv = tmConvergence(tmForwardTerms(t, point->lat, point->lon), point->lat);
    point->scale = tmScale(t, point->lat, point->easting);
}

void tabularLambertToGrid(const zoneconstant27& zone, geodCoord* point) {
    const TabularConstants t(zone);
    const double lat = point->lat;
    const double degrees = lat * 57.29577951308232;
    const double seconds = (degrees * 60.0 - std::trunc(degrees * 60.0)) * 60.0;
    const double minutes = (degrees - seconds / 3600.0) * 60.0;
    const double arc = lambertArc((t.t7 - minutes) * 60.0 + t.t8 - seconds, lat);
    const double radius = lambertRadius(t, arc);
    const double pi = 4.0 * std::atan(1.0);
    const double theta =
        pi * secondsEastOfCentralMeridian(t.t2, point->lon * 648000.0 / pi) * t.t6 / 648000.0;
    point->scale = lambertScale(t, lat, radius);
    point->conv = theta;
    point->easting = radius * std::sin(theta) + t.t1;
    point->northing = 2.0 * radius * squaredSine(theta / 2.0) + (t.t4 - radius);
}

void tabularLambertToGeodetic(const zoneconstant27& zone, geodCoord* point) {
    const TabularConstants t(zone);
    const double fromApex = t.t4 - point->northing;
    const double theta = std::atan((point->easting - t.t1) / fromApex);
    const double lambdaSeconds = t.t2 - radiansToArcSeconds(theta) / t.t6;

    const double s0 = (2.0 * squaredSine(theta / 2.0) * fromApex / std::cos(theta) +
                       (t.t4 - t.t3 - point->northing)) /
                      t.t5;
    double s = s0;
    for (int step = 0; step < 3; ++step) {
        const double h = s / 1e8;
        s = s0 / (1.0 + t.t9 * h * h - t.t10 * h * h * h + t.t11 * h * h * h * h);
    }
    // Latitudes from here on count in seconds from 10 degrees below the
    // tabulated minute, so that the seconds stay positive.
    const double base = (t.t7 - 600.0) * 60.0;
    const double b = latitudeOfArcSeconds(base + t.t8 + 36000.0 - secondsPerFootOfArc * s) - base;
    const double lat = arcSecondsToRadians(base + b);

    point->lat = lat;
    point->lon = arcSecondsToRadians(lambdaSeconds);
    point->conv = theta;
    point->scale = lambertScale(t, lat, lambertRadius(t, lambertArc(36000.0 + t.t8 - b, lat)));
}

} // namespace geodetic_detail
