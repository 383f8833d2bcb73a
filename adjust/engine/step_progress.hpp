#pragma once
// The progress of one long step of an adjustment (factoring, the selected
// inversion, the statistics, the ellipses): the share done goes to the
// progress bar and the shell is asked for a cancel, both at most a few times
// a second, so a step on a large network stays responsive and a step on a
// small one costs nothing. The time is the shell's clock.

#include <chrono>

class ShellServices;

class StepProgress {
public:
    // A step that shows nothing and cannot be cancelled without a `shell`.
    explicit StepProgress(ShellServices* shell);

    // Called as the work goes: posts done x 100 / total and lets the shell
    // run when a while has passed since the last time. True when the user
    // asked to stop.
    bool stopAsked(long long done, long long total);

private:
    ShellServices* shell_;
    std::chrono::system_clock::time_point last_;
};
