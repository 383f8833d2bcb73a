#include "engine/point_error_ellipses.hpp"
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
#include "run/blunder_passes_shared.hpp"
#include "run/spatial_run.hpp"

namespace {

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
    savedStationList.copyFrom(stationList);
    const FloatingPassModel model{adjust3DPass, lsqWeights3D,
                                  [] { stationList.copyFrom(savedStationList); },
                                  overflowPassText3D};
    runFloatingPasses(
        context, model, buildWeights3D(network),
        floatingRows(network.observations(), network.controlRowsStart, network.controlRowCount),
        best);
    savedStationList.clear();
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
            reweightFromPass(lsqWeights3D, results);
        }
    }
    shell.showCancel(false);
    lsqWeights3D = RowWeights{};
    if (result == blunderPasses3DDone)
        writeRptBlunderNote();
    return result;
}
