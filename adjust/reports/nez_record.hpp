#pragma once
// One record of the ASCII coordinate file (.NEZ) in the layout the project
// chooses (`asciiNEZType`). The fields arrive formatted; the layout orders,
// separates and pads them.
//
//   layout  fields                       separator  fields trimmed
//   0 / 1   P N E Z C D                  comma      no / yes
//   2 / 3   P N E Z C D                  blank      no / yes
//   4 / 5   P N E Z D                    comma      no / yes
//   6 / 7   P N E Z D                    blank      no / yes
//   8-15    as 0-7 with E before N
//   16      P N E Z sN sE sZ C D         comma      yes
//
// Untrimmed layouts print the name as "%-10.10s", the elevation as "%12s"
// and the code as "%4.4s"; trimmed layouts strip leading and trailing
// blanks from every field and print each as it stands. Layout 16 trims
// every field and then prints "%-10.10s,%s,%s,%12s,%7s,%7s,%7s,%4.4s,%s".
// Numbers only pad to their width, never lose digits to it: an earth-centred
// Z of seven integer digits with five decimals would otherwise lose its
// last one (more in the south). Any other layout (17, the geocentric
// choice, among them) is written as layout 0.

#include <string>
#include <string_view>

inline constexpr int nezLayoutCount = 17;
inline constexpr int nezGeocentricXyz = 17;

struct NezFields {
    std::string northing;
    std::string easting;
    std::string elevation;
    std::string stdErrN;
    std::string stdErrE;
    std::string stdErrZ;
    std::string code;
    std::string description;
};

std::string formatNezRecord(int layout, std::string_view name, const NezFields& fields);
