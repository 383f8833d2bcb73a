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

namespace {

constexpr int exitUnreadableProject = 3;

// The example in `folder`, run once as it is: its outputs stand there.
void runExampleOnce(const testsupport::TempFolder& folder) {
    testsupport::writeBytes(folder / "site.vkr", exampleText("site.vkr"));
    testsupport::writeBytes(folder / "site.cls", exampleText("site.cls"));
    testsupport::writeBytes(folder / "site.prj", exampleText("site.prj"));
    ASSERT_EQ(tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt"), exitConverged)
        << testsupport::readBytes(folder / "console.txt");
}

// The example's project with the line "`key`=..." replaced by `line`; the
// number of that line in the file.
long withLine(std::string& project, const std::string& key, const std::string& line) {
    const std::size_t at = project.find("\n" + key + "=") + 1;
    EXPECT_NE(at, 0u) << key;
    project.replace(at, project.find("\r\n", at) - at, line);
    return std::count(project.begin(), project.begin() + static_cast<long>(at), '\n') + 1;
}

} // namespace

// A setting the run cannot take as it stands stops tarnrun before the run:
// the console and the error report name the file, the line, the key and the
// value; the coordinate outputs of the earlier run stay byte for byte. Each
// of these ran before with another value than the file's (1,5 as 1, 1e1 as
// 1, a third geodetic model as 2D input with 3D output) and exit 0.
TEST(DamagedProjectRun, ARefusedSettingStopsTheRunAndKeepsTheOutputs) {
    const std::pair<const char*, const char*> cases[] = {
        {"stErrDist", "stErrDist=1,5"},
        {"stErrDist", "stErrDist=0x1p-3"},
        {"stErrPoint", "stErrPoint=2abc"},
        {"maxIterations", "maxIterations=1e1"},
        {"geodeticModel", "geodeticModel=2"},
        {"HorizUnits", "HorizUnits=9"},
        // A precision of 2147483647 would ask the formatter for that many digits.
        {"coordPrec", "coordPrec=2147483647"},
    };
    const testsupport::TempFolder folder("project-refused");
    runExampleOnce(folder);
    const std::string nez = testsupport::readBytes(folder / "site.NEZ");
    const std::string out = testsupport::readBytes(folder / "site.OUT");
    for (const auto& [key, line] : cases) {
        SCOPED_TRACE(line);
        std::string project = exampleText("site.prj");
        const long lineNumber = withLine(project, key, line);
        testsupport::writeBytes(folder / "site.prj", project);
        EXPECT_EQ(tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt"),
                  exitUnreadableProject);
        const std::string told = (folder / "site.prj").string() + ", line " +
                                 std::to_string(lineNumber) + ": " + line + " refused";
        const std::string console = testsupport::readBytes(folder / "console.txt");
        EXPECT_NE(console.find(told), std::string::npos) << console;
        const std::string errors = testsupport::readBytes(folder / "site.ERR");
        EXPECT_NE(errors.find(told), std::string::npos) << errors;
        EXPECT_EQ(testsupport::readBytes(folder / "site.NEZ"), nez);
        EXPECT_EQ(testsupport::readBytes(folder / "site.OUT"), out);
    }
}

// A project saved with CR alone ending its lines is the same project.
TEST(DamagedProjectRun, CarriageReturnOnlyProjectRunsAsTheSameProject) {
    const testsupport::TempFolder crlf("project-crlf-2");
    const testsupport::TempFolder cr("project-cr");
    runExampleOnce(crlf);
    std::string text = exampleText("site.prj");
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at + 1, 1);
    std::replace(text.begin(), text.end(), '\n', '\r');
    testsupport::writeBytes(cr / "site.vkr", exampleText("site.vkr"));
    testsupport::writeBytes(cr / "site.cls", exampleText("site.cls"));
    testsupport::writeBytes(cr / "site.prj", text);
    ASSERT_EQ(tarnruntest::runQuiet(cr / "site.prj", cr / "console.txt"), exitConverged)
        << testsupport::readBytes(cr / "console.txt");
    EXPECT_EQ(testsupport::readBytes(cr / "site.NEZ"), testsupport::readBytes(crlf / "site.NEZ"));
}

// The example's project carries its version on its first line only: its
// supplemental control file of format 5 (text N E Z) is read as format 5,
// not renumbered as an older project's (it was opened as a .zak, "Error
// opening").
TEST(DamagedProjectRun, TheVersionLineKeepsTheControlFileFormat) {
    const testsupport::TempFolder folder("project-version-line");
    std::string project = exampleText("site.prj");
    ASSERT_EQ(project.find("\nversion="), std::string::npos);
    withLine(project, "supplamentalNE",
             "supplamentalNE=1\r\ncontrolNEFileName=control.nez\r\nnezFileFmtType=5");
    testsupport::writeBytes(folder / "site.prj", project);
    testsupport::writeBytes(folder / "site.vkr", exampleText("site.vkr"));
    testsupport::writeBytes(folder / "site.cls", exampleText("site.cls"));
    testsupport::writeBytes(folder / "control.nez", "C,1050.420,1430.150,51.120,SUPPC,CP\n");
    ASSERT_EQ(tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt"), exitConverged)
        << testsupport::readBytes(folder / "console.txt");
    EXPECT_NE(testsupport::readBytes(folder / "site.RPT")
                  .find(" C               1050.420      1430.150      FIXED     FIXED\r\n"),
              std::string::npos);
}
