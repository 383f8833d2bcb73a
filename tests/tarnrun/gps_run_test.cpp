// A 3D project on a .GPS file (fixtures/input/gps/site.gps: three vectors
// around BASE - N1 - N2 and a C line for BASE), run as a user runs it. The
// run loads the vectors and the control and lists them; the 3D stages after
// that are still to come and stop the run with their message.

#include "support/temp_folder.hpp"
#include "tarnrun_command.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

namespace {

constexpr int exitStoppedEarly = 1;

std::string siteGps() {
    return testsupport::readBytes(std::string(TARNWELL_FIXTURES) + "/input/gps/site.gps");
}

// The example's project turned into a 3D project on UTM zone 18 (GRS 80)
// that reads `gps` as its only input; tarnrun's exit status.
int runGpsProject(const testsupport::TempFolder& folder, const std::string& gps,
                  const std::string& options = "") {
    std::string project =
        testsupport::readBytes(std::string(TARNWELL_FIXTURES) + "/../../examples/site/site.prj");
    for (const auto& [from, to] : {std::pair{"includeRawData=1", "includeRawData=0"},
                                   {"includeGPSVectors=0", "includeGPSVectors=1"},
                                   {"geodeticModel=0", "geodeticModel=1"},
                                   {"gridSystem=0", "gridSystem=4"}})
        project.replace(project.find(from), std::string_view(from).size(), to);
    project += "gridZone=18\r\nellipsoid=9\r\npGPSFileName=site.gps\r\ngpsFileFmtType=0\r\n"
               "GPSUnits=0\r\nstErrGPSCentering=0.0\r\nstErrGPSMultFactor=1.0\r\n";
    testsupport::writeBytes(folder / "site.prj", project);
    testsupport::writeBytes(folder / "site.gps", gps);
    return tarnruntest::runQuiet(folder / "site.prj", folder / "console.txt", options);
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const std::string notBuiltYet = "The 3D adjustment is not built yet";

} // namespace

// The first vector, BASE to N1: dX -512.345678 and its variance 2.25e-5
// doubled by the vector factor 1 (2^1) = 4.5e-5, covXY 1.1e-6 x 2 = 2.2e-6.
// The third, under standard errors and correlations: varX 0.004^2 x 2 =
// 3.2e-5, covXY 0.2 x 0.004 x 0.005 x 2 = 8e-6.
TEST(GpsRun, ReachesThe3DStagesAndListsTheUnadjustedVectors) {
    testsupport::TempFolder folder("gps-run");
    EXPECT_EQ(runGpsProject(folder, siteGps()), exitStoppedEarly);
    const std::string console = testsupport::readBytes(folder / "console.txt");
    EXPECT_TRUE(contains(console, notBuiltYet)) << console;
    const std::string report = testsupport::readBytes(folder / "site.RPT");
    EXPECT_TRUE(contains(report, "GPS Vectors:    3 Observations\r\n")) << report;
    EXPECT_TRUE(contains(report, " BASE             -512.346        4.5E-05          2.2E-06\r\n"));
    EXPECT_TRUE(contains(report, " N2                211.346        3.2E-05            8E-06\r\n"));
    EXPECT_TRUE(contains(report, " BASE         4982950.400    500000.000        98.400"))
        << "the C line is control";
    EXPECT_TRUE(contains(testsupport::readBytes(folder / "site.ERR"), notBuiltYet));
}

TEST(GpsRun, AMalformedLineStopsTheRunNamingFileAndLine) {
    testsupport::TempFolder folder("gps-run-malformed");
    std::string gps = siteGps();
    gps.replace(gps.find("G2    2.250000e-05"), 18, "G2    2.250000e-0x");
    EXPECT_EQ(runGpsProject(folder, gps), exitStoppedEarly);
    const std::string console = testsupport::readBytes(folder / "console.txt");
    EXPECT_TRUE(contains(console, "site.gps, line 4: a G2 line needs three variances")) << console;
    EXPECT_TRUE(contains(console, "error loading GPS vector file"));
    EXPECT_FALSE(contains(console, notBuiltYet));
}

// "Invalid Point number" goes on only when the user says so: by default
// tarnrun gives the answer that loses nothing, Cancel.
TEST(GpsRun, AnEmptyPointNameIsAnsweredByTheAnswerOption) {
    std::string gps = siteGps();
    gps.replace(gps.find("N1-N2"), 5, "N1-  ");
    const std::string question = "Invalid Point number in GPS vector\nFrom Pt.: N1 -> To Pt.:";
    {
        testsupport::TempFolder folder("gps-run-ask");
        EXPECT_EQ(runGpsProject(folder, gps), exitStoppedEarly);
        const std::string console = testsupport::readBytes(folder / "console.txt");
        EXPECT_TRUE(contains(console, question + "\n  (answered: cancel)")) << console;
        EXPECT_TRUE(contains(console, "error loading GPS vector file"));
    }
    {
        testsupport::TempFolder folder("gps-run-answer-yes");
        EXPECT_EQ(runGpsProject(folder, gps, "--answer=yes"), exitStoppedEarly);
        const std::string console = testsupport::readBytes(folder / "console.txt");
        EXPECT_TRUE(contains(console, question + "\n  (answered: ok)")) << console;
        EXPECT_TRUE(contains(console, notBuiltYet));
        EXPECT_TRUE(contains(testsupport::readBytes(folder / "site.RPT"),
                             "GPS Vectors:    3 Observations\r\n"));
    }
}
