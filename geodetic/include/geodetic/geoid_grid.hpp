#pragma once
// Geoid heights from the grid files (.grd) of eight public geoid models.
//
// One grid is open per process (module state, no locks: use it from one
// thread). openGeoidGrid names the model and the folder of its files; each
// getElevFromGeoidGrid loads, on first use and whenever a point leaves the
// tile in use, the file or tile that covers the point, and interpolates in
// it; closeGeoidGrid releases everything.
//
// A .grd file is text, one number per line: the latitude of the southern
// row, the longitude of the western column, the latitude of the northern
// row, the longitude of the eastern column (degrees, longitudes east 0-360),
// the numbers of intervals between the columns and between the rows, then
// the node values in metres row by row from south to north, each row from
// west to east. A value line beginning with 'N', the value -98765432.1, a
// line spelling no finite number ("nan", "inf") and a node past the end of
// the file have no value. Any other line must be
// wholly a decimal number ("#0.000" is no 0, "1,5" no 1): the file is
// refused as damaged, naming the line. A header that cannot describe a grid
// (counts below 1, bounds not increasing, more nodes than the file has
// bytes) is refused before anything is allocated. Lines end at LF, CR LF or
// a lone CR.
//
// Interpolation: bicubic Lagrange over the 4 x 4 nodes around the point when
// all of them exist and have values (exact for a surface cubic in latitude
// and in longitude); otherwise rules on the four corners of the point's
// cell: inverse-distance weighting on the last row or column, a corner's
// value on a node, linear interpolation along a cell side on a side, and
// inside the cell the side values weighted by the inverse of the point's
// distance from each side.
//
// Latitudes and longitudes are decimal degrees, longitudes positive east; a
// negative longitude is taken plus 360.

// Geoid models (`kind`): the project's geoidModelType plus 1.
inline constexpr int geoidGeoid99 = 1;   // tiles g1999u01-u08, a01-a04, h01, p01
inline constexpr int geoidGeoid03 = 2;   // tiles g2003u01-u08
inline constexpr int geoidEgm96 = 3;     // egm96.grd
inline constexpr int geoidGda94 = 4;     // tiles au_sc49 ... au_sl57, found by their bounds
inline constexpr int geoidCgg2000 = 5;   // cngeoid.grd
inline constexpr int geoidCanadaHt2 = 6; // HT2_0.grd
inline constexpr int geoidCanadaHt1 = 7; // HT1_01.grd
inline constexpr int geoidOsgm02 = 8;    // osgm02.grd

// Results of openGeoidGrid.
inline constexpr int geoidModelFound = 0;
inline constexpr int geoidModelMissing = 1;

// Results of getElevFromGeoidGrid and getGeoidElev.
inline constexpr int geoidOk = 0;
inline constexpr int geoidNoTile = -1;          // no tile of a tiled model covers the point
inline constexpr int geoidFileUnavailable = -2; // not open; the grid file cannot be opened or
                                                // its header is unusable; a GDA94 tile is
                                                // missing and no present one covers the point
inline constexpr int geoidUnknownKind = -3;     // model kind outside 1-8
inline constexpr int geoidNoStore = -4;         // neither memory nor a temporary file for the grid
inline constexpr int geoidNoValue = -5;         // outside the grid, or no value there
inline constexpr int geoidFileDamaged = -6;     // a line of the grid file is not wholly a
                                                // number (geoidGridFault names it)

// Opens model `kind` (1-8) with its files in `folder` (a backslash counts as
// a separator; the trailing separator may be there or not). Returns
// geoidModelFound when a file of the model is present (file names compared
// without regard to case), else geoidModelMissing with nothing changed. A
// grid already loaded stays loaded until the next load.
int openGeoidGrid(const char* folder, int kind);

// *N = the geoid height in metres at (lat, lon), loading or swapping the
// grid file as needed. Sets *N to 0 first; returns geoidOk or one of the
// codes above.
int getElevFromGeoidGrid(double lat, double lon, double* N);

// *N = the geoid height interpolated in the grid already loaded. Returns
// geoidOk, or geoidNoValue with *N untouched when no grid is loaded and with
// *N = 0 when the grid has no value at the point.
int getGeoidElev(double lat, double lon, double* N);

// After geoidFileDamaged: "Geoid grid file <path>, line <n>: " and why the
// line was refused. Empty before any such refusal and after closeGeoidGrid.
const char* geoidGridFault();

// Releases the loaded grid (and its temporary file), forgets the model and
// the folder.
void closeGeoidGrid();
