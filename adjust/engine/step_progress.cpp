#include "engine/step_progress.hpp"

#include "platform/shell_services.hpp"

namespace {

// Long enough that posting costs nothing, short enough that a cancel is
// taken well within a second.
constexpr std::chrono::milliseconds postingInterval(150);

} // namespace

StepProgress::StepProgress(ShellServices* shell) : shell_(shell) {
    if (shell_ != nullptr)
        last_ = shell_->now();
}

bool StepProgress::stopAsked(long long done, long long total) {
    if (shell_ == nullptr)
        return false;
    const auto now = shell_->now();
    if (now - last_ < postingInterval)
        return false;
    last_ = now;
    shell_->setPercent(total > 0 ? static_cast<int>(done * 100 / total) : 0);
    shell_->pump();
    return shell_->cancelled();
}
