#pragma once
// The blunder modes' work on the row weights, the same for the horizontal
// and the three-dimensional adjustment: which rows float in mode 10, the
// floating passes and the reruns of the best of them, and the reweighting
// passes of mode 11. Every weight changes through `RowWeights::setRowWeight`,
// so a GPS vector's weight block is scaled as a whole and stays positive
// definite whatever one of its components is given.

#include "engine/linearised_network.hpp"
#include "engine/network_solver.hpp"
#include "model/run_context.hpp"

#include <functional>
#include <vector>

// The rows that take turns to float: every row but the weighted control,
// which stands at `controlRowsStart` in a network of `rowCount` rows.
std::vector<int> floatingRows(int rowCount, int controlRowsStart, int controlRowCount);

// One model's side of the floating passes: its single pass (adjust2DPass,
// adjust3DPass), the program-wide weights that pass reads, putting back the
// positions each pass starts from, and the words of an overflowed pass.
struct FloatingPassModel {
    int (*runPass)(const RunContext& context, int report, double* refVar, int index);
    RowWeights& passWeights;
    std::function<void()> restoreStartPositions;
    const char* overflowFormat;
};

// Mode 10: each of `rows` floats in turn from `weights`, every pass from the
// start positions; the `best` passes with the smallest reference variance
// (best-solutions table) then run again with their listing, each from the
// positions the run before left, unless the user cancelled. The pass
// weights are emptied and the closing note of the mode written.
void runFloatingPasses(const RunContext& context, const FloatingPassModel& model,
                       const RowWeights& weights, const std::vector<int>& rows, int best);

// One model's side of the reweighting passes: its network, the program-wide
// weights its passes adjust with, keeping a converged pass's results as the
// run's results, and listing a pass in the error report.
struct ReweightingModel {
    LinearisedNetwork& network;
    RowWeights& passWeights;
    std::function<NetworkSolver::Statistics(NetworkSolver&)> keepResults;
    std::function<void(const NetworkSolver::Statistics&, int iterations)> listPass;
};

// How the reweighting passes ended: after every pass or a cancel, at a
// singular N or a correction not finite (said in the error report and a
// message box), or at a pass that did not converge (said through
// writeRptMessage).
enum class ReweightingEnd { completed, brokeDown, notConverged };

// Mode 11: `passes` adjustments, the first with `weights`, each later one
// with every row's standard error s = (|v| + sigma of the adjusted
// observation) / 2 of the pass before, its weight 1/s^2. The pass after
// which exactly one pass remains is listed. The pass weights are emptied
// afterwards, and the closing note of the mode written when the passes
// completed.
ReweightingEnd runReweightingPasses(const RunContext& context, const ReweightingModel& model,
                                    const RowWeights& weights, int passes);
