#pragma once
// The conversions the reports write most, written as printf writes them
// under the C locale but without the C library's printf: once a library in
// the process registers a printf extension (the Fortran run-time of the BLAS
// does), every printf call takes the C library's slow general path, which
// was a third of a large run.

#include <cstdarg>
#include <cstddef>
#include <string>

namespace platform {

// Room for the digits fixedDigits writes: the 309 whole digits of the
// largest double, the point and the decimals.
inline constexpr int fixedPrecisionLimit = 40;
inline constexpr std::size_t fixedDigitsSize = 309 + 1 + fixedPrecisionLimit;

// printf's "%.<precision>f" digits of a finite magnitude (no sign), for a
// precision of at most fixedPrecisionLimit, into a buffer of fixedDigitsSize
// characters; returns the end of the digits.
char* fixedDigits(char* out, double magnitude, int precision);

// Appends a signed body padded to width: blanks before the sign, or zeros
// after it, or blanks after the body when leftAligned.
void appendPadded(std::string& out, char sign, const char* body, std::size_t bodySize, int width,
                  bool leftAligned, bool zeroPadded);

// Appends what vsnprintf(fmt, args) writes under the C locale and returns
// true, or returns false, having appended some text, when fmt asks for a
// conversion, flag or length it does not write (the caller then formats
// with the C library). It reads a copy of args: the caller's stay unread.
bool appendPrintf(std::string& out, const char* fmt, va_list args);

} // namespace platform
