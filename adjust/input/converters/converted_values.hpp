#pragma once
// The texts of values in converted files. A value that is not set has no
// text: writing it as a number would put -999999999 into the file.

#include <string>

// printf-style text of one number in the C locale; empty when not set.
std::string valueText(const char* format, double value);

// Packed dd.mmss of an angle in radians, whole seconds, without blanks;
// empty when not set.
std::string angleText(double angle_rad);
