#pragma once
// The few text conversions the geodetic library needs beside the system's
// field reading (the grid files): numbers are written the C locale's way
// whatever the process-wide locale is, since the dumps use a decimal point
// everywhere.

#include <filesystem>
#include <string>
#include <string_view>

namespace geodetic_detail {

// A folder or file text with every backslash taken as a separator.
std::filesystem::path pathFromText(std::string_view text);

// A non-negative `value` right-aligned in `width` characters, filled on the
// left with `fill` ("%04d" with '0', "%3d" with ' ').
std::string paddedNumber(int value, int width, char fill);

// `value` with `decimals` digits after a decimal point, as "%.*f" in the C locale.
std::string fixedDecimals(double value, int decimals);

} // namespace geodetic_detail
