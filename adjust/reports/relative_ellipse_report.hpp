#pragma once
// The relative error ellipse between two points that the user names after an
// adjustment: checked, computed, appended to the report file and to its
// window. The dialog that asks for the two names shows the result's texts.

#include "platform/shell_services.hpp"

#include <optional>
#include <string>

// What the dialog shows of a computed ellipse.
struct RelativeEllipseTexts {
    std::string axes;    // " A -> B  Semimajor:...  Semiminor:...     "
    std::string azimuth; // "  Max Err. Az.:...     "
};

// Looks both names up among the last run's points (`allStationList` in the
// 3D chain, `allPointList2D` otherwise) and computes their relative ellipse.
// Every refusal is a message box of `shell` (caption "Tarnwell"):
// "Variance-Covariance matrix not initialized.", "Pt. %s does not exist.",
// the sideshot text, and those of the computation. On success the line
// " Relative Error Ellipse: %s -> %s  Semimajor:%s  Semiminor:%s  Max Err. Az.:%s"
// and " " are appended to the report file when it opens, and to its window.
std::optional<RelativeEllipseTexts>
reportRelativeEllipse(const std::string& from, const std::string& to, ShellServices& shell);
