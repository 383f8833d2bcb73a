#pragma once
// The text of a numeric raw data file (.vkr) as tests write it from true
// positions: packed angles, the header record and observation records in
// their columns.

#include "platform/c_locale_text.hpp"

#include <cmath>
#include <cstddef>
#include <string>

namespace testsupport {

// Degrees as the packed dd.mmss text, the seconds rounded to
// `secondDecimals` (1 or 2) decimals.
inline std::string packedDegrees(double degrees, int secondDecimals) {
    const long long perSecond = secondDecimals == 1 ? 10 : 100;
    const long long perDegree = 3600 * perSecond;
    const long long units = std::llround(degrees * perDegree) % (360 * perDegree);
    const long long withinDegree = units % perDegree;
    return platform::formatC("%lld.%02lld%0*lld", units / perDegree,
                             withinDegree / (60 * perSecond), 2 + secondDecimals,
                             withinDegree % (60 * perSecond));
}

// The header record of a file of `records` records after it.
inline std::string rawFileHeader(std::size_t records) {
    std::string text(498, ' ');
    text.replace(190, 3, "100");
    text.replace(198, 10, "VER 1.0   ");
    text.replace(209, 10, platform::formatC("%010zu", records));
    return text;
}

// The fields of an observation record: a setup names its station, HI and
// backsight; a foresight its foresight point. Values as written.
struct rawObservation {
    std::string station, hi, backsight, target, reading, distance, zenith, foresight, code,
        description;
};

// An observation record in its columns, without trailing blanks.
inline std::string rawObservationLine(const rawObservation& o) {
    std::string line = platform::formatC(
        "1%-10s %8s %-10s %8s %10s %9s %9s %-10s %-4s%s", o.station.c_str(), o.hi.c_str(),
        o.backsight.c_str(), o.target.c_str(), o.reading.c_str(), o.distance.c_str(),
        o.zenith.c_str(), o.foresight.c_str(), o.code.c_str(), o.description.c_str());
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

} // namespace testsupport
