#include "run/adjustment_3d.hpp"

#include "engine/network_solver.hpp"
#include "engine/point_error_ellipses.hpp"
#include "engine/spatial_network.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "reports/adjusted_listing_3d.hpp"
#include "reports/alta_report.hpp"
#include "reports/error_ellipse_file.hpp"
#include "reports/report_sections.hpp"
#include "run/adjustment_steps.hpp"
#include "run/spatial_run.hpp"

RowWeights lsqWeights3D;

namespace {

// The observation listing of a run that floated no row.
constexpr int noMarkedRow = -1;

int reportFailedIterations(const RunContext& context, SolveStatus status,
                           const NetworkSolver& solver) {
    switch (status) {
    case SolveStatus::cancelled:
        reportRunFailure(context, abortedText);
        break;
    case SolveStatus::notConverged:
        reportRunFailure(context, nonConvergenceText());
        break;
    case SolveStatus::overflow:
        reportRunFailure(context, overflowText);
        break;
    case SolveStatus::singular:
        reportRunFailure(context, singularNetworkText(solver));
        break;
    case SolveStatus::converged:
        return adjustment3DConverged;
    }
    return adjustment3DFailed;
}

} // namespace

bool readSpatialNetworkForRun(const RunContext& context, SpatialNetwork& network) {
    std::string problem;
    if (!readSpatialNetwork(network, problem)) {
        reportRunFailure(context, problem);
        return false;
    }
    obsCount = network.observations();
    unknownCount = network.unknowns();
    return obsCount != 0 && unknownCount != 0;
}

void writeSpatialListings(const RunContext& context, int handle,
                          const NetworkSolver::Statistics& results, int iterations) {
    const double confidence = ellipseConfidenceFactor(obsCount - unknownCount);
    writeRptGeographicCoords3D(handle);
    writeRptAdjustedCoords3D(handle, results.unknownSigmas);
    writeRptGeocentricCoords(handle, *varCovMatrix, results.referenceVariance);
    writeRptErrorEllipses3D(handle, errEllipses, confidence);
    writeEelFile3D(errEllipses, context.temporaryFolder);
    if (projectVars.relativeErrFileOn != 0)
        writeAltaReport3D(handle);
    writeRptAdjustedObs3D(handle, results.residuals, results.observationSigmas, noMarkedRow);
    writeRptStatistics(handle, results.referenceVariance, iterations);
}

int adjust3D(const RunContext& context) {
    releaseAdjustmentResults();
    if (obsCount == 0)
        return adjustment3DNoObservations;
    if (unknownCount == 0)
        return adjustment3DNoUnknowns;
    SpatialNetwork network;
    if (!readSpatialNetworkForRun(context, network))
        return adjustment3DFailed;
    const RowWeights weights = buildWeights3D(network);
    ShellServices& shell = context.shell;
    shell.showCancel(true);
    NetworkSolver solver(network, weights);
    const SolveStatus status =
        solver.iterate(projectVars.maxIterations, projectVars.convergeLimit, &shell);
    shell.showCancel(false);
    if (status != SolveStatus::converged)
        return reportFailedIterations(context, status, solver);
    shell.setMessage("Solution converged, Computing statistics.");
    const NetworkSolver::Statistics results = keepConvergedResults(network, solver, &shell);
    if (results.cancelled) {
        releaseAdjustmentResults();
        return reportFailedIterations(context, SolveStatus::cancelled, solver);
    }
    if (!results.finite)
        return reportFailedIterations(context, SolveStatus::overflow, solver);
    writeSpatialListings(context, rptFile, results, solver.iterations());
    return adjustment3DConverged;
}

int adjust3DPass(const RunContext& context, int report, double* refVar, int index) {
    releaseAdjustmentResults();
    if (obsCount == 0 || unknownCount == 0)
        return adjustmentPassFailed;
    SpatialNetwork network;
    if (!readSpatialNetworkForRun(context, network) ||
        lsqWeights3D.rows() != static_cast<std::size_t>(network.observations()))
        return adjustmentPassFailed;
    NetworkSolver solver(network, lsqWeights3D);
    const int iterated = iteratePass(context, solver, report);
    if (iterated != adjustmentPassConverged)
        return iterated;
    const NetworkSolver::Statistics results = keepConvergedResults(network, solver);
    *refVar = results.referenceVariance;
    if (report == 1) {
        writeRptAdjustedObs3D(errFile, results.residuals, results.observationSigmas, index);
        writeRptStatistics(errFile, results.referenceVariance, solver.iterations());
    }
    return adjustmentPassConverged;
}
