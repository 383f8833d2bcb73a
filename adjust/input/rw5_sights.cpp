#include "input/rw5_sights.hpp"

#include "model/angle_math.hpp"
#include "model/packed_degrees.hpp"
#include "model/plane_geometry.hpp"
#include "model/reader_std_errs.hpp"
#include "model/sight_reduction.hpp"
#include "output/report_lines.hpp"

#include <cmath>
#include <optional>

namespace {

constexpr double pi = angle::pi;

// Azimuth of a bearing from its quadrant letters; none for other letters.
std::optional<double> bearingAzimuth(std::string_view quadrant, double bearing) {
    const std::string q = upperAscii(quadrant);
    if (q == "NE")
        return bearing;
    if (q == "SE")
        return pi - bearing;
    if (q == "SW")
        return pi + bearing;
    if (q == "NW")
        return 2 * pi - bearing;
    return std::nullopt;
}

std::string prefixOf(std::string_view token) {
    const auto first = token.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : upperAscii(token.substr(first, 2));
}

bool isHorizontalDistance(std::string_view token) {
    const auto first = token.find_first_not_of(' ');
    return first != std::string_view::npos && (token[first] == 'H' || token[first] == 'h');
}

// The sight from a zenith angle and a distance of either kind.
void zenithSight(Rw5Sight& sight, double zenith, std::optional<double> distance, bool horizontal) {
    sight.zenith = zenith;
    if (!distance)
        return;
    if (!horizontal) {
        sight.slope = *distance;
        sight.invalidVertical = !isSet(zenith);
        return;
    }
    if (!isSet(zenith) || std::fabs(std::sin(zenith)) < geometryZero) {
        sight.invalidVertical = true;
        return;
    }
    sight.slope = *distance / std::fabs(std::sin(zenith));
}

// The sight from a vertical difference and a distance of either kind.
void differenceSight(Rw5Sight& sight, double difference, double distance, bool horizontal) {
    double level = distance;
    if (horizontal) {
        sight.slope = std::sqrt(distance * distance + difference * difference);
    } else {
        const double squared = distance * distance - difference * difference;
        if (squared < 0) {
            sight.invalidVertical = true;
            return;
        }
        sight.slope = distance;
        level = std::sqrt(squared);
    }
    sight.zenith = pi / 2 - std::atan2(difference, level);
}

} // namespace

double rw5HorizontalReading(std::string_view token) {
    const std::string prefix = prefixOf(token);
    if (prefix == "BR") {
        const std::string value = rw5ValueText(token, 2);
        if (value.size() >= 2) {
            const std::optional<double> bearing = rw5Number(value, 2);
            const std::optional<double> azimuth =
                bearing
                    ? bearingAzimuth(std::string_view(value).substr(0, 2), dmsToRadians(*bearing))
                    : std::nullopt;
            if (azimuth)
                return *azimuth;
        }
    }
    const std::optional<double> value = rw5Number(token, 2);
    if (!value)
        return notComputed;
    const double reading = dmsToRadians(*value);
    return prefix == "AL" ? 2 * pi - reading : reading;
}

Rw5Sight rw5Sight(std::string_view angle, std::string_view vertical, std::string_view distance) {
    Rw5Sight sight;
    sight.reading = rw5HorizontalReading(angle);
    const std::optional<double> length = rw5Number(distance, 2);
    const bool horizontal = isHorizontalDistance(distance);
    const std::optional<double> value = rw5Number(vertical, 2);
    const std::string prefix = prefixOf(vertical);
    if (!value) {
        if (length && horizontal)
            sight.levelHorizontal = *length;
        else if (length)
            zenithSight(sight, notComputed, length, false);
    } else if (prefix == "CE") {
        if (length)
            differenceSight(sight, *value, *length, horizontal);
    } else if (prefix == "ZE") {
        const double zenith = normalizedAngle(dmsToRadians(*value));
        zenithSight(sight, zenith == 0.0 ? notComputed : zenith, length, horizontal);
    } else {
        zenithSight(sight, pi / 2 - dmsToRadians(*value), length, horizontal);
    }
    return sight;
}

Rw5Observation parseRw5Observation(const Rw5Record& record) {
    Rw5Observation observation;
    observation.occupied = rw5Name(rw5Token(record, 0));
    observation.foresight = rw5Name(rw5Token(record, 1));
    observation.sight = rw5Sight(rw5Token(record, 2), rw5Token(record, 3), rw5Token(record, 4));
    observation.description = record.description;
    return observation;
}

void writeRw5Warning(const std::string& text, const std::string& line) {
    writeLine(errFile, text);
    writeLine(errFile, "  " + line);
    writeLine(errFile, "");
}

namespace {

void reduceSight(rawRec& record, const Rw5Sight& sight, bool heightsKnown, double hi, double hr,
                 const std::string& line) {
    double horizontal = notComputed;
    double difference = notComputed;
    if (isSet(sight.slope) && isSet(sight.zenith)) {
        // Without both heights the sight is still reduced, from instrument
        // axis to target, so its horizontal distance is not lost.
        const int invalid = slopeToHzVert(0, sight.slope, sight.zenith, heightsKnown ? hi : 0.0,
                                          heightsKnown ? hr : 0.0, horizontal, difference);
        record.horizDistance = horizontal;
        record.vertDifference = difference;
        if (invalid != 0)
            writeRw5Warning("Warning, Invalid Vert. Angle. in the following raw record.", line);
    } else if (isSet(sight.levelHorizontal)) {
        slopeToHzVert(1, sight.levelHorizontal, 0.0, 0.0, 0.0, horizontal, difference);
        record.horizDistance = horizontal;
    }
    if (sight.invalidVertical)
        writeRw5Warning("Warning, Invalid Vert. Angle. in the following raw record.", line);
}

void sightStdErrs(rawRec& record, const Rw5Sight& sight) {
    const double pointing = readerStdErrs[seVertPointing];
    const double reading = readerStdErrs[seVertReading];
    const double constant = readerStdErrs[seDistConstant];
    const double ppm = readerStdErrs[seDistPpm];
    if (isSet(sight.slope) && isSet(sight.zenith)) {
        slopeObsStdErrs(record.distStdErr, record.vertDiffStdErr, record.zenithStdErr,
                        rawLengthInStdErrUnit(sight.slope), sight.zenith, pointing, reading,
                        constant, ppm);
        return;
    }
    if (isSet(sight.zenith))
        record.zenithStdErr = std::sqrt(pointing * pointing + reading * reading);
    const double length = isSet(sight.slope) ? sight.slope : sight.levelHorizontal;
    if (isSet(length))
        record.distStdErr = constant + ppm * rawLengthInStdErrUnit(length) / 1e6;
}

} // namespace

void applyRw5Sight(rawRec& record, const Rw5Sight& sight, double instrumentHeight,
                   double targetHeight, const std::string& line) {
    if (!isSet(instrumentHeight))
        writeRw5Warning("Warning, Uninitialized HI found when parsing the following record:", line);
    if (!isSet(targetHeight))
        writeRw5Warning(
            "Warning, Uninitialized rod height found when parsing the following record:", line);
    const bool heightsKnown = isSet(instrumentHeight) && isSet(targetHeight);
    record.distance = isSet(sight.slope) ? sight.slope : sight.levelHorizontal;
    record.zenithOrVertDiff = sight.zenith;
    record.face = sight.zenith > pi ? faceReverse : faceDirect;
    record.heightsApplied = heightsKnown ? 1 : 0;
    reduceSight(record, sight, heightsKnown, instrumentHeight, targetHeight, line);
    sightStdErrs(record, sight);
}
