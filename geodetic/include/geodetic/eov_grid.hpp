#pragma once
// WGS84 geographic coordinates to and from the Hungarian national grid EOV
// (a Gauss-sphere oblique Mercator projection on the IUGG 1967 ellipsoid of
// the Hungarian datum). The datum change is a seven-parameter similarity
// through earth-centred coordinates with the caller's parameters:
// translations dX, dY, dZ (metres, WGS84 to the Hungarian datum), rotations
// rx, ry, rz (arc seconds, coordinate-frame convention: the small-angle
// matrix rows are (1, rz, -ry), (-rz, 1, rx), (ry, -rx, 1)) and a scale
// correction ds (parts per million). The inverse takes the same parameters
// with the same signs and undoes them by negating them, which is exact to
// first order in the rotations and the scale.
//
// The ellipsoid-to-sphere step is a cubic series in arc seconds of
// latitude from the origin. Accuracy: within 4 mm of PROJ's Swiss oblique
// Mercator on GRS 67 (EPSG:23700) over Hungary; a round trip returns the
// point to about a millimetre.
//
// Angles in radians, longitudes east positive; lengths in metres. Both
// calls return 0. Longitudes come from atan(Y/X), valid between 90 W and
// 90 E.

// Outputs: EOV Y (easting), EOV X (northing) and the ellipsoid height on
// IUGG 1967.
int latLongWGS84ToXY_EOV(double lat, double lon, double h, double dX, double dY, double dZ,
                         double rx, double ry, double rz, double ds, double* eovY, double* eovX,
                         double* hIugg67);

// Inputs: EOV Y (easting), EOV X (northing) and the height on IUGG 1967.
// Outputs: WGS84 latitude, longitude and ellipsoid height.
int EOV_XYToLatLongWGS84(double eovY, double eovX, double hIugg67, double dX, double dY, double dZ,
                         double rx, double ry, double rz, double ds, double* lat, double* lon,
                         double* h);
