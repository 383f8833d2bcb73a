#pragma once
// One line of a supplemental control text file, read into its values.
// A line holding a comma has its fields separated by commas alone (blanks
// and tabs around a field are not part of it), else by blanks and tabs;
// runs of separators count as one (platform::splitOnCommasOrBlanks). Fields by format, counted from
// 0:
//   5  name, northing, easting, elevation, description, code
//   6  name, latitude, longitude, orthometric height, description, code;
//      the latitude "N" or "S", the longitude "W" or "E" followed by DD.MMSS
//   7  name, northing, easting, elevation, northing, easting and elevation
//      standard errors, description, code; a standard error of 0 holds the
//      coordinate fixed (-2)
// A missing field leaves its value unset (coordinates) or empty (texts); a
// field that is there holds the whole of its value, or the line is refused:
// a number wholly a number, an angle with minutes and seconds below 60, a
// name of at most 10 characters (never cut), and no field beyond the
// format's last (a decimal comma or a blank inside a number splits it, so
// the fields after it would shift).

#include "platform/sentinels.hpp"

#include <string>

inline constexpr int supplementalNez = 5;
inline constexpr int supplementalLatLong = 6;
inline constexpr int supplementalNezStdErrs = 7;

struct SupplementalLine {
    std::string name;
    // Formats 5 and 7: grid values as the file gives them.
    double northing = notComputed;
    double easting = notComputed;
    // The elevation (5, 7) or orthometric height (6) as the file gives it.
    double elevation = notComputed;
    // Format 6: radians, north and east positive.
    double latitude = notComputed;
    double longitude = notComputed;
    // Format 7 with all three fields: the line's standard errors.
    bool hasStdErrs = false;
    double stdErrN = 0.0;
    double stdErrE = 0.0;
    double stdErrZ = 0.0;
    std::string description;
    std::string code;
};

// Reads a line of `format`. Empty when it is read, else the sentence saying
// why it is refused (`The northing "N880.600" is not a number.`, `The
// latitude "40.3000" does not start with N or S.`).
std::string readSupplementalLine(int format, const std::string& line, SupplementalLine& read);

// A standard error as a file gives it: 0 holds the coordinate fixed (-2).
double supplementalStdErr(double value);
