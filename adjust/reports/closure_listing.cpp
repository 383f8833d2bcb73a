#include "reports/closure_listing.hpp"

#include "model/angle_text.hpp"
#include "model/number_format.hpp"
#include "model/plane_geometry.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

using platform::formatC;

constexpr std::size_t wrapWidth = 128;

// Writes the lines in order, stopping at the first failed write.
int writeLines(std::initializer_list<std::string> lines) {
    for (const std::string& line : lines)
        if (writeRptErrLine(line) != 0)
            return 1;
    return 0;
}

int writeLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        if (writeRptErrLine(line) != 0)
            return 1;
    return 0;
}

std::string trimmedDistance(double value) {
    return skipLeadingBlanks(formatDistance(value));
}

const char* closureTypeLine(int type) {
    switch (type) {
    case 0:
        return "Loop Traverse; Interior direction reference;";
    case 1:
        return "Loop Traverse; Exterior direction reference;";
    case 2:
        return "Traverse starting and ending on different points;";
    case 3:
        return "GPS Loop Closure;";
    default:
        return "";
    }
}

std::string legLine(const TraverseLeg& leg) {
    const std::string names =
        formatC(" %-10.10s %-10.10s %-10.10s    %s", leg.backsight.c_str(), leg.instrument.c_str(),
                leg.foresight.c_str(), angleToText(leg.angle_rad).c_str());
    if (leg.closingAngle)
        return names;
    const std::string height = leg.heightDiff ? formatDistance(*leg.heightDiff) : std::string();
    return names + "   " + formatDistance(leg.distance) + "   " + height;
}

int writePass(const TraversePass& pass) {
    for (const TraverseLeg& leg : pass.legs)
        if (writeRptErrLine(legLine(leg)) != 0)
            return 1;
    if (pass.azimuths) {
        const TraversePass::Azimuths& az = *pass.azimuths;
        if (writeClosureAzimuths(az.known_rad, az.computed_rad) != 0 ||
            writeClosureAngularError(az.error_rad, az.angleCount) != 0)
            return 1;
    }
    return 0;
}

int writeLinear(const TraversePass::Linear& l) {
    return writeClosureLinear(l.correctNorthing, l.correctEasting, l.computedNorthing,
                              l.computedEasting, l.distanceTraversed);
}

} // namespace

std::string precisionRatioText(double length, double error) {
    const int decimals = std::max(projectVars.distPrec, 0);
    if (std::abs(error) < 0.5 * std::pow(10.0, -decimals))
        return "Exact";
    return formatC("%.0f", length / error);
}

std::vector<std::string> wrappedPointList(const std::string& pointList) {
    std::vector<std::string> lines;
    std::string line;
    for (const char c : pointList) {
        line += c;
        if (line.size() >= wrapWidth && line.back() == ',') {
            lines.push_back(line);
            line.clear();
        }
    }
    if (!line.empty())
        lines.push_back(line);
    lines.emplace_back();
    return lines;
}

int writeRptClosuresTitle() {
    return writeLines({"", "Traverse Closures", std::string(17, '='), ""});
}

int writeRptTraversePoints(const std::string& pointList) {
    if (writeLines({"", "Traverse points:"}) != 0)
        return 1;
    return writeLines(wrappedPointList(pointList));
}

int writeRptGpsLoopPoints(const std::string& pointList) {
    if (writeLines({"", "", "GPS Loop Points:"}) != 0)
        return 1;
    return writeLines(wrappedPointList(pointList));
}

int writeRptClosureOptions(int type, int angClosure, int vertClosure) {
    if (type == 3)
        return writeLines({closureTypeLine(type), ""});
    return writeLines(
        {closureTypeLine(type),
         angClosure == 1 ? "Compute angle closure." : "Do not compute angle closure.",
         vertClosure == 1 ? "Compute vertical closure." : "Do not compute vertical closure.", ""});
}

int writeClosureAzimuths(double known_rad, double computed_rad) {
    return writeLines({"", "Closing Az:          " + directionToCString(known_rad),
                       "Computed Closing Az: " + directionToCString(computed_rad)});
}

int writeClosureAngularError(double error_rad, int angleCount) {
    return writeLines({"", "Total angular error:     " + angleToText(error_rad),
                       "Angular error per point: " + angleToText(error_rad / angleCount), ""});
}

int writeClosureLinear(double correctNorthing, double correctEasting, double computedNorthing,
                       double computedEasting, double distanceTraversed) {
    const double errorN = computedNorthing - correctNorthing;
    const double errorE = computedEasting - correctEasting;
    const double total = std::sqrt(errorN * errorN + errorE * errorE);
    double length = 0.0;
    const double bearing =
        inverseDirDist(computedNorthing, computedEasting, correctNorthing, correctEasting, length);
    return writeLines({"Correct Ending Coordinates, North: " + formatDistance(correctNorthing) +
                           " East: " + formatDistance(correctEasting),
                       "Ending Coordinates, North: " + formatDistance(computedNorthing) +
                           " East: " + formatDistance(computedEasting),
                       "Error, N: " + trimmedDistance(errorN) + " E: " + trimmedDistance(errorE) +
                           " Total: " + trimmedDistance(total) +
                           " Brg: " + directionToCString(bearing),
                       "Distance Traversed: " + formatDistance(distanceTraversed) +
                           " Closure: 1:" + precisionRatioText(distanceTraversed, total),
                       ""});
}

int writeClosureVertical(double correctElevation, double computedElevation) {
    return writeLines(
        {"Correct Ending Elevation: " + formatDistance(correctElevation),
         "Ending Elevation:         " + formatDistance(computedElevation),
         "Elevation Error:          " + formatDistance(computedElevation - correctElevation)});
}

int writeGpsLoopClosure(double misclosureX, double misclosureY, double misclosureZ,
                        double perimeter) {
    const double error = std::sqrt(misclosureX * misclosureX + misclosureY * misclosureY +
                                   misclosureZ * misclosureZ);
    return writeLines(
        {"  Misclosure, X:" + formatDistance(misclosureX) + "   Y:" + formatDistance(misclosureY) +
             "   Z:" + formatDistance(misclosureZ),
         "  Closure error: " + formatDistance(error) + "   Perimeter: " + formatDistance(perimeter),
         "  Precision: 1:" + precisionRatioText(perimeter, error), ""});
}

int writeRptTraverseClosure(const TraverseClosure& closure) {
    if (!closure.listed)
        return 0;
    std::string heading = " BS         IP         FS             Angle          FS H. Dist.";
    if (closure.verticalShown)
        heading += "    FS V. Dist.";
    if (writeRptErrLine(heading) != 0 || writePass(closure.measured) != 0)
        return 1;
    if (closure.measured.linear &&
        (writeRptErrLine("") != 0 || writeLinear(*closure.measured.linear) != 0))
        return 1;
    if (const auto& v = closure.measured.vertical;
        v && writeClosureVertical(v->correctElevation, v->computedElevation) != 0)
        return 1;
    if (!closure.balanced)
        return 0;
    if (writeLines({"", "", "Closure After Angle Adjustment", ""}) != 0 ||
        writePass(*closure.balanced) != 0)
        return 1;
    return closure.balanced->linear ? writeLinear(*closure.balanced->linear) : 0;
}

int writeRptGpsLoopClosure(const GpsLoopClosure& closure) {
    if (!closure.computed)
        return 0;
    return writeGpsLoopClosure(closure.misclosureX, closure.misclosureY, closure.misclosureZ,
                               closure.perimeter);
}
