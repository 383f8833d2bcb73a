// Project files as editors and damage leave them: tarnrun reads a project
// saved with LF line ends as the same project, and refuses settings no run
// can use, naming them, instead of hanging on them.

#include "support/temp_folder.hpp"
#include "tarnrun_command.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int exitConverged = 0;

std::string exampleText(const char* name) {
    return testsupport::readBytes(fs::path(TARNWELL_FIXTURES) / ".." / ".." / "examples" / "site" /
                                  name);
}

std::string withoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

} // namespace

TEST(DamagedProjectRun, LineFeedOnlyProjectRunsAsTheSameProject) {
    const testsupport::TempFolder crlf("project-crlf");
    const testsupport::TempFolder lf("project-lf");
    for (const fs::path& folder : {crlf.path(), lf.path()}) {
        testsupport::writeBytes(folder / "site.vkr", exampleText("site.vkr"));
        testsupport::writeBytes(folder / "site.cls", exampleText("site.cls"));
    }
    testsupport::writeBytes(crlf / "site.prj", exampleText("site.prj"));
    testsupport::writeBytes(lf / "site.prj", withoutCarriageReturns(exampleText("site.prj")));
    ASSERT_EQ(tarnruntest::runQuiet(crlf / "site.prj", crlf / "console.txt"), exitConverged);
    ASSERT_EQ(tarnruntest::runQuiet(lf / "site.prj", lf / "console.txt"), exitConverged)
        << testsupport::readBytes(lf / "console.txt");
    EXPECT_EQ(testsupport::readBytes(lf / "site.NEZ"), testsupport::readBytes(crlf / "site.NEZ"));
}

// A precision of 2147483647 would ask the formatter for that many digits.
TEST(DamagedProjectRun, HugePrecisionIsRefusedAndTheRunEnds) {
    const testsupport::TempFolder folder("project-precision");
    testsupport::writeBytes(folder / "site.vkr", exampleText("site.vkr"));
    std::string project = exampleText("site.prj");
    const std::string key = "coordPrec=3\r\n";
    const std::size_t at = project.find(key);
    project.replace(at, key.size(), "coordPrec=2147483647\r\n");
    const auto line =
        std::count(project.begin(), project.begin() + static_cast<long>(at), '\n') + 1;
    testsupport::writeBytes(folder / "site.prj", project);
    testsupport::writeBytes(folder / "site.cls", exampleText("site.cls"));
    EXPECT_EQ(tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt"), exitConverged);
    const std::string console = testsupport::readBytes(folder / "console.txt");
    EXPECT_NE(console.find((folder / "site.prj").string() + ", line " + std::to_string(line) +
                           ": coordPrec=2147483647 refused"),
              std::string::npos)
        << console;
}
