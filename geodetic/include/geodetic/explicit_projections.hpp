#pragma once
// Transverse Mercator and Lambert conformal conic on zone records of their
// own, with east-positive point longitudes.
//
// - TM on a zoneCnstntTM, which initUTMZone fills for a UTM zone: the same
//   Krueger series as the zone-constant engine (projection_engine.hpp).
// - Lambert with two standard parallels on a zoneCnstntLambert: the same
//   closed form as the engine's geod2Lambert.
// - lambert_calc: Lambert conformal conic after Snyder, "Map Projections: A
//   Working Manual" (USGS PP 1395, 1987), eqs. 15-1 to 15-11, 7-9 and 14-15,
//   with a scale factor on the cone and its own origin latitude; one standard
//   parallel when both parallels are equal.
//
// Angles in radians; lengths in the unit of the ellipsoid's semi-major axis.
// The central meridians stored in zoneCnstntTM and zoneCnstntLambert count
// positive WEST, as in the engine; lambert_calc takes both its longitudes and
// the record's central meridian positive EAST.

#include "geodetic/geodesy_records.hpp"

#include <cstdint>

struct zoneCnstntTM {
    std::int32_t south;     // non-zero for the southern hemisphere
    std::int32_t zone;      // UTM zone 0-60
    double centralMeridian; // west-positive: (183 - 6 zone) degrees
    double scaleFactor;     // k0
    double falseNorthing;
    double falseEasting;
    double originLat;       // latitude where the northing equals FN
    double spare;           // set to 0, not read
    std::int32_t spareFlag; // set to 0, not read
    ::ellipsoid ellipsoid;
};

struct zoneCnstntLambert {
    std::int32_t spareCode; // not read
    std::int32_t spareZone; // not read
    double centralMeridian; // the cone's central meridian, west-positive
    double falseNorthing;
    double falseEasting;
    double originLat;     // latitude where the northing equals FN
    double northParallel; // first standard parallel
    double southParallel; // second standard parallel
    double spare1;        // not read
    double spare2;        // not read
    ::ellipsoid ellipsoid;
};

// Fills `out` for UTM zone 0-60 (k0 0.9996, FE 500000, FN 10,000,000 when
// `south` is non-zero, else 0). Returns 1 without writing for a zone below 0
// or above 60, else 0.
int initUTMZone(int zone, int south, ellipsoid ell, zoneCnstntTM* out);

// Reads lat, lon (east-positive); writes northing, easting, scale, conv.
// Returns 1 with nothing written when an axis of the ellipsoid is 0, else 0.
int latLong2XY_TransverseMercator(zoneCnstntTM zone, geodCoord* point);

// Reads northing, easting; writes lat, lon (east-positive), conv, scale.
// Returns 1 with nothing written when k0*a/w at the footpoint is 0, else 0.
int XY_TransverseMercator2latLong(zoneCnstntTM zone, geodCoord* point);

// Reads lat, lon (east-positive); writes conv, scale, northing, easting.
// Returns 1 with nothing written for a zero axis or for standard parallels
// with equal isometric latitudes, else 0.
int latLong2XY_Lambert(const zoneCnstntLambert* zone, geodCoord* point);

// Lambert conformal conic on a zoneCnstnt, reading centralMeridian (lambda0,
// east-positive), scaleFactor (k0), northParallel and southParallel,
// falseNorthing, falseEasting and oneParallelOrigin (phi0).
// direction 1 (forward): in1 latitude, in2 longitude -> out1 easting, out2 northing.
// any other direction (inverse): in1 northing, in2 easting -> out1 longitude,
// out2 latitude; the latitude iterates to 1e-12 rad (at most 30 steps).
// Both directions write the point scale factor to k and the convergence to conv.
void lambert_calc(const ellipsoid* ell, const zoneCnstnt* zone, double in1, double in2,
                  double* out1, double* out2, double* k, double* conv, int direction);
