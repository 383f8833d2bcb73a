#pragma once
// Hotine oblique Mercator given by its projection centre: the false origin
// lies at the centre and the rectified grid is turned from the skew grid by
// an angle of its own (EPSG method 9815, "Hotine Oblique Mercator (variant
// B)", IOGP Guidance Note 7-2, 2.4.1.3; Snyder, "Map Projections: A Working
// Manual", USGS PP 1395, 1987, pp. 70-75). The ellipsoid is mapped
// conformally onto an aposphere, which a Mercator projection along the
// initial line puts on the plane.
//
// Angles in radians; longitudes, of the point and of the centre alike,
// positive EAST; lengths in the unit of the ellipsoid's semi-major axis.
// Accuracy: closed-form forward; the inverse takes the latitude from the
// conformal latitude by a series to e^8, about 1e-12 rad on GRS 80.
// Convergence is positive where grid north lies west of true north.
//
// Nothing is checked: points near 90 degrees from the initial line give
// infinities or NaN.

#include "geodetic/geodesy_records.hpp"

#include <cstdint>

// The projection's definition, passed by value.
struct zoneCnstntObliqueMerc {
    std::int32_t spareCode; // not read
    double falseNorthing;   // FN, northing of the projection centre
    double falseEasting;    // FE, easting of the projection centre
    double centreLat;       // phi_c, latitude of the projection centre
    double centreLon;       // lambda_c, longitude of the centre, east-positive
    double azimuth;         // alpha_c, azimuth of the initial line at the centre
    double gridAngle;       // gamma_c, angle from the rectified grid to the skew grid
    double centreScale;     // k_c, scale factor on the initial line
    double spare1;          // not read
    double spare2;          // not read
    ::ellipsoid ellipsoid;  // semiMajor, eccentricity and eccentricitySq are read
};

// Reads lat, lon; writes northing, easting, the point scale factor and the
// convergence. Returns 0.
int latLong2XY_OMProjCenter(zoneCnstntObliqueMerc zone, geodCoord* point);

// Reads northing, easting; writes lat, lon, the point scale factor and the
// convergence. Returns 0.
int XY2latLong_OMProjCenter(zoneCnstntObliqueMerc zone, geodCoord* point);

// The constants that the projection derives from its definition (EPSG 9815
// notation).
struct obliqueMercatorCentreConstants {
    double falseNorthing, falseEasting;
    double centreLon;
    double a, e, eSq;
    double b;       // B
    double aHotine; // A
    double h;       // H = F t0^B
    double sinGamma0, cosGamma0;
    double lambda0; // longitude of the natural origin
    double uc;      // distance from the natural origin to the centre along the initial line
    double sinGridAngle, cosGridAngle;
    double gridAngle; // gamma_c
};

// The same projection as an object, keeping its constants between calls. It
// differs from the two functions above in four details: the arc sine behind
// the natural origin's longitude takes an argument capped at 1; a grid angle
// within 1e-10 of pi/2 uses a cosine of exactly 0 and a sine of exactly 1;
// the forward brings the longitude within pi of the centre's; the inverse
// moves a longitude found on the wrong side of the centre's meridian by
// pi/B. It writes neither scale nor convergence.
class OGCTObliqueMercator {
public:
    OGCTObliqueMercator() {}
    ~OGCTObliqueMercator() {}

    // Derives and keeps the constants. Returns 1.
    int Init(zoneCnstntObliqueMerc zone);
    // Reads lat, lon; writes only easting and northing.
    void TransGeoToMap(geodCoord* point) const;
    // Reads northing, easting; writes only lat and lon.
    void TransMapToGeo(geodCoord* point) const;

private:
    // ln(tan(pi/4 + x/2) ((1 - e sin x)/(1 + e sin x))^(e/2)).
    double dGetIsometricLat(double x) const;
    // c2 sin 2x + c4 sin 4x + c6 sin 6x + c8 sin 8x.
    static double dTrigSeries2468(double c2, double c4, double c6, double c8, double x);

    obliqueMercatorCentreConstants constants_{};
};

// A stack OGCTObliqueMercator initialised with *zone, then TransGeoToMap.
// Returns 0.
int latLong2XY_ObliqueMercator(const zoneCnstntObliqueMerc* zone, geodCoord* point);
// The same with TransMapToGeo. Returns 0.
int XY2latLong_ObliqueMercator(const zoneCnstntObliqueMerc* zone, geodCoord* point);
