#pragma once
// Zone names shared by the 1983 and 1927 state-plane tables, and the name
// lists built from them.

#include <string>
#include <vector>

namespace geodetic_detail {

// The name of a state-plane zone code ("Alabama East" for 101), or an empty
// text for a code that neither system has.
std::string stateZoneName(int zoneCode);

// "0101 Alabama East": the form of the library's zone list.
std::string codeFirstZoneName(int zoneCode);

// "Alabama East - 0101": the form of the coordinate-system settings' lists.
std::string codeLastZoneName(int zoneCode);

// Writes each name followed by a line feed, NUL-terminated, into `buffer` of
// `size` bytes. Before each name its length + 1 is added to a running total;
// when the total reaches `size` the call returns 1 at once, the buffer then
// holding the names appended so far. Returns 0 when all fitted.
int joinZoneNames(const std::vector<std::string>& names, char* buffer, int size);

} // namespace geodetic_detail
