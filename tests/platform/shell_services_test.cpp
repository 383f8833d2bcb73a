#include "platform/shell_services.hpp"

#include <gtest/gtest.h>

TEST(ShellServices, SilentShellAnswersWithTheButtonThatLosesNoData) {
    SilentShell silent;
    EXPECT_EQ(silent.ask("Overwrite?", MessageKind::yesNo), Answer::no);
    EXPECT_EQ(silent.ask("Go on?", MessageKind::okCancel), Answer::cancel);
    EXPECT_FALSE(silent.cancelled());
}

TEST(ShellServices, ActiveShellIsNeverNull) {
    RecordingShell recording;
    ShellServices* previous = setActiveShell(&recording);
    activeShell().message("hello", MessageKind::ok);
    setActiveShell(previous);
    ASSERT_EQ(recording.boxes.size(), 1u);
    EXPECT_EQ(recording.boxes[0].text, "hello");
    activeShell().message("to nobody", MessageKind::ok);
    EXPECT_EQ(recording.boxes.size(), 1u);
}

TEST(ShellServices, RecordingShellCancelsAfterTheSetNumberOfPumps) {
    RecordingShell shell;
    shell.cancelAfterPumps = 2;
    shell.pump();
    EXPECT_FALSE(shell.cancelled());
    shell.pump();
    EXPECT_TRUE(shell.cancelled());
}
