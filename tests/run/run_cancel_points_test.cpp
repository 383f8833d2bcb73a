// Escape or Cancel ends a run in the phase where it is pressed: every long
// phase of a run (reading, list building, preliminary coordinates, the
// iterations, the statistics, the listings) asks the shell for waiting
// events and the cancel flag as it works, not only when the next phase
// begins. A recording shell asks to stop at its second look after a phase's
// progress message (the first is the look every phase takes as it starts),
// and the run must end there, cancelled, without reaching another phase.
// The shell's clock moves on a second each time it is read, so the steps
// that look only a few times a second look every time.

#include "platform/shell_services.hpp"
#include "run/processing_driver.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"
#include "support/terrestrial_3d_project.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Asks to stop at its second look after `phase` was shown ("" the start of
// the run); records the progress messages.
class CancellingShell : public RecordingShell {
public:
    explicit CancellingShell(std::string phase) : phase_(std::move(phase)) {
        armed_ = phase_.empty();
    }
    void setMessage(const std::string& text) override {
        RecordingShell::setMessage(text);
        if (!armed_ && text == phase_)
            armed_ = true;
    }
    void pump() override {
        RecordingShell::pump();
        if (armed_)
            ++looksSince_;
    }
    bool cancelled() override { return looksSince_ >= 2; }
    std::chrono::system_clock::time_point now() override {
        clock += std::chrono::seconds(1);
        return clock;
    }
    // The progress messages shown once the stop was asked for.
    std::vector<std::string> messagesAfterTheStop() const {
        const auto at = std::find(messages.begin(), messages.end(), phase_);
        return phase_.empty() || at == messages.end()
                   ? std::vector<std::string>{}
                   : std::vector<std::string>(at + 1, messages.end());
    }

private:
    std::string phase_;
    bool armed_ = false;
    int looksSince_ = 0;
};

class RunCancel : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path example = fs::path(TARNWELL_FIXTURES) / ".." / ".." / "examples" / "site";
        for (const char* name : {"site.prj", "site.vkr", "site.cls"})
            fs::copy_file(example / name, folder / name);
        projectVars.setDefaults();
        ASSERT_EQ(projectVars.readProjectFile((folder / "site.prj").string()), 1);
        projectVars.projectFileName = (folder / "site.prj").string();
        projectVars.tmpDir = folder.path().string() + "/";
    }

    // The run with a shell that stops at `phase`.
    RunResult runStoppingAt(CancellingShell& shell) {
        const ActiveShellScope active(shell);
        const RunContext context(shell, projectVars.tmpDir);
        return adjustNetwork(context, adjustmentRun, 0);
    }

    void expectEveryPhaseStopsWhereAsked(const std::vector<std::string>& phases) {
        for (const std::string& phase : phases) {
            SCOPED_TRACE(phase.empty() ? "reading" : phase);
            CancellingShell shell(phase);
            const RunResult result = runStoppingAt(shell);
            EXPECT_TRUE(result.cancelled);
            EXPECT_EQ(shell.messagesAfterTheStop(), std::vector<std::string>{});
            ASSERT_FALSE(shell.boxes.empty());
            EXPECT_EQ(shell.boxes.back().text, "The user aborted processing.");
        }
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"run-cancel"};
};

} // namespace

TEST_F(RunCancel, EveryLongPhaseOfThe2DRoadStopsWhereAsked) {
    expectEveryPhaseStopsWhereAsked({"", "Building Observation Lists.", "Building Description List",
                                     "Computing Initial XY's", "Outputting observations.",
                                     "Iteration:  1", "Solution converged, Computing statistics."});
}

TEST_F(RunCancel, EveryLongPhaseOfThe3DRoadStopsWhereAsked) {
    testsupport::writeBytes(folder / "site.vkr", testsupport::terrestrial3DRaw());
    testsupport::useTerrestrial3DSystem(projectVars);
    projectVars.includeClosure = 0;
    expectEveryPhaseStopsWhereAsked({"", "Building Observation Lists.",
                                     "Computing preliminary coordinates.", "Computing Initial Z's",
                                     "Outputting observations.", "Iteration:  1",
                                     "Solution converged, Computing statistics."});
}
