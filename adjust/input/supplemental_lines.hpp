#pragma once
// One line of a supplemental control text file, read into its values.
// Fields are separated by blanks, commas or tabs; runs of separators count
// as one. Fields by format, counted from 0:
//   5  name, northing, easting, elevation, description, code
//   6  name, latitude, longitude, orthometric height, description, code;
//      the latitude "N" or "S", the longitude "W" or "E" followed by DD.MMSS
//   7  name, northing, easting, elevation, northing, easting and elevation
//      standard errors, description, code; a standard error of 0 holds the
//      coordinate fixed (-2)
// A missing field leaves its value unset (coordinates) or empty (texts); a
// field that is there holds the whole of its value, or the line is refused.

#include "platform/sentinels.hpp"

#include <optional>
#include <string>
#include <vector>

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

// The fields of a line.
std::vector<std::string> supplementalFields(const std::string& line);

// Reads a line of `format`. Empty when it is read, else what the line says
// nothing reliable about, for "Bad <what> in <file>, line <n>": "latitude or
// longitude" when a latitude does not start with N or S or a longitude with W
// or E, or the field and its text (`northing "N880.600"`) when a field of a
// number holds no number.
std::string readSupplementalLine(int format, const std::string& line, SupplementalLine& read);

// The text read as a decimal number, taken as signed packed
// degrees-minutes-seconds (dd.mmss), in radians; none when the text is no
// number.
std::optional<double> dmsStrToRadians(const std::string& text);

// A standard error as a file gives it: 0 holds the coordinate fixed (-2);
// none when the text is no number.
std::optional<double> supplementalStdErr(const std::string& text);
