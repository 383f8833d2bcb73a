#pragma once
// The geodetic services of the project's coordinate system that the list
// builders and the mark-to-mark reduction call: known stations by name,
// the reduction of a sight to the marks, grid <-> geodetic <-> earth-centred
// conversions and the geoid separation.
//
// Units: grid coordinates and heights in the caller's unit as each call
// says; angles in radians; the earth-centred values in metres.
//
// Coordinate systems (`projectVars.gridSystem`): a local grid (0) has no
// geodetic position, so its conversions leave the record as it was. The
// projected systems (1-5) are converted by the geodetic reductions of the
// engine; until those are part of the build a call for a projected system
// stops the run with StageNotBuilt.

#include "model/point_records.hpp"

#include "geodetic/geodesy_records.hpp"

// Results of the two station look-ups.
inline constexpr int stationFound = 0;
inline constexpr int stationNotFound = 1;

// Looks the record's name up in `fixedStationList`, then `stationList`, then
// `givenStationList`, taking from each only a record whose easting is set,
// and copies the first one found over the record. stationFound, or
// stationNotFound with the record unchanged.
int findKnownStation3D(stationRec& station);
// The same in `fixedPointList2D`, then `pointList2D`.
int findKnownStation2D(coordRec& point);

// Reduces a sight measured from the trunnion axis (HI above the instrument
// mark) to a target (target height above its mark) to the marks, over the
// radius of curvature of the ellipsoid in the line's azimuth:
//   R from the latitude of the line's mid-point (`projGridToGeod`);
//   c0 = sqrt((S^2 - (H1 - H2)^2) / ((1 + H2/R)(1 + H1/R))), H = mark + height;
//   Sm = sqrt((Zi - Zt)^2 + (1 + Zi/R) c0^2 (1 + Zt/R)), exact on a sphere;
//   the zenith is turned by the angle the two heights subtend at Sm.
// With `curvRefract` non-zero the zenith first gets the refraction angle
// (metre constants). Ellipsoid: Clarke 1866 for State Plane 1927, GRS 80 for
// a local grid (its mid-point latitude taken as 0) and State Plane 1983 and
// New Brunswick. Lengths in the project's linear unit (the radius in metres
// is used as it is). Returns 0.
int reduceSlopeToMarks(double instrumentE, double instrumentN, double instrumentZ, double targetE,
                       double targetN, double targetZ, double HI, double targetHeight,
                       double slopeDistance, double zenith_rad, double& markSlopeDistance,
                       double& markZenith_rad, int curvRefract);

// Grid northing and easting (project units) to latitude and longitude in
// the project's coordinate system. Returns 0.
int projGridToGeod(geodCoord& point);
// Grid northing and easting in metres to latitude, longitude, scale factor
// and convergence (nothing for State Plane 1927). Returns 0.
int projGridMetersToGeod(geodCoord& point);
// Latitude and longitude to grid northing and easting in metres, scale
// factor and convergence (nothing for State Plane 1927). Returns 0.
int projGeodToGridMeters(geodCoord& point);

// The geoid separation at the point (metres): 0 in a local grid, the
// project's `geoidHt` without a geoid model, else the open geoid grid at the
// point's latitude and longitude. 0 when a value was obtained, else the
// negative code of the geoid grid (the separation then as the grid left it).
int getGeoidHeight(const geodCoord& point, double& separation);

// The record's latitude, longitude and ellipsoidal height (its elevation) to
// its earth-centred X, Y, Z, and back. Nothing in a local grid.
void projGeodToEcef(stationRec& station);
void projEcefToGeod(stationRec& station);
