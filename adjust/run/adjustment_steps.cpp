#include "run/adjustment_steps.hpp"

#include "engine/best_solutions.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/shell_services.hpp"
#include "reports/report_sections.hpp"

std::string nonConvergenceText() {
    return platform::formatC("Solution did not converge within %f in %2d iteration",
                             projectVars.convergeLimit, projectVars.maxIterations);
}

std::string singularNetworkText(const NetworkSolver& solver) {
    return "N matrix not positive definite. The solution broke down at " +
           solver.dependentUnknown() + ".";
}

void reportRunFailure(const RunContext& context, const std::string& text) {
    writeLine(errFile, text);
    context.shell.message(text, MessageKind::ok);
}

bool passCancelled(const RunContext& context, const std::string& message) {
    ShellServices& shell = context.shell;
    shell.setMessage(message);
    shell.pump();
    return shell.cancelled();
}

int iteratePass(const RunContext& context, NetworkSolver& solver, int report) {
    switch (solver.iterate(projectVars.maxIterations, projectVars.convergeLimit, nullptr)) {
    case SolveStatus::overflow:
        reportRunFailure(context, overflowText);
        return adjustmentPassOverflow;
    case SolveStatus::singular:
        reportRunFailure(context, singularNetworkText(solver));
        return adjustmentPassFailed;
    case SolveStatus::notConverged:
    case SolveStatus::cancelled:
        if (report == 1)
            writeRptMessage(nonConvergenceText());
        return adjustmentPassFailed;
    case SolveStatus::converged:
        break;
    }
    return adjustmentPassConverged;
}

void recordPassResult(int row, int result, double refVar, int best, const char* overflowFormat) {
    if (result == adjustmentPassConverged)
        insertBestSolution(row, refVar, best);
    else if (result == adjustmentPassFailed)
        writeRptMessage(platform::formatC("Pass %d did not converge within %f in %2d iteration",
                                          row, projectVars.convergeLimit,
                                          projectVars.maxIterations));
    else if (result == adjustmentPassOverflow)
        writeRptMessage(platform::formatC(overflowFormat, row));
}
