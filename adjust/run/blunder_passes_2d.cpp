#include "model/list_snapshot.hpp"
#include "model/program_lists.hpp"
#include "output/report_lines.hpp"
#include "run/blunder_passes_shared.hpp"
#include "run/horizontal_adjustment.hpp"
#include "run/horizontal_run.hpp"

namespace {

void restorePoints(const std::vector<coordRec>& saved) {
    pointList2D.clear();
    for (const coordRec& point : saved)
        pointList2D.append(point);
}

} // namespace

int adjust2DBlunderPasses(const RunContext& context, int best) {
    if (obsCount == 0 || unknownCount == 0)
        return adjustment2DFailed;
    HorizontalNetwork network;
    if (!readNetworkForRun(context, network))
        return adjustment2DFailed;
    const std::vector<coordRec> savedPoints = recordsOf(pointList2D);
    const FloatingPassModel model{adjust2DPass, lsqWeights2D,
                                  [&savedPoints] { restorePoints(savedPoints); },
                                  overflowPassText2D};
    runFloatingPasses(
        context, model, buildWeights2D(network),
        floatingRows(network.observations(), network.controlRowsStart, network.controlRowCount),
        best);
    return adjustment2DConverged;
}

int adjust2DRepeated(const RunContext& context, int passes) {
    HorizontalNetwork network;
    if (obsCount == 0 || unknownCount == 0 || !readNetworkForRun(context, network))
        return adjustmentPassFailed;
    const ReweightingModel model{
        network, lsqWeights2D,
        [&network](NetworkSolver& solver) { return keepConvergedResults(network, solver); },
        [&context](const NetworkSolver::Statistics& results, int iterations) {
            writeSolutionListings(context, errFile, results, iterations,
                                  SolutionFiles::listingsOnly);
        }};
    switch (runReweightingPasses(context, model, buildWeights2D(network), passes)) {
    case ReweightingEnd::completed:
        return adjustmentPassConverged;
    case ReweightingEnd::brokeDown:
        return adjustmentPassOverflow;
    case ReweightingEnd::notConverged:
        break;
    }
    return adjustmentPassFailed;
}
