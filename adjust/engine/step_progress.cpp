#include "engine/step_progress.hpp"

#include "platform/shell_services.hpp"

namespace {

// Long enough that posting costs nothing, short enough that a cancel is
// taken well within a second.
constexpr std::chrono::milliseconds postingInterval(150);

} // namespace

StepProgress::StepProgress(bool shown) : shown_(shown) {
    if (shown_)
        last_ = activeShell().now();
}

bool StepProgress::stopAsked(long long done, long long total) {
    if (!shown_)
        return false;
    ShellServices& shell = activeShell();
    const auto now = shell.now();
    if (now - last_ < postingInterval)
        return false;
    last_ = now;
    shell.setPercent(total > 0 ? static_cast<int>(done * 100 / total) : 0);
    shell.pump();
    return shell.cancelled();
}
