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

// One number as printf's "%<flag><width>.<precision>f" writes it under the C
// locale, `flag` one of 0 (none), ' ' (a blank for the sign of a number that
// is not negative) and '0' (zeros after the sign pad to the width). The
// report listings write hundreds of thousands of numbers; printf took most of
// their time.
std::string formatFixed(double value, int width, int precision, char flag = 0);

// A number read from a file is data only when it is finite and no larger in
// size than this: no survey measurement or coordinate comes near it, and
// squares and sums of such numbers stay far from overflow.
inline constexpr double largestDataNumber = 1e12;
bool isDataNumber(double value);

// True when the text starts (after blanks) with a number the C library reads
// but that is no data: "inf", "nan", an overflow, or beyond largestDataNumber.
bool startsWithNonDataNumber(std::string_view text);

// The C library's atof/atol/atoi under the C locale: leading blanks skipped,
// the longest numeric prefix converted, 0 when there is none. Infinity and
// NaN are never read as numbers: atofC gives 0 for them.
double atofC(std::string_view text);
long atolC(std::string_view text);
int atoiC(std::string_view text);

// Strict parse: the whole text (surrounding blanks allowed) must be one finite number.
std::optional<double> parseDouble(std::string_view text);
std::optional<long> parseLong(std::string_view text);

// The one parse of a number field read from a data file: the whole text
// (blanks around it allowed) is one decimal number, with an optional sign,
// point and exponent, that is data (isDataNumber). Trailing characters,
// "inf", "nan", hexadecimal and an empty text give none, so a damaged field
// is never read as its leading digits.
std::optional<double> parseDataNumber(std::string_view text);

} // namespace platform
