#pragma once
// Universal Transverse Mercator on any ellipsoid, over the transverse
// Mercator of the zone-constant engine.
//
// Zones are numbered 1 to 120: 1-60 are the sixty 6-degree zones of the
// northern hemisphere (zone 1 from 180 W to 174 W, eastwards), 61-120 the
// same zones in the southern hemisphere (zone 60 + z is southern zone z,
// false northing 10,000,000). Unlike the engine, these calls take and return
// longitudes positive EAST. Angles in radians, lengths in the unit of the
// ellipsoid's semi-major axis (metres for UTM).

#include "geodetic/geodesy_records.hpp"

// Fills a TM zone record for zone 1-120: k0 0.9996, FE 500000, FN 0, origin on
// the equator, central meridian (and originLon) (183 - 6z) degrees for z <= 60
// and (543 - 6z) degrees above, west-positive. The zone is not checked.
void UTMInitializeZoneConstants(int zone, zoneCnstnt* out);

// 1 unless 1 <= zone <= 120, else 0.
int invalidUTMZone(int zone);

// Reads lat and lon (east-positive); writes utmZone, northing, easting, scale
// and conv. Zone 0 takes the zone from the point: the 6-degree zone of its
// longitude (a point on 180 degrees belongs to zone 1), plus 60 south of the
// equator. Adds the southern false northing when the zone is above 60 or the
// latitude is negative. Returns 0, even when the engine refused.
int UTMGeod2Grid(int zone, const ellipsoid* ell, geodCoord* point);

// Reads northing and easting; writes lat and lon (east-positive), scale and
// conv. Southern zones (61-120) invert the mirrored northing 10,000,000 -
// northing and return the point's own latitude, scale and convergence.
// Returns 0; the zone is not checked.
int UTMGrid2Geod(int zone, const ellipsoid* ell, geodCoord* point);

// Writes the 120 zone names ("Zone  1 - N 174 deg. W To 180 deg. W", ...),
// each ending in a line feed, NUL-terminated, into `buffer` of `size` bytes.
// Returns 0, or 1 when they do not fit (the buffer then holds those that did).
int UTMGetZoneLstS(char* buffer, int size);
