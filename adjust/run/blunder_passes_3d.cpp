#include "engine/point_error_ellipses.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
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
    const ReweightingModel model{
        network, lsqWeights3D,
        [&network](NetworkSolver& solver) { return keepConvergedResults(network, solver); },
        listPass};
    switch (runReweightingPasses(context, model, buildWeights3D(network), passes)) {
    case ReweightingEnd::completed:
        return blunderPasses3DDone;
    case ReweightingEnd::brokeDown:
        return blunderPasses3DOverflow;
    case ReweightingEnd::notConverged:
        context.shell.message(nonConvergenceText(), MessageKind::ok);
        break;
    }
    return blunderPasses3DFailed;
}
