// The example project with its default sideshot and vertical settings and
// one more sighting, from D to a new point S that nothing else observes:
// S is filtered out of the adjustment, computed afterwards from the adjusted
// points, listed, and written with them to .NEZ, .OUT and, when asked, the
// project's coordinate file.

#include "ptbank/crd_file_type.hpp"
#include "reports/final_coords_support.hpp"
#include "site_copy_run.hpp"

#include <cmath>
#include <numbers>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr int exitConverged = 0;

// The sighting from D (HI 1.505) to S, written by examples/site/make_site.py's
// line() from the true position S = (N 960.000, E 1300.000, Z 50.500) with the
// target at 1.600: az(D, S) = 48.476108 deg, az(D, C) = 52.312437 deg, so
// the face-left reading is 300.25 + (48.476108 - 52.312437) = 296.413671 deg
// = 296 24'49.2"; h = 119.770902, v = 50.5 + 1.6 - 49.87 - 1.505 = 0.725,
// slope 119.773 (1 mm), zenith atan2(h, v) = 89.653180 deg = 89 39'11.4".
const std::string sightingToS =
    "1                                  1.600  296.24492   119.773  89.39114 S          IP  "
    "sideshot\n";

double dms(double degrees, double minutes, double seconds) {
    return (degrees + minutes / 60.0 + seconds / 3600.0) * std::numbers::pi / 180.0;
}

globalVars sideshotSettings() {
    globalVars settings = sitecopy::exampleSettings();
    settings.includeSS = 0; // the defaults of a new project
    settings.vertAdjust = 1;
    settings.coordPrec = 6; // the listing and .NEZ to 1e-6 for the check below
    settings.neOutPrec = 6;
    settings.zOutPrec = 6;
    return settings;
}

std::string rawWithSideshot() {
    return testsupport::readBytes(sitecopy::exampleFile("site.vkr")) + sightingToS;
}

// The whitespace-separated fields of the report line that starts with `start`.
std::vector<std::string> reportFields(const std::string& report, const std::string& start) {
    std::vector<std::string> fields;
    for (const std::string& line : sitecopy::lines(report))
        if (line.rfind(start, 0) == 0) {
            std::istringstream words(line);
            for (std::string w; words >> w;)
                fields.push_back(w);
            break;
        }
    return fields;
}

} // namespace

TEST(SideshotRun, TheSideshotIsThePolarPointFromTheAdjustedStation) {
    testsupport::TempFolder folder("sideshot-run");
    ASSERT_EQ(sitecopy::run(folder, sideshotSettings(), rawWithSideshot()), exitConverged);
    const auto nez = sitecopy::readNez(folder / "site.NEZ");
    ASSERT_EQ(nez.size(), 5u) << "A, B, C, D and the sideshot S";
    const sitecopy::NezPoint D = nez.at("D");
    const sitecopy::NezPoint C = nez.at("C");

    // Polar point from the adjusted D: the direction to C plus the measured
    // angle C -> S (296 24'49.2" - 300 15'00"), the horizontal distance
    // s sin z, the elevation Z_D + s cos z + HI - target.
    const double slope = 119.773;
    const double zenith = dms(89, 39, 11.4);
    const double direction = std::atan2(C.easting - D.easting, C.northing - D.northing) +
                             dms(296, 24, 49.2) - dms(300, 15, 0.0);
    const double horizontal = slope * std::sin(zenith);
    const double expectedN = D.northing + horizontal * std::cos(direction);
    const double expectedE = D.easting + horizontal * std::sin(direction);
    const double expectedZ = D.elevation + slope * std::cos(zenith) + 1.505 - 1.600;

    const std::string report = testsupport::readBytes(folder / "site.RPT");
    ASSERT_NE(report.find("\r\nSideshots\r\n=========\r\n"), std::string::npos) << report;
    // " D          S           048-28'34.0"     119.771      N     E   sN   sE"
    const std::vector<std::string> line = reportFields(report, " D          S ");
    ASSERT_EQ(line.size(), 8u) << report;
    EXPECT_EQ(line[2], "048-28'34.0\"");
    EXPECT_NEAR(platform::atofC(line[3]), horizontal, 0.0005);
    // D and C are read to 1e-6: the direction moves S by far less than that.
    EXPECT_NEAR(platform::atofC(line[4]), expectedN, 2e-6);
    EXPECT_NEAR(platform::atofC(line[5]), expectedE, 2e-6);
    EXPECT_GT(platform::atofC(line[6]), 0.0);
    EXPECT_GT(platform::atofC(line[7]), 0.0);
    // The true position, to the rounding of the sighting.
    EXPECT_NEAR(expectedN, 960.000, 0.002);
    EXPECT_NEAR(expectedE, 1300.000, 0.002);

    const sitecopy::NezPoint S = nez.at("S");
    EXPECT_NEAR(S.northing, expectedN, 2e-6);
    EXPECT_NEAR(S.easting, expectedE, 2e-6);
    EXPECT_NEAR(S.elevation, expectedZ, 2e-6);
    const std::vector<std::string> vertical =
        reportFields(report.substr(report.find("\r\nVertical Sideshots\r\n")), " S ");
    ASSERT_EQ(vertical.size(), 2u) << report;
    EXPECT_NEAR(platform::atofC(vertical[1]), expectedZ, 0.0005) << "elevDispPrec 3";

    const std::string out = testsupport::readBytes(folder / "site.OUT");
    const std::vector<std::string> outLine = reportFields(out, "S ");
    ASSERT_EQ(outLine.size(), 6u) << out;
    EXPECT_NEAR(platform::atofC(outLine[2]), expectedN, 2e-6);
    EXPECT_NEAR(platform::atofC(outLine[3]), expectedE, 2e-6);
}

namespace {

// The adjusted points reach the project's coordinate file; A and D are
// already stored there with other values, so the first question concerns A
// (the fixed points are written first).
class SideshotRunCrd : public ::testing::Test {
protected:
    void SetUp() override {
        settings.wrtToCrd = 1;
        settings.crdFileName = crdPath();
        finalcoords::storeCrdPoints(
            crdPath(), 1,
            {finalcoords::crdPoint("A", 1.0, 1.0), finalcoords::crdPoint("D", 2.0, 2.0)});
        before = testsupport::readBytes(crdPath());
    }
    std::string crdPath() const { return (folder / "site.crd").string(); }
    double stored(const char* name) {
        const std::optional<crdPointRec> p = finalcoords::storedPoint(crdPath(), name);
        return p ? p->northing : std::nan("");
    }

    testsupport::TempFolder folder{"sideshot-run-crd"};
    globalVars settings = sideshotSettings();
    std::string before;
};

TEST_F(SideshotRunCrd, OverwriteAllReplacesEveryStoredPoint) {
    ASSERT_EQ(sitecopy::run(folder, settings, rawWithSideshot(), "--overwrite=all"), exitConverged);
    EXPECT_NEAR(stored("A"), 1000.0, 1e-9);
    EXPECT_NEAR(stored("D"), 880.600, 0.001);
    EXPECT_NEAR(stored("S"), 960.000, 0.002);
    EXPECT_NEAR(stored("C"), 1050.420, 0.001);
}

TEST_F(SideshotRunCrd, OverwriteKeepLeavesStoredPointsButAddsNewOnes) {
    ASSERT_EQ(sitecopy::run(folder, settings, rawWithSideshot(), "--overwrite=keep"),
              exitConverged);
    EXPECT_EQ(stored("A"), 1.0);
    EXPECT_EQ(stored("D"), 2.0);
    EXPECT_NEAR(stored("B"), 1180.250, 1e-9);
    EXPECT_NEAR(stored("S"), 960.000, 0.002);
}

// Storing nothing is no success: the run says so and exits with 1.
TEST_F(SideshotRunCrd, OverwriteCancelWritesNothingAndLosesNothing) {
    EXPECT_EQ(sitecopy::run(folder, settings, rawWithSideshot(), "--overwrite=cancel"), 1);
    const std::string said =
        "Nothing was stored in " + crdPath() + ": the overwrite question was cancelled.";
    EXPECT_NE(testsupport::readBytes(folder / "console.txt").find(said), std::string::npos);
    EXPECT_NE(testsupport::readBytes(folder / "site.ERR").find(said + "\r\n"), std::string::npos);
    EXPECT_EQ(testsupport::readBytes(crdPath()), before);
    EXPECT_EQ(stored("A"), 1.0);
    EXPECT_TRUE(std::isnan(stored("S")));
    EXPECT_TRUE(fs::exists(folder / "site.NEZ")) << "the .NEZ and .OUT are still written";
}

} // namespace
