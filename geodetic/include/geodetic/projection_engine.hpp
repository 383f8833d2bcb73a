#pragma once
// The zone-constant projection engine: transverse Mercator, Lambert conformal
// conic with two standard parallels and oblique Mercator in its azimuth form,
// forward and inverse, with the point scale factor and the convergence, and
// the arc-to-chord ("t-T") correction of an observed angle.
//
// Formulas: transverse Mercator by Krueger's series to the sixth power of
// the third flattening (exact to a few nanometres within 4000 km of the
// central meridian, scale and convergence included); Lambert and oblique
// Mercator by the closed forms of the 1983 State Plane Coordinate System,
// NOAA Manual NOS NGS 5 (Stem, 1989) (the Lambert inverse iterates to
// machine precision); the arc-to-chord terms by NOS NGS 5's series.
//
// Conventions: angles in radians; longitudes positive WEST (a point at
// 85 deg 50' W has lon = +1.498...); latitudes positive north; lengths in the
// unit of the ellipsoid's semi-major axis. Convergence is positive where grid
// north lies west of true north (east of the central meridian in the north).
//
// Results: projectionOk (0), or projectionRefused (1) with nothing written
// for a zero axis (forward calls), a zero k0*a/w at the footpoint
// (TM inverse), standard parallels with equal isometric latitudes (Lambert)
// or an unknown projType (dispatchers). Points far outside a zone or at a
// pole are not checked and give whatever the formulas give.

#include "geodetic/geodesy_records.hpp"

// Fills `ell` from the semi-major axis a and the flattening f. Returns 0.
int initEllipsoid(ellipsoid* ell, double a, double f);

// Reads lat and lon; writes northing, easting, scale and conv by projType.
int geod2Grid(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point);
// Reads northing and easting; writes lat, lon, scale and conv by projType.
int grid2Geod(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point);

// The six conversions; each may be called whatever projType says.
int geod2TM(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point);
int TM2Geod(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point);
int geod2Lambert(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point);
int Lambert2Geod(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point);
int geod2OM(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point);
int OM2Geod(const ellipsoid* ell, const zoneCnstnt* zone, geodCoord* point);

// Arc-to-chord correction, radians, of the angle measured at `at` from the
// line to `first` to the line to `second`: delta(at, second) - delta(at,
// first). The three points must carry both geodetic and grid coordinates.
// Returns 1 without writing `tmt` for an unknown projType or for a Lambert
// zone whose standard parallels give equal isometric latitudes.
int getTMT(const ellipsoid* ell, const zoneCnstnt* zone, const geodCoord* at,
           const geodCoord* first, const geodCoord* second, double* tmt);
