#include "engine/step_progress.hpp"

#include "platform/shell_services.hpp"

#include <gtest/gtest.h>

#include <chrono>

using namespace std::chrono_literals;

// The shell is asked a few times a second, on its own clock: often enough
// that a cancel is taken well within a second, seldom enough that a fast
// step costs nothing.
TEST(StepProgress, AsksTheShellOnlyWhenAFewTenthsOfASecondHavePassed) {
    RecordingShell shell;
    StepProgress progress(&shell);

    shell.clock += 149ms;
    EXPECT_FALSE(progress.stopAsked(10, 100));
    EXPECT_EQ(shell.pumps, 0);

    shell.clock += 1ms;
    EXPECT_FALSE(progress.stopAsked(25, 100));
    EXPECT_EQ(shell.pumps, 1);
    EXPECT_EQ(shell.percents, std::vector<int>{25});

    shell.clock += 100ms;
    EXPECT_FALSE(progress.stopAsked(50, 100)) << "the interval counts from the last look";
    EXPECT_EQ(shell.pumps, 1);

    shell.clock += 50ms;
    shell.cancelAfterPumps = 2;
    EXPECT_TRUE(progress.stopAsked(60, 100));
    EXPECT_EQ(shell.percents, (std::vector<int>{25, 60}));
}

TEST(StepProgress, WithoutAShellNothingIsShownOrCancelled) {
    StepProgress progress(nullptr);
    EXPECT_FALSE(progress.stopAsked(1, 0));
}

TEST(StepProgress, AnEmptyStepShowsNoShare) {
    RecordingShell shell;
    StepProgress progress(&shell);
    shell.clock += 1s;
    progress.stopAsked(0, 0);
    EXPECT_EQ(shell.percents, std::vector<int>{0});
}
