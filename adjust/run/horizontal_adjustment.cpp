#include "run/horizontal_adjustment.hpp"

#include "engine/step_progress.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/shell_services.hpp"
#include "reports/adjusted_listing_2d.hpp"
#include "reports/alta_report.hpp"
#include "reports/error_ellipse_file.hpp"
#include "reports/report_sections.hpp"
#include "run/horizontal_run.hpp"

#include <cmath>

RowWeights lsqWeights2D;

namespace {
// The observation listing of a run that floated no row.
constexpr int noMarkedRow = -1;
} // namespace

bool readNetworkForRun(const RunContext& context, HorizontalNetwork& network) {
    std::string problem;
    if (!readHorizontalNetwork(network, problem)) {
        reportRunFailure(context, problem);
        return false;
    }
    obsCount = network.observations();
    unknownCount = network.unknowns();
    return obsCount != 0 && unknownCount != 0;
}

bool writeSolutionListings(const RunContext& context, int handle,
                           const NetworkSolver::Statistics& results, int iterations,
                           SolutionFiles files, ShellServices* shell) {
    StepProgress progress(shell);
    // The sections in turn; the user may stop between two of them.
    int section = 0;
    const auto stopAsked = [&] { return progress.stopAsked(++section, 6); };
    writeRptAdjustedCoords(handle, results.unknownSigmas);
    if (stopAsked())
        return false;
    if (projectVars.gridSystem != gridLocal)
        writeRptGeographicCoords(handle);
    if (stopAsked())
        return false;
    writeRptErrorEllipses(handle, errEllipses);
    if (files == SolutionFiles::withEllipseFile) {
        writeEelFile(errEllipses, context.temporaryFolder);
        if (projectVars.relativeErrFileOn != 0)
            writeAltaReport(handle);
    }
    if (stopAsked())
        return false;
    writeRptAdjustedObs(handle, results.residuals, results.observationSigmas, noMarkedRow);
    if (stopAsked())
        return false;
    writeRptStatistics(handle, results.referenceVariance, iterations);
    return true;
}

namespace {

int reportFailedIterations(const RunContext& context, SolveStatus status,
                           const NetworkSolver& solver) {
    switch (status) {
    case SolveStatus::cancelled:
        reportRunFailure(context, abortedText);
        return adjustment2DFailed;
    case SolveStatus::notConverged:
        reportRunFailure(context, nonConvergenceText());
        return adjustment2DFailed;
    case SolveStatus::overflow:
        reportRunFailure(context, overflowText);
        return adjustment2DOverflow;
    case SolveStatus::singular:
        reportRunFailure(context, singularNetworkText(solver));
        return adjustment2DOverflow;
    case SolveStatus::converged:
        break;
    }
    return adjustment2DConverged;
}

} // namespace

int adjust2D(const RunContext& context) {
    if (obsCount == 0 || unknownCount == 0)
        return adjustment2DFailed;
    releaseAdjustmentResults();
    HorizontalNetwork network;
    if (!readNetworkForRun(context, network))
        return adjustment2DFailed;
    const RowWeights weights = buildWeights2D(network);
    ShellServices& shell = context.shell;
    shell.showCancel(true);
    NetworkSolver solver(network, weights);
    const SolveStatus status =
        solver.iterate(projectVars.maxIterations, projectVars.convergeLimit, &shell);
    if (status != SolveStatus::converged) {
        shell.showCancel(false);
        return reportFailedIterations(context, status, solver);
    }
    shell.setMessage("Solution converged, Computing statistics.");
    const NetworkSolver::Statistics results = keepConvergedResults(network, solver, &shell);
    if (!results.cancelled && !results.finite) {
        shell.showCancel(false);
        return reportFailedIterations(context, SolveStatus::overflow, solver);
    }
    const bool listed =
        !results.cancelled && writeSolutionListings(context, rptFile, results, solver.iterations(),
                                                    SolutionFiles::withEllipseFile, &shell);
    shell.showCancel(false);
    if (listed)
        return adjustment2DConverged;
    releaseAdjustmentResults();
    return reportFailedIterations(context, SolveStatus::cancelled, solver);
}

int adjust2DPass(const RunContext& context, int report, double* refVar, int index) {
    if (obsCount == 0 || unknownCount == 0)
        return adjustmentPassFailed;
    releaseAdjustmentResults();
    HorizontalNetwork network;
    if (!readNetworkForRun(context, network) ||
        lsqWeights2D.diagonal.size() != static_cast<std::size_t>(network.observations()))
        return adjustmentPassFailed;
    NetworkSolver solver(network, lsqWeights2D);
    const int iterated = iteratePass(context, solver, report);
    if (iterated != adjustmentPassConverged)
        return iterated;
    const NetworkSolver::Statistics results = keepConvergedResults(network, solver);
    *refVar = results.referenceVariance;
    if (report == 1) {
        writeRptAdjustedObs(errFile, results.residuals, results.observationSigmas, index);
        writeRptStatistics(errFile, results.referenceVariance, solver.iterations());
    }
    return adjustmentPassConverged;
}
