#pragma once
// The few text conversions the geodetic library needs, on the standard
// library alone (the library depends on nothing else of the system). Numbers
// are read and written the C locale's way whatever the process-wide locale
// is: the grid files and dumps use a decimal point everywhere.

#include <filesystem>
#include <istream>
#include <string>
#include <string_view>

namespace geodetic_detail {

// The number at the start of `text` after leading white space, as C's atof
// reads it in the C locale; 0 when there is none.
double leadingNumber(std::string_view text);

// The next line of `in`, without its LF or CR LF; a last line without a line
// end is still a line. False at the end of the input.
bool nextLine(std::istream& in, std::string& line);

// A folder or file text with every backslash taken as a separator.
std::filesystem::path pathFromText(std::string_view text);

// A non-negative `value` right-aligned in `width` characters, filled on the
// left with `fill` ("%04d" with '0', "%3d" with ' ').
std::string paddedNumber(int value, int width, char fill);

// `value` with `decimals` digits after a decimal point, as "%.*f" in the C locale.
std::string fixedDecimals(double value, int decimals);

} // namespace geodetic_detail
