#include "run/blunder_passes_shared.hpp"

#include "engine/adjustment_results.hpp"
#include "engine/best_solutions.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/shell_services.hpp"
#include "reports/report_sections.hpp"
#include "run/adjustment_steps.hpp"

#include <cmath>

namespace {

// `weights` with row `row` floated, into the pass weights.
void floatRow(const FloatingPassModel& model, const RowWeights& weights, int row) {
    model.passWeights = weights;
    model.passWeights.setRowWeight(static_cast<std::size_t>(row), floatedWeight);
}

// The passes, one a row; false when the user cancelled.
bool floatEachRow(const RunContext& context, const FloatingPassModel& model,
                  const RowWeights& weights, const std::vector<int>& rows, int best) {
    const int passes = static_cast<int>(rows.size());
    for (int i = 0; i < passes; ++i) {
        if (passCancelled(context, platform::formatC("%d of %d passes.", i, passes)))
            return false;
        const int row = rows[static_cast<std::size_t>(i)];
        floatRow(model, weights, row);
        model.restoreStartPositions();
        double refVar = 0.0;
        const int result = model.runPass(context, best == 0 ? 1 : 0, &refVar, row);
        recordPassResult(row, result, refVar, best, model.overflowFormat);
    }
    return true;
}

// Reruns each kept pass with its listing, from the positions the previous
// run left.
void rerunBestPasses(const RunContext& context, const FloatingPassModel& model,
                     const RowWeights& weights) {
    for (const bestSolutionRec& slot : bestSolutions) {
        if (slot.index == -1)
            continue;
        floatRow(model, weights, slot.index);
        double refVar = 0.0;
        model.runPass(context, 1, &refVar, slot.index);
    }
}

// The weights of the next reweighting pass: every row's standard error
// becomes s = (|v| + sigma of the adjusted observation) / 2 of the converged
// pass, its weight 1/s^2.
void reweightFromPass(RowWeights& weights, const NetworkSolver::Statistics& results) {
    for (std::size_t r = 0; r < results.residuals.size(); ++r) {
        const double s = (std::fabs(results.residuals[r]) + results.observationSigmas[r]) / 2.0;
        weights.setRowWeight(r, 1.0 / (s * s));
    }
}

// One reweighting pass: adjusts with the pass weights and, once converged,
// keeps and (when `listed`) lists its results and reweights from them.
ReweightingEnd reweightingPass(const RunContext& context, const ReweightingModel& model,
                               bool listed) {
    releaseAdjustmentResults();
    NetworkSolver solver(model.network, model.passWeights);
    const SolveStatus status =
        solver.iterate(projectVars.maxIterations, projectVars.convergeLimit, nullptr);
    if (status == SolveStatus::overflow || status == SolveStatus::singular) {
        reportRunFailure(context, status == SolveStatus::overflow ? overflowText
                                                                  : singularNetworkText(solver));
        return ReweightingEnd::brokeDown;
    }
    if (status != SolveStatus::converged) {
        writeRptMessage(nonConvergenceText());
        return ReweightingEnd::notConverged;
    }
    const NetworkSolver::Statistics results = model.keepResults(solver);
    if (listed)
        model.listPass(results, solver.iterations());
    reweightFromPass(model.passWeights, results);
    return ReweightingEnd::completed;
}

} // namespace

std::vector<int> floatingRows(int rowCount, int controlRowsStart, int controlRowCount) {
    std::vector<int> rows;
    for (int r = 0; r < rowCount; ++r)
        if (r < controlRowsStart || r >= controlRowsStart + controlRowCount)
            rows.push_back(r);
    return rows;
}

void runFloatingPasses(const RunContext& context, const FloatingPassModel& model,
                       const RowWeights& weights, const std::vector<int>& rows, int best) {
    resetBestSolutions();
    context.shell.showCancel(true);
    if (floatEachRow(context, model, weights, rows, best))
        rerunBestPasses(context, model, weights);
    context.shell.showCancel(false);
    model.passWeights = RowWeights{};
    writeRptBlunderFloatNote();
}

ReweightingEnd runReweightingPasses(const RunContext& context, const ReweightingModel& model,
                                    const RowWeights& weights, int passes) {
    model.passWeights = weights;
    context.shell.showCancel(true);
    ReweightingEnd end = ReweightingEnd::completed;
    for (int remaining = passes; remaining > 0 && end == ReweightingEnd::completed;) {
        --remaining;
        if (passCancelled(context, platform::formatC("Passes remaining: %d", remaining)))
            break;
        // The listed pass is the one after which exactly one pass remains.
        end = reweightingPass(context, model, remaining == 1);
    }
    context.shell.showCancel(false);
    model.passWeights = RowWeights{};
    if (end == ReweightingEnd::completed)
        writeRptBlunderNote();
    return end;
}
