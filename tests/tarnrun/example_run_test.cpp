// tarnrun run the way a user runs it, on a copy of the example project: the
// report opens with the title and settings block of the golden file
// (fixtures/reports/site_run.RPT, written by hand from the report's formats;
// the date line and the project's folder are normalised), the raw data are
// read, and the run goes through the reductions and the adjustment to its
// coordinate files.

#include "site_copy_run.hpp"
#include "support/report_text.hpp"
#include "support/temp_folder.hpp"
#include "tarnrun_command.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
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

namespace {

fs::path gnssExampleFolder() {
    return fs::path(TARNWELL_FIXTURES) / ".." / ".." / "examples" / "gnss-site";
}

struct TruePosition {
    double northing = 0.0;
    double easting = 0.0;
};

// The UTM positions of truth.txt, written from the stations' true geodetic
// positions through PROJ when the example was made.
std::map<std::string, TruePosition> truePositions() {
    std::map<std::string, TruePosition> truth;
    std::ifstream in(gnssExampleFolder() / "truth.txt");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string name;
        double x = 0, y = 0, z = 0;
        TruePosition p;
        fields >> name >> x >> y >> z >> p.northing >> p.easting;
        truth[name] = p;
    }
    return truth;
}

} // namespace

// The second example adjusts GNSS vectors and a total-station traverse in
// one 3D adjustment onto the true positions, and lists its GNSS loop.
TEST(ExampleRun, TheGnssSiteAdjustsOntoItsTruePositions) {
    testsupport::TempFolder folder("gnss-example-run");
    for (const char* name : {"gnss-site.prj", "gnss-site.vkr", "gnss-site.gps", "gnss-site.cls"})
        fs::copy_file(gnssExampleFolder() / name, folder / name);
    ASSERT_EQ(tarnruntest::runQuiet(folder / "gnss-site.prj", folder / "console.txt"),
              exitConverged)
        << testsupport::readBytes(folder / "console.txt")
        << testsupport::readBytes(folder / "gnss-site.ERR");
    const std::string report = testsupport::readBytes(folder / "gnss-site.RPT");
    EXPECT_NE(report.find("\r\n Solution converged in "), std::string::npos) << report;
    EXPECT_NE(report.find("Adjusted Geocentric Coordinates"), std::string::npos);
    const auto nez = sitecopy::readNez(folder / "gnss-site.NEZ");
    const auto truth = truePositions();
    ASSERT_EQ(truth.size(), 6u);
    for (const auto& [name, t] : truth) {
        SCOPED_TRACE(name);
        ASSERT_EQ(nez.count(name), 1u);
        // Vectors to 0.1 mm, readings to 0.1" and 1 mm over 300-400 m sights.
        EXPECT_NEAR(nez.at(name).northing, t.northing, 0.003);
        EXPECT_NEAR(nez.at(name).easting, t.easting, 0.003);
    }
}
