#pragma once
// Transverse Mercator on plain constants, shared by the zone-constant engine
// and the explicit TM record. Longitudes positive west.

#include "geodetic/geodesy_records.hpp"

namespace geodetic_detail {

struct TransverseMercatorZone {
    const ellipsoid* ell;
    double scaleFactor;     // k0
    double falseNorthing;   // FN
    double falseEasting;    // FE
    double originLat;       // latitude where the northing equals FN
    double centralMeridian; // west-positive
};

// The TM constants of a zone-constant record.
TransverseMercatorZone tmZoneOf(const ellipsoid* ell, const zoneCnstnt* zone);

// Reads lat, lon (west-positive); writes northing, easting, scale, conv.
int transverseMercatorForward(const TransverseMercatorZone& zone, geodCoord* point);
// The same with lon east-positive.
int transverseMercatorForwardEast(const TransverseMercatorZone& zone, geodCoord* point);
// Writes northing and easting alone, from the sines and cosines of the
// latitude and of the longitude from the central meridian (east-positive):
// for chains that have those and need neither scale nor convergence.
int transverseMercatorGrid(const TransverseMercatorZone& zone, double sinLat, double cosLat,
                           double sinLonFromCm, double cosLonFromCm, geodCoord* point);
// Reads northing, easting; writes lat, lon (west-positive), scale, conv.
int transverseMercatorInverse(const TransverseMercatorZone& zone, geodCoord* point);
// Arc-to-chord term delta(from, to) of the line between two grid points.
double transverseMercatorArcToChord(const TransverseMercatorZone& zone, const geodCoord& from,
                                    const geodCoord& to);

} // namespace geodetic_detail
