#pragma once
// The names the settings offer for the parts of a coordinate system, in the
// order of the codes that the project stores: ellipsoids by `ellipsoid` (and
// a user projection's `EllipsInt`), projections by `ProjInt`, and the zone
// lists by the position that `gridZone` comes from.

#include <string>
#include <vector>

// "Airy 1830" ... "WGS 1984", "User-Defined": 17 names, codes 0-16.
const std::vector<std::string>& ellipsoidNames();

// "Transverse Mercator" ... "Oblique Mercator, (EPSG)": 6 names, codes 0-5.
const std::vector<std::string>& projectionNames();

// The 120 UTM zones, northern zones 1-60 then southern 1-60, as
// "Zone  1 - N 174 deg. W To 180 deg. W"; position + 1 is the zone number
// the projection code takes.
const std::vector<std::string>& utmZoneNames();

// The state-plane zones of `gridSystem` 1 (1983, 124 zones) or 2 (1927, 130
// zones) as "Alabama East - 0101", in the order of their zone tables; any
// other system has none.
const std::vector<std::string>& statePlaneZoneNames(int gridSystem);

// The zone code a state-plane name carries: the whole number after its last
// "-" (101 for "Alabama East - 0101"); 0 when there is none.
int zoneCodeOfName(const std::string& name);
