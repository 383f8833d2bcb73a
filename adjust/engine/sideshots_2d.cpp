#include "engine/sideshots_2d.hpp"

#include "model/angle_math.hpp"
#include "model/direction_between_points.hpp"
#include "model/plane_geometry.hpp"
#include "model/point_errors.hpp"
#include "model/program_lists.hpp"
#include "model/record_walks.hpp"
#include "platform/shell_services.hpp"

#include <cmath>

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

// One round of `distanceList2D` from its cursor, wrapping to the start.
bool locateRadially(coordRec& p, int angleCursor, SideshotPlacement& placement) {
    const int total = distanceList2D.count();
    distanceObs2D d;
    for (int seen = 0; seen < total; ++seen) {
        if (distanceList2D.getAtCursor(d) != 0) {
            distanceList2D.seekCursor(0);
            distanceList2D.getAtCursor(d);
        }
        distanceList2D.advanceCursor();
        if (placeRadially(p, d, angleCursor, placement))
            return true;
    }
    return false;
}

struct Sighting {
    coordRec point;
    Direction direction;
};

// Up to two known points of the list, other than P, with a direction to P.
void collectSightings(obsList<coordRec>& list, std::string_view name, int angleCursor,
                      Sighting (&found)[2], int& count) {
    visitRecords(list, [&](const coordRec& k) {
        const std::string_view kName = fixedText(k.name);
        if (!sameName(kName, name) && isSet(k.easting) &&
            directionTo(kName, name, angleCursor, found[count].direction))
            found[count++].point = k;
        return count < 2;
    });
}

struct ResectionAngles {
    coordRec b1, f1, f2;
    double a1 = 0.0;
    double a2 = 0.0;
    bool first = false;
    bool complete = false;
};

// Takes one angle at P into the resection being gathered.
bool gatherAngle(const angleObs2D& a, std::string_view name, ResectionAngles& r) {
    coordRec bs;
    coordRec fs;
    if (!sameName(fixedText(a.instrument), name) || !knownPoint2D(fixedText(a.backsight), bs) ||
        !knownPoint2D(fixedText(a.foresight), fs))
        return false;
    if (!r.first) {
        r.b1 = bs;
        r.f1 = fs;
        r.a1 = a.angle;
        r.first = true;
        return false;
    }
    const std::string_view fsName = fixedText(a.foresight);
    // A foresight to B1 or F1 adds no third point.
    if (sameName(fsName, fixedText(r.b1.name)) || sameName(fsName, fixedText(r.f1.name)))
        return false;
    if (sameName(fixedText(a.backsight), fixedText(r.f1.name)))
        r.a2 = a.angle;
    else if (sameName(fixedText(a.backsight), fixedText(r.b1.name)))
        r.a2 = normalizedAngle(a.angle - r.a1);
    else
        return false;
    r.f2 = fs;
    r.complete = true;
    return true;
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
    const std::string_view name = fixedText(point.name);
    Sighting found[2];
    int count = 0;
    collectSightings(pointList2D, name, angleCursor, found, count);
    if (count < 2)
        collectSightings(fixedPointList2D, name, angleCursor, found, count);
    if (count < 2)
        return 0;
    const Sighting& a = found[0];
    const Sighting& b = found[1];
    if (intersectDirections2D(a.point, a.direction.value_rad, inSeconds(a.direction.stdErr_rad),
                              b.point, b.direction.value_rad, inSeconds(b.direction.stdErr_rad),
                              point) != geometrySolved)
        return 0;
    placement = placedAt(SideshotPlacement::Rule::twoDirections, point);
    placement.known[0] = fixedText(a.point.name);
    placement.known[1] = fixedText(b.point.name);
    placement.angles_rad[0] = a.direction.value_rad;
    placement.angles_rad[1] = b.direction.value_rad;
    return 1;
}

int locateSideshotByResection2D(coordRec& point, SideshotPlacement& placement) {
    const std::string_view name = fixedText(point.name);
    ResectionAngles r;
    visitRecords(angleList2D, [&](const angleObs2D& a) { return !gatherAngle(a, name, r); });
    double n = 0.0;
    double e = 0.0;
    if (!r.complete ||
        resection3Pt(r.b1.northing, r.b1.easting, r.f1.northing, r.f1.easting, r.f2.northing,
                     r.f2.easting, r.a1, r.a2, n, e) != geometrySolved)
        return 0;
    point.northing = n;
    point.easting = e;
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
