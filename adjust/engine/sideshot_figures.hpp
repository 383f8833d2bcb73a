#pragma once
// The two figures that place a sideshot of either chain when no distance
// reaches it: the crossing of the directions from the first two known points
// that have one to it, and the resection from two angles measured at it.
// Templates over the chain's point record (`coordRec`, `stationRec`) and its
// angle list; the chain hands in how it finds a known point by name, its
// direction look-up and its intersection of two directions.

#include "model/angle_math.hpp"
#include "model/direction_between_points.hpp"
#include "model/plane_geometry.hpp"
#include "model/point_name.hpp"
#include "model/record_walks.hpp"
#include "platform/sentinels.hpp"

#include <array>
#include <string_view>
#include <vector>

namespace sideshotfigures {

// A record of a list with its position there.
template <class Record> struct Numbered {
    int position = 0;
    Record record;
};

// The records of an indexed list that name the point, in the order of a
// round of the list that starts at `start` and wraps to the list's start.
template <class Record, class List>
std::vector<Numbered<Record>> roundNaming(const List& list, std::string_view name, int start) {
    std::vector<Numbered<Record>> fromStart;
    std::vector<Numbered<Record>> beforeStart;
    list.visitNamingFewest(std::array{name}, [&](const Record& r, int position) {
        (position >= start ? fromStart : beforeStart).push_back({position, r});
        return true;
    });
    fromStart.insert(fromStart.end(), beforeStart.begin(), beforeStart.end());
    return fromStart;
}

// A known point with its direction to the sideshot.
template <class Point> struct Sighting {
    Point point;
    double direction_rad = 0.0;
    double stdErr_rad = 0.0;
};

template <class Point> struct Sightings {
    Sighting<Point> found[2];
    int count = 0;
};

// The chain's look-up of a direction between two named points
// (azimuthBetween2D, azimuthBetween3D).
using DirectionLookup = int (*)(double& direction_rad, double& stdErr_rad, std::string_view from,
                                std::string_view to, int angleCursor);

// Adds the known points of `list` (a set easting), other than the sideshot,
// that have a direction to it, until two are found.
template <class Point, class List>
void collectSightings(List& list, std::string_view name, DirectionLookup between, int angleCursor,
                      Sightings<Point>& s) {
    if (s.count >= 2)
        return;
    visitRecords(list, [&](const Point& k) {
        const std::string_view kName = fixedText(k.name);
        Sighting<Point>& next = s.found[s.count];
        if (!sameName(kName, name) && isSet(k.easting) &&
            between(next.direction_rad, next.stdErr_rad, kName, name, angleCursor) ==
                directionFound) {
            next.point = k;
            ++s.count;
        }
        return s.count < 2;
    });
}

// Places `p` at the crossing of the directions from the first two known
// points, of `adjusted` and then of `fixed`, that have one to it, with the
// standard errors of `intersect` (intersectDirections2D, ...3D, taking the
// directions' errors in seconds). True when placed; `s` holds the two.
template <class Point, class List>
bool intersectSightings(List& adjusted, List& fixed, Point& p, DirectionLookup between,
                        int angleCursor,
                        int (*intersect)(const Point&, double, double, const Point&, double, double,
                                         Point&),
                        Sightings<Point>& s) {
    const std::string_view name = fixedText(p.name);
    collectSightings<Point>(adjusted, name, between, angleCursor, s);
    collectSightings<Point>(fixed, name, between, angleCursor, s);
    if (s.count < 2)
        return false;
    const Sighting<Point>& a = s.found[0];
    const Sighting<Point>& b = s.found[1];
    return intersect(a.point, a.direction_rad, a.stdErr_rad * angle::secondsPerRadian, b.point,
                     b.direction_rad, b.stdErr_rad * angle::secondsPerRadian, p) == geometrySolved;
}

// The first angle at the sideshot whose backsight B1 and foresight F1 are
// known gives a1; a later one with backsight F1 gives the second angle as
// measured, one with backsight B1 gives it as the difference to a1 (turned
// into [0, 2pi)); its foresight is F2.
template <class Point> struct ResectionAngles {
    Point b1, f1, f2;
    double a1 = 0.0;
    double a2 = 0.0;
    bool first = false;
    bool complete = false;
};

// Takes one angle at the sideshot into the resection being gathered; true
// when the resection is complete. `known(name, point)` is true with the
// known point of the name.
template <class Point, class Angle, class Known>
bool gatherAngle(const Angle& a, std::string_view name, Known&& known, ResectionAngles<Point>& r) {
    Point bs;
    Point fs;
    if (!sameName(fixedText(a.instrument), name) || !known(fixedText(a.backsight), bs) ||
        !known(fixedText(a.foresight), fs))
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

// Walks the angles of `angles` that name the sideshot `p` (only those can
// be measured at it) for its resection and sets its northing and easting;
// true when placed.
template <class Point, class AngleList, class Known>
bool resectSideshot(AngleList& angles, Point& p, Known&& known, ResectionAngles<Point>& r) {
    const std::string_view name = fixedText(p.name);
    angles.visitNaming(name, [&](const auto& a) { return !gatherAngle(a, name, known, r); });
    double n = 0.0;
    double e = 0.0;
    if (!r.complete ||
        resection3Pt(r.b1.northing, r.b1.easting, r.f1.northing, r.f1.easting, r.f2.northing,
                     r.f2.easting, r.a1, r.a2, n, e) != geometrySolved)
        return false;
    p.northing = n;
    p.easting = e;
    return true;
}

} // namespace sideshotfigures
