// The example project put on a State Plane 1983 zone with its geoid
// separations taken from an EGM96 grid: tarnrun opens the grid named by
// --geoid-dir for the run, and the separation read from it reaches the
// reduction of the distances to sea level.

#include "site_copy_run.hpp"

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int exitConverged = 0;
constexpr int exitStopped = 1;

// EGM96 in the settings' list of geoid models; its grid is one file, egm96.grd.
constexpr int egm96Model = 2;
constexpr double separation = -30.0;

// The whole earth in 2 x 2 intervals, every node `separation`: the header
// (south, west, north, east in degrees with longitudes east, then the
// intervals east-west and north-south) and the nine node values.
void writeConstantGrid(const fs::path& file) {
    std::ofstream out(file, std::ios::binary);
    out << "-90.0\n0.0\n90.0\n360.0\n2\n2\n";
    for (int node = 0; node < 9; ++node)
        out << separation << "\n";
}

globalVars statePlaneSettings() {
    globalVars settings = sitecopy::exampleSettings();
    settings.gridSystem = gridStatePlane83;
    settings.gridZone = 101; // Alabama East
    return settings;
}

// The elevation factors ("Z Factor") of the report's distances reduced to the
// grid: the fourth number of each line after the "Grid Dist." heading.
std::vector<double> elevationFactors(const fs::path& report) {
    std::vector<double> factors;
    bool inTable = false;
    for (const std::string& line : sitecopy::lines(testsupport::readBytes(report))) {
        if (line.find("Grid Dist.") != std::string::npos) {
            inTable = true;
            continue;
        }
        if (!inTable)
            continue;
        std::istringstream fields(line);
        std::string from, to;
        double distance = 0.0, gridFactor = 0.0, elevationFactor = 0.0;
        if (!(fields >> from >> to >> distance >> gridFactor >> elevationFactor)) {
            if (!factors.empty())
                break;
            continue;
        }
        factors.push_back(elevationFactor);
    }
    return factors;
}

TEST(GeoidGridRun, TheSeparationOfTheGridReachesTheSeaLevelReduction) {
    testsupport::TempFolder folder{"geoid-grid-run"};
    fs::create_directory(folder / "grids");
    writeConstantGrid(folder / "grids" / "egm96.grd");
    globalVars settings = statePlaneSettings();
    settings.geoidModel = 1;
    settings.geoidModelType = egm96Model;

    ASSERT_EQ(sitecopy::run(folder, settings,
                            testsupport::readBytes(sitecopy::exampleFile("site.vkr")),
                            "--geoid-dir '" + (folder / "grids").string() + "'"),
              exitConverged)
        << testsupport::readBytes(folder / "console.txt");
    EXPECT_EQ(testsupport::readBytes(folder / "site.ERR").find("Could not read geoid separation"),
              std::string::npos);

    // The elevation factor comes from the project elevation, 0, so the
    // ellipsoidal height of every line is the separation alone: R / (R + N)
    // = 1 / (1 - 30 / R), with R between the semi-minor and the semi-major
    // axis of GRS 80 (6356752.3 m, 6378137 m) 1.00000470 to 1.00000472.
    const std::vector<double> factors = elevationFactors(folder / "site.RPT");
    ASSERT_EQ(factors.size(), 4u);
    for (double factor : factors) {
        EXPECT_GE(factor, 1.0 / (1.0 + separation / 6378137.0) - 5e-9);
        EXPECT_LE(factor, 1.0 / (1.0 + separation / 6356752.3) + 5e-9);
    }

    // The same separation given as the project's own gives the same factors.
    testsupport::TempFolder projectHeight{"geoid-project-height"};
    settings.geoidModel = 0;
    settings.geoidHt = separation;
    ASSERT_EQ(sitecopy::run(projectHeight, settings,
                            testsupport::readBytes(sitecopy::exampleFile("site.vkr"))),
              exitConverged);
    EXPECT_EQ(elevationFactors(projectHeight / "site.RPT"), factors);
}

TEST(GeoidGridRun, AFolderWithoutTheModelsGridStopsTheRunBeforeItsFiles) {
    testsupport::TempFolder folder{"geoid-grid-missing"};
    fs::create_directory(folder / "grids");
    globalVars settings = statePlaneSettings();
    settings.geoidModel = 1;
    settings.geoidModelType = egm96Model;

    EXPECT_EQ(sitecopy::run(folder, settings,
                            testsupport::readBytes(sitecopy::exampleFile("site.vkr")),
                            "--geoid-dir '" + (folder / "grids").string() + "'"),
              exitStopped);
    EXPECT_NE(testsupport::readBytes(folder / "console.txt")
                  .find("The appropriate grid files were not found."),
              std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "site.RPT"));
}

// A node of the grid with text before its number ("#-30.0" was read as 0,
// 30 m off in every height and the sea-level reduction) stops the run with
// the file and the line; the coordinates of the earlier run stay.
TEST(GeoidGridRun, ADamagedGridStopsTheRunNamingItsLine) {
    testsupport::TempFolder folder{"geoid-grid-damaged"};
    fs::create_directory(folder / "grids");
    const fs::path grid = folder / "grids" / "egm96.grd";
    writeConstantGrid(grid);
    globalVars settings = statePlaneSettings();
    settings.geoidModel = 1;
    settings.geoidModelType = egm96Model;
    const std::string raw = testsupport::readBytes(sitecopy::exampleFile("site.vkr"));
    const std::string geoidDir = "--geoid-dir '" + (folder / "grids").string() + "'";
    ASSERT_EQ(sitecopy::run(folder, settings, raw, geoidDir), exitConverged);
    const std::string nez = testsupport::readBytes(folder / "site.NEZ");
    const std::string out = testsupport::readBytes(folder / "site.OUT");

    // Line 11, the fifth node, the one the site lies nearest.
    std::string text = testsupport::readBytes(grid);
    std::size_t at = 0;
    for (int line = 1; line < 11; ++line)
        at = text.find('\n', at) + 1;
    text.insert(at, "#");
    testsupport::writeBytes(grid, text);
    EXPECT_EQ(sitecopy::run(folder, settings, raw, geoidDir), exitStopped);
    const std::string told =
        "Geoid grid file " + grid.string() + ", line 11: The node value \"#-30\" is not a number.";
    EXPECT_NE(testsupport::readBytes(folder / "console.txt").find(told), std::string::npos)
        << testsupport::readBytes(folder / "console.txt");
    EXPECT_NE(testsupport::readBytes(folder / "site.ERR").find(told), std::string::npos)
        << testsupport::readBytes(folder / "site.ERR");
    EXPECT_EQ(testsupport::readBytes(folder / "site.NEZ"), nez);
    EXPECT_EQ(testsupport::readBytes(folder / "site.OUT"), out);
}

} // namespace
