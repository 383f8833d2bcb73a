#include "model/progress.hpp"

#include "model/run_stops.hpp"
#include "platform/shell_services.hpp"

int progressTotal = 0;
int progressDone = 0;

void startProgress(int total) {
    progressTotal = total;
    progressDone = 0;
}

// No run context reaches startProgress, advanceProgress, postProgress and userCancelled: their
// interface has none, so the shell is the active one (the run installs its own for its length).
void advanceProgress(int steps) {
    progressDone += steps;
    if (progressTotal > 0)
        activeShell().setPercent(
            static_cast<int>(static_cast<long long>(progressDone) * 100 / progressTotal));
}

void postProgress(int index, int total) {
    activeShell().setPercent(
        total > 0 ? static_cast<int>(static_cast<long long>(index) * 100 / total) : 0);
}

bool userCancelled() {
    ShellServices& shell = activeShell();
    shell.pump();
    return shell.cancelled();
}

void endRunWhenCancelled() {
    if (userCancelled())
        throw RunCancelled();
}
