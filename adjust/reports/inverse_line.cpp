#include "reports/inverse_line.hpp"

#include "model/angle_text.hpp"
#include "model/number_format.hpp"
#include "model/plane_geometry.hpp"
#include "model/point_errors.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/length_units.hpp"
#include "reports/report_files.hpp"

namespace {

constexpr double secondsPerRadian = 206264.8;

// No standard error, or a fixed point: neither coordinate adds any.
template <class Point> void withoutMarkers(Point& p) {
    if (p.stdErrN < 0.0) {
        p.stdErrN = 0.0;
        p.stdErrE = 0.0;
    }
}

template <class Point>
int findPoint(const obsList<Point>& list, const std::string& name, Point& p) {
    return list.find(name, p) < 0 ? 1 : 0;
}

struct Geometry {
    double direction = 0.0;
    double distance = 0.0;
    double directionErr = 0.0;
    double distanceErr = 0.0;
};

template <class Point, class StdErrs>
int inverseIn(const obsList<Point>& list, const std::string& fromName, const std::string& toName,
              StdErrs stdErrs, Geometry& g, std::string& message) {
    Point from, to;
    for (const auto& [name, point] : {std::pair{&fromName, &from}, std::pair{&toName, &to}})
        if (findPoint(list, *name, *point) != 0) {
            message = platform::formatC("Pt. %s does not exist.", name->c_str());
            return inversePointMissing;
        }
    withoutMarkers(from);
    withoutMarkers(to);
    g.direction = inverseDirDist(from.northing, from.easting, to.northing, to.easting, g.distance);
    // Coincident points have no direction, so no direction error either.
    if (stdErrs(from, to, g.directionErr, g.distanceErr) == errorsCoincidentPoints)
        g.directionErr = 0.0;
    return inverseComputed;
}

} // namespace

int computeInverse(const std::string& fromName, const std::string& toName, InverseResult& result,
                   std::string& message) {
    Geometry g;
    double unitFactor = 1.0;
    int status = inverseComputed;
    if (projectVars.geodeticModel == 1) {
        status = inverseIn(allStationList, fromName, toName, inverseStdErrs3D, g, message);
        unitFactor = units::unitsPerMetre(projectVars.HorizUnits);
    } else {
        status = inverseIn(allPointList2D, fromName, toName, inverseStdErrs2D, g, message);
    }
    if (status != inverseComputed)
        return status;
    InverseResult r;
    r.direction_rad = g.direction;
    r.distance = g.distance * unitFactor;
    r.distanceErr = g.distanceErr * unitFactor;
    r.directionErr_sec = g.directionErr * secondsPerRadian;
    const std::string direction = directionToText(r.direction_rad);
    const std::string distance = formatDistance(r.distance);
    const std::string distanceErr = formatDistanceShort(r.distanceErr);
    r.reportLine = platform::formatC(" Inverse: %s -> %s  %s %s,  st.Err.: Az. %5.1f\", Dist. %s",
                                     fromName.c_str(), toName.c_str(), direction.c_str(),
                                     distance.c_str(), r.directionErr_sec, distanceErr.c_str());
    r.resultLine = platform::formatC(" Inverse: %s -> %s  %s %s,", fromName.c_str(), toName.c_str(),
                                     direction.c_str(), distance.c_str());
    r.stdErrLine = platform::formatC("   St.Err.: Az. %5.1f\", Dist. %s", r.directionErr_sec,
                                     distanceErr.c_str());
    result = r;
    return inverseComputed;
}

void appendInverseToReportFile(const std::string& line) {
    if (openRptFile(appendToFile) <= 0)
        return;
    writeLine(rptFile, line);
    closeRptFile();
}
