// The benchmarks' generated 2D grids (bench/raw_networks.hpp) at 400 points,
// from observations without measuring errors, run through tarnrun from raw
// data alone: the grid with circle readings to every neighbour and the grid
// of single angles, each angle its own setup. Their preliminary coordinates
// must stay near the true points and the adjustment must converge onto them.
//
// The observations are rounded (readings to 0.1", distances to 1 mm or
// 0.1 mm). Carried along a path of 40 legs of at most 320 m, the rounding
// moves a point by at most 320 m x 0.05" x 40^2 / 2 + 40 x 0.5 mm = 0.08 m;
// 0.1 m is allowed. A placement that grows errors from point to point (a
// setup turned to a point that came along another path) put the single-angle
// grid's points 12 m off.

#include "raw_networks.hpp"
#include "site_copy_run.hpp"
#include "support/report_text.hpp"
#include "support/temp_folder.hpp"
#include "tarnrun_command.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int exitConverged = 0;
constexpr int pointCount = 400;
constexpr double preliminaryTolerance_m = 0.1;
constexpr double adjustedTolerance_m = 0.005; // the .NEZ holds millimetres
constexpr int mostIterations = 5;

using Writer = std::filesystem::path (*)(const std::filesystem::path&, int);
using Truth = std::vector<rawnetworks::GridPosition> (*)(int);

struct GridCase {
    const char* name;
    Writer write;
    Truth truth;
};

std::filesystem::path circleReadingGrid(const std::filesystem::path& folder, int points) {
    return rawnetworks::writeGridProject2D(folder, points, false);
}

std::filesystem::path singleAngleGrid(const std::filesystem::path& folder, int points) {
    return rawnetworks::writeAngleGridProject2D(folder, points, false);
}

// The largest distance of a point of the .NEZ from its true position; every
// point of the grid must be there.
double worstOffTruth(const std::filesystem::path& nez,
                     const std::vector<rawnetworks::GridPosition>& truth) {
    const auto points = sitecopy::readNez(nez);
    double worst = 0.0;
    for (std::size_t i = 0; i < truth.size(); ++i) {
        const auto found = points.find("P" + std::to_string(i));
        if (found == points.end()) {
            ADD_FAILURE() << "P" << i << " is missing from " << nez;
            return INFINITY;
        }
        worst = std::max(worst, std::hypot(found->second.northing - truth[i].northing,
                                           found->second.easting - truth[i].easting));
    }
    return worst;
}

int iterationsOf(const std::string& report) {
    const std::string marker = " Solution converged in ";
    const std::size_t at = report.find(marker);
    return at == std::string::npos ? -1 : std::stoi(report.substr(at + marker.size()));
}

} // namespace

TEST(GeneratedGridRun, BothGridPatternsStartNearTheTruthAndConvergeOntoIt) {
    const GridCase cases[] = {
        {"circle readings", circleReadingGrid, rawnetworks::gridTruth2D},
        {"single angles", singleAngleGrid, rawnetworks::angleGridTruth},
    };
    for (const GridCase& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempFolder folder("generated-grid");
        const std::filesystem::path project = c.write(folder.path(), pointCount);
        const std::vector<rawnetworks::GridPosition> truth = c.truth(pointCount);
        const std::filesystem::path console = folder / "console.txt";

        ASSERT_EQ(tarnruntest::runQuiet(project, console, "--preprocess"), exitConverged)
            << testsupport::readBytes(folder / "network.ERR");
        EXPECT_LE(worstOffTruth(folder / "network.NEZ", truth), preliminaryTolerance_m);

        ASSERT_EQ(tarnruntest::runQuiet(project, console), exitConverged)
            << testsupport::readBytes(folder / "network.ERR");
        const int iterations = iterationsOf(testsupport::readBytes(folder / "network.RPT"));
        EXPECT_GE(iterations, 1);
        EXPECT_LE(iterations, mostIterations);
        EXPECT_LE(worstOffTruth(folder / "network.NEZ", truth), adjustedTolerance_m);
    }
}
