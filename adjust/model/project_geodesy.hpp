#pragma once
// The geodetic services of the project's coordinate system that the list
// builders, the mark-to-mark reduction, the preliminary coordinates and the
// reductions call: known stations by name, the reduction of a sight to the
// marks, grid <-> geodetic <-> earth-centred conversions and the geoid
// separation.
//
// Units: grid coordinates and heights in the caller's unit as each call
// says; angles in radians; the earth-centred values in metres.
//
// Coordinate systems (`projectVars.gridSystem`, zone `gridZone`):
//   0 local: no geodetic position; the conversions leave the record alone.
//   1 State Plane 1983 on GRS 80 (grid in metres), longitudes positive WEST;
//   2 State Plane 1927 on Clarke 1866 (grid in US survey feet), longitudes
//     positive WEST;
//   3 New Brunswick double stereographic on GRS 80, longitudes positive EAST;
//   4 UTM zone `gridZone` (1-120) on the project ellipsoid, positive EAST;
//   5 the project's user-defined projection (engine/user_projection.hpp,
//     which says the longitude sign of each projection type).
// Accuracy is that of the geodetic library's projections. A zone code the
// system does not have stops the run with "Unknown zone %d" (UnknownZone).
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
//   the zenith of the target's mark from the instrument's mark, exact in
//   the plane of the sight, from S, the zenith, both heights and the
//   central angle psi = 2 asin(c0 / 2R) between the plumb lines.
// With `curvRefract` non-zero the zenith first gets the refraction angle
// (metre constants). Ellipsoid: Clarke 1866 (1/f 294.9786982) for State
// Plane 1927, the project ellipsoid for UTM, the user projection's for a
// user-defined system, GRS 80 for the others (a local grid takes its
// mid-point latitude as 0). Lengths in the project's linear unit (the radius
// in metres is used as it is). Returns 0.
int reduceSlopeToMarks(double instrumentE, double instrumentN, double instrumentZ, double targetE,
                       double targetN, double targetZ, double HI, double targetHeight,
                       double slopeDistance, double zenith_rad, double& markSlopeDistance,
                       double& markZenith_rad, int curvRefract);

// Grid northing and easting in the project's unit (`HorizUnits`) to
// latitude, longitude, scale factor and convergence. The northing and
// easting are left converted to the system's own unit (metres; US survey
// feet for State Plane 1927). Returns 0.
int projGridToGeod(geodCoord& point);
// The geodetic position (projGridToGeod) of a grid point in the project's unit.
geodCoord geodOfGridPoint(double northing, double easting);
// The same for `gridSystem`, with `statePlaneZone` for the State Plane
// systems (UTM always takes the project's `gridZone`). Returns 0.
int projGridToGeodIn(geodCoord& point, int gridSystem, int statePlaneZone);
// The same from northing and easting already in the system's metres;
// nothing for a local system and State Plane 1927. Returns 0.
int projGridMetersToGeod(geodCoord& point);
// Latitude and longitude to northing and easting in metres, scale factor and
// convergence; nothing for a local system and State Plane 1927. Returns 0.
int projGeodToGridMeters(geodCoord& point);
// Latitude and longitude to northing and easting in the project's unit,
// with scale factor and convergence (State Plane 1927 included); nothing for
// a local system. Returns 0.
int projGeodToGrid(geodCoord& point);

// A position for projGeodToGridMeters from a station's latitude and
// east-positive longitude, the longitude signed as the system's projection
// takes it: positive WEST for State Plane 1983 and for a user projection of
// the transverse Mercator, Lambert or azimuth oblique Mercator type, else
// positive EAST. Grid values unset, scale 1.
geodCoord gridCallPosition(const stationRec& station);
// The geodetic position of the station's northing and easting in the
// system's metres, the longitude signed as the projection gives it; latitude
// and longitude unset in a system without a geodetic position. Scale 1.
geodCoord gridMetersPosition(const stationRec& station);
// The station's latitude and longitude (east-positive; the State Plane 1983
// inverse gives it positive west) from its northing and easting in the
// system's metres; both unset in a system without a geodetic position.
void geodeticFromGridMeters(stationRec& station);

// The geoid separation at the point (metres): 0 in a local grid, the
// project's `geoidHt` without a geoid model, else the open geoid grid at the
// point's latitude and longitude. 0 when a value was obtained, else the
// negative code of the geoid grid (the separation then as the grid left it).
// Throws DamagedGeoidGrid when the grid file holds a line that is not a
// number: a damaged grid stops the run rather than giving a wrong height.
int getGeoidHeight(const geodCoord& point, double& separation);

// The record's latitude, longitude (east-positive) and ellipsoidal height
// (its elevation, metres) to its earth-centred X, Y, Z on the ellipsoid of
// the coordinate system (GRS 80 for 1 and 3, Clarke 1866 1/f 294.9787
// for 2, the project ellipsoid for 4, the user projection's for 5), and
// back (the ellipsoidal height into the elevation). Nothing in a local grid.
void projGeodToEcef(stationRec& station);
void projEcefToGeod(stationRec& station);
