#include "model/list_snapshot.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/shell_services.hpp"
#include "reports/report_sections.hpp"
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
    lsqWeights2D = buildWeights2D(network);
    ShellServices& shell = context.shell;
    shell.showCancel(true);
    for (int remaining = passes; remaining > 0;) {
        --remaining;
        if (passCancelled(context, platform::formatC("Passes remaining: %d", remaining)))
            break;
        releaseAdjustmentResults();
        NetworkSolver solver(network, lsqWeights2D);
        const SolveStatus status =
            solver.iterate(projectVars.maxIterations, projectVars.convergeLimit, nullptr);
        if (status == SolveStatus::overflow || status == SolveStatus::singular) {
            reportRunFailure(context, status == SolveStatus::overflow
                                          ? overflowText
                                          : singularNetworkText(solver));
            shell.showCancel(false);
            return adjustmentPassOverflow;
        }
        if (status != SolveStatus::converged) {
            writeRptMessage(nonConvergenceText());
            shell.showCancel(false);
            return adjustmentPassFailed;
        }
        const NetworkSolver::Statistics results = keepConvergedResults(network, solver);
        // The listed pass is the one after which exactly one pass remains.
        if (remaining == 1)
            writeSolutionListings(context, errFile, results, solver.iterations(),
                                  SolutionFiles::listingsOnly);
        reweightFromPass(lsqWeights2D, results);
    }
    shell.showCancel(false);
    lsqWeights2D = RowWeights{};
    writeRptBlunderNote();
    return adjustmentPassConverged;
}
