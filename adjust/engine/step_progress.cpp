#include "engine/step_progress.hpp"

#include "platform/shell_services.hpp"

namespace {

// Long enough that posting costs nothing, short enough that a cancel is
// taken well within a second.
constexpr std::chrono::milliseconds postingInterval(150);

} // namespace

StepProgress::StepProgress(bool shown) : shown_(shown), last_(std::chrono::steady_clock::now()) {}

bool StepProgress::stopAsked(long long done, long long total) {
    if (!shown_)
        return false;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < postingInterval)
        return false;
    last_ = now;
    ShellServices& shell = activeShell();
    shell.setPercent(total > 0 ? static_cast<int>(done * 100 / total) : 0);
    shell.pump();
    return shell.cancelled();
}
