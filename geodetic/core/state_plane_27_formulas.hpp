#pragma once
// The tabular formulas of the 1927 state-plane zones, one pair per zone
// type. Each reads and writes a geodCoord as geod2SPC27 and SPC272Geod
// describe: radians with west-positive longitudes, US survey feet.

#include "geodetic/geodesy_records.hpp"
#include "geodetic/state_plane_27.hpp"

#include <cmath>

namespace geodetic_detail {

// The zone tables' angle units: arc-seconds, with the conversion factors the
// tables were computed with.
inline double radiansToArcSeconds(double radians) {
    return radians * 57.29577951308232 * 3600.0;
}
inline double arcSecondsToRadians(double seconds) {
    return seconds * 0.0174532925199433 / 3600.0;
}

// The longitude difference T2 - lambda, arc-seconds (positive east of the
// central meridian), taken the short way across the 180th meridian: an
// Aleutian point at 172 E lies 12 degrees west of 176 W, not 348 east.
inline double secondsEastOfCentralMeridian(double centralMeridianSeconds, double lonSeconds) {
    return std::remainder(centralMeridianSeconds - lonSeconds, 1296000.0);
}

// Clarke 1866 as the tabular formulas of types 0 and 1 use it.
inline constexpr double clarke1866TabularESq = 0.006768658;
inline constexpr double clarke1866SecondESq = 0.0068147849;
inline constexpr double clarke1866SemiMajor_ft = 20925832.16;

// Clarke 1866 as the zones' EPSG definitions give it (a 6378206.4 m,
// b 6356583.8 m), and the US survey foot the zones are measured in.
inline constexpr double clarke1866SemiMajor_m = 6378206.4;
inline constexpr double clarke1866SemiMinor_m = 6356583.8;
inline constexpr double usSurveyFoot_m = 0.3048006096012192;

void tabularTransverseMercatorToGrid(const zoneconstant27& zone, geodCoord* point);
void tabularTransverseMercatorToGeodetic(const zoneconstant27& zone, geodCoord* point);
void tabularLambertToGrid(const zoneconstant27& zone, geodCoord* point);
void tabularLambertToGeodetic(const zoneconstant27& zone, geodCoord* point);

// Zone 5001 (no constants: they are written into the formulas).
void alaskaObliqueToGrid(geodCoord* point);
void alaskaObliqueToGeodetic(geodCoord* point);
// Zones 5002-5009.
void alaskaTransverseToGrid(const zoneconstant27& zone, geodCoord* point);
void alaskaTransverseToGeodetic(const zoneconstant27& zone, geodCoord* point);

} // namespace geodetic_detail
