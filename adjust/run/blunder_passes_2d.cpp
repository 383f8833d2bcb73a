#include "engine/best_solutions.hpp"
#include "model/list_snapshot.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/shell_services.hpp"
#include "reports/report_sections.hpp"
#include "run/horizontal_adjustment.hpp"
#include "run/horizontal_run.hpp"

#include <cmath>

namespace {

void restorePoints(const std::vector<coordRec>& saved) {
    pointList2D.clear();
    for (const coordRec& point : saved)
        pointList2D.append(point);
}

// Reruns each kept pass with its report, from the coordinates the previous
// run left.
void rerunBestPasses(const RunContext& context) {
    for (const bestSolutionRec& slot : bestSolutions) {
        if (slot.index == -1)
            continue;
        double& weight = lsqWeights2D.diagonal[static_cast<std::size_t>(slot.index)];
        const double kept = weight;
        weight = floatedWeight;
        double refVar = 0.0;
        adjust2DPass(context, 1, &refVar, slot.index);
        weight = kept;
    }
}

// w = (|v| + sigma) / 2 of every row becomes its new standard error.
void reweight(const NetworkSolver::Statistics& results) {
    for (std::size_t r = 0; r < results.residuals.size(); ++r) {
        const double w = (std::fabs(results.residuals[r]) + results.observationSigmas[r]) / 2.0;
        lsqWeights2D.diagonal[r] = 1.0 / (w * w);
    }
}

} // namespace

int adjust2DBlunderPasses(const RunContext& context, int best) {
    if (obsCount == 0 || unknownCount == 0)
        return adjustment2DFailed;
    HorizontalNetwork network;
    if (!readNetworkForRun(context, network))
        return adjustment2DFailed;
    lsqWeights2D = buildWeights2D(network);
    const std::vector<coordRec> savedPoints = recordsOf(pointList2D);
    resetBestSolutions();
    // The observations before the weighted control rows take turns to float.
    const int passes = network.controlRowsStart;
    context.shell.showCancel(true);
    bool cancelled = false;
    double kept = 0.0;
    for (int i = 0; i < passes && !cancelled; ++i) {
        cancelled = passCancelled(context, platform::formatC("%d of %d passes.", i, passes));
        if (cancelled)
            break;
        if (i > 0)
            lsqWeights2D.diagonal[static_cast<std::size_t>(i - 1)] = kept;
        kept = lsqWeights2D.diagonal[static_cast<std::size_t>(i)];
        lsqWeights2D.diagonal[static_cast<std::size_t>(i)] = floatedWeight;
        restorePoints(savedPoints);
        double refVar = 0.0;
        const int result = adjust2DPass(context, best == 0 ? 1 : 0, &refVar, i);
        recordPassResult(i, result, refVar, best, overflowPassText2D);
    }
    if (!cancelled) {
        if (passes > 0)
            lsqWeights2D.diagonal[static_cast<std::size_t>(passes - 1)] = kept;
        rerunBestPasses(context);
    }
    context.shell.showCancel(false);
    lsqWeights2D = RowWeights{};
    writeRptBlunderFloatNote();
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
        reweight(results);
    }
    shell.showCancel(false);
    lsqWeights2D = RowWeights{};
    writeRptBlunderNote();
    return adjustmentPassConverged;
}
