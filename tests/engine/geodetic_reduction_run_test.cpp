// A run of the example project (examples/site) put into a State Plane 1983
// zone that does not exist stops with "Unknown zone %d" in the error report
// and a message, instead of reducing on an empty zone record.

#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "run/processing_driver.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(ReductionRun, AnUnknownZoneStopsTheRunWithItsCode) {
    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"unknown-zone"};
    RecordingShell shell;
    ShellServices* previous = setActiveShell(&shell);
    const fs::path examples = fs::path(TARNWELL_FIXTURES) / ".." / ".." / "examples" / "site";
    for (const char* name : {"site.prj", "site.vkr"})
        fs::copy_file(examples / name, folder / name);
    projectVars.projectFileName = (folder / "site.prj").string();
    ASSERT_NE(projectVars.readProjectFile(projectVars.projectFileName), 0);
    projectVars.gridSystem = gridStatePlane83;
    projectVars.gridZone = 999;

    EXPECT_FALSE(adjustNetwork(RunContext(shell), adjustmentRun, 0).reachedEnd);
    setActiveShell(previous);
    const std::string err = testsupport::readBytes(folder / "site.ERR");
    const std::string stop = "Unknown zone 999\r\n";
    ASSERT_GE(err.size(), stop.size());
    EXPECT_EQ(err.substr(err.size() - stop.size()), stop);
    ASSERT_FALSE(shell.boxes.empty());
    EXPECT_EQ(shell.boxes.back().text, "Unknown zone 999");
    EXPECT_EQ(errFile, 0) << "the files are closed";
}
