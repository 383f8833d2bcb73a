#include "engine/best_solutions.hpp"
#include "engine/point_error_ellipses.hpp"
#include "model/list_snapshot.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/shell_services.hpp"
#include "reports/adjusted_listing_3d.hpp"
#include "reports/error_ellipse_file.hpp"
#include "reports/report_sections.hpp"
#include "run/adjustment_3d.hpp"
#include "run/adjustment_steps.hpp"
#include "run/spatial_run.hpp"

#include <cmath>

namespace {

void restoreStations() {
    stationList.copyFrom(savedStationList);
}

// The rows that take turns to float: every row but the weighted control.
std::vector<int> floatingRows(const SpatialNetwork& network) {
    std::vector<int> rows;
    for (int r = 0; r < network.observations(); ++r)
        if (r < network.controlRowsStart || r >= network.controlRowsStart + network.controlRowCount)
            rows.push_back(r);
    return rows;
}

// Reruns each kept pass with its report, from the positions the previous
// run left.
void rerunBestPasses(const RunContext& context, const RowWeights& weights) {
    for (const bestSolutionRec& slot : bestSolutions) {
        if (slot.index == -1)
            continue;
        lsqWeights3D = weights;
        lsqWeights3D.setRowWeight(static_cast<std::size_t>(slot.index), floatedWeight);
        double refVar = 0.0;
        adjust3DPass(context, 1, &refVar, slot.index);
    }
    lsqWeights3D = weights;
}

// sigma = (|v| + sigma of the adjusted observation) / 2 of every row gives
// its new weight.
void reweight(const NetworkSolver::Statistics& results) {
    for (std::size_t r = 0; r < results.residuals.size(); ++r) {
        const double sigma = (std::fabs(results.residuals[r]) + results.observationSigmas[r]) / 2.0;
        lsqWeights3D.setRowWeight(r, 1.0 / (sigma * sigma));
    }
}

void listPass(const NetworkSolver::Statistics& results, int iterations) {
    writeRptAdjustedCoords3D(errFile, results.unknownSigmas);
    if (projectVars.gridSystem != gridLocal)
        writeRptGeographicCoords3D(errFile);
    writeRptErrorEllipses3D(errFile, errEllipses, ellipseConfidenceFactor(obsCount - unknownCount));
    writeRptAdjustedObs3D(errFile, results.residuals, results.observationSigmas, -1);
    writeRptStatistics(errFile, results.referenceVariance, iterations);
}

} // namespace

int adjust3DBlunderPasses(const RunContext& context, int best) {
    if (obsCount == 0 || unknownCount == 0)
        return blunderPasses3DFailed;
    SpatialNetwork network;
    if (!readSpatialNetworkForRun(context, network))
        return blunderPasses3DFailed;
    const RowWeights weights = buildWeights3D(network);
    savedStationList.copyFrom(stationList);
    resetBestSolutions();
    const std::vector<int> rows = floatingRows(network);
    const int passes = static_cast<int>(rows.size());
    context.shell.showCancel(true);
    bool cancelled = false;
    for (int i = 0; i < passes && !cancelled; ++i) {
        cancelled = passCancelled(context, platform::formatC("%d of %d passes.", i, passes));
        if (cancelled)
            break;
        const int row = rows[static_cast<std::size_t>(i)];
        lsqWeights3D = weights;
        lsqWeights3D.setRowWeight(static_cast<std::size_t>(row), floatedWeight);
        restoreStations();
        double refVar = 0.0;
        const int result = adjust3DPass(context, best == 0 ? 1 : 0, &refVar, row);
        recordPassResult(row, result, refVar, best, overflowPassText3D);
    }
    if (!cancelled)
        rerunBestPasses(context, weights);
    context.shell.showCancel(false);
    lsqWeights3D = RowWeights{};
    savedStationList.clear();
    writeRptBlunderFloatNote();
    return blunderPasses3DDone;
}

int adjust3DRepeated(const RunContext& context, int passes) {
    SpatialNetwork network;
    if (obsCount == 0 || unknownCount == 0 || !readSpatialNetworkForRun(context, network))
        return blunderPasses3DFailed;
    lsqWeights3D = buildWeights3D(network);
    ShellServices& shell = context.shell;
    shell.showCancel(true);
    int result = blunderPasses3DDone;
    for (int remaining = passes; remaining > 0 && result == blunderPasses3DDone;) {
        --remaining;
        if (passCancelled(context, platform::formatC("Passes remaining: %d", remaining)))
            break;
        releaseAdjustmentResults();
        NetworkSolver solver(network, lsqWeights3D);
        const SolveStatus status =
            solver.iterate(projectVars.maxIterations, projectVars.convergeLimit, nullptr);
        if (status == SolveStatus::overflow || status == SolveStatus::singular) {
            reportRunFailure(context, status == SolveStatus::overflow
                                          ? overflowText
                                          : singularNetworkText(solver));
            result = blunderPasses3DOverflow;
        } else if (status != SolveStatus::converged) {
            writeRptMessage(nonConvergenceText());
            shell.message(nonConvergenceText(), MessageKind::ok);
            result = blunderPasses3DFailed;
        } else {
            const NetworkSolver::Statistics results = keepConvergedResults(network, solver);
            // The listed pass is the one after which exactly one pass remains.
            if (remaining == 1)
                listPass(results, solver.iterations());
            reweight(results);
        }
    }
    shell.showCancel(false);
    lsqWeights3D = RowWeights{};
    if (result == blunderPasses3DDone)
        writeRptBlunderNote();
    return result;
}
