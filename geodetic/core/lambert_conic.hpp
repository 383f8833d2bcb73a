#pragma once
// Lambert conformal conic with two standard parallels on plain constants,
// shared by the zone-constant engine and the explicit Lambert record.
// Longitudes positive west.

#include "geodetic/geodesy_records.hpp"

namespace geodetic_detail {

struct LambertZone {
    const ellipsoid* ell;
    double northParallel;
    double southParallel;
    double originLat;       // latitude where the northing equals FN
    double centralMeridian; // the cone's central meridian, west-positive
    double falseNorthing;
    double falseEasting;
};

// The Lambert constants of a zone-constant record.
LambertZone lambertZoneOf(const ellipsoid* ell, const zoneCnstnt* zone);

// Reads lat, lon (west-positive); writes conv, scale, northing, easting.
int lambertForward(const LambertZone& zone, geodCoord* point);
// Reads northing, easting; writes lat, lon (west-positive), conv, scale.
int lambertInverse(const LambertZone& zone, geodCoord* point);
// Arc-to-chord term delta(from, to); false when the parallels give equal
// isometric latitudes and the cone is undefined.
bool lambertArcToChord(const LambertZone& zone, const geodCoord& from, const geodCoord& to,
                       double* delta);

} // namespace geodetic_detail
