#pragma once
// The three records that every conversion of the geodetic library passes
// around, and the status codes of its projection calls.
//
// Angles are radians. Lengths are in the unit of the ellipsoid's semi-major
// axis (every caller in the system passes metres). Which way a longitude
// counts positive depends on the call: the zone-constant engine
// (projection_engine.hpp) takes them positive WEST, the UTM, earth-centred
// and explicit-record calls positive EAST; each header says which.

#include <cstdint>

// Results of the projection and zone calls.
inline constexpr int projectionOk = 0;
inline constexpr int projectionRefused = 1;

// `zoneCnstnt::projType` values.
inline constexpr std::int32_t projTransverseMercator = 0;
inline constexpr std::int32_t projLambertTwoParallels = 1;
inline constexpr std::int32_t projObliqueMercatorAzimuth = 2;

// A reference ellipsoid as initEllipsoid fills it from a and f.
struct ellipsoid {
    double semiMajor;      // a
    double semiMinor;      // b = a(1 - f)
    double flattening;     // f
    double eccentricity;   // e = sqrt(2f - f^2)
    double eccentricitySq; // e^2, the square of the stored eccentricity
    double invFlattening;  // 1/f
};

// A point: geodetic and grid coordinates with the point's scale factor and
// convergence. The earth-centred calls keep X in `easting`, Y in `northing`
// and Z in `elev`. Each call reads some fields and writes others.
struct geodCoord {
    double lat;           // latitude, radians, positive north
    double lon;           // longitude, radians; sign convention per call
    double northing;      // grid northing; earth-centred Y
    double easting;       // grid easting; earth-centred X
    double elev;          // ellipsoid height; earth-centred Z
    double scale;         // point scale factor k (output)
    double conv;          // convergence angle, radians (output)
    std::int32_t utmZone; // UTM zone 1-120 as UTMGeod2Grid wrote it
};

// One projection zone. Longitudes in it count positive WEST (except in the
// record handed to lambert_calc, whose central meridian counts positive east).
struct zoneCnstnt {
    std::int32_t
        projType; // projTransverseMercator, projLambertTwoParallels, projObliqueMercatorAzimuth
    std::int32_t zoneCode;    // state-plane zone code, 0 for other zones; not read by the engine
    double centralMeridian;   // TM: central meridian; oblique Mercator: azimuth of the skew axis at
                              // the centre
    double scaleFactor;       // TM: k0 on the central meridian; oblique Mercator: kc at the centre
    double northParallel;     // Lambert: northern standard parallel
    double southParallel;     // Lambert: southern standard parallel
    double falseNorthing;     // oblique Mercator: northing of the centre
    double falseEasting;      // oblique Mercator: easting of the centre
    double oneParallelOrigin; // lambert_calc: origin latitude
    double
        originLat; // TM and Lambert: latitude of the grid origin; oblique Mercator: of the centre
    double originLon; // Lambert: cone's central meridian; oblique Mercator: longitude of the centre
};
