#pragma once
// Numbers as the reports print them, with the open project's precisions.

#include <string>

// "%12.*f" with `coordPrec`.
std::string formatCoordinate(double value);
// Empty for a value not computed (-999999999.0 or less); otherwise "%12.3f"
// when `distPrec` is negative, else "%12.*f" with `elevDispPrec`.
std::string formatElevation(double value);
// "%9.*f" with `distPrec`.
std::string formatDistance(double value);
