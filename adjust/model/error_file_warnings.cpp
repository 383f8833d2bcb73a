#include "model/error_file_warnings.hpp"

#include "model/angle_math.hpp"
#include "model/angle_text.hpp"
#include "model/number_format.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "platform/sentinels.hpp"

#include <cmath>
#include <initializer_list>

using platform::formatC;

namespace {

// Writes the lines in order, stopping at the first failed write, then the
// closing empty line when every line was written.
void writeWarning(std::initializer_list<std::string> lines) {
    for (const std::string& line : lines) {
        if (writeRptErrLine(line) != 0)
            return;
    }
    writeRptErrLine("");
}

std::string ipBsFsLine(const std::string& setup, const std::string& backsight,
                       const std::string& foresight) {
    return formatC("  IP: %s,  BS: %s,  FS: %s", setup.c_str(), backsight.c_str(),
                   foresight.c_str());
}

std::string lowHighDiffLine(const char* pattern, const std::string& low, const std::string& high,
                            const std::string& diff) {
    return formatC(pattern, skipLeadingBlanks(low).c_str(), skipLeadingBlanks(high).c_str(),
                   skipLeadingBlanks(diff).c_str());
}

std::string distanceSpread(double high, double low) {
    return lowHighDiffLine("  Low: %s,  High: %s,  Diff: %s", formatDistance(low),
                           formatDistance(high), formatDistance(high - low));
}

// A difference of two elevations prints empty when either is not computed.
double elevationDifference(double high, double low) {
    return isSet(high) && isSet(low) ? high - low : notComputed;
}

void distanceWarning(const char* title, const std::string& from, const std::string& to, double high,
                     double low) {
    writeWarning({formatC(title, skipLeadingBlanks(from).c_str(), skipLeadingBlanks(to).c_str()),
                  distanceSpread(high, low)});
}

} // namespace

void warnElevFactorData(const std::string& usedPoint, const std::string& point) {
    writeWarning({formatC("Warning: Insufficient data fo compute elevation factor for point: %s",
                          point.c_str()),
                  formatC("  Elevation of %s used to compute elevation factor of line %s -> %s",
                          usedPoint.c_str(), usedPoint.c_str(), point.c_str())});
}

void warnNoBacksight(const std::string& setup, const std::string& backsight,
                     const std::string& foresight) {
    writeWarning({"Warning: Could not find appropriate backsight:",
                  ipBsFsLine(setup, backsight, foresight)});
}

void warnNoValidAngle(const std::string& setup, const std::string& backsight,
                      const std::string& foresight) {
    writeWarning({"Warning: No valid angle found for:", ipBsFsLine(setup, backsight, foresight)});
}

void warnAngleSpread(const std::string& setup, const std::string& backsight,
                     const std::string& foresight, double high, double low) {
    const double pi = angle::pi;
    double acrossNorth = low;
    if (high > 1.5 * pi && low < 0.5 * pi)
        acrossNorth = low + 2 * pi;
    else if (low > 1.5 * pi && high < 0.5 * pi)
        acrossNorth = low - 2 * pi;
    writeWarning({"Horizontal Angle spread exceeds tolerance:",
                  ipBsFsLine(skipLeadingBlanks(setup), skipLeadingBlanks(backsight),
                             skipLeadingBlanks(foresight)),
                  lowHighDiffLine("  Low: %s,  High: %s,  Diff: %s", angleToText(low),
                                  angleToText(high), angleToText(std::fabs(high - acrossNorth)))});
}

void warnInvalidDistance(const std::string& from, const std::string& to) {
    writeWarning({formatC("Invalid distance from %s to %s:", skipLeadingBlanks(from).c_str(),
                          skipLeadingBlanks(to).c_str())});
}

void warnForesightNoSetup(const std::string& foresight, double slopeDistance,
                          double verticalAngle) {
    writeWarning(
        {"Foresight record with no instrument setup record:",
         formatC("  FS: %s  Slope Distance:%s  Vertical Angle:%s", foresight.c_str(),
                 formatDistance(slopeDistance).c_str(), angleToText(verticalAngle).c_str())});
}

void warnHorizDistTolerance(const std::string& from, const std::string& to, double high,
                            double low) {
    distanceWarning("Horizontal Distance from %s to %s exceeds tolerance:", from, to, high, low);
}

void warnMarkToMarkDistTolerance(const std::string& from, const std::string& to, double high,
                                 double low) {
    distanceWarning("Mark to mark distance from %s to %s exceeds tolerance:", from, to, high, low);
}

void warnVertDistTolerance(const std::string& from, const std::string& to, double high,
                           double low) {
    distanceWarning("Vertical Distance from %s to %s exceeds tolerance:", from, to, high, low);
}

void warnMarkToMarkVertAngleTolerance(const std::string& from, const std::string& to, double high,
                                      double low) {
    writeWarning({formatC("Mark to Mark Vertical Angle from %s to %s exceeds tolerance:",
                          skipLeadingBlanks(from).c_str(), skipLeadingBlanks(to).c_str()),
                  lowHighDiffLine("  Low: %s,  High: %s,  Diff: %s", angleToText(low),
                                  angleToText(high), angleToText(high - low))});
}

void warnNETolerance(const std::string& point, double highX, double highY, double lowX,
                     double lowY) {
    writeWarning({formatC("NE Values for %s exceeds tolerance:", skipLeadingBlanks(point).c_str()),
                  lowHighDiffLine("  Low X: %s,  High X: %s,  Diff: %s", formatCoordinate(lowX),
                                  formatCoordinate(highX), formatCoordinate(highX - lowX)),
                  lowHighDiffLine("  Low Y: %s,  High Y: %s,  Diff: %s", formatCoordinate(lowY),
                                  formatCoordinate(highY), formatCoordinate(highY - lowY))});
}

void warnZTolerance(const std::string& point, double high, double low) {
    writeWarning(
        {formatC("Z Values for %s exceeds tolerance:", skipLeadingBlanks(point).c_str()),
         lowHighDiffLine("  Low Z: %s,  High Z: %s,  Diff: %s", formatElevation(low),
                         formatElevation(high), formatElevation(elevationDifference(high, low)))});
}

void warnNEToleranceUnits(const std::string& point, double highX, double highY, double lowX,
                          double lowY) {
    const double f = units::unitsPerMetre(projectVars.HorizUnits);
    warnNETolerance(point, highX * f, highY * f, lowX * f, lowY * f);
}

void warnZToleranceUnits(const std::string& point, double high, double low) {
    const double f = units::unitsPerMetre(projectVars.HorizUnits);
    const auto scaled = [f](double v) { return isSet(v) ? v * f : v; };
    warnZTolerance(point, scaled(high), scaled(low));
}

void warnGeoidSeparation(const std::string& point) {
    writeRptErrLine(
        formatC("Could not read geoid separation from grid file for Point %s", point.c_str()));
    writeRptErrLine("");
}

void warnMultipleFixed(const std::string& point) {
    writeWarning(
        {formatC("  Point: %s appeared multiple times at least once as a floating or fixed point.",
                 point.c_str())});
}
