// The example project with its second control point taken out: one control
// point and no azimuth cannot place the traverse, and the run says why.

#include "tarnrun_command.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string exampleFile(const char* name) {
    return std::string(TARNWELL_FIXTURES) + "/../../examples/site/" + name;
}

int runTarnrun(const fs::path& project, const fs::path& console) {
    return tarnruntest::runQuiet(project, console);
}

} // namespace

TEST(ControlAdviceRun, OneControlPointAndNoAzimuthListsThePointsAndTheAdvice) {
    testsupport::TempFolder folder("one-control");
    fs::copy_file(exampleFile("site.prj"), folder / "site.prj");
    std::string raw = testsupport::readBytes(exampleFile("site.vkr"));
    const auto b = raw.find("6C B ");
    ASSERT_NE(b, std::string::npos);
    raw.erase(b, raw.find('\n', b) + 1 - b);
    testsupport::writeBytes(folder / "site.vkr", raw);

    EXPECT_EQ(runTarnrun(folder / "site.prj", folder / "console.txt"), 1);
    const std::string err = testsupport::readBytes(folder / "site.ERR");
    EXPECT_NE(
        err.find("Insufficient control found.\r\n"
                 "As a minimum either two control points, or one control point and an azimuth "
                 "are required.\r\n"
                 "The following instrument and backsight pts. could not be computed:\r\n"),
        std::string::npos);
    // D, B and C (in point-list order) are instruments or backsights of the
    // traverse's angles; A is placed.
    EXPECT_NE(err.find("could not be computed:\r\n D B C\r\n"), std::string::npos) << err;
    const std::string console = testsupport::readBytes(folder / "console.txt");
    EXPECT_NE(
        console.find("Coordinate control is best entered in the raw file as coordinate records."),
        std::string::npos);
    EXPECT_NE(console.find(" Pt. #A         :        1000.000        1000.000          50.000 \n"),
              std::string::npos)
        << console;
}
