#pragma once
// The ranges a setting of the project must keep to: a value outside them is
// refused where the project is read, and the number formats hold to them
// whatever reached the settings.

#include <algorithm>

inline constexpr int smallestPrecision = 0;
inline constexpr int largestPrecision = 12;
// The confidence interval is a percentage below 100: its label says so, and
// the chi-square bounds have no meaning outside it.
inline constexpr double smallestConfidenceInterval = 50.0;
inline constexpr double largestConfidenceInterval = 99.99;

// A number of decimals for a format: the precision held to its range.
constexpr int decimalsOf(int precision) {
    return std::clamp(precision, smallestPrecision, largestPrecision);
}
