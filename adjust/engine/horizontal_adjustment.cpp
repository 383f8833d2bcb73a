#include "engine/horizontal_adjustment.hpp"

#include "engine/horizontal_run.hpp"
#include "engine/pending_stages.hpp"
#include "engine/step_progress.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/shell_services.hpp"
#include "reports/adjusted_listing_2d.hpp"
#include "reports/error_ellipse_file.hpp"
#include "reports/report_lines.hpp"
#include "reports/report_sections.hpp"

#include <cmath>

RowWeights lsqWeights2D;

namespace {
// The observation listing of a run that floated no row.
constexpr int noMarkedRow = -1;
} // namespace

bool readNetworkForRun(HorizontalNetwork& network) {
    std::string problem;
    if (!readHorizontalNetwork(network, problem)) {
        reportRunFailure(problem);
        return false;
    }
    obsCount = network.observations();
    unknownCount = network.unknowns();
    return obsCount != 0 && unknownCount != 0;
}

std::string nonConvergenceText() {
    return platform::formatC("Solution did not converge within %f in %2d iteration",
                             projectVars.convergeLimit, projectVars.maxIterations);
}

std::string singularNetworkText(const HorizontalSolver& solver) {
    return "N matrix not positive definite. The solution broke down at " +
           solver.dependentUnknown() + ".";
}

void reportRunFailure(const std::string& text) {
    writeLine(errFile, text);
    activeShell().message(text, MessageKind::ok);
}

HorizontalSolver::Statistics keepConvergedResults(const HorizontalNetwork& network,
                                                  HorizontalSolver& solver, bool showProgress) {
    HorizontalSolver::Statistics results = solver.statistics(showProgress);
    if (results.cancelled)
        return results;
    referenceStdDev = std::sqrt(results.referenceVariance);
    varCovMatrix = std::move(results.cofactors);
    errEllipses = pointErrorEllipses(network, *varCovMatrix, referenceStdDev);
    errEllipseCount = static_cast<int>(errEllipses.size());
    return results;
}

bool writeSolutionListings(int handle, const HorizontalSolver::Statistics& results, int iterations,
                           SolutionFiles files, bool showProgress) {
    StepProgress progress(showProgress);
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
        writeEelFile(errEllipses);
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

int reportFailedIterations(SolveStatus status, const HorizontalSolver& solver) {
    switch (status) {
    case SolveStatus::cancelled:
        reportRunFailure("The user aborted processing.");
        return adjustment2DFailed;
    case SolveStatus::notConverged:
        reportRunFailure(nonConvergenceText());
        return adjustment2DFailed;
    case SolveStatus::overflow:
        reportRunFailure(overflowText);
        return adjustment2DOverflow;
    case SolveStatus::singular:
        reportRunFailure(singularNetworkText(solver));
        return adjustment2DOverflow;
    case SolveStatus::converged:
        break;
    }
    return adjustment2DConverged;
}

} // namespace

int adjust2D() {
    if (obsCount == 0 || unknownCount == 0)
        return adjustment2DFailed;
    releaseAdjustmentResults();
    HorizontalNetwork network;
    if (!readNetworkForRun(network))
        return adjustment2DFailed;
    const RowWeights weights = buildWeights2D(network);
    ShellServices& shell = activeShell();
    shell.showCancel(true);
    HorizontalSolver solver(network, weights);
    const SolveStatus status =
        solver.iterate(projectVars.maxIterations, projectVars.convergeLimit, true);
    if (status != SolveStatus::converged) {
        shell.showCancel(false);
        return reportFailedIterations(status, solver);
    }
    shell.setMessage("Solution converged, Computing statistics.");
    const HorizontalSolver::Statistics results = keepConvergedResults(network, solver, true);
    const bool listed =
        !results.cancelled && writeSolutionListings(rptFile, results, solver.iterations(),
                                                    SolutionFiles::withEllipseFile, true);
    shell.showCancel(false);
    if (listed)
        return adjustment2DConverged;
    releaseAdjustmentResults();
    return reportFailedIterations(SolveStatus::cancelled, solver);
}

int adjust2DPass(int report, double* refVar, int index) {
    if (obsCount == 0 || unknownCount == 0)
        return adjustmentPassFailed;
    releaseAdjustmentResults();
    HorizontalNetwork network;
    if (!readNetworkForRun(network) ||
        lsqWeights2D.diagonal.size() != static_cast<std::size_t>(network.observations()))
        return adjustmentPassFailed;
    HorizontalSolver solver(network, lsqWeights2D);
    switch (solver.iterate(projectVars.maxIterations, projectVars.convergeLimit, false)) {
    case SolveStatus::overflow:
        reportRunFailure(overflowText);
        return adjustmentPassOverflow;
    case SolveStatus::singular:
        reportRunFailure(singularNetworkText(solver));
        return adjustmentPassFailed;
    case SolveStatus::notConverged:
    case SolveStatus::cancelled:
        if (report == 1)
            writeRptMessage(nonConvergenceText());
        return adjustmentPassFailed;
    case SolveStatus::converged:
        break;
    }
    const HorizontalSolver::Statistics results = keepConvergedResults(network, solver, false);
    *refVar = results.referenceVariance;
    if (report == 1) {
        writeRptAdjustedObs(errFile, results.residuals, results.observationSigmas, index);
        writeRptStatistics(errFile, results.referenceVariance, solver.iterations());
    }
    return adjustmentPassConverged;
}
