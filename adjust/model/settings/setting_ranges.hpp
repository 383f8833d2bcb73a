#pragma once
// The ranges a setting of the project must keep to: a value outside them is
// refused where the project is read, and the number formats hold to them
// whatever reached the settings.

#include "model/settings/project_keys.hpp"

#include <algorithm>
#include <string>
#include <vector>

inline constexpr int smallestPrecision = 0;
inline constexpr int largestPrecision = 12;
// The confidence interval is a percentage below 100: its label says so, and
// the chi-square bounds have no meaning outside it.
inline constexpr double smallestConfidenceInterval = 50.0;
inline constexpr double largestConfidenceInterval = 99.99;
// A standard error above 0 is kept from here up to the largest data number
// (platform::largestDataNumber), where its square and the inverse of its
// square stay ordinary numbers, also after the unit conversions of a run
// (seconds to radians, feet to metres, parts per million): below it the
// weights overflow and the adjustment yields infinities instead of
// coordinates.
inline constexpr double smallestStdErr = 1e-100;

// A number of decimals for a format: the precision held to its range.
constexpr int decimalsOf(int precision) {
    return std::clamp(precision, smallestPrecision, largestPrecision);
}

// Why `value` cannot be the setting's (not a usable number, or outside the
// setting's range: precisions, the confidence interval, standard errors
// that are neither 0, from smallestStdErr up, nor a marker, a code outside
// the list of a code setting such as `gridSystem` or `ellipsoid`);
// empty when it can.
std::string settingRefusal(const projectKeys::Key& key, double value);

// Why the text of a number setting cannot be its value: "not a number", "not
// a whole number" (an int setting's text must be one within an int; no
// hexadecimal, no comma, nothing after the number), or settingRefusal's
// reason; empty, with `number` set, when it can.
std::string settingTextRefusal(const projectKeys::Key& key, const std::string& text,
                               double& number);

// Puts back the held value of every number setting of `loaded` that
// settingRefusal refuses; returns "<key>=<value> refused (<why>)" for each.
std::vector<std::string> restoreSettingsOutOfRange(globalVars& loaded, const globalVars& held);
