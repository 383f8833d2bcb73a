#pragma once
// Scale factors and the two reductions of the 2D chain that run before the
// horizontal adjustment: distances and angles to the grid, distances to the
// ellipsoid ("sea level").
//
// Grid scale factors come from the inverse projection of the project's
// coordinate system (model/project_geodesy.hpp). A line's grid factor is
// Simpson's rule over the line, (k1 + 4 km + k2) / 6, km at the mid-point
// (NOAA Manual NOS NGS 5, Stem 1989, section 3.3). The elevation factor of a
// point is R / (R + h), h its height above the ellipsoid (elevation plus
// geoid separation) and R a mean earth radius: 6372000 m, or 20906000 ft for
// elevations in feet. A reduced distance is the measured one times the
// line's grid factor, then times the mean elevation factor of its ends; an
// angle on the grid is the measured angle plus the arc-to-chord corrections,
// (t - T) to the foresight minus (t - T) to the backsight.
//
// Lengths are in the project's units (`HorizUnits`, elevations `ZUnits`);
// angles in radians. A geoid separation is held in metres and converted to
// the elevation unit before it is added. Distances without a value (records
// that carry only a levelled difference) keep none.

#include "model/observation_records.hpp"
#include "model/point_records.hpp"

// Results of the elevation factors.
inline constexpr int elevFactorComputed = 0;
inline constexpr int elevFactorNoHeight = 1;

// Stores in the point the elevation factor of its height: its elevation
// when the project takes elevation factors from the points (`useProjZ`
// non-zero) or is a 3D project, else the project elevation `projZ`; plus its
// geoid separation when that is set. R in feet when `elevationUnitFlag` is
// non-zero (the flag's unit code, as `ZUnits`, also converts the geoid
// separation). Nothing is stored for a local system (`gridSystem` 0).
// elevFactorComputed, or elevFactorNoHeight when the elevation it needs is
// unset. `zone` is not used.
int computeElevFactor(coordRec& point, int gridSystem, int zone, int elevationUnitFlag);

// Stores in the point the scale factor k of the grid system at its northing
// and easting (project units): State Plane 1983 and 1927 in zone `zone`, New
// Brunswick, UTM in the project's `gridZone`, the user projection. Nothing
// for a local system. Returns 0.
int computeGridFactor(coordRec& point, int gridSystem, int zone);

// The line's grid factor (k1 + 4 km + k2) / 6 from the factors the two ends
// carry and the factor at the mid-point; stored in the line, which it
// multiplies the distance of. Returns 0.
int gridFactorOfLine(const coordRec& from, const coordRec& to, distanceObs2D& line);

// The mean of the two ends' elevation factors (with the project's `ZUnits`)
// stored in the line, and the distance multiplied by it. elevFactorNoHeight,
// with the distance untouched, when either factor cannot be computed.
int meanElevFactorOfLine(coordRec& from, coordRec& to, distanceObs2D& line);

// The arc-to-chord correction of the angle measured at `instrument` from
// `backsight` to `foresight`, radians: (t - T) to the foresight minus (t - T)
// to the backsight, t the grid azimuth of the chord and T that of the
// projected geodesic (NGS 5 formulas of the geodetic library). State Plane
// 1983 only; 0 for the other projected systems; `correction` is not written
// in a local system. Returns 0.
int arcToChordCorrection(const coordRec& instrument, const coordRec& backsight,
                         const coordRec& foresight, double& correction);

// Reduces every distance of `distanceList2D` whose two ends have a northing
// (looked up in `controlPointList2D`, then `pointList2D`) to the grid, and
// adds to every angle of `angleList2D` its arc-to-chord correction (0 when a
// point has no northing), kept in the record's `arcToChord`. Nothing in a
// local system. Returns 0.
int reduceObsToGrid();

// Reduces every distance of `distanceList2D` to the ellipsoid by the mean
// elevation factor of its ends. An end without an elevation takes the other
// end's plus (or minus) the height difference, or else the other end's own
// elevation, with the warning of insufficient elevation data when the
// project takes elevation factors from the points. Nothing in a local
// system. Returns 0, or elevFactorNoHeight at the first line whose factor
// cannot be computed (the lines before it stay reduced).
int reduceDistancesToSeaLevel();
