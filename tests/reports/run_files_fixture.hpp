#pragma once
// A project "site.prj" in a temporary folder with its report and error
// report open, the shell's clock fixed and the program lists empty.

#include "model/program_lists.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "reports/report_files.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

class RunFiles : public ::testing::Test {
protected:
    void SetUp() override {
        resetProgramLists();
        previousShell_ = setActiveShell(&shell);
        projectVars.projectFileName = (folder / "site.prj").string();
        setenv("TZ", "UTC", 1);
        tzset();
        // 2026-12-09 23:58:15 UTC, a Wednesday
        shell.clock = std::chrono::system_clock::from_time_t(1796860695);
        ASSERT_GT(openRptFile(startNewFile), 0);
        ASSERT_GT(openErrFile(startNewFile), 0);
    }
    void TearDown() override {
        closeRptFile();
        closeErrFile();
        setActiveShell(previousShell_);
        resetProgramLists();
    }

    // Closes both files and returns the report's / error report's bytes.
    std::string report() {
        closeRptFile();
        return testsupport::readBytes(folder / "site.RPT");
    }
    std::string errors() {
        closeErrFile();
        return testsupport::readBytes(folder / "site.ERR");
    }
    // Starts both files anew.
    void restartFiles() {
        closeRptFile();
        closeErrFile();
        openRptFile(startNewFile);
        openErrFile(startNewFile);
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"run-files"};
    RecordingShell shell;

private:
    ShellServices* previousShell_ = nullptr;
};

// The lines of a CR LF text (without their line ends).
inline std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}
