#pragma once
// WGS84 geographic coordinates to and from the Danish regional grids System
// 34 Jylland (Jutland and Funen), System 34 Sjaelland (Zealand), System 45
// Bornholm, and UTM32ED50, a grid of the same family close to UTM zone 32.
//
// The chain: WGS84 geographic -> earth-centred -> datum change to ED50 (shift
// 81.0703, 89.3603, 115.7526 m, then rotations of 0.48488", 0.02436",
// 0.41321" about X, Y, Z and a scale of 1.0000005406452923; the reverse
// change takes the opposite values and the scale 0.999999459355) ->
// geographic on International 1924 -> UTM zone 32 -> the region's
// two-dimensional polynomial (tcts_u). The polynomials reproduce the
// official grids; their tables come from the Danish National Survey and
// Cadastre (see danish_grid_tables.cpp for the licence).
//
// Guards: a UTM (or grid) point must lie inside the region's box and area
// polygon, and the polynomial's result, sent back through the region's
// other polynomial, must return within 0.04 m of the input.
//
// Angles in radians, longitudes east positive; lengths in metres. The grids'
// X grows to the west, Y to the north.

// Results of tcts_u and the exports (0 is success).
inline constexpr int danishOutsidePolygon = -1;
inline constexpr int danishRoundTripFailed = -2;
inline constexpr int danishOutsideBox = -3;

// Region codes of tcts_u; each letter (either case) selects the same region.
inline constexpr int danishJylland = 1;   // 'J'
inline constexpr int danishSjaelland = 2; // 'S'
inline constexpr int danishBornholm = 3;  // 'B'
inline constexpr int danishUtm32Ed50 = 4; // 'U'

// WGS84 latitude, longitude and ellipsoid height to the grid's X, Y and the
// height above International 1924. Returns 0, or the code of tcts_u with
// nothing written.
int latlongWGS84ToXYSys34Jylland(double lat, double lon, double h, double* X, double* Y,
                                 double* hEd50);
int latlongWGS84ToXYSys34Sjlland(double lat, double lon, double h, double* X, double* Y,
                                 double* hEd50);
int latlongWGS84ToXYSys45Bornholm(double lat, double lon, double h, double* X, double* Y,
                                  double* hEd50);
int latlongWGS84ToXYSys34UTM32ED50(double lat, double lon, double h, double* X, double* Y,
                                   double* hEd50);

// The grid's X, Y and the height above International 1924 to WGS84
// latitude, longitude and ellipsoid height. Returns 0, or the code of tcts_u
// with nothing written. (The Bornholm grid is System 45 despite the name.)
int XYSys34Jylland2latlongWGS84(double X, double Y, double hEd50, double* lat, double* lon,
                                double* h);
int XYSys34Sjlland2latlongWGS84(double X, double Y, double hEd50, double* lat, double* lon,
                                double* h);
int XYSys34Bornholm2latlongWGS84(double X, double Y, double hEd50, double* lat, double* lon,
                                 double* h);
int XYSys34UTM32ED502latlongWGS84(double X, double Y, double hEd50, double* lat, double* lon,
                                  double* h);

// The polynomial step between UTM zone 32 (first = northing, second =
// easting) and a region's grid (first = Y, second = X). direction > 0: UTM
// to grid; < 0: grid to UTM; 0: the input is copied. Regions 1-3: outside
// the box danishOutsideBox with nothing written; otherwise the outputs are
// written and the result is danishRoundTripFailed, danishOutsidePolygon or
// 0. Region 4 covers two areas (easting below 775000, and Bornholm); a
// point outside both, outside their boxes or outside their polygons is
// copied with result 0. An unknown region copies the input with result 0.
int tcts_u(double first, double second, double* outFirst, double* outSecond, int region,
           int direction);

// Where a point (first, second coordinate) lies against a polygon laid out as
// the vertex count n and n vertex pairs (a closing vertex equal to the first
// is ignored): 1 inside, 0 on the boundary (within a relative 2^-34), -1
// outside.
int pointInPolygon(const double* polygon, double first, double second);
