#include "engine/sideshots_2d.hpp"

#include "engine/sideshot_figures.hpp"

#include "model/angle_math.hpp"
#include "model/direction_between_points.hpp"
#include "model/point_errors.hpp"
#include "model/program_lists.hpp"
#include "model/record_walks.hpp"
#include "platform/shell_services.hpp"

#include <cmath>
#include <vector>

namespace {

// Seconds of arc per radian as the sideshot errors are converted.
constexpr double sideshotSecondsPerRadian = 206264.8;

double spread(double stdErr) {
    return stdErr > 0 ? stdErr : 0.0;
}

bool knownPoint2D(std::string_view name, coordRec& point) {
    if (pointList2D.find(name, point) < 0 && fixedPointList2D.find(name, point) < 0)
        return false;
    return isSet(point.easting);
}

struct Direction {
    double value_rad = 0.0;
    double stdErr_rad = 0.0;
};

bool directionTo(std::string_view from, std::string_view to, int angleCursor, Direction& d) {
    return azimuthBetween2D(d.value_rad, d.stdErr_rad, from, to, angleCursor) == directionFound;
}

// The placement of P by `rule`, with its position and standard errors.
SideshotPlacement placedAt(SideshotPlacement::Rule rule, const coordRec& p) {
    SideshotPlacement placement;
    placement.rule = rule;
    placement.sideshot = fixedText(p.name);
    placement.northing = p.northing;
    placement.easting = p.easting;
    placement.stdErrN = p.stdErrN;
    placement.stdErrE = p.stdErrE;
    return placement;
}

double inSeconds(double stdErr_rad) {
    return stdErr_rad * angle::secondsPerRadian;
}

// P from a distance to a known point and the direction from it.
bool placeRadially(coordRec& p, const distanceObs2D& d, int angleCursor,
                   SideshotPlacement& placement) {
    const std::string_view name = fixedText(p.name);
    std::string_view otherName;
    if (sameName(fixedText(d.from), name))
        otherName = fixedText(d.to);
    else if (sameName(fixedText(d.to), name))
        otherName = fixedText(d.from);
    else
        return false;
    coordRec k;
    Direction t;
    if (!isSet(d.distance) || !knownPoint2D(otherName, k) ||
        !directionTo(otherName, name, angleCursor, t))
        return false;
    const double dist = d.distance;
    const double sd = spread(d.stdErrDist);
    const double st = inSeconds(t.stdErr_rad) / sideshotSecondsPerRadian;
    const double sinT = std::sin(t.value_rad);
    const double cosT = std::cos(t.value_rad);
    p.easting = k.easting + dist * sinT;
    p.northing = k.northing + dist * cosT;
    p.stdErrE = std::sqrt(std::pow(spread(k.stdErrE), 2) + sinT * sinT * sd * sd +
                          std::pow(dist * cosT * st, 2));
    p.stdErrN = std::sqrt(std::pow(spread(k.stdErrN), 2) + cosT * cosT * sd * sd +
                          std::pow(dist * sinT * st, 2));
    placement = placedAt(SideshotPlacement::Rule::radial, p);
    placement.known[0] = fixedText(k.name);
    placement.distance = dist;
    placement.angles_rad[0] = t.value_rad;
    return true;
}

// One round of `distanceList2D` from its cursor, wrapping to the start; only
// the distances that name P can place it, so only those are tried, in the
// round's order.
bool locateRadially(coordRec& p, int angleCursor, SideshotPlacement& placement) {
    distanceObs2D d;
    const bool atEnd = distanceList2D.getAtCursor(d) != 0;
    const int start = atEnd ? 0 : distanceList2D.cursorIndex();
    const std::vector<sideshotfigures::Numbered<distanceObs2D>> round =
        sideshotfigures::roundNaming<distanceObs2D>(distanceList2D, fixedText(p.name), start);
    for (const auto& [position, distance] : round) {
        if (placeRadially(p, distance, angleCursor, placement)) {
            distanceList2D.seekCursorAfter(position);
            return true;
        }
    }
    if (!atEnd && start == 0)
        distanceList2D.seekCursorAfter(distanceList2D.count() - 1);
    return false;
}

bool resetSideshotPosition(coordRec& p) {
    if (p.pointType != ptSideshot)
        return false;
    p.easting = notComputed;
    p.northing = notComputed;
    return true;
}

} // namespace

int locateSideshotByAzimuths2D(coordRec& point, SideshotPlacement& placement, int angleCursor) {
    sideshotfigures::Sightings<coordRec> s;
    if (!sideshotfigures::intersectSightings(pointList2D, fixedPointList2D, point, azimuthBetween2D,
                                             angleCursor, intersectDirections2D, s))
        return 0;
    placement = placedAt(SideshotPlacement::Rule::twoDirections, point);
    placement.known[0] = fixedText(s.found[0].point.name);
    placement.known[1] = fixedText(s.found[1].point.name);
    placement.angles_rad[0] = s.found[0].direction_rad;
    placement.angles_rad[1] = s.found[1].direction_rad;
    return 1;
}

int locateSideshotByResection2D(coordRec& point, SideshotPlacement& placement) {
    sideshotfigures::ResectionAngles<coordRec> r;
    if (!sideshotfigures::resectSideshot(angleList2D, point, knownPoint2D, r))
        return 0;
    placement = placedAt(SideshotPlacement::Rule::twoAngles, point);
    placement.known[0] = fixedText(r.b1.name);
    placement.known[1] = fixedText(r.f1.name);
    placement.known[2] = fixedText(r.f2.name);
    placement.angles_rad[0] = r.a1;
    placement.angles_rad[1] = r.a2;
    return 1;
}

int locateSideshot2D(coordRec& point, int angleCursor, SideshotPlacement& placement) {
    if (locateRadially(point, angleCursor, placement))
        return 1;
    if (locateSideshotByAzimuths2D(point, placement, angleCursor) != 0)
        return 1;
    return locateSideshotByResection2D(point, placement);
}

std::vector<SideshotPlacement> computeSideshots2D(const RunContext& context) {
    ShellServices& shell = context.shell;
    const int angleCursor = angleList2D.openCursor(0);
    shell.setMessage("Initializing Sideshots");
    changeRecords(pointList2D, resetSideshotPosition);
    shell.setMessage("Computing Sideshots");
    std::vector<SideshotPlacement> placements;
    for (bool placed = true; placed;) {
        placed = false;
        changeRecords(pointList2D, [&](coordRec& p) {
            SideshotPlacement placement;
            if (p.pointType != ptSideshot || isSet(p.easting) ||
                locateSideshot2D(p, angleCursor, placement) == 0)
                return false;
            placements.push_back(std::move(placement));
            placed = true;
            return true;
        });
    }
    shell.setPercent(0);
    angleList2D.closeCursor(angleCursor);
    return placements;
}
