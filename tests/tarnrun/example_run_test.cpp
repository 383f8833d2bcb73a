// tarnrun run the way a user runs it, on a copy of the example project: the
// report opens with the title and settings block of the golden file
// (fixtures/reports/site_run.RPT, written by hand from the report's formats;
// the date line and the project's folder are normalised), the raw data are
// read, and the run goes through the reductions and the adjustment to its
// coordinate files.

#include "tarnrun_command.hpp"
#include "support/report_text.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int exitConverged = 0;

std::string exampleFolder() {
    return std::string(TARNWELL_FIXTURES) + "/../../examples/site";
}

// Runs tarnrun on a fresh copy of the example; returns its exit status.
int runExample(const testsupport::TempFolder& folder) {
    for (const char* name : {"site.prj", "site.vkr", "site.cls"})
        fs::copy_file(fs::path(exampleFolder()) / name, folder / name);
    return tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt");
}

// The report with its date line and the project's folder replaced by the
// golden file's placeholders.
std::string normalised(const std::string& report, const fs::path& folder) {
    return testsupport::replaceAll(testsupport::maskRunDateLine(report), folder.string(),
                                   "<folder>");
}

} // namespace

TEST(ExampleRun, ReportHeaderMatchesTheGoldenFileAndTheRunReachesItsEnd) {
    testsupport::TempFolder folder("example-run");
    EXPECT_EQ(runExample(folder), exitConverged);
    const std::string golden =
        testsupport::readBytes(std::string(TARNWELL_FIXTURES) + "/reports/site_run.RPT");
    const std::string report =
        normalised(testsupport::readBytes(folder / "site.RPT"), folder.path());
    ASSERT_GE(report.size(), golden.size());
    EXPECT_EQ(report.substr(0, golden.size()), golden);

    // The closures listed in the error report have error lines of their own.
    const std::string errors = testsupport::readBytes(folder / "site.ERR");
    const std::string beforeClosures = errors.substr(0, errors.find("Traverse Closures"));
    EXPECT_NE(beforeClosures.size(), errors.size()) << "the closures are listed";
    EXPECT_EQ(beforeClosures.find("Error"), std::string::npos)
        << "the raw file is read without complaint";
    EXPECT_NE(report.find("\r\n Solution converged in "), std::string::npos) << report;
    EXPECT_TRUE(fs::exists(folder / "site.OUT"));
}
