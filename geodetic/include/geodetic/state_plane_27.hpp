#pragma once
// The 130 zones of the 1927 State Plane Coordinate System on the Clarke 1866
// ellipsoid. The zones are held as the tabular constants of the US Coast and
// Geodetic Survey (arc-seconds and US survey feet; Michigan's Lambert zones
// 2111-2113 carry that state's enlarged ellipsoid, a x 1.0000382, inside
// their constants). Transverse Mercator zones are projected rigorously from
// the definitions those constants carry (central meridian, scale, false
// easting, origin latitude), Delaware and New Jersey on their defining
// scales and origins, which their constants miss; Lambert zones rigorously
// on their defining parameters (standard parallels, origin, false easting
// and northing, as EPSG gives them), a Lambert record whose constants are
// not the table's on the cone its constants carry; the Alaska zones by their
// own series.
//
// Accuracy, against the rigorous projections of the EPSG NAD27 definitions
// (tests/fixtures/geodetic/state_plane; transverse Mercator scales at their
// defining ratios, which EPSG rounds) anywhere in a zone: Lambert zones
// within 1e-6 ft; Alaska zones within 0.01 ft; transverse Mercator zones
// within 0.001 ft (the origin latitudes of the constants' arc terms). Forward
// then inverse returns a point to 1e-6 m in transverse Mercator and Lambert
// zones (Alaska: 4 um in zone 5001, 0.08 mm in zones 5002-5009).
//
// Conventions: angles in radians; longitudes positive WEST; northing and
// easting in US survey feet; convergence positive east of the central
// meridian in the north.
//
// The table is library-wide, process-wide state. It holds its values from
// the start; init27ZoneConstants writes the same values again. Not locked:
// use it from one thread.

#include "geodetic/geodesy_records.hpp"

#include <cstdint>
#include <string>
#include <vector>

inline constexpr int spc27ZoneCount = 130;

// `zoneconstant27::zoneType` values.
inline constexpr std::int32_t spc27TransverseMercator = 0;
inline constexpr std::int32_t spc27Lambert = 1;
inline constexpr std::int32_t spc27AlaskaOblique = 2;    // zone 5001
inline constexpr std::int32_t spc27AlaskaTransverse = 3; // zones 5002-5009

// One zone. `tab` holds the tabular constants T1 to T11 (tab[0] is T1):
//   all types but 2: T1 false easting (ft), T2 central meridian (arc-seconds, west);
//   TM: T3 whole minutes and T4 seconds of the origin term, T5 scale on the
//       central meridian, T6 coefficient of the cubic easting term;
//   Lambert: T3 R0, the radius of the tabulated parallel (ft), T4 Rb, the
//       radius through the grid origin (ft), T5 scale of the arc term, T6 sine
//       of the cone's central parallel, T7 whole minutes and T8 seconds of the
//       tabulated latitude, T9 to T11 the series coefficients L2, L3, L4.
// Constants a type does not use are 0; zone 5001 uses none.
struct zoneconstant27 {
    std::int32_t zoneType;
    std::int32_t zoneCode;
    double tab[11];
};

// Fills the table's 130 records in table order. Idempotent.
void init27ZoneConstants();

// Copies the first record with code `zone` into `out`. Returns 0, or 1 for a
// code not in the table (`out` untouched).
int initSPC27Zone(int zone, zoneconstant27* out);

// The table index 0-129 of `zone`, which is also its position in
// spc27ZoneNameList. Returns 0, or 1 for a code not in the table (`index`
// untouched).
int getSPC27ZoneIndex(int zone, int* index);

// The names as the coordinate-system settings and the reports show them,
// "Alabama East - 0101" ... "Wyoming West - 4904", in table order.
const std::vector<std::string>& spc27ZoneNameList();

// Reads lat and lon (west-positive), leaves them as given; writes northing
// and easting (US survey feet), scale and conv. Returns 0, or 1 for an
// unknown zoneType (the point untouched).
int geod2SPC27(const zoneconstant27* zone, geodCoord* point);

// Reads northing and easting (US survey feet), leaves them as given; writes
// lat, lon (west-positive), scale and conv. Returns 0, or 1 for an unknown
// zoneType (the point untouched).
int SPC272Geod(const zoneconstant27* zone, geodCoord* point);
