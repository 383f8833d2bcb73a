#pragma once
// The sight of an .RW5 observation: circle reading, vertical and distance
// tokens brought to a slope distance and a zenith angle, then reduced and
// given its standard errors.

#include "input/rw5_lines.hpp"
#include "model/raw_record.hpp"

#include <string>
#include <string_view>

// One sight as read. Angles in radians, lengths as written in the file; a
// value the record does not give stays `notComputed`.
struct Rw5Sight {
    double reading = notComputed; // horizontal circle reading
    double zenith = notComputed;
    double slope = notComputed;
    // A horizontal distance with no vertical token: the horizontal distance
    // is known, the zenith and the slope distance are not.
    double levelHorizontal = notComputed;
    // The vertical and distance tokens contradict each other (a vertical
    // difference longer than the slope distance, a zenith of 0 or 180
    // degrees with a horizontal distance, a distance without a vertical).
    bool invalidVertical = false;
};

// The horizontal reading of an angle token, by its prefix: "AL" (angle
// left) is 2 pi minus the value; "BR" with the quadrant letters NE, SE, SW or
// NW is a bearing turned into an azimuth; "AR", "AZ", "DR", "DL" and "GN"
// (the other prefixes rw5SightFault lets through) give the value. Values are
// packed dd.mmss. `notComputed` when the token has no value.
double rw5HorizontalReading(std::string_view token);

// The sight of the angle, vertical and distance tokens:
// - vertical "ZE": zenith dd.mmss put into [0, 2 pi), exactly 0 counting as
//   none; "CE": a vertical difference; "VA" (the one other prefix
//   rw5SightFault lets through): a vertical angle, the zenith being pi/2
//   minus it;
// - distance "HD": horizontal; "SD" (the one other prefix rw5SightFault lets
//   through): slope;
// - a horizontal distance becomes slope = horizontal / |sin zenith|, or with
//   "CE" slope = sqrt(h^2 + dv^2), zenith = pi/2 - atan(dv / h);
// - "CE" with a slope distance: h = sqrt(s^2 - dv^2), zenith = pi/2 - atan(dv / h).
Rw5Sight rw5Sight(std::string_view angle, std::string_view vertical, std::string_view distance);

// An observation record (any observation code): the occupied and foresight
// points and the sight of tokens 0-4, and the description.
struct Rw5Observation {
    std::string occupied;
    std::string foresight;
    Rw5Sight sight;
    std::string description;
};
Rw5Observation parseRw5Observation(const Rw5Record& record);

// Writes a sight into a setup (its backsight sight) or a foresight record:
// `distance` the slope distance, `zenithOrVertDiff` the zenith, `face` 1
// for a zenith beyond pi else 0, the horizontal distance and height
// difference from `slopeToHzVert` with the HI and target height (both must
// be known to run mark to mark: `heightsApplied`), and the standard errors of
// `slopeObsStdErrs` from the reader's standard errors in force. A missing HI,
// a missing target height and an invalid vertical angle write their warnings,
// quoting `line`, to the error report; the sight is still written.
void applyRw5Sight(rawRec& record, const Rw5Sight& sight, double instrumentHeight,
                   double targetHeight, const std::string& line);

// A warning of the error report: the text, "  " and the record, an empty line.
void writeRw5Warning(const std::string& text, const std::string& line);
