#include "engine/prelim_coords_2d.hpp"
#include "engine/prelim_coords_3d.hpp"

#include "engine/prelim_chain_3d.hpp"
#include "engine/prelim_support_3d.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"

#include <optional>

using namespace prelim3d;

namespace {

constexpr std::size_t maxDistances = 3;

using keptObservations = stationsolver::keptObservations<chain>;
using stationsolver::placeAt;

bool isStation(const pointNameField& field, const stationRec& station) {
    return samePoint(field, station.name);
}

bool solveByVector(stationRec& station) {
    bool placed = false;
    gpsVectorList.visitNaming(fixedText(station.name), [&](const gpsVectorRec& vector) {
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
    stationsolver::collectAzimuthDirections(station, kept);
    if (!kept.distances.empty() && !kept.directions.empty() &&
        polarFromDistDir3D(kept.distances, kept.directions, station) == 1)
        return 1;
    if (stationsolver::solveFromAngles(kept, station) ||
        stationsolver::solveByTwoDirections(kept, station) ||
        stationsolver::solveByResection(kept, station) ||
        stationsolver::solveByTwoDistances(kept, station))
        return 1;
    return 0;
}
