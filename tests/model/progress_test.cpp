#include "model/progress.hpp"
#include "platform/shell_services.hpp"

#include <gtest/gtest.h>

TEST(Progress, PostsIntegerPercentagesOfTheWalk) {
    RecordingShell shell;
    ShellServices* previous = setActiveShell(&shell);
    startProgress(3);
    advanceProgress();
    advanceProgress();
    advanceProgress();
    startProgress(0);
    advanceProgress();
    setActiveShell(previous);
    EXPECT_EQ(shell.percents, (std::vector<int>{33, 66, 100}));
    EXPECT_EQ(progressDone, 1);
}
