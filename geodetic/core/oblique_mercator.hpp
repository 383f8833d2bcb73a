#pragma once
// Oblique Mercator in the azimuth form of the zone-constant engine.

#include "geodetic/geodesy_records.hpp"

namespace geodetic_detail {

// Arc-to-chord term delta(from, to) of the line between two points that
// carry geodetic coordinates (west-positive longitudes).
double obliqueMercatorArcToChord(const ellipsoid& ell, const zoneCnstnt& zone,
                                 const geodCoord& from, const geodCoord& to);

} // namespace geodetic_detail
