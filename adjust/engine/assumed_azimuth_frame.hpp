#pragma once
// The assumed-azimuth solution that the 2D and the 3D preliminary
// coordinates share: the network is solved from one origin (the first known
// point met in an angle) with an assumed azimuth 0 to a neighbour, then the
// new points are turned about the origin onto the control (a second known
// point, or the first observed azimuth).
//
// It works over a chain description `Chain` with:
//   Station, Angle, AzimuthList      the records and the azimuth list type;
//   stations(), fixed(), azimuths(), angles()   the chain's lists;
//   known(name)                      the known point of the name, if any;
//   isAngleStation(name)             1 when an angle names it;
//   links()                          the stations the points were placed
//                                    from, forgotten with their positions;
//   prelimPass()                     one solution without the assumed
//                                    azimuth: the points left;
//   joinsFrame(fixedPoint)           whether a fixed point other than the
//                                    origin joins the points of the run in the
//                                    assumed frame;
//   placedInSaved(point)             what a point turned into place still
//                                    needs;
//   leftAfterFailure(leftInFrame)    the count returned when the frame left
//                                    points (the lists are back by then).

#include "engine/prelim_support_2d.hpp"
#include "model/observation_records.hpp"
#include "model/plane_geometry.hpp"
#include "model/point_name.hpp"

#include <cmath>
#include <optional>
#include <string_view>

// Result of the assumed-azimuth passes when they have no origin or no
// reference for the rotation.
inline constexpr int assumedAzimuthImpossible = 1;

namespace assumedframe {

inline constexpr double assumedAzimuthStdErr = 5.0; // seconds of arc

// The lists the pass changes, as they were before it.
template <class Chain> class savedLists {
public:
    savedLists() {
        stations.copyFrom(Chain::stations());
        fixed.copyFrom(Chain::fixed());
        azimuths.copyFrom(Chain::azimuths());
    }
    void putBack() {
        Chain::stations().copyFrom(stations);
        Chain::fixed().copyFrom(fixed);
        Chain::azimuths().copyFrom(azimuths);
    }

    obsList<typename Chain::Station> stations;
    obsList<typename Chain::Station> fixed;
    typename Chain::AzimuthList azimuths;
};

template <class Station> bool isOrigin(const Station& point, const Station& origin) {
    return sameName(fixedText(point.name), fixedText(origin.name));
}

// The first point of `list` with a position that an angle names, the origin
// excepted (none is excepted when `origin` is null).
template <class Chain>
std::optional<typename Chain::Station> firstAngleStation(obsList<typename Chain::Station>& list,
                                                         const typename Chain::Station* origin) {
    std::optional<typename Chain::Station> found;
    prelim2d::walk(list, [&](const typename Chain::Station& point, int) {
        if (isSet(point.easting) && (origin == nullptr || !isOrigin(point, *origin)) &&
            Chain::isAngleStation(fixedText(point.name)) == 1)
            found = point;
        return !found;
    });
    return found;
}

// Azimuth 0 from the origin along the first angle that names it: to its
// backsight when the origin is the instrument, else to its instrument.
template <class Chain> azimuthObs assumedAzimuthFrom(const typename Chain::Station& origin) {
    azimuthObs assumed;
    const std::string_view name = fixedText(origin.name);
    setPointName(assumed.from, name);
    Chain::angles().visitNaming(name, [&](const typename Chain::Angle& a) {
        const bool atInstrument = sameName(fixedText(a.instrument), name);
        setPointName(assumed.to, fixedText(atInstrument ? a.backsight : a.instrument));
        return false;
    });
    assumed.azimuth = 0.0;
    assumed.convergence = 0.0;
    assumed.stdErr = assumedAzimuthStdErr;
    return assumed;
}

// Leaves the origin as the only known point and the assumed azimuth as the
// only orientation: the other fixed points that join the frame become points
// of the run, and every point named by an angle loses its position, to be
// computed afresh.
template <class Chain>
void enterAssumedFrame(const typename Chain::Station& origin, const azimuthObs& assumed,
                       obsList<typename Chain::Station>& savedFixed) {
    using Station = typename Chain::Station;
    Chain::azimuths().clear();
    Chain::azimuths().append(assumed);
    prelim2d::walk(savedFixed, [&](const Station& point, int) {
        if (!isOrigin(point, origin) && Chain::joinsFrame(point))
            Chain::stations().append(point);
        return true;
    });
    Chain::fixed().clear();
    Chain::fixed().append(origin);
    prelim2d::rewrite(Chain::stations(), [&](Station& point) {
        if (!isSet(point.easting) || isOrigin(point, origin) ||
            Chain::isAngleStation(fixedText(point.name)) == 0)
            return false;
        point.easting = notComputed;
        point.northing = notComputed;
        return true;
    });
}

template <class Station> double directionBetween(const Station& from, const Station& to) {
    double distance = 0.0;
    return inverseDirDist(from.northing, from.easting, to.northing, to.easting, distance);
}

// The turn from the assumed frame onto the control: the known direction from
// the origin to a second known point, or the first observed azimuth, less the
// same direction as computed.
template <class Chain>
std::optional<double> rotationOntoControl(savedLists<Chain>& saved,
                                          const typename Chain::Station& origin) {
    azimuthObs observed;
    if (saved.azimuths.getAt(0, observed) == 0) {
        const auto from = Chain::known(observed.from);
        const auto to = Chain::known(observed.to);
        if (!from || !to)
            return std::nullopt;
        return normalizedAngle(observed.azimuth - directionBetween(*from, *to));
    }
    auto reference = firstAngleStation<Chain>(saved.stations, &origin);
    if (!reference)
        reference = firstAngleStation<Chain>(saved.fixed, &origin);
    if (!reference)
        return std::nullopt;
    const auto computed = Chain::known(reference->name);
    if (!computed)
        return std::nullopt;
    return normalizedAngle(directionBetween(origin, *reference) -
                           directionBetween(origin, *computed));
}

// Every point that had no position and got one in the assumed frame takes it
// turned about the origin, in the saved list. A point placed there that no
// angle names (by distances from angle stations, say) is turned with the
// others: left without a position it would go to the adjustment unplaced.
template <class Chain>
void rotateNewPoints(savedLists<Chain>& saved, const typename Chain::Station& origin,
                     double rotation) {
    prelim2d::rewrite(saved.stations, [&](typename Chain::Station& point) {
        if (isSet(point.easting))
            return false;
        const auto computed = Chain::known(point.name);
        if (!computed)
            return false;
        double distance = 0.0;
        const double direction = inverseDirDist(origin.northing, origin.easting, computed->northing,
                                                computed->easting, distance) +
                                 rotation;
        point.easting = origin.easting + distance * std::sin(direction);
        point.northing = origin.northing + distance * std::cos(direction);
        Chain::placedInSaved(point);
        return true;
    });
}

// The whole pass: 0 when every point was placed; otherwise the points left
// or assumedAzimuthImpossible. The point, fixed and azimuth lists are
// always put back, with the turned positions added on success.
template <class Chain> int solveInAssumedFrame() {
    auto origin = firstAngleStation<Chain>(Chain::fixed(), nullptr);
    if (!origin)
        origin = firstAngleStation<Chain>(Chain::stations(), nullptr);
    if (!origin)
        return assumedAzimuthImpossible;

    savedLists<Chain> saved;
    enterAssumedFrame<Chain>(*origin, assumedAzimuthFrom<Chain>(*origin), saved.fixed);
    Chain::links().clear();
    const int left = Chain::prelimPass();
    if (left != 0) {
        saved.putBack();
        return Chain::leftAfterFailure(left);
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

} // namespace assumedframe
