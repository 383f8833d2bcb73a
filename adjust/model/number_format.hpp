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
// "%12.*f" with `neOutPrec` (northings and eastings of the coordinate output).
std::string formatNorthEastOut(double value);
// "%12.*f" with `zOutPrec` (elevations of the coordinate output).
std::string formatElevationOut(double value);
// As formatElevation, but "%12.*f" with `distPrec`.
std::string formatElevationCString(double value);
// A standard error: 0 or more "%7.*f" with `coordPrec`; from -2 up to 0 (the
// "none" and "fixed" marks) as 0.0; below -2 empty.
std::string formatStdError(double value);
// As formatStdError with the given number of decimals.
std::string formatStdErrorPrecCString(double value, int decimals);
// "%7.*f" with `distPrec`.
std::string formatDistanceShort(double value);
// A residual or standard deviation of an angle, in seconds of arc: degrees
// projects give a sign character and the value "% 7.*f" padded to 9 (10
// characters); grads projects the value in grads "%9.*f" with `directionPrec` + 4.
std::string formatAngleSeconds(double seconds);
