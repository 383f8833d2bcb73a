// Transverse Mercator and Lambert zones of 1927 by the rigorous projections
// on Clarke 1866. A transverse Mercator zone's definition is read from its
// tabular constants (the machine-computation tables of the US Coast and
// Geodetic Survey: Claire, State plane coordinates by automatic data
// processing, Publication 62-4, 1968): central meridian, scale and false
// easting as they stand, the origin latitude from the tables' meridian arc
// in arc-seconds. A Lambert zone of the table is projected on its defining
// parameters (state_plane_27_lambert.hpp): its constants carry the cone only
// rounded, R0 and Rb to 0.01 ft and some cone constants to eight digits,
// 0.045 ft at most (North Carolina). A Lambert record of other constants
// keeps to them: the cone from its constant sin(phi0) and the radius R0 of
// the tabulated latitude. The tables' own series (the footpoint relation and
// cubic corrections of transverse Mercator, the radius series of Lambert)
// stood up to 1.3 ft from the rigorous projections two degrees from a
// central meridian. The scale factors of Delaware and New Jersey stand
// 3e-8 off the ratios that define them (0.02 ft); those zones take their
// definitions, as the table's Lambert zones do.

#include "state_plane_27_formulas.hpp"
#include "state_plane_27_lambert.hpp"

#include "geodetic/projection_engine.hpp"

#include <cmath>
#include <numbers>

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

// The inverse of arcCorrection, as the tables add it to a latitude taken
// from an arc.
double inverseArcCorrection(double phi) {
    const double c2 = std::cos(phi) * std::cos(phi);
    return std::sin(phi) * std::cos(phi) * (1047.54671 + 6.19276 * c2 + 0.050912 * c2 * c2);
}

// The latitude phi (arc-seconds) whose arc the tables write as
// phi - arcCorrection(phi) = seconds: from the tables' inverse series, the
// relation is iterated until it holds (each step gains two digits).
double latitudeOfArcSeconds(double seconds) {
    double phi = seconds + inverseArcCorrection(arcSecondsToRadians(seconds));
    for (int step = 0; step < 20; ++step) {
        const double next = seconds + arcCorrection(arcSecondsToRadians(phi));
        const bool settled = std::abs(next - phi) < 1e-9;
        phi = next;
        if (settled)
            break;
    }
    return phi;
}

ellipsoid clarke1866() {
    ellipsoid ell{};
    initEllipsoid(&ell, clarke1866SemiMajor_m,
                  (clarke1866SemiMajor_m - clarke1866SemiMinor_m) / clarke1866SemiMajor_m);
    return ell;
}

// Delaware's zone is defined with a central scale 1 part in 200 000 too
// small and its origin at 38 00' N, New Jersey's 1 part in 40 000 and
// 38 50' N; the table writes their scales 0.9999950281 and 0.9999750295,
// and New Jersey's origin term 0.015 ft off its parallel.
struct TransverseDefinition {
    int zoneCode;
    double tabulatedScale;
    double partsPerUnit;
    int originMinutes;
};

constexpr TransverseDefinition transverseDefinitions[] = {
    {700, 0.9999950281, 200000.0, 38 * 60}, {2900, 0.9999750295, 40000.0, 38 * 60 + 50}};

const TransverseDefinition* transverseDefinitionOf(const zoneconstant27& zone) {
    for (const TransverseDefinition& defined : transverseDefinitions)
        if (defined.zoneCode == zone.zoneCode && defined.tabulatedScale == zone.tab[4])
            return &defined;
    return nullptr;
}

// The transverse Mercator zone in metres: the origin latitude is the one
// whose arc the tables write as the origin term T3 minutes T4 seconds. A
// record that carries the table's own scale for Delaware or New Jersey
// takes the zone's definition.
zoneCnstnt tmZone(const zoneconstant27& record) {
    const TabularConstants t(record);
    zoneCnstnt zone{};
    zone.projType = projTransverseMercator;
    zone.centralMeridian = arcSecondsToRadians(t.t2);
    zone.scaleFactor = t.t5;
    zone.originLat = arcSecondsToRadians(latitudeOfArcSeconds(60.0 * t.t3 + t.t4));
    if (const TransverseDefinition* defined = transverseDefinitionOf(record)) {
        zone.scaleFactor = 1.0 - 1.0 / defined->partsPerUnit;
        zone.originLat = arcSecondsToRadians(60.0 * defined->originMinutes);
    }
    zone.falseEasting = t.t1 * usSurveyFoot_m;
    return zone;
}

// The Lambert cone: R = K tc(phi)^n with tc the conformal colatitude term,
// n = T6 and K from R0, the radius of the central parallel that the tables
// tabulate as T7 minutes T8 seconds of arc; Rb is the radius through the
// grid origin.
struct LambertCone {
    double e;  // first eccentricity
    double n;  // cone constant
    double k;  // K, feet
    double rb; // radius of the grid origin, feet

    double tc(double phi) const {
        const double s = e * std::sin(phi);
        return std::tan(std::numbers::pi / 4.0 - phi / 2.0) /
               std::pow((1.0 - s) / (1.0 + s), e / 2.0);
    }

    explicit LambertCone(const TabularConstants& t)
        : e(clarke1866().eccentricity), n(t.t6), k(0.0), rb(t.t4) {
        const double tabulated = arcSecondsToRadians(latitudeOfArcSeconds(60.0 * t.t7 + t.t8));
        k = t.t3 / std::pow(tc(tabulated), n);
    }

    double radius(double phi) const { return k * std::pow(tc(phi), n); }

    // The latitude of radius r, iterated until it stands still.
    double latitude(double r) const {
        const double t = std::pow(r / k, 1.0 / n);
        double phi = std::numbers::pi / 2.0 - 2.0 * std::atan(t);
        for (int step = 0; step < 30; ++step) {
            const double s = e * std::sin(phi);
            const double next = std::numbers::pi / 2.0 -
                                2.0 * std::atan(t * std::pow((1.0 - s) / (1.0 + s), e / 2.0));
            const bool settled = std::abs(next - phi) < 1e-14;
            phi = next;
            if (settled)
                break;
        }
        return phi;
    }
};

double lambertScale(const TabularConstants& t, double lat, double radius) {
    return std::sqrt(1.0 - clarke1866TabularESq * squaredSine(lat)) * t.t6 * radius /
           (std::cos(lat) * clarke1866SemiMajor_ft);
}

} // namespace

void tabularTransverseMercatorToGrid(const zoneconstant27& zone, geodCoord* point) {
    const zoneCnstnt tm = tmZone(zone);
    const ellipsoid ell = clarke1866();
    geod2TM(&ell, &tm, point);
    point->northing /= usSurveyFoot_m;
    point->easting /= usSurveyFoot_m;
}

void tabularTransverseMercatorToGeodetic(const zoneconstant27& zone, geodCoord* point) {
    const zoneCnstnt tm = tmZone(zone);
    const ellipsoid ell = clarke1866();
    geodCoord work = *point;
    work.northing *= usSurveyFoot_m;
    work.easting *= usSurveyFoot_m;
    TM2Geod(&ell, &tm, &work);
    point->lat = work.lat;
    point->lon = work.lon;
    point->scale = work.scale;
    point->conv = work.conv;
}

void tabularLambertToGrid(const zoneconstant27& zone, geodCoord* point) {
    if (const Lambert27Definition* definition = lambert27DefinitionOf(zone)) {
        definedLambertToGrid(*definition, point);
        return;
    }
    const TabularConstants t(zone);
    const LambertCone cone(t);
    const double lat = point->lat;
    const double radius = cone.radius(lat);
    const double theta = arcSecondsToRadians(
        secondsEastOfCentralMeridian(t.t2, radiansToArcSeconds(point->lon)) * t.t6);
    point->scale = lambertScale(t, lat, radius);
    point->conv = theta;
    point->easting = radius * std::sin(theta) + t.t1;
    point->northing = cone.rb - radius * std::cos(theta);
}

void tabularLambertToGeodetic(const zoneconstant27& zone, geodCoord* point) {
    if (const Lambert27Definition* definition = lambert27DefinitionOf(zone)) {
        definedLambertToGeodetic(*definition, point);
        return;
    }
    const TabularConstants t(zone);
    const LambertCone cone(t);
    const double fromApex = cone.rb - point->northing;
    const double east = point->easting - t.t1;
    const double theta = std::atan(east / fromApex);
    const double lat = cone.latitude(std::hypot(east, fromApex));
    point->lat = lat;
    point->lon = arcSecondsToRadians(t.t2 - radiansToArcSeconds(theta) / t.t6);
    point->conv = theta;
    point->scale = lambertScale(t, lat, cone.radius(lat));
}

} // namespace geodetic_detail
