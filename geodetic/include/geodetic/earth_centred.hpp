#pragma once
// Earth-centred, earth-fixed (ECEF) coordinates and the local east-north-up
// frame.
//
// Angles in radians; longitudes positive EAST (X towards longitude 0, Y
// towards 90 degrees east, Z towards the north pole); lengths in metres (or
// the unit of the ellipsoid's semi-major axis). The geodetic-to-ECEF
// formulas are closed form; the inverse iterates on latitude and height
// (Heiskanen and Moritz, Physical Geodesy, 5-27) until the height changes by
// at most 0.1 mm and the latitude by at most 1e-10 rad. Points on the polar
// axis are at latitude +-90 degrees, longitude 0.

#include "geodetic/geodesy_records.hpp"

// X, Y, Z from latitude, longitude and ellipsoid height on the built-in
// ellipsoid (a 6378137.0, b 6356752.3141403: GRS 80).
void lat2ecef(double* X, double* Y, double* Z, double lat, double lon, double h);
// Latitude, longitude and ellipsoid height from X, Y, Z on the built-in ellipsoid.
void ecef2lat(double X, double Y, double Z, double* lat, double* lon, double* h);

// Reads lat, lon, elev (ellipsoid height); writes easting = X, northing = Y,
// elev = Z on the given ellipsoid. Returns 0.
int latLongElev2XYZ_EC(ellipsoid ell, geodCoord* point);
// Reads easting = X, northing = Y, elev = Z; writes lat, lon and elev =
// ellipsoid height on the given ellipsoid. Returns 0.
int XYZ_EC2latLongElev(ellipsoid ell, geodCoord* point);

// Rotates an ECEF difference vector (x, y, z) into east, north and up at
// latitude lat, longitude lon. Returns 0.
int localToLocalGeodetic(double lat, double lon, double x, double y, double z, double* e, double* n,
                         double* u);
// The reverse rotation: east, north and up at lat, lon into the ECEF
// difference vector (x, y, z). Returns 0.
int localGeodeticToLocal(double lat, double lon, double east, double north, double up, double* x,
                         double* y, double* z);
