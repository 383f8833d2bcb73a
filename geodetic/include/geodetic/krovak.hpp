#pragma once
// The Krovak oblique conformal conic projection (the national grid of the
// Czech Republic and Slovakia): the ellipsoid is mapped conformally onto a
// Gauss sphere, the sphere turned about an oblique axis, and the oblique
// sphere projected onto a cone tangent to a pseudo standard parallel.
// Formulas: EPSG Guidance Note 7-2, method 9819. Every projection constant
// comes from the caller's zone record.
//
// Coordinates: the southing-type value X goes to (and comes from) the
// `easting` field, the westing-type value Y to the `northing` field; both
// grow towards the south and the west. Angles in radians, longitudes east
// positive; lengths in the unit of the ellipsoid's semi-major axis.
//
// Accuracy: the forward formulas are closed form. The inverse recovers the
// latitude from its isometric latitude by two Newton steps on the conformal
// latitude's tangent, which leave less than an ulp; it returns the points of
// the method's formulas to within 1e-15 rad, and round trips return the
// point to well below a micrometre.
//
// Domain: the inverse takes theta as the principal arctangent of Yp / Xp,
// so it holds where Xp = easting field - falseSouthing > 0 (all of the
// projection's region); the cone's apex (r = 0) is outside it. Nothing is
// checked: both calls return 0.

#include "geodetic/geodesy_records.hpp"

struct zoneCnstntKrovakObliqueConic {
    double spare0;              // not read
    double centreLat;           // phi_c: latitude of the Gauss sphere's origin
    double originLon;           // lambda_0, east positive
    double coneAxisColatitude;  // alpha_c: from the sphere's pole to the cone axis
    double pseudoParallelLat;   // phi_p: latitude of the pseudo standard parallel
    double pseudoParallelScale; // k_p: scale factor on it
    double falseWesting;        // added to the westing-type value (the northing field)
    double falseSouthing;       // added to the southing-type value (the easting field)
    double spare1;              // not read
    double spare2;              // not read
    ::ellipsoid ellipsoid;      // a and e are read
};

// Reads lat and lon; writes easting (southing X) and northing (westing Y).
// Returns 0.
int latLong2XY_KrovakObliqueConic(zoneCnstntKrovakObliqueConic* zone, geodCoord* point);
// Reads easting (southing X) and northing (westing Y); writes lat and lon.
// Returns 0.
int XY2latLong_KrovakObliqueConic(zoneCnstntKrovakObliqueConic* zone, geodCoord* point);
