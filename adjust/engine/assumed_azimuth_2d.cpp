#include "engine/prelim_coords_2d.hpp"

#include "engine/prelim_support_2d.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"

#include <cmath>
#include <optional>

using namespace prelim2d;

namespace {

constexpr double assumedAzimuthStdErr = 5.0; // seconds of arc

// The lists the pass changes, as they were before it.
class savedLists {
public:
    savedLists() {
        points.copyFrom(pointList2D);
        fixed.copyFrom(fixedPointList2D);
        azimuths.copyFrom(azimuthList2D);
    }
    void putBack() {
        pointList2D.copyFrom(points);
        fixedPointList2D.copyFrom(fixed);
        azimuthList2D.copyFrom(azimuths);
    }

    obsList<coordRec> points;
    obsList<coordRec> fixed;
    seqList<azimuthObs> azimuths;
};

bool isOrigin(const coordRec& point, const coordRec& origin) {
    return sameName(fixedText(point.name), fixedText(origin.name));
}

// The first point of `list` with a position that an angle names, the origin
// excepted (none is excepted when `origin` is null).
std::optional<coordRec> firstAngleStation(obsList<coordRec>& list, const coordRec* origin) {
    std::optional<coordRec> found;
    walk(list, [&](const coordRec& point, int) {
        if (isSet(point.easting) && (origin == nullptr || !isOrigin(point, *origin)) &&
            isAngleStation2D(fixedText(point.name)) == 1)
            found = point;
        return !found;
    });
    return found;
}

// Azimuth 0 from the origin along the first angle that names it: to its
// backsight when the origin is the instrument, else to its instrument.
azimuthObs assumedAzimuthFrom(const coordRec& origin) {
    azimuthObs assumed;
    setPointName(assumed.from, fixedText(origin.name));
    walk(angleList2D, [&](const angleObs2D& a, int) {
        const std::string_view name = fixedText(origin.name);
        if (sameName(fixedText(a.instrument), name))
            setPointName(assumed.to, fixedText(a.backsight));
        else if (sameName(fixedText(a.backsight), name) || sameName(fixedText(a.foresight), name))
            setPointName(assumed.to, fixedText(a.instrument));
        else
            return true;
        return false;
    });
    assumed.azimuth = 0.0;
    assumed.convergence = 0.0;
    assumed.stdErr = assumedAzimuthStdErr;
    return assumed;
}

// Leaves the origin as the only known point and the assumed azimuth as the
// only orientation: every other fixed point joins the points of the run, and
// every point named by an angle loses its position, to be computed afresh.
void enterAssumedFrame(const coordRec& origin, const azimuthObs& assumed,
                       obsList<coordRec>& savedFixed) {
    azimuthList2D.clear();
    azimuthList2D.append(assumed);
    walk(savedFixed, [&](const coordRec& point, int) {
        if (!isOrigin(point, origin))
            pointList2D.append(point);
        return true;
    });
    fixedPointList2D.clear();
    fixedPointList2D.append(origin);
    rewrite(pointList2D, [&](coordRec& point) {
        if (!isSet(point.easting) || isOrigin(point, origin) ||
            isAngleStation2D(fixedText(point.name)) == 0)
            return false;
        point.easting = notComputed;
        point.northing = notComputed;
        return true;
    });
}

std::optional<coordRec> computedPosition(std::string_view name) {
    coordRec point;
    setPointName(point.name, name);
    if (findKnownStation2D(point) != 0)
        return std::nullopt;
    return point;
}

double directionBetween(const coordRec& from, const coordRec& to) {
    double distance = 0.0;
    return inverseDirDist(from.northing, from.easting, to.northing, to.easting, distance);
}

// The turn from the assumed frame onto the control: the known direction from
// the origin to a second known point, or the first observed azimuth, less the
// same direction as computed.
std::optional<double> rotationOntoControl(savedLists& saved, const coordRec& origin) {
    azimuthObs observed;
    if (saved.azimuths.getAt(0, observed) == 0) {
        const auto from = computedPosition(fixedText(observed.from));
        const auto to = computedPosition(fixedText(observed.to));
        if (!from || !to)
            return std::nullopt;
        return normalizedAngle(observed.azimuth - directionBetween(*from, *to));
    }
    auto reference = firstAngleStation(saved.points, &origin);
    if (!reference)
        reference = firstAngleStation(saved.fixed, &origin);
    if (!reference)
        return std::nullopt;
    const auto computed = computedPosition(fixedText(reference->name));
    if (!computed)
        return std::nullopt;
    return normalizedAngle(directionBetween(origin, *reference) -
                           directionBetween(origin, *computed));
}

// Every point that had no position and got one in the assumed frame takes
// it turned about the origin, in the saved list.
void rotateNewPoints(savedLists& saved, const coordRec& origin, double rotation) {
    rewrite(saved.points, [&](coordRec& point) {
        if (isSet(point.easting))
            return false;
        const auto computed = computedPosition(fixedText(point.name));
        if (!computed)
            return false;
        double distance = 0.0;
        const double direction = inverseDirDist(origin.northing, origin.easting, computed->northing,
                                                computed->easting, distance) +
                                 rotation;
        point.easting = origin.easting + distance * std::sin(direction);
        point.northing = origin.northing + distance * std::cos(direction);
        refreshGeodeticContext(point);
        return true;
    });
}

} // namespace

int assumedAzimuthPass2D() {
    auto origin = firstAngleStation(fixedPointList2D, nullptr);
    if (!origin)
        origin = firstAngleStation(pointList2D, nullptr);
    if (!origin)
        return assumedAzimuthImpossible;

    savedLists saved;
    enterAssumedFrame(*origin, assumedAzimuthFrom(*origin), saved.fixed);
    const int left = prelimPass2D();
    if (left != 0) {
        saved.putBack();
        return left;
    }
    const auto rotation = rotationOntoControl(saved, *origin);
    if (!rotation) {
        saved.putBack();
        return assumedAzimuthImpossible;
    }
    rotateNewPoints(saved, *origin, *rotation);
    saved.putBack();
    return 0;
}
