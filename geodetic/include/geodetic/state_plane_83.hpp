#pragma once
// The 124 zones of the 1983 State Plane Coordinate System as a table of
// zone-constant records for the engine of projection_engine.hpp: lookups by
// zone code, the zone-name lists, and conversions on GRS 80.
//
// Zone constants: NOAA Manual NOS NGS 5, State Plane Coordinate System of
// 1983 (Stem, 1989); every zone agrees with its EPSG definition to 0.1 mm on
// the grid over its whole area (tests/fixtures/geodetic/state_plane). Zone codes are ints as NGS
// numbers them (101 for "0101 Alabama East"). Grid coordinates are metres.
//
// The table is library-wide, process-wide state. It holds its values from
// the start; init83ZoneConstants writes the same values again. Not locked:
// use it from one thread.

#include "geodetic/geodesy_records.hpp"

#include <string>
#include <vector>

inline constexpr int spc83ZoneCount = 124;

// Fills the table's 124 records in zone-index order. Idempotent.
void init83ZoneConstants();

// Copies the record of `zone` (the first in index order) into `out`.
// Returns 0, or 1 for a code not in the table (`out` untouched).
int initSPC83Zone(int zone, zoneCnstnt* out);

// The zone index 0-123 of `zone`, which is also its position in both name
// lists. Returns 0, or 1 for a code not in the table (`index` untouched).
int getSPC83ZoneIndex(int zone, int* index);

// 0 when `zone` is in the table, else 1.
int invalidSPC83Zone(int zone);

// Writes the 124 names "0101 Alabama East" ... "5200 Puerto Rico" in index
// order, each followed by a line feed, NUL-terminated, into `buffer` of
// `size` bytes. Returns 0, or 1 when they do not fit; the buffer then holds
// the names that did.
int SPC83GetZoneLstS(char* buffer, int size);

// The names as the coordinate-system settings and the reports show them,
// "Alabama East - 0101" ... "Puerto Rico - 5200", in index order.
const std::vector<std::string>& spc83ZoneNameList();

// Grid to geodetic on GRS 80: reads northing and easting (metres); writes
// lat, lon (radians, longitude positive EAST), scale and conv. Returns 0, or
// 1 for a code not in the table (the point untouched).
int SPC83Grid2Geod(int zone, geodCoord* point);

// Geodetic to grid on GRS 80: reads lat and lon (radians, longitude positive
// EAST), leaves them as given; writes northing, easting (metres), scale and
// conv. Returns 0, or 1 for a code not in the table (the point untouched).
int SPC83Geod2Grid(int zone, geodCoord* point);

// Arc-to-chord correction, radians, of the angle at point 1 from the line to
// point 2 to the line to point 3, on GRS 80; grid coordinates in metres,
// easting first. Returns 0 with the result in `out`, or 1 for a code not in
// the table (`out` untouched).
int computeSPC83TmT(int zone, double e1, double n1, double e2, double n2, double e3, double n3,
                    double* out);
