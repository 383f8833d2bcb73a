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
#include <vector>

// A direction from a known station to the station being solved.
template <class Station> struct keptDirection {
    Station known;
    double direction = 0.0; // radians, clockwise from grid north
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
        kept.directions.push_back({*known, direction});
        return kept.directions.size() < maxDirections;
    });
}

// Direction from a known instrument to the station, turned by `turn` from the
// instrument's direction to `reference` (an observed azimuth, else the grid
// direction to a known reference station).
template <class Chain>
std::optional<keptDirection<typename Chain::Station>>
directionFromAngle(const pointNameField& instrumentName, const pointNameField& reference,
                   double turn) {
    const auto instrument = Chain::known(instrumentName);
    if (!instrument)
        return std::nullopt;
    azimuthObs az;
    double base = 0.0;
    if (Chain::azimuths().find(fixedText(instrumentName), fixedText(reference), az) >= 0) {
        base = az.azimuth;
    } else {
        const auto target = Chain::known(reference);
        if (!target)
            return std::nullopt;
        double distance = 0.0;
        base = inverseDirDist(instrument->northing, instrument->easting, target->northing,
                              target->easting, distance);
    }
    return keptDirection<typename Chain::Station>{*instrument, normalizedAngle(base + turn)};
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
// resection, angles that sight it from a known instrument give directions,
// each tried at once with the kept distances. True when one placed it.
template <class Chain>
bool solveFromAngles(keptObservations<Chain>& kept, typename Chain::Station& station) {
    bool placed = false;
    Chain::angles().visitNaming(fixedText(station.name), [&](const typename Chain::Angle& a) {
        std::optional<keptDirection<typename Chain::Station>> direction;
        if (samePoint(a.instrument, station.name))
            keepResectionAngle(a, kept);
        else if (samePoint(a.foresight, station.name))
            direction = directionFromAngle<Chain>(a.instrument, a.backsight, a.angle);
        else if (samePoint(a.backsight, station.name))
            direction = directionFromAngle<Chain>(a.instrument, a.foresight, -a.angle);
        if (!direction || kept.directions.size() >= maxDirections)
            return true;
        kept.directions.push_back(*direction);
        placed =
            !kept.distances.empty() && Chain::polar(kept.distances, kept.directions, station) == 1;
        return !placed;
    });
    return placed;
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
