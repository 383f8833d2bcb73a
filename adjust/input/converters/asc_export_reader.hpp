#pragma once
// The sectioned .asc data-exchange export of a data collector: "[General]"
// names the field separator ("Separator=<character>"), "[Terrestrial]" holds
// the total-station observations as "TerrObs" lines of separated fields:
//   1 record type, 2 not used, 3 station, 4 backsight, 5 target point,
//   6 horizontal circle reading and 7 zenith angle (decimal degrees),
//   8 slope distance, 9 not used, 10 instrument height, 11 target height.
// Lines are read whole, whatever their length; trailing blanks are dropped.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The separator of a file whose "[General]" section names none.
inline constexpr char ascDefaultSeparator = ',';

// The separator named by the first "Separator=" line of "[General]".
char readAscSeparator(const std::vector<std::string>& lines);

// Calls `visit(line, lineNumber)` for each line of the "[GPS]" section,
// trailing blanks removed, until it returns false.
void forEachAscGpsLine(const std::vector<std::string>& lines,
                       const std::function<bool(const std::string&, int)>& visit);

// The fields of a line split at every `separator`.
std::vector<std::string_view> ascFields(std::string_view line, char separator);

// A point name made valid: upper-cased; a name longer than 10 characters or
// holding '-' or a blank is cut to its first 10 characters and every '-' and
// blank in it becomes '_'.
std::string ascPointName(std::string_view field);

// Appends the "[Terrestrial]" observations to `tsConvertRawList`: an
// observation from the station and backsight of the one before it is a
// foresight (target point, target height, reading, zenith, distance); any
// other is a setup whose sight is its backsight sight (the target point is
// not used). An empty number field is a value not given. Returns an empty
// text, or the fault of the first line that cannot be read (a field that is
// not a number, a missing station or backsight, a name that would become the
// valid name of another point), naming `path` and the line; the list then
// holds the records before it.
std::string readAscTerrestrialObs(const std::vector<std::string>& lines, char separator,
                                  const std::string& path);
