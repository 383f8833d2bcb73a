#include "engine/prelim_coords_2d.hpp"
#include "engine/prelim_coords_3d.hpp"

#include "engine/line_combined_factor.hpp"
#include "engine/prelim_chain_3d.hpp"
#include "engine/prelim_support_3d.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"

#include <optional>

using namespace prelim3d;

namespace {

// The three-distance figure takes the first three; a polar placement any
// that starts where a direction does.
constexpr std::size_t maxDistances = 9;

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

// The three ground distances intersected, then taken to the grid by each
// line's combined factor at that position and intersected again: as ground
// distances they would leave the station off by the grid scale (4 cm on a
// line of 100 m where the scale is 0.9996).
bool solveByThreeDistances(const keptObservations& kept, stationRec& station) {
    const auto& d = kept.distances;
    if (d.size() < 3)
        return false;
    const double ground[3] = {d[0].line.meanDist, d[1].line.meanDist, d[2].line.meanDist};
    double n = 0.0, e = 0.0;
    if (intersectKeptDistances(d, ground, n, e) != geometrySolved)
        return false;
    double grid[3];
    for (int i = 0; i < 3; ++i) {
        stationRec at = station;
        placeAt(at, n, e);
        if (!isSet(at.elevation) && isSet(d[i].known.elevation) && isSet(d[i].heightDiff))
            at.elevation = d[i].known.elevation + d[i].heightDiff;
        grid[i] = ground[i] * lineCombinedFactor(d[i].known, at);
    }
    if (intersectKeptDistances(d, grid, n, e) != geometrySolved)
        return false;
    placeAt(station, n, e);
    return true;
}

} // namespace

int polarFromDistDir3D(const std::vector<keptDistance3D>& distances,
                       const std::vector<keptDirection3D>& directions, stationRec& station) {
    const auto [d, t] = stationsolver::bestPolarPair(distances, directions);
    if (d == nullptr)
        return 0;
    placeByGroundDistance(station, d->known, d->line.meanDist, t->direction, d->heightDiff);
    chain::links().placedFrom(fixedText(station.name), fixedText(d->known.name));
    return 1;
}

int solveStation3D(stationRec& station, int useGps) {
    if (useGps != 0 && solveByVector(station))
        return 1;
    keptObservations kept;
    collectDistances(station, kept);
    stationsolver::collectAzimuthDirections(station, kept);
    stationsolver::collectAngleObservations(station, kept);
    if (stationsolver::solveByConsistentPolar(kept, station))
        return 1;
    if (solveByThreeDistances(kept, station))
        return stationsolver::placedByFigure<chain>(station);
    if (stationsolver::solveByAnyPolar(kept, station))
        return 1;
    if (stationsolver::solveByTwoDirections(kept, station) ||
        stationsolver::solveByResection(kept, station) ||
        stationsolver::solveByTwoDistances(kept, station))
        return stationsolver::placedByFigure<chain>(station);
    return 0;
}
