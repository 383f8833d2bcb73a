// The small 3D terrestrial project (fixtures/run/terrestrial_3d) run as a
// user runs it: the raw data gives two fixed stations and a traverse of
// angles, slope distances and zenith angles; the preliminary coordinates
// place the two other stations and the run goes on to the 3D adjustment,
// which is still to come and stops the run with its message.

#include "support/temp_folder.hpp"
#include "support/terrestrial_3d_project.hpp"
#include "tarnrun_command.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

constexpr int exitStoppedEarly = 1;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(Terrestrial3DRun, ThePreliminaryCoordinatesLetTheRunReachThe3DAdjustment) {
    testsupport::TempFolder folder("terrestrial-3d-run");
    for (const char* file : {"site3d.prj", "site3d.vkr"})
        std::filesystem::copy_file(testsupport::terrestrial3DFixture(file), folder / file);
    EXPECT_EQ(tarnruntest::runQuiet(folder / "site3d.prj", folder / "console.txt"),
              exitStoppedEarly);
    const std::string console = testsupport::readBytes(folder / "console.txt");
    EXPECT_TRUE(contains(console, "The 3D adjustment is not built yet")) << console;
    const std::string err = testsupport::readBytes(folder / "site3d.ERR");
    EXPECT_FALSE(contains(err, "could not be computed")) << err;
    EXPECT_FALSE(contains(err, "Error computing initial NEZ")) << err;
    EXPECT_FALSE(contains(err, "No control points found")) << err;
    const std::string report = testsupport::readBytes(folder / "site3d.RPT");
    EXPECT_TRUE(contains(report, "3-DIMENSIONAL ADJUSTMENT REPORT")) << report;
    EXPECT_TRUE(contains(report, "Horizontal Angles:    4 Observations\r\n")) << report;
}
