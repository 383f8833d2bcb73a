#pragma once
// Numbers in files never follow the user's locale: every conversion between
// text and number in Tarnwell goes through these helpers, which use the "C"
// locale whatever the process-wide locale is.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// printf-style formatting under the C locale.
std::string formatC(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The C library's atof/atol/atoi under the C locale: leading blanks skipped,
// the longest numeric prefix converted, 0 when there is none.
double atofC(std::string_view text);
long atolC(std::string_view text);
int atoiC(std::string_view text);

// Strict parse: the whole text (surrounding blanks allowed) must be one number.
std::optional<double> parseDouble(std::string_view text);
std::optional<long> parseLong(std::string_view text);

} // namespace platform
