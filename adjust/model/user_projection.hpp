#pragma once
// Conversions on a user-defined projection record (`udpRec`): the record's
// projection type (`ProjInt`) and parameters are put into a zone record of
// the geodetic library, on the ellipsoid of its `EllipseA` and `EllipseF`
// (its ellipsoid code is not consulted here).
//
// Angles in radians, lengths in metres. Longitudes follow the projections of
// the geodetic library: the grid-to-geodetic direction always gives them
// positive EAST; the geodetic-to-grid direction takes them positive WEST for
// transverse Mercator (0), both Lambert forms (1, 2) and the azimuth form of
// the oblique Mercator (4), and positive EAST for the double stereographic
// (3) and the projection-centre oblique Mercator (5).
//
// Parameters by type (the record's angles east-positive):
//   0 transverse Mercator: CentralMeridian, projection_scale, FalseNorthings,
//     FalseEastings, origin latitude ScaleOrRefLatitude;
//   1 Lambert, one standard parallel: CentralMeridian, projection_scale,
//     false origin, the parallel (and origin latitude) ScaleOrRefLatitude;
//   2 Lambert, two standard parallels: CentralOrNorthLatitude and
//     SkewOrSouthLatitude, false origin, origin latitude ScaleOrRefLatitude,
//     central meridian CentralMeridian;
//   3 double stereographic: CentralMeridian, projection_scale, false origin,
//     origin latitude ScaleOrRefLatitude;
//   4 oblique Mercator, azimuth form: azimuth SkewOrSouthLatitude,
//     projection_scale, false origin at the centre latOrigin, lonOrigin;
//   5 oblique Mercator by projection centre: centre latOrigin, lonOrigin,
//     azimuth SkewOrSouthLatitude, grid angle CentralMeridian,
//     projection_scale, false origin at the centre.
// Any other type leaves the point unchanged. Both return 0.

#include "model/settings/udp_record.hpp"

#include "geodetic/geodesy_records.hpp"

// Reads lat, lon; writes northing, easting, scale and conv.
int udpGeodToGrid(const udpRec& udp, geodCoord& point);
// Reads northing, easting; writes lat, lon (east-positive), scale and conv.
int udpGridToGeod(const udpRec& udp, geodCoord& point);
