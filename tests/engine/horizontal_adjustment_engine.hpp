#pragma once
// Runs the horizontal adjustment's solver on the program-wide lists, without
// reports, and hands back what a converged run keeps.

#include "engine/horizontal_network.hpp"
#include "engine/network_solver.hpp"
#include "engine/point_error_ellipses.hpp"
#include "model/list_snapshot.hpp"
#include "model/program_lists.hpp"

#include <cmath>
#include <string>
#include <vector>

namespace testnet {

struct EngineResult {
    SolveStatus status = SolveStatus::notConverged;
    int iterations = 0;
    std::vector<double> coordinates; // E, N of each adjustable point
    NetworkSolver::Statistics statistics;
    std::vector<errEllipseRec> ellipses;
    std::string problem;
};

inline EngineResult runEngine(int maxIterations = 30, double convergeLimit = 1e-9) {
    EngineResult out;
    HorizontalNetwork network;
    if (!readHorizontalNetwork(network, out.problem))
        return out;
    const RowWeights weights = buildWeights2D(network);
    NetworkSolver solver(network, weights);
    out.status = solver.iterate(maxIterations, convergeLimit, nullptr);
    out.iterations = solver.iterations();
    if (out.status != SolveStatus::converged)
        return out;
    out.statistics = solver.statistics();
    out.ellipses = pointErrorEllipses(network, *out.statistics.cofactors,
                                      std::sqrt(out.statistics.referenceVariance));
    for (const coordRec& p : recordsOf(pointList2D)) {
        out.coordinates.push_back(p.easting);
        out.coordinates.push_back(p.northing);
    }
    return out;
}

} // namespace testnet
