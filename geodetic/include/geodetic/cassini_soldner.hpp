#pragma once
// The Cassini-Soldner projection on any ellipsoid, by Snyder's series (J. P.
// Snyder, "Map Projections: A Working Manual", USGS Professional Paper 1395,
// 1987, eqs. 13-1 to 13-12, with the four-term meridian arc 3-21 and the
// footpoint latitude 3-26). Angles in radians, longitudes east positive;
// lengths in the unit of the semi-major axis.
//
// Accuracy (against PROJ's Cassini-Soldner): the forward series within
// 0.13 mm up to 4 degrees of longitude from the central meridian. The
// inverse starts from the method's shorter inverse series and refines its
// point against the forward until that point projects back within a
// micrometre (scaled with the semi-major axis), so a forward-inverse round
// trip closes to that everywhere the forward is used; within 1e-5 radian of
// a pole the series point is taken as it is.
//
// Every call returns a word of the bits below; 0 is success. The functions
// on a zone record compute from that record alone. The module calls
// cassiniSetup / cassiniGetSetup / cassiniForward / cassiniInverse share one
// set of parameters per process, which the caller must set up first and
// must not use from several threads at once.

#include "geodetic/geodesy_records.hpp"

inline constexpr int cassiniLatitudeError = 0x1;         // latitude outside [-pi/2, pi/2]
inline constexpr int cassiniLongitudeError = 0x2;        // longitude outside [-pi, 2 pi]
inline constexpr int cassiniEastingError = 0x4;          // easting outside its limits
inline constexpr int cassiniNorthingError = 0x8;         // northing outside its limits
inline constexpr int cassiniOriginLatError = 0x10;       // latitude of origin outside [-pi/2, pi/2]
inline constexpr int cassiniCentralMeridianError = 0x20; // central meridian outside [-pi, 2 pi]
inline constexpr int cassiniSemiMajorError = 0x40;       // semi-major axis not positive
inline constexpr int cassiniFlatteningError = 0x80;      // 1/f below 250 or above 350
// Warning only, the result is delivered: more than 4 degrees of longitude
// from the central meridian.
inline constexpr int cassiniDistortionWarning = 0x100;

struct zoneCnstntCassini {
    double falseNorthing;
    double falseEasting;
    double originLat;       // latitude of origin
    double centralMeridian; // east positive
    double semiMajor;       // a
    double flattening;      // f
};

// Set-up from the record, then the forward projection of lat and lon into
// easting and northing. A set-up error word is returned as it is and the
// point is left untouched.
int latLong2XY_CassiniSoldner(zoneCnstntCassini* zone, geodCoord* point);
// Set-up from the record, then the inverse from easting and northing into
// lat and lon.
int XY2latLong2_CassiniSoldner(zoneCnstntCassini* zone, geodCoord* point);

// Checks and stores the module parameters: the bits 0x10 to 0x80, and on
// any of them nothing is stored. A central meridian above pi is reduced by
// 2 pi.
int cassiniSetup(double a, double f, double originLat, double centralMeridian, double falseEasting,
                 double falseNorthing);
// The six stored parameters.
void cassiniGetSetup(double* a, double* f, double* originLat, double* centralMeridian,
                     double* falseEasting, double* falseNorthing);
// Forward with the module parameters: 0x1 or 0x2 with nothing written, else
// 0 or 0x100 with easting and northing.
int cassiniForward(double lat, double lon, double* easting, double* northing);
// Inverse with the module parameters: 0x4 or 0x8 with nothing written, else 0
// or 0x100 with lat and lon.
int cassiniInverse(double easting, double northing, double* lat, double* lon);
