#pragma once
// Double stereographic projection: the ellipsoid is mapped conformally onto a
// sphere of radius sqrt(rho0 nu0) at the origin latitude (Gauss), and that
// sphere is projected stereographically from the origin's antipode (EPSG
// method 9809, "Oblique Stereographic", IOGP Guidance Note 7-2, 2.3.2.2).
//
// Angles in radians; longitudes, of the point and of the central meridian
// alike, positive EAST; lengths in the unit of the ellipsoid's semi-major
// axis. The forward is closed form; the inverse iterates on the latitude by
// Newton's method until a step is below 1e-7 rad (at most 30 steps), which
// leaves an error far below 1e-12 rad as the iteration converges
// quadratically. The convergence is that of the conformal sphere (exact, as
// the sphere keeps the meridians); the point scale factor is the sphere's
// stereographic scale k0 + rho^2 / (4 k0 R^2), which leaves out the small
// scale of the ellipsoid-to-sphere step.
//
// Nothing is checked; the antipode of the origin gives infinities.

#include "geodetic/geodesy_records.hpp"

// Reads from `ell` semiMajor and eccentricity, from `zone` centralMeridian
// (lambda0, east-positive), scaleFactor (k0), falseNorthing, falseEasting and
// originLat (phi0). A non-zero direction converts lat, lon to northing,
// easting; 0 converts northing, easting to lat, lon (the origin's grid point
// gives the origin). Both write conv and scale.
void stereographic_calc(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point,
                        int direction);

// The New Brunswick double stereographic grid on GRS 80 (EPSG:2953 "NAD83(CSRS)
// / New Brunswick Stereographic"): origin 46.5 N, 66.5 W, k0 0.999912,
// FN 7,500,000 m, FE 2,500,000 m. Forward: reads lat, lon; writes northing,
// easting, conv, scale.
void latLongToXY_newBrunswickStereographic(geodCoord* point);
// Inverse: reads northing, easting; writes lat, lon, conv, scale.
void XYToLatLong_newBrunswickStereographic(geodCoord* point);

// Writes the New Brunswick falseNorthing, falseEasting, scaleFactor,
// centralMeridian and originLat into `zone` (no other field) and fills `ell`
// with GRS 80.
void initNewBrunswickParams(ellipsoid* ell, zoneCnstnt* zone);
