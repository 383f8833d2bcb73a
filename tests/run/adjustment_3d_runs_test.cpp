// Runs of the three-dimensional adjustment: the listings of a converged run
// in their order, the failures and their messages, and the blunder passes
// of modes 10 and 11.

#include "engine/adjustment_results.hpp"
#include "engine/best_solutions.hpp"
#include "engine/spatial_adjustment_engine.hpp"
#include "engine/spatial_adjustment_networks.hpp"
#include "model/list_snapshot.hpp"
#include "model/station_lists.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "reports/report_files.hpp"
#include "run/adjustment_3d.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using namespace net3d;

namespace {

class SpatialRun : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = setActiveShell(&shell);
        useStatePlane83Colorado();
        projectVars.projectFileName = (folder / "net3.prj").string();
        context.temporaryFolder = folder.path().string() + "/";
        projectVars.maxIterations = 10;
        projectVars.convergeLimit = 1e-6;
        projectVars.coordPrec = 3;
        projectVars.distPrec = 3;
        projectVars.directionPrec = 1;
        openRptFile(startNewFile);
        openErrFile(startNewFile);
    }
    void TearDown() override {
        closeRptFile();
        closeErrFile();
        setActiveShell(previous_);
    }
    void load(const Network& net) {
        fillLists(net);
        countUnknownsObs3D(unknownCount, obsCount);
    }
    // A fresh report, error report and list of message boxes for the next
    // case of a table.
    void startCase() {
        shell.boxes.clear();
        openRptFile(startNewFile);
        openErrFile(startNewFile);
    }
    std::string report() {
        closeRptFile();
        return testsupport::readBytes(folder / "net3.RPT");
    }
    std::string errors() {
        closeErrFile();
        return testsupport::readBytes(folder / "net3.ERR");
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"adjust3d"};
    RecordingShell shell;
    RunContext context{shell};

private:
    ShellServices* previous_ = nullptr;
};

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST_F(SpatialRun, ConvergedRunListsEverySectionInOrderAndKeepsItsResults) {
    load(mixed());
    ASSERT_EQ(adjust3D(context), adjustment3DConverged);
    const std::string rpt = report();
    const std::vector<std::string> sections = {
        "Adjusted Geographic Coordinates", "Adjusted Grid Coordinates",
        "Adjusted Geocentric Coordinates", "Adjusted XYZ Coordinates Error Ellipses",
        "Adjusted Observations",           "Statistics"};
    std::size_t last = 0;
    for (const std::string& s : sections) {
        const std::size_t at = rpt.find(s);
        ASSERT_NE(at, std::string::npos) << s;
        EXPECT_GT(at, last) << s;
        last = at;
    }
    EXPECT_TRUE(std::filesystem::exists(folder / "net3.EEL"));
    ASSERT_NE(varCovMatrix, nullptr);
    EXPECT_EQ(varCovMatrix->size(), 15);
    EXPECT_EQ(errEllipseCount, 5);
    EXPECT_GT(referenceStdDev, 0.0);
    EXPECT_EQ(errors(), "");
    EXPECT_EQ(shell.messages.back(), "Solution converged, Computing statistics.");
}

TEST_F(SpatialRun, EmptyCountsReturnWithoutAWord) {
    load(terrestrial());
    obsCount = 0;
    EXPECT_EQ(adjust3D(context), adjustment3DNoObservations);
    load(terrestrial());
    unknownCount = 0;
    EXPECT_EQ(adjust3D(context), adjustment3DNoUnknowns);
    EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(SpatialRun, FailuresEndWithTheirMessage) {
    struct Row {
        const char* name;
        void (*change)(Network&);
        int gridSystem;
        int maxIterations;
        const char* message;
    };
    const Row rows[] = {
        {"singular",
         [](Network& n) { n.stations.push_back(unknownAt("LONE", near(9, 9, 1600), {})); },
         gridStatePlane83, 10,
         "N matrix not positive definite. The solution broke down at the north position of "
         "station LONE."},
        {"budget", [](Network&) {}, gridStatePlane83, 1,
         "Solution did not converge within 0.000001 in  1 iteration"},
        {"local grid", [](Network&) {}, 0, 10,
         "The 3D model needs a coordinate system with geodetic positions: State Plane 1983, "
         "UTM, New Brunswick or a user-defined projection."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        startCase();
        Network net = terrestrial();
        row.change(net);
        load(net);
        projectVars.gridSystem = row.gridSystem;
        projectVars.maxIterations = row.maxIterations;
        EXPECT_EQ(adjust3D(context), adjustment3DFailed);
        ASSERT_EQ(shell.boxes.size(), 1u);
        EXPECT_EQ(shell.boxes[0].text, row.message);
        EXPECT_EQ(errors(), std::string(row.message) + "\r\n");
        EXPECT_EQ(report(), "");
        EXPECT_EQ(varCovMatrix, nullptr);
        projectVars.gridSystem = gridStatePlane83;
    }
}

// Mode 10: every row but the weighted control floats once; the blunder's
// pass has the smallest reference variance and is listed again, marked.
TEST_F(SpatialRun, FloatedPassesFindTheBlunder) {
    Network net = terrestrial();
    load(net);
    std::vector<distanceObs> distances = recordsOf(distanceList);
    distances[2].reducedDist += 0.25;
    distanceList.clear();
    for (const distanceObs& d : distances)
        distanceList.append(d);
    EXPECT_EQ(adjust3DBlunderPasses(context, 3), blunderPasses3DDone);
    EXPECT_EQ(bestSolutions[0].index, 2);
    const std::string err = errors();
    EXPECT_EQ(count(err, "Statistics\r\n"), 3u);
    EXPECT_NE(err.find(" **"), std::string::npos);
    EXPECT_NE(err.find("with ** is the observation that floated."), std::string::npos);
    EXPECT_EQ(err.find("did not converge"), std::string::npos);
    EXPECT_EQ(lsqWeights3D.rows(), 0u);
    EXPECT_EQ(savedStationList.count(), 0);
}

// Fault mended: the passes floated the first k - c rows as if the weighted
// control rows came last; they come before the GPS vectors and the levels,
// so control rows floated and the last rows never did. A blunder in the
// last level record is found, and no control row is ever floated: 31 rows
// (13 sights, 6 control rows 13-18, 9 GPS rows, 3 levels) give 25 passes.
TEST_F(SpatialRun, FloatedPassesReachTheLastRowsAndSkipTheControl) {
    load(mixed());
    std::vector<levelObs> levels = recordsOf(levelList);
    levels.back().ellipsoidalDiff += 0.1;
    levelList.clear();
    for (const levelObs& l : levels)
        levelList.append(l);
    EXPECT_EQ(adjust3DBlunderPasses(context, 10), blunderPasses3DDone);
    EXPECT_EQ(bestSolutions[0].index, obsCount - 1);
    for (const bestSolutionRec& slot : bestSolutions)
        EXPECT_TRUE(slot.index < 13 || slot.index >= 19) << slot.index;
    const std::string err = errors();
    EXPECT_EQ(err.find("Pass 13 "), std::string::npos);
    EXPECT_NE(shell.messages.end(),
              std::find(shell.messages.begin(), shell.messages.end(), "0 of 25 passes."));
}

// Floating one component of a correlated GPS vector keeps its weight block
// positive definite: every pass converges.
TEST_F(SpatialRun, FloatedGpsRowsKeepEveryPassSolvable) {
    load(gpsOnly());
    EXPECT_EQ(adjust3DBlunderPasses(context, 1), blunderPasses3DDone);
    const std::string err = errors();
    EXPECT_EQ(err.find("did not converge"), std::string::npos) << err;
    EXPECT_EQ(err.find("not positive definite"), std::string::npos) << err;
    EXPECT_EQ(count(err, "Statistics\r\n"), 1u);
}

// Mode 11 with two passes: the first is listed, the results kept are the
// second's.
TEST_F(SpatialRun, RepeatedPassesListTheFirstOfTwo) {
    load(mixed());
    EXPECT_EQ(adjust3DRepeated(context, 2), blunderPasses3DDone);
    ASSERT_NE(varCovMatrix, nullptr);
    const std::string err = errors();
    EXPECT_EQ(count(err, "Statistics\r\n"), 1u);
    EXPECT_NE(err.find("largest residual and standard residual."), std::string::npos);
    EXPECT_EQ(report(), "");
}

// Mode 11 ends at a pass that fails, said in a message box: a singular N in
// the error report too (blunderPasses3DOverflow), a pass that does not
// converge in the report too (blunderPasses3DFailed). Neither writes the
// closing note, and the pass weights are released.
TEST_F(SpatialRun, ReweightingEndsAtAFailedPass) {
    const std::string singular = "N matrix not positive definite. The solution broke down at the "
                                 "north position of station LONE.";
    const std::string notConverged = "Solution did not converge within 0.000001 in  1 iteration";
    struct Row {
        const char* name;
        bool loneStation;
        int maxIterations;
        int result;
        std::string box;
        std::string errors;
        std::string report;
    };
    const Row rows[] = {
        {"singular", true, 10, blunderPasses3DOverflow, singular, singular + "\r\n", ""},
        {"budget", false, 1, blunderPasses3DFailed, notConverged, "",
         "\r\n" + notConverged + "\r\n\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        startCase();
        Network net = terrestrial();
        if (row.loneStation)
            net.stations.push_back(unknownAt("LONE", near(9, 9, 1600), {}));
        load(net);
        projectVars.maxIterations = row.maxIterations;
        EXPECT_EQ(adjust3DRepeated(context, 3), row.result);
        ASSERT_EQ(shell.boxes.size(), 1u);
        EXPECT_EQ(shell.boxes[0].text, row.box);
        EXPECT_EQ(errors(), row.errors);
        EXPECT_EQ(report(), row.report);
        EXPECT_EQ(lsqWeights3D.rows(), 0u);
        EXPECT_FALSE(shell.cancelShown);
    }
}

TEST_F(SpatialRun, BlunderModesWithoutObservationsDoNothing) {
    load(terrestrial());
    obsCount = 0;
    EXPECT_EQ(adjust3DBlunderPasses(context, 1), blunderPasses3DFailed);
    EXPECT_EQ(adjust3DRepeated(context, 2), blunderPasses3DFailed);
}
