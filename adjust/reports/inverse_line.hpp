#pragma once
// The inverse between two points of the last completed run: the grid
// direction and horizontal distance from one to the other, with standard
// errors from the points' own coordinate standard errors, and the texts the
// inverse tool shows and appends to the report.
//
// The points come from `allStationList` in the 3D model (`geodeticModel` 1),
// else from `allPointList2D`, found by name without regard to letter case. A
// point whose northing standard error is negative (none, or fixed) counts
// with both standard errors 0. The 3D model's stations are held in metres:
// the distance and its standard error are both given in the project's
// horizontal unit (`HorizUnits`).

#include <string>

struct InverseResult {
    double direction_rad = 0.0;    // grid direction, [0, 2 pi)
    double distance = 0.0;         // in the project's horizontal unit
    double directionErr_sec = 0.0; // seconds of arc
    double distanceErr = 0.0;      // in the project's horizontal unit
    // " Inverse: A -> B  <direction> <distance>,  st.Err.: Az. <s>\", Dist. <s>"
    std::string reportLine;
    // " Inverse: A -> B  <direction> <distance>,"
    std::string resultLine;
    // "   St.Err.: Az. <s>\", Dist. <s>"
    std::string stdErrLine;
};

inline constexpr int inverseComputed = 0;
inline constexpr int inversePointMissing = 1;

// Computes the inverse from `fromName` to `toName` (looked up in that
// order). inversePointMissing with the message "Pt. %s does not exist." in
// `message` for the first name not found; `result` is then untouched.
int computeInverse(const std::string& fromName, const std::string& toName, InverseResult& result,
                   std::string& message);

// Appends the line to the project's report file when it exists and can be
// opened for appending; otherwise nothing happens.
void appendInverseToReportFile(const std::string& line);
