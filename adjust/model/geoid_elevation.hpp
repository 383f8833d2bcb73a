#pragma once
// The height the 3D chain shows and writes for a station: its elevation
// above the geoid.

#include "model/point_records.hpp"

// The station's ellipsoid height less its geoid separation (a separation
// not set counts as 0); unset when the station has no height.
inline double geoidElevation(const stationRec& station) {
    if (!isSet(station.elevation))
        return notComputed;
    return station.elevation - (isSet(station.geoidSep) ? station.geoidSep : 0.0);
}
