#include "run/adjustment_steps.hpp"

#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/c_locale_text.hpp"
#include "platform/shell_services.hpp"

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
