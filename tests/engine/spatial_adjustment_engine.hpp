#pragma once
// Runs the three-dimensional adjustment's solver on the program-wide lists,
// without reports, and hands back what a converged run keeps.

#include "engine/network_solver.hpp"
#include "engine/point_error_ellipses.hpp"
#include "engine/spatial_network.hpp"
#include "model/list_snapshot.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace net3d {

// State Plane 1983, Colorado Central (0502): GRS 80, grid in metres.
inline void useStatePlane83Colorado() {
    projectVars.gridSystem = gridStatePlane83;
    projectVars.gridZone = 502;
    projectVars.confidenceInterval = 95.0;
}

struct EngineResult {
    SpatialNetwork network;
    SolveStatus status = SolveStatus::notConverged;
    int iterations = 0;
    std::vector<std::array<double, 3>> positions; // X, Y, Z of each adjustable station
    NetworkSolver::Statistics statistics;
    std::vector<errEllipseRec> ellipses;
    std::string problem;
};

inline EngineResult runEngine(int maxIterations = 30, double convergeLimit = 1e-7) {
    EngineResult out;
    if (!readSpatialNetwork(out.network, out.problem)) {
        out.status = SolveStatus::singular;
        return out;
    }
    const RowWeights weights = buildWeights3D(out.network);
    NetworkSolver solver(out.network, weights);
    out.status = solver.iterate(maxIterations, convergeLimit, nullptr);
    out.iterations = solver.iterations();
    if (out.status != SolveStatus::converged)
        return out;
    out.statistics = solver.statistics();
    out.ellipses = pointErrorEllipses(out.network, *out.statistics.cofactors,
                                      std::sqrt(out.statistics.referenceVariance));
    for (const stationRec& s : recordsOf(stationList))
        if (s.pointType == ptUnknown || s.pointType == ptWeightedControl)
            out.positions.push_back({s.ecefX, s.ecefY, s.ecefZ});
    return out;
}

} // namespace net3d
