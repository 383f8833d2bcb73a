#include "model/direction_between_points.hpp"

#include "model/angle_math.hpp"
#include "model/plane_geometry.hpp"
#include "model/point_errors.hpp"
#include "model/program_lists.hpp"

#include <array>
#include <cmath>

namespace {

// The point's record when it is known with coordinates.
bool knownPoint(std::string_view name, stationRec& point) {
    if (stationList.find(name, point) < 0 && fixedStationList.find(name, point) < 0)
        return false;
    return isSet(point.easting);
}

bool knownPoint(std::string_view name, coordRec& point) {
    if (pointList2D.find(name, point) < 0 && fixedPointList2D.find(name, point) < 0)
        return false;
    return isSet(point.easting);
}

// The direction error from P to Q, radians; false for coincident points,
// which have no direction.
bool directionError(const stationRec& p, const stationRec& q, double& error) {
    double distanceError = 0.0;
    return inverseStdErrs3D(p, q, error, distanceError) == errorsComputed;
}

bool directionError(const coordRec& p, const coordRec& q, double& error) {
    double distanceError = 0.0;
    return inverseStdErrs2D(p, q, error, distanceError) == errorsComputed;
}

template <class Point> double directionTo(const Point& p, const Point& q) {
    double distance = 0.0;
    return inverseDirDist(p.northing, p.easting, q.northing, q.easting, distance);
}

struct direction {
    double value = 0.0;
    double error = 0.0; // radians
};

// The direction from P to Q turned by `turn`, with the direction error of P-Q
// combined with `angleError` (both radians); false when P and Q coincide.
template <class Point>
bool turnedDirection(const Point& p, const Point& q, double turn, double angleError,
                     direction& result) {
    double error = 0.0;
    if (!directionError(p, q, error))
        return false;
    result.value = normalizedAngle(directionTo(p, q) + turn);
    result.error = std::hypot(error, angleError);
    return true;
}

// The direction from `from` to `to` that one angle gives; the rows of the
// header's table in order, the last that applies standing.
template <class Point, class Angle>
bool directionFromAngle(const Angle& angle, std::string_view from, std::string_view to,
                        direction& result) {
    const std::string_view instrument = fixedText(angle.instrument);
    const std::string_view backsightName = fixedText(angle.backsight);
    const std::string_view foresightName = fixedText(angle.foresight);
    Point ip;
    Point bs;
    Point fs;
    if (!knownPoint(instrument, ip))
        return false;
    const bool backsightKnown = knownPoint(backsightName, bs);
    const bool foresightKnown = !backsightKnown && knownPoint(foresightName, fs);
    if (!backsightKnown && !foresightKnown)
        return false;
    const double a = angle.angle;
    const double sa = angle.stdErr / angle::secondsPerRadian;
    const double pi = angle::pi;
    bool found = false;
    if (sameName(from, instrument) && sameName(to, backsightName))
        found |= backsightKnown ? turnedDirection(ip, bs, 0.0, 0.0, result)
                                : turnedDirection(ip, fs, -a, 0.0, result);
    if (sameName(from, instrument) && sameName(to, foresightName))
        found |= backsightKnown ? turnedDirection(ip, bs, a, sa, result)
                                : turnedDirection(ip, fs, 0.0, 0.0, result);
    if (sameName(to, instrument) && sameName(from, backsightName))
        found |= backsightKnown ? turnedDirection(bs, ip, 0.0, 0.0, result)
                                : turnedDirection(ip, fs, pi - a, sa, result);
    if (sameName(to, instrument) && sameName(from, foresightName))
        found |= backsightKnown ? turnedDirection(ip, bs, a + pi, sa, result)
                                : turnedDirection(fs, ip, 0.0, 0.0, result);
    return found;
}

// An azimuth observation from `from` to `to`, or the reverse one turned by pi.
bool directionFromAzimuth(const azimuthObs& azimuth, std::string_view from, std::string_view to,
                          direction& result) {
    const std::string_view azFrom = fixedText(azimuth.from);
    const std::string_view azTo = fixedText(azimuth.to);
    if (sameName(azTo, from) && sameName(azFrom, to))
        result.value = normalizedAngle(azimuth.azimuth + angle::pi);
    else if (sameName(azFrom, from) && sameName(azTo, to))
        result.value = azimuth.azimuth;
    else
        return false;
    result.error = azimuth.stdErr / angle::secondsPerRadian;
    return true;
}

// Of the azimuths joining the points, only those naming `from` can answer:
// the last of them in the list stands.
template <class List>
bool fromAzimuths(const List& azimuths, std::string_view from, std::string_view to,
                  direction& result) {
    bool found = false;
    azimuths.visitNaming(from, [&](const azimuthObs& azimuth) {
        found |= directionFromAzimuth(azimuth, from, to, result);
        return true;
    });
    return found;
}

// The first angle from the cursor to the end, then from the start up to
// where the cursor stood, that gives the direction; the cursor is left after
// it, or, when none does, where that walk would leave it. An angle gives a
// direction only when it names both points, so only those are tried.
template <class Point, class Angle>
bool fromAngles(obsList<Angle>& angles, int cursor, std::string_view from, std::string_view to,
                direction& result) {
    const int start = angles.cursorIndex(cursor);
    if (start < 0)
        return false;
    Angle atCursor;
    const bool atEnd = angles.getAtCursor(cursor, atCursor) != 0;
    int usedAfter = -1;
    int usedBefore = -1;
    direction before;
    angles.visitNamingFewest(std::array{from, to}, [&](const Angle& angle, int position) {
        if (position >= start && !atEnd) {
            if (!directionFromAngle<Point>(angle, from, to, result))
                return true;
            usedAfter = position;
            return false;
        }
        if (usedBefore < 0 && directionFromAngle<Point>(angle, from, to, before))
            usedBefore = position;
        return true;
    });
    if (usedAfter < 0 && usedBefore >= 0)
        result = before;
    const int used = usedAfter >= 0 ? usedAfter : usedBefore;
    if (used >= 0)
        angles.seekCursorAfter(cursor, used);
    else if (start == 0 && !atEnd)
        angles.seekCursorAfter(cursor, angles.count() - 1);
    return used >= 0;
}

int answer(bool found, const direction& result, double& direction_rad, double& stdErr_rad) {
    if (!found)
        return noDirection;
    direction_rad = result.value;
    stdErr_rad = result.error;
    return directionFound;
}

} // namespace

int azimuthBetween3D(double& direction_rad, double& stdErr_rad, std::string_view from,
                     std::string_view to, int angleCursor) {
    direction result;
    const bool found = fromAzimuths(azimuthList, from, to, result) ||
                       fromAngles<stationRec>(angleList, angleCursor, from, to, result);
    return answer(found, result, direction_rad, stdErr_rad);
}

int azimuthBetween2D(double& direction_rad, double& stdErr_rad, std::string_view from,
                     std::string_view to, int angleCursor) {
    direction result;
    const bool found = fromAzimuths(azimuthList2D, from, to, result) ||
                       fromAngles<coordRec>(angleList2D, angleCursor, from, to, result);
    return answer(found, result, direction_rad, stdErr_rad);
}
