#include "engine/prelim_coords_2d.hpp"
#include "engine/prelim_coords_3d.hpp"

#include "engine/prelim_support_3d.hpp"
#include "engine/resection_figure.hpp"
#include "model/angle_math.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"

#include <optional>

using namespace prelim3d;

namespace {

constexpr std::size_t maxDistances = 3;
constexpr std::size_t maxDirections = 9;
constexpr std::size_t maxResectionAngles = 9;

using resectionAngle3D = resectionAngle<stationRec>;

// What the methods of one station work from.
struct keptObservations {
    std::vector<keptDistance3D> distances;
    std::vector<keptDirection3D> directions;
    std::vector<resectionAngle3D> resections;
};

bool isStation(const pointNameField& field, const stationRec& station) {
    return samePoint(field, station.name);
}

void placeAt(stationRec& station, double n, double e) {
    station.northing = n;
    station.easting = e;
}

bool solveByVector(stationRec& station) {
    bool placed = false;
    walk(gpsVectorList, [&](const gpsVectorRec& vector, int) {
        const bool stationIsFrom = isStation(vector.from, station);
        const bool stationIsTo = isStation(vector.to, station);
        if (stationIsFrom == stationIsTo)
            return true;
        const auto known = knownStation(stationIsTo ? vector.from : vector.to);
        if (!known)
            return true;
        placed = placeByVector(station, *known, vector, stationIsTo);
        return !placed;
    });
    return placed;
}

void collectDistances(const stationRec& station, keptObservations& kept) {
    distanceList.visitNaming(fixedText(station.name), [&](const distanceObs& line) {
        const bool stationIsFrom = isStation(line.from, station);
        const bool stationIsTo = isStation(line.to, station);
        if (stationIsFrom == stationIsTo || !hasDistance(line))
            return true;
        const auto known = knownStation(stationIsFrom ? line.to : line.from);
        if (!known)
            return true;
        const double heightDiff = stationIsFrom && isSet(line.meanHeightDiff) ? -line.meanHeightDiff
                                                                              : line.meanHeightDiff;
        kept.distances.push_back({*known, line, heightDiff});
        return kept.distances.size() < maxDistances;
    });
}

// The three ground distances as they are: a starting position only.
bool solveByThreeDistances(const keptObservations& kept, stationRec& station) {
    const auto& d = kept.distances;
    if (d.size() < 3)
        return false;
    double n = 0.0, e = 0.0;
    if (intersectThreeDistances(d[0].known.northing, d[0].known.easting, d[0].line.meanDist,
                                d[1].known.northing, d[1].known.easting, d[1].line.meanDist,
                                d[2].known.northing, d[2].known.easting, d[2].line.meanDist, n,
                                e) != geometrySolved)
        return false;
    placeAt(station, n, e);
    return true;
}

void collectAzimuthDirections(const stationRec& station, keptObservations& kept) {
    azimuthList.visitNaming(fixedText(station.name), [&](const azimuthObs& az) {
        const bool stationIsFrom = isStation(az.from, station);
        const bool stationIsTo = isStation(az.to, station);
        if (stationIsFrom == stationIsTo)
            return true;
        const auto known = knownStation(stationIsTo ? az.from : az.to);
        if (!known)
            return true;
        const double direction = stationIsTo ? az.azimuth : normalizedAngle(az.azimuth + angle::pi);
        kept.directions.push_back({*known, direction});
        return kept.directions.size() < maxDirections;
    });
}

// Direction from a known instrument to the station, turned by `turn` from
// the instrument's direction to `reference` (an observed azimuth, else the
// grid direction to a known reference station).
std::optional<keptDirection3D> directionFromAngle(const pointNameField& instrumentName,
                                                  const pointNameField& reference, double turn) {
    const auto instrument = knownStation(instrumentName);
    if (!instrument)
        return std::nullopt;
    azimuthObs az;
    double base = 0.0;
    if (azimuthList.find(fixedText(instrumentName), fixedText(reference), az) >= 0) {
        base = az.azimuth;
    } else {
        const auto target = knownStation(reference);
        if (!target)
            return std::nullopt;
        double distance = 0.0;
        base = inverseDirDist(instrument->northing, instrument->easting, target->northing,
                              target->easting, distance);
    }
    return keptDirection3D{*instrument, normalizedAngle(base + turn)};
}

// An angle measured at the station between two known stations; a second
// angle between the same two is no new figure.
void keepResectionAngle(const angleObs& a, keptObservations& kept) {
    if (kept.resections.size() >= maxResectionAngles)
        return;
    const auto backsight = knownStation(a.backsight);
    const auto foresight = knownStation(a.foresight);
    if (!backsight || !foresight)
        return;
    for (const resectionAngle3D& r : kept.resections)
        if (samePoint(r.backsight.name, a.backsight) && samePoint(r.foresight.name, a.foresight))
            return;
    kept.resections.push_back({*backsight, *foresight, a.angle});
}

// Walks the angles naming the station: angles measured at it are kept for a
// resection, angles that sight it from a known instrument give directions,
// each tried at once with the kept distances. True when one placed it.
bool solveFromAngles(keptObservations& kept, stationRec& station) {
    bool placed = false;
    angleList.visitNaming(fixedText(station.name), [&](const angleObs& a) {
        std::optional<keptDirection3D> direction;
        if (isStation(a.instrument, station))
            keepResectionAngle(a, kept);
        else if (isStation(a.foresight, station))
            direction = directionFromAngle(a.instrument, a.backsight, a.angle);
        else if (isStation(a.backsight, station))
            direction = directionFromAngle(a.instrument, a.foresight, -a.angle);
        if (!direction || kept.directions.size() >= maxDirections)
            return true;
        kept.directions.push_back(*direction);
        placed = !kept.distances.empty() &&
                 polarFromDistDir3D(kept.distances, kept.directions, station) == 1;
        return !placed;
    });
    return placed;
}

bool solveByDirections(const keptObservations& kept, stationRec& station) {
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

bool solveByResection(const keptObservations& kept, stationRec& station) {
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
bool solveByTwoDistances(const keptObservations& kept, stationRec& station) {
    if (kept.distances.size() < 2 || kept.resections.empty())
        return false;
    const keptDistance3D& first = kept.distances[0];
    const keptDistance3D& second = kept.distances[1];
    const auto order = sideOfTwoDistances(kept.resections[0], first.known, second.known);
    if (!order)
        return false;
    const keptDistance3D& a = *order == distanceOrder::secondFirst ? second : first;
    const keptDistance3D& b = *order == distanceOrder::secondFirst ? first : second;
    double n = 0.0, e = 0.0;
    if (intersectDistDist(a.known.northing, a.known.easting, b.known.northing, b.known.easting,
                          a.line.meanDist, b.line.meanDist, n, e) != geometrySolved)
        return false;
    placeAt(station, n, e);
    return true;
}

} // namespace

int polarFromDistDir3D(const std::vector<keptDistance3D>& distances,
                       const std::vector<keptDirection3D>& directions, stationRec& station) {
    for (const keptDistance3D& d : distances) {
        for (const keptDirection3D& t : directions) {
            if (!samePoint(d.known.name, t.known.name))
                continue;
            placeByGroundDistance(station, d.known, d.line.meanDist, t.direction, d.heightDiff);
            return 1;
        }
    }
    return 0;
}

int solveStation3D(stationRec& station, int useGps) {
    if (useGps != 0 && solveByVector(station))
        return 1;
    keptObservations kept;
    collectDistances(station, kept);
    if (solveByThreeDistances(kept, station))
        return 1;
    collectAzimuthDirections(station, kept);
    if (!kept.distances.empty() && !kept.directions.empty() &&
        polarFromDistDir3D(kept.distances, kept.directions, station) == 1)
        return 1;
    if (solveFromAngles(kept, station))
        return 1;
    if (kept.directions.size() > 1 && solveByDirections(kept, station))
        return 1;
    if (solveByResection(kept, station) || solveByTwoDistances(kept, station))
        return 1;
    return 0;
}
