#pragma once
// Latitude and longitude typed as packed dd.mmss (north and east positive)
// converted to northing and easting on a user-defined projection, as the
// lines the conversion dialog lists.

#include "model/settings/udp_record.hpp"

#include <string>
#include <vector>

inline constexpr int latLongConverted = 0;
inline constexpr int latLongRefused = 1;

// Checks both texts: a latitude outside -90..90, or with 60 or more minutes
// or seconds, gives "Invalid latitude entry: %s"; a longitude likewise
// outside -180..180 "Invalid longitude entry: %s". Then converts on `udp`,
// handing the projection the longitude in the sense its geodetic-to-grid
// direction takes (see model/user_projection.hpp), and appends five lines to
// `lines`: "Latitude: %s", "Longitude: %s", "Northing: %s", "Easting: %s"
// (coordinates by formatCoordinate) and an empty line. latLongRefused with
// the message in `message` and `lines` untouched when a text is refused.
int latLongToGridLines(const udpRec& udp, const std::string& latText, const std::string& lonText,
                       std::vector<std::string>& lines, std::string& message);
