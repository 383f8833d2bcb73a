#include "engine/prelim_coords_2d.hpp"

#include "engine/prelim_chain_2d.hpp"
#include "engine/prelim_support_2d.hpp"
#include "model/angle_math.hpp"
#include "model/plane_geometry.hpp"
#include "model/program_lists.hpp"

#include <cmath>
#include <optional>

using namespace prelim2d;

namespace {

// The three-distance figure takes the first three; a polar placement any
// that starts where a direction does.
constexpr std::size_t maxDistances = 9;

using keptObservations = stationsolver::keptObservations<chain>;
using stationsolver::placeAt;
using stationsolver::samePoint;

bool isPoint(const pointNameField& field, const coordRec& point) {
    return samePoint(field, point.name);
}

void collectDistances(const coordRec& point, keptObservations& kept) {
    distanceList2D.visitNaming(fixedText(point.name), [&](const distanceObs2D& line) {
        const bool pointIsFrom = isPoint(line.from, point);
        const bool pointIsTo = isPoint(line.to, point);
        if (pointIsFrom == pointIsTo || !hasDistance(line))
            return true;
        const auto known = chain::known(pointIsFrom ? line.to : line.from);
        if (!known)
            return true;
        const double vertDiff =
            pointIsFrom && isSet(line.vertDiff) ? -line.vertDiff : line.vertDiff;
        kept.distances.push_back({*known, line, vertDiff});
        return kept.distances.size() < maxDistances;
    });
}

// The three distances reduced to grid and ellipsoid at the provisional
// position; false when an elevation or a factor is missing.
bool reduceThreeDistances(const std::vector<keptDistance2D>& d, const coordRec& provisional,
                          double (&reduced)[3]) {
    for (int i = 0; i < 3; ++i) {
        coordRec at = provisional;
        if (!isSet(at.elevation)) {
            if (!isSet(d[i].known.elevation))
                return false;
            at.elevation = carriedElevation(d[i].known, d[i].vertDiff);
        }
        distanceObs2D line = d[i].line;
        if (!reduceAtProvisionalPosition(d[i].known, at, line))
            return false;
        reduced[i] = line.distance;
    }
    return true;
}

bool solveByThreeDistances(const keptObservations& kept, coordRec& point) {
    const auto& d = kept.distances;
    if (d.size() < 3)
        return false;
    double measured[3] = {d[0].line.distance, d[1].line.distance, d[2].line.distance};
    double n = 0.0, e = 0.0;
    if (intersectKeptDistances(d, measured, n, e) != geometrySolved)
        return false;
    if (projectHasGrid()) {
        coordRec provisional = point;
        placeAt(provisional, n, e);
        double reduced[3];
        if (!reduceThreeDistances(d, provisional, reduced) ||
            intersectKeptDistances(d, reduced, n, e) != geometrySolved)
            return false;
    }
    placeAt(point, n, e);
    return true;
}

} // namespace

int intersectThreeDistances(double nA, double eA, double dA, double nB, double eB, double dB,
                            double nC, double eC, double dC, double& n, double& e) {
    double n1 = 0, e1 = 0, n2 = 0, e2 = 0, n3 = 0, e3 = 0, n4 = 0, e4 = 0;
    if (intersectDistDist(nA, eA, nB, eB, dA, dB, n1, e1) != geometrySolved ||
        intersectDistDist(nB, eB, nA, eA, dB, dA, n2, e2) != geometrySolved ||
        intersectDistDist(nB, eB, nC, eC, dB, dC, n3, e3) != geometrySolved ||
        intersectDistDist(nC, eC, nB, eB, dC, dB, n4, e4) != geometrySolved)
        return geometryNoSolution;
    const double r = std::hypot(n3 - n1, e3 - e1);
    const double t = std::hypot(n4 - n1, e4 - e1);
    const double m = std::hypot(n3 - n2, e3 - e2);
    const double o = std::hypot(n4 - n2, e4 - e2);
    const bool first = (r < t && r < m && r < o) || (r > t && t < m && t < o);
    n = first ? n1 : n2;
    e = first ? e1 : e2;
    return geometrySolved;
}

int polarFromDistDir2D(const std::vector<keptDistance2D>& distances,
                       const std::vector<keptDirection2D>& directions, coordRec& point) {
    const auto [d, t] = stationsolver::bestPolarPair(distances, directions);
    if (d == nullptr)
        return 0;
    coordRec placed = point;
    placePolar(placed, d->known, d->line.distance, t->direction);
    if (projectHasGrid()) {
        if (!isSet(placed.elevation))
            placed.elevation = carriedElevation(d->known, d->vertDiff);
        distanceObs2D line = d->line;
        if (!reduceAtProvisionalPosition(d->known, placed, line))
            return 0;
        placePolar(placed, d->known, line.distance, t->direction);
    }
    point = placed;
    chain::links().placedFrom(fixedText(point.name), fixedText(d->known.name));
    return 1;
}

int solveStation2D(coordRec& point) {
    keptObservations kept;
    collectDistances(point, kept);
    stationsolver::collectAzimuthDirections(point, kept);
    stationsolver::collectAngleObservations(point, kept);
    if (stationsolver::solveByConsistentPolar(kept, point))
        return 1;
    if (solveByThreeDistances(kept, point))
        return stationsolver::placedByFigure<chain>(point);
    if (stationsolver::solveByAnyPolar(kept, point))
        return 1;
    if ((kept.resections.empty() && stationsolver::solveByTwoDirections(kept, point)) ||
        stationsolver::solveByResection(kept, point) ||
        stationsolver::solveByTwoDistances(kept, point))
        return stationsolver::placedByFigure<chain>(point);
    return 0;
}
