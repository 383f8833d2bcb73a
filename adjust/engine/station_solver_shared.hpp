#pragma once
// The methods of solving one station that the 2D and the 3D preliminary
// coordinates share: directions from observed azimuths and from angles
// measured at known instruments, the intersection of two directions, the
// resection from two angles measured at the station and the intersection of
// two distances on the side an angle shows.
//
// They work over a chain description `Chain` with:
//   Station, Angle, KeptDistance   the records of the chain (a kept distance
//                                  has `known` and a ground distance
//                                  `distance()`);
//   known(name)                    the known station of the name, if any;
//   angles(), azimuths()           the chain's angle and azimuth lists;
//   links()                        the stations the points were placed from
//                                  (engine/placement_links.hpp);
//   polar(distances, directions, station)
//                                  the chain's placement by a distance and a
//                                  direction from one known station (1 placed).

#include "engine/resection_figure.hpp"
#include "model/angle_math.hpp"
#include "model/observation_records.hpp"
#include "model/plane_geometry.hpp"
#include "model/point_name.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A direction from a known station to the station being solved.
template <class Station> struct keptDirection {
    Station known;
    double direction = 0.0; // radians, clockwise from grid north
    // True when the direction is turned from the truth by no more than the
    // known station's own frame (engine/placement_links.hpp): an observed
    // azimuth, or a setup oriented through a point linked to the station.
    bool consistent = false;
};

namespace stationsolver {

inline constexpr std::size_t maxDirections = 9;
inline constexpr std::size_t maxResectionAngles = 9;

using resectiondetail::samePoint;

// What the methods of one station work from.
template <class Chain> struct keptObservations {
    std::vector<typename Chain::KeptDistance> distances;
    std::vector<keptDirection<typename Chain::Station>> directions;
    std::vector<resectionAngle<typename Chain::Station>> resections;
};

template <class Station> void placeAt(Station& station, double n, double e) {
    station.northing = n;
    station.easting = e;
}

// Notes that the station was placed by a figure (unless a distance and a
// direction from one station placed it); 1, the solvers' "placed".
template <class Chain> int placedByFigure(const typename Chain::Station& station) {
    Chain::links().placedByFigure(fixedText(station.name));
    return 1;
}

// The directions of the observed azimuths between the station and a known
// station, as seen from the known one.
template <class Chain>
void collectAzimuthDirections(const typename Chain::Station& station,
                              keptObservations<Chain>& kept) {
    Chain::azimuths().visitNaming(fixedText(station.name), [&](const azimuthObs& az) {
        const bool stationIsFrom = samePoint(az.from, station.name);
        const bool stationIsTo = samePoint(az.to, station.name);
        if (stationIsFrom == stationIsTo)
            return true;
        const auto known = Chain::known(stationIsTo ? az.from : az.to);
        if (!known)
            return true;
        const double direction = stationIsTo ? az.azimuth : normalizedAngle(az.azimuth + angle::pi);
        kept.directions.push_back({*known, direction, true});
        return kept.directions.size() < maxDirections;
    });
}

// The grid direction from a known instrument to the backsight of its angles,
// taken through a known point of the same angles (the backsight first, then
// the foresights) that is linked to the instrument (placementLinks::linked):
// the point it was placed from, one placed from it or from the same station,
// or, for an instrument these passes did not place, another such point.
// None when no such point is sighted.
template <class Chain>
std::optional<double> linkedBacksightDirection(const typename Chain::Station& instrument,
                                               const pointNameField& backsight) {
    const std::string_view name = fixedText(instrument.name);
    const auto throughPoint = [&](const pointNameField& point,
                                  double turn) -> std::optional<double> {
        if (!Chain::links().linked(name, fixedText(point)))
            return std::nullopt;
        const auto sighted = Chain::known(point);
        if (!sighted)
            return std::nullopt;
        double distance = 0.0;
        return normalizedAngle(inverseDirDist(instrument.northing, instrument.easting,
                                              sighted->northing, sighted->easting, distance) -
                               turn);
    };
    std::optional<double> direction = throughPoint(backsight, 0.0);
    if (!direction)
        Chain::angles().visitNaming(name, [&](const typename Chain::Angle& a) {
            if (samePoint(a.instrument, instrument.name) && samePoint(a.backsight, backsight))
                direction = throughPoint(a.foresight, a.angle);
            return !direction;
        });
    return direction;
}

// The backsight directions of one walk of angles (linkedBacksightDirection),
// each worked out once for a run of angles with the same instrument and
// backsight: a setup of many sightings would otherwise walk all its angles
// again for each of them.
template <class Chain> class backsightDirections {
public:
    std::optional<double> of(const typename Chain::Station& instrument,
                             const pointNameField& backsight) {
        if (!last_ || !sameName(last_->instrument, fixedText(instrument.name)) ||
            !sameName(last_->backsight, fixedText(backsight)))
            last_ =
                Entry{std::string(fixedText(instrument.name)), std::string(fixedText(backsight)),
                      linkedBacksightDirection<Chain>(instrument, backsight)};
        return last_->direction;
    }

private:
    struct Entry {
        std::string instrument;
        std::string backsight;
        std::optional<double> direction;
    };
    std::optional<Entry> last_;
};

// Direction from the known instrument of angle `a` to its foresight
// (`toForesight`) or its backsight. The setup is oriented through a linked
// point where it sights one; otherwise the direction is turned by the angle
// from the instrument's direction to the angle's other end (an observed
// azimuth, else the grid direction to that end when it is known).
template <class Chain>
std::optional<keptDirection<typename Chain::Station>>
directionFromAngle(const typename Chain::Angle& a, bool toForesight,
                   backsightDirections<Chain>& backsights) {
    const auto instrument = Chain::known(a.instrument);
    if (!instrument)
        return std::nullopt;
    if (const auto backsight = backsights.of(*instrument, a.backsight))
        return keptDirection<typename Chain::Station>{
            *instrument, normalizedAngle(*backsight + (toForesight ? a.angle : 0.0)), true};
    const pointNameField& reference = toForesight ? a.backsight : a.foresight;
    const double turn = toForesight ? a.angle : -a.angle;
    azimuthObs az;
    if (Chain::azimuths().find(fixedText(a.instrument), fixedText(reference), az) >= 0)
        return keptDirection<typename Chain::Station>{*instrument,
                                                      normalizedAngle(az.azimuth + turn), true};
    const auto target = Chain::known(reference);
    if (!target)
        return std::nullopt;
    double distance = 0.0;
    const double base = inverseDirDist(instrument->northing, instrument->easting, target->northing,
                                       target->easting, distance);
    return keptDirection<typename Chain::Station>{*instrument, normalizedAngle(base + turn), false};
}

// An angle measured at the station between two known stations; a second
// angle between the same two is no new figure.
template <class Chain>
void keepResectionAngle(const typename Chain::Angle& a, keptObservations<Chain>& kept) {
    if (kept.resections.size() >= maxResectionAngles)
        return;
    const auto backsight = Chain::known(a.backsight);
    const auto foresight = Chain::known(a.foresight);
    if (!backsight || !foresight)
        return;
    for (const auto& r : kept.resections)
        if (samePoint(r.backsight.name, a.backsight) && samePoint(r.foresight.name, a.foresight))
            return;
    kept.resections.push_back({*backsight, *foresight, a.angle});
}

// Walks the angles naming the station: angles measured at it are kept for a
// resection, angles that sight it from a known instrument give directions.
template <class Chain>
void collectAngleObservations(const typename Chain::Station& station,
                              keptObservations<Chain>& kept) {
    backsightDirections<Chain> backsights;
    Chain::angles().visitNaming(fixedText(station.name), [&](const typename Chain::Angle& a) {
        std::optional<keptDirection<typename Chain::Station>> direction;
        if (samePoint(a.instrument, station.name))
            keepResectionAngle(a, kept);
        else if (samePoint(a.foresight, station.name))
            direction = directionFromAngle<Chain>(a, true, backsights);
        else if (samePoint(a.backsight, station.name))
            direction = directionFromAngle<Chain>(a, false, backsights);
        if (direction && kept.directions.size() < maxDirections)
            kept.directions.push_back(*direction);
        return true;
    });
}

// Places the station by the best pair of a distance and a direction from one
// known station (Chain::polar), of the directions `accept` takes. True when
// it placed it.
template <class Chain, class Accept>
bool solveByPolar(const keptObservations<Chain>& kept, typename Chain::Station& station,
                  Accept accept) {
    std::vector<keptDirection<typename Chain::Station>> directions;
    for (const auto& t : kept.directions)
        if (accept(t))
            directions.push_back(t);
    return !kept.distances.empty() && !directions.empty() &&
           Chain::polar(kept.distances, directions, station) == 1;
}

// The station is placed by a distance and a consistent direction from one
// known station before any figure is tried. A figure (three distances, two
// directions crossed) puts it between points that may have reached their
// positions along different paths, and a setup there has no point to carry
// one path's orientation on: it turns to a sighted point instead, takes the
// difference of the two paths' errors and passes it on, doubled, to the
// points placed from it.
template <class Chain>
bool solveByConsistentPolar(const keptObservations<Chain>& kept, typename Chain::Station& station) {
    return solveByPolar(kept, station, [](const keptDirection<typename Chain::Station>& t) {
        return t.consistent;
    });
}

// Any distance and direction from one known station, the consistent first.
template <class Chain>
bool solveByAnyPolar(const keptObservations<Chain>& kept, typename Chain::Station& station) {
    return solveByPolar(kept, station,
                        [](const keptDirection<typename Chain::Station>&) { return true; });
}

// Of the kept distances and directions that start at the same known station,
// the pair to place the station by: a consistent direction before one that is
// not, then the shortest distance (an error of the direction moves the
// station by the distance times the error). Null pointers when no known
// station carries both.
template <class KeptDistance, class Station>
std::pair<const KeptDistance*, const keptDirection<Station>*>
bestPolarPair(const std::vector<KeptDistance>& distances,
              const std::vector<keptDirection<Station>>& directions) {
    std::pair<const KeptDistance*, const keptDirection<Station>*> best{nullptr, nullptr};
    const auto rank = [](const KeptDistance& d, const keptDirection<Station>& t) {
        return std::pair{!t.consistent, d.distance()};
    };
    for (const KeptDistance& d : distances)
        for (const keptDirection<Station>& t : directions)
            if (samePoint(d.known.name, t.known.name) &&
                (best.first == nullptr || rank(d, t) < rank(*best.first, *best.second)))
                best = {&d, &t};
    return best;
}

// The first direction crossed with the first later one from another known
// station that crosses it.
template <class Chain>
bool solveByTwoDirections(const keptObservations<Chain>& kept, typename Chain::Station& station) {
    const auto& t = kept.directions;
    for (std::size_t i = 1; i < t.size(); ++i) {
        if (samePoint(t[i].known.name, t[0].known.name))
            continue;
        double n = 0.0, e = 0.0;
        if (intersectDirDir(t[0].known.northing, t[0].known.easting, t[0].direction,
                            t[i].known.northing, t[i].known.easting, t[i].direction, n,
                            e) == geometrySolved) {
            placeAt(station, n, e);
            return true;
        }
    }
    return false;
}

template <class Chain>
bool solveByResection(const keptObservations<Chain>& kept, typename Chain::Station& station) {
    if (kept.resections.size() < 2)
        return false;
    double n = 0.0, e = 0.0;
    if (!resectFromTwoAngles(kept.resections[0], kept.resections[1], n, e))
        return false;
    placeAt(station, n, e);
    return true;
}

// Two distances from the ends of an angle measured at the station; the angle
// tells on which side of the line between them the station lies.
template <class Chain>
bool solveByTwoDistances(const keptObservations<Chain>& kept, typename Chain::Station& station) {
    if (kept.distances.size() < 2 || kept.resections.empty())
        return false;
    const auto& first = kept.distances[0];
    const auto& second = kept.distances[1];
    const auto order = sideOfTwoDistances(kept.resections[0], first.known, second.known);
    if (!order)
        return false;
    const auto& a = *order == distanceOrder::secondFirst ? second : first;
    const auto& b = *order == distanceOrder::secondFirst ? first : second;
    double n = 0.0, e = 0.0;
    if (intersectDistDist(a.known.northing, a.known.easting, b.known.northing, b.known.easting,
                          a.distance(), b.distance(), n, e) != geometrySolved)
        return false;
    placeAt(station, n, e);
    return true;
}

} // namespace stationsolver
