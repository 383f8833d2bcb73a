// The small 3D terrestrial project (fixtures/run/terrestrial_3d) run as a
// user runs it: the raw data gives two fixed stations and a traverse of
// angles, slope distances and zenith angles; the preliminary coordinates
// place the two other stations and the run goes on to the 3D adjustment,
// which converges. The same
// traverse as .RW5 records (fixtures/input/rw5/site.rw5 moved onto the
// grid) with one control station takes its orientation from the first
// backsight's azimuth. A lone azimuth adjusts against its dummy station.

#include "support/report_text.hpp"
#include "support/temp_folder.hpp"
#include "support/terrestrial_3d_project.hpp"
#include "tarnrun_command.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

constexpr int exitConverged = 0;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void replaceOnce(std::string& text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

void expectPastThePreliminaryCoordinates(const testsupport::TempFolder& folder) {
    const std::string console = testsupport::readBytes(folder / "console.txt");
    EXPECT_TRUE(contains(console, "report: ")) << console;
    const std::string err = testsupport::readBytes(folder / "site3d.ERR");
    EXPECT_FALSE(contains(err, "could not be computed")) << err;
    EXPECT_FALSE(contains(err, "Error computing initial NEZ")) << err;
    EXPECT_FALSE(contains(err, "No control points found")) << err;
}

} // namespace

TEST(Terrestrial3DRun, ThePreliminaryCoordinatesLetTheRunAdjustThe3DNetwork) {
    testsupport::TempFolder folder("terrestrial-3d-run");
    for (const char* file : {"site3d.prj", "site3d.vkr"})
        std::filesystem::copy_file(testsupport::terrestrial3DFixture(file), folder / file);
    EXPECT_EQ(tarnruntest::runQuiet(folder / "site3d.prj", folder / "console.txt"), exitConverged);
    expectPastThePreliminaryCoordinates(folder);
    const std::string report = testsupport::readBytes(folder / "site3d.RPT");
    EXPECT_TRUE(contains(report, "3-DIMENSIONAL ADJUSTMENT REPORT")) << report;
    EXPECT_TRUE(contains(report, "Horizontal Angles:    4 Observations\r\n")) << report;
    EXPECT_TRUE(contains(report, " Solution converged in ")) << report;
}

// Control B taken out: A alone cannot orient the traverse, and the first
// backsight record (A to D) carries the azimuth 119 34'57.7" (atan2(210.33,
// -119.4); the grid is the example's moved by whole metres).
TEST(Terrestrial3DRun, OneControlStationTakesTheFirstBacksightAzimuth) {
    testsupport::TempFolder folder("terrestrial-3d-rw5");
    std::string project = testsupport::readBytes(testsupport::terrestrial3DFixture("site3d.prj"));
    project = testsupport::replaceAll(project, "site3d.vkr", "site3d.rw5");
    testsupport::writeBytes(folder / "site3d.prj", project);
    std::string raw =
        testsupport::readBytes(std::string(TARNWELL_FIXTURES) + "/input/rw5/site.rw5");
    replaceOnce(raw, "N 1000.000,E 1000.000", "N 4982000.000,E 680000.000");
    replaceOnce(raw, "SP,PNB,N 1180.250,E 1245.800,EL52.340,--control B\n", "");
    replaceOnce(raw, "BK,OPA,BPD,BS,", "BK,OPA,BPD,BS119.34577,");
    testsupport::writeBytes(folder / "site3d.rw5", raw);
    EXPECT_EQ(tarnruntest::runQuiet(folder / "site3d.prj", folder / "console.txt"), exitConverged);
    expectPastThePreliminaryCoordinates(folder);
    EXPECT_TRUE(contains(testsupport::readBytes(folder / "site3d.ERR"),
                         "\r\nInitial azimuth from first BK record in .RW5 file.\r\n"));
}

// A lone azimuth from control A to a station nothing else observes: its far
// end becomes the fixed dummy station 1000 m along the azimuth, which the 3D
// adjustment needs with a geodetic position to form the azimuth.
TEST(Terrestrial3DRun, ALoneAzimuthIsAdjustedAgainstItsDummyStation) {
    testsupport::TempFolder folder("terrestrial-3d-lone-azimuth");
    std::filesystem::copy_file(testsupport::terrestrial3DFixture("site3d.prj"),
                               folder / "site3d.prj");
    std::string raw = testsupport::readBytes(testsupport::terrestrial3DFixture("site3d.vkr"));
    replaceOnce(raw, "'CP,control B\r\n", "'CP,control B\r\n6DR A-Z 45.00000\r\n");
    testsupport::writeBytes(folder / "site3d.vkr", raw);
    EXPECT_EQ(tarnruntest::runQuiet(folder / "site3d.prj", folder / "console.txt"), exitConverged);
    expectPastThePreliminaryCoordinates(folder);
    const std::string err = testsupport::readBytes(folder / "site3d.ERR");
    EXPECT_FALSE(contains(err, "has no coordinates")) << err;
    const std::string report = testsupport::readBytes(folder / "site3d.RPT");
    EXPECT_TRUE(contains(report, " Solution converged in ")) << report;
    EXPECT_TRUE(contains(report, "Grid Azimuths:    1 Observations")) << report;
}
