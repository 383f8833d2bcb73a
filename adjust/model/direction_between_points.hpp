#pragma once
// The grid direction between two named points, with its standard error,
// before any adjustment: for the preliminary coordinates and the sideshots.
//
// From an azimuth observation joining the points when there is one (a record
// from B to A turned by pi; of several the last in the list), else from the
// first horizontal angle, searched from the caller's angle cursor round to
// it, whose instrument has coordinates and whose backsight or foresight
// makes the direction computable:
//
//   asked          backsight known              else foresight known
//   IP -> BS       dir(IP,BS)        e(IP,BS)   dir(IP,FS) - a       e(IP,FS)
//   IP -> FS       dir(IP,BS) + a    E(IP,BS)   dir(IP,FS)           e(IP,FS)
//   BS -> IP       dir(BS,IP)        e(BS,IP)   dir(IP,FS) - a + pi  E(IP,FS)
//   FS -> IP       dir(IP,BS)+a+pi   E(IP,BS)   dir(FS,IP)           e(FS,IP)
//
// with a the angle, e(P,Q) the direction error from the two points'
// coordinate errors (inverseStdErrs3D / 2D) and E(P,Q) = sqrt(e(P,Q)^2 +
// sa^2) with sa the angle's standard error. Rows are tried top to bottom;
// the last that applies gives the result.
//
// 3D chain: points from `stationList`, then `fixedStationList`; observations
// from `azimuthList` and `angleList`. 2D chain: `pointList2D`, then
// `fixedPointList2D`; `azimuthList2D` and `angleList2D`. A point has coordinates
// when it is found and its easting is set.
//
// Directions in radians in [0, 2pi); the standard error is in radians (the
// observations keep theirs in seconds of arc and are converted).

#include <string_view>

inline constexpr int directionFound = 1;
inline constexpr int noDirection = 0;

// `angleCursor` is an open cursor of `angleList` (2D: `angleList2D`) owned by
// the caller. The angle search reads from it to the end of the list, then from
// the start up to where it stood; the cursor is left on the angle after the
// one used, so a following call goes on from there. directionFound with both
// outputs written, or noDirection with both untouched.
int azimuthBetween3D(double& direction_rad, double& stdErr_rad, std::string_view from,
                     std::string_view to, int angleCursor);
int azimuthBetween2D(double& direction_rad, double& stdErr_rad, std::string_view from,
                     std::string_view to, int angleCursor);
