#include "engine/adjustment_results.hpp"
#include "model/program_lists.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"
#include "run/processing_driver.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"
#include "support/terrestrial_3d_project.hpp"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// A project "net1.prj" in a temporary folder, run with a recording shell.
class Driver : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = setActiveShell(&shell);
        projectVars.projectFileName = (folder / "net1.prj").string();
        projectVars.pInputFileName = "net1.vkr\n";
    }
    void TearDown() override { setActiveShell(previous_); }

    std::vector<std::string> boxTexts() const { return shell.boxTexts(); }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"driver"};
    RecordingShell shell;
    RunContext context{shell};

private:
    ShellServices* previous_ = nullptr;
};

} // namespace

TEST_F(Driver, InputChecksStopTheRunWithTheirMessage) {
    struct Row {
        const char* name;
        int includeRawData, includeGPSVectors, includeLevData, horizAdjust, vertAdjust;
        const char* rawFiles;
        const char* levelFiles;
        const char* message;
    };
    const Row rows[] = {
        {"nothing designated", 0, 0, 0, 1, 1, "net1.vkr\n", "",
         "Cannot perform horizontal adjustment.\nNeither a GPS or TS raw file has been designated"},
        {"no raw file", 1, 0, 0, 1, 1, "", "",
         "Cannot perform horizontal adjustment.\nNo raw data file has been defined"},
        {"vertical, nothing designated", 0, 0, 0, 0, 1, "", "",
         "Cannot perform vertical adjustment.\nNeither a GPS or TS raw file has been designated"},
        {"vertical, no file", 1, 0, 0, 0, 1, "", "", "No raw data file has been defined"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        shell.boxes.clear();
        projectVars.includeRawData = row.includeRawData;
        projectVars.includeGPSVectors = row.includeGPSVectors;
        projectVars.includeLevData = row.includeLevData;
        projectVars.horizAdjust = row.horizAdjust;
        projectVars.vertAdjust = row.vertAdjust;
        projectVars.pInputFileName = row.rawFiles;
        projectVars.pLevRawFileName = row.levelFiles;
        EXPECT_FALSE(adjustNetwork(context, adjustmentRun, 0).reachedEnd);
        EXPECT_EQ(boxTexts(), std::vector<std::string>{row.message});
        EXPECT_FALSE(fs::exists(folder / "net1.RPT"));
    }
}

TEST_F(Driver, PreprocessingChecksTheInputToo) {
    projectVars.includeRawData = 0;
    EXPECT_FALSE(preprocessNetwork(context).reachedEnd);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Cannot perform horizontal reduction.\nNeither "
                                                   "a GPS or TS raw file has been designated"});
}

// A user-defined projection that cannot be loaded would leave every grid
// conversion of the run on an empty record: the run stops instead.
TEST_F(Driver, AMissingUserProjectionStopsTheRun) {
    projectVars.gridSystem = gridUserDefined;
    projectVars.UDPFilePath = (folder / "missing.udp").string();
    EXPECT_FALSE(adjustNetwork(context, adjustmentRun, 0).reachedEnd);
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>{"Error opening UDP file: " + projectVars.UDPFilePath +
                                       ": No such file or directory"});
    EXPECT_FALSE(fs::exists(folder / "net1.RPT"));
    EXPECT_FALSE(preprocessNetwork(context).reachedEnd);
}

TEST_F(Driver, ClearsTheListsOfTheLastRunAndClosesItsReports) {
    coordRec p;
    setPointName(p.name, "OLD");
    pointList2D.append(p);
    obsCount = 12;
    projectVars.includeRawData = 0;
    adjustNetwork(context, adjustmentRun, 0);
    EXPECT_EQ(pointList2D.count(), 0);
    EXPECT_EQ(obsCount, 0);
    EXPECT_EQ(shell.reportClosings, 1);
}

TEST_F(Driver, PreprocessingReleasesTheLastAdjustmentsResults) {
    errEllipses.resize(3);
    errEllipseCount = 3;
    projectVars.includeRawData = 0;
    preprocessNetwork(context);
    EXPECT_TRUE(errEllipses.empty());
    EXPECT_EQ(errEllipseCount, 0);
    EXPECT_EQ(varCovMatrix, nullptr);
}

TEST_F(Driver, TheThreeDimensionalRoadAdjustsAndReachesItsEnd) {
    testsupport::writeBytes(folder / "net1.vkr", testsupport::terrestrial3DRaw());
    testsupport::useTerrestrial3DSystem(projectVars);
    const RunResult r = adjustNetwork(context, adjustmentRun, 0);
    EXPECT_TRUE(r.reachedEnd);
    EXPECT_EQ(r.adjustment, AdjustmentOutcome::converged);
    ASSERT_NE(varCovMatrix, nullptr);
    EXPECT_EQ(varCovMatrix->size(), unknownCount);
}

// The 3D model works on an ellipsoid: in a local grid or State Plane 1927 the
// adjustment, preprocessing and the blunder check all stop alike before any
// coordinates are computed, so no coordinate file is written with positions
// that do not exist.
TEST_F(Driver, EveryRunRefusesA3DProjectOnAGridTheModelCannotServe) {
    const std::string refusal =
        "The 3D model needs a coordinate system with geodetic positions: State Plane 1983, UTM, "
        "New Brunswick or a user-defined projection.";
    struct Run {
        const char* name;
        RunResult (*start)(const RunContext&);
    };
    const Run runs[] = {
        {"adjustment", [](const RunContext& c) { return adjustNetwork(c, adjustmentRun, 0); }},
        {"preprocessing", [](const RunContext& c) { return preprocessNetwork(c); }},
        {"blunder check", [](const RunContext& c) { return checkNetworkForBlunders(c, 0.1); }},
    };
    testsupport::writeBytes(folder / "net1.vkr", testsupport::terrestrial3DRaw());
    for (const int grid : {gridLocal, gridStatePlane27}) {
        for (const Run& run : runs) {
            SCOPED_TRACE(std::string(run.name) + ", grid " + std::to_string(grid));
            shell.boxes.clear();
            testsupport::useTerrestrial3DSystem(projectVars);
            projectVars.gridSystem = grid;
            const RunResult r = run.start(context);
            EXPECT_FALSE(r.reachedEnd);
            EXPECT_EQ(boxTexts(), std::vector<std::string>{refusal});
            EXPECT_NE(testsupport::readBytes(folder / "net1.ERR").find(refusal + "\r\n"),
                      std::string::npos);
            EXPECT_FALSE(fs::exists(folder / "net1.NEZ"));
            EXPECT_FALSE(fs::exists(folder / "net1.OUT"));
        }
    }
}

// The blunder check reads the raw data under its own progress text.
TEST_F(Driver, TheBlunderCheckReadsTheRawDataUnderItsOwnProgressText) {
    testsupport::writeBytes(
        folder / "net1.vkr",
        testsupport::readBytes(std::string(TARNWELL_FIXTURES) + "/../../examples/site/site.vkr"));
    EXPECT_TRUE(checkNetworkForBlunders(context, 0.1).reachedEnd);
    ASSERT_FALSE(shell.messages.empty());
    EXPECT_EQ(shell.messages.front(), "Checking Raw data");
}

// A run cancelled part way writes no coordinates: those of the run before
// stay whole at their names, and the run says so in its error report.
TEST_F(Driver, ACancelledRunKeepsThePreviousCoordinates) {
    testsupport::writeBytes(folder / "net1.vkr", testsupport::terrestrial3DRaw());
    testsupport::useTerrestrial3DSystem(projectVars);
    const RunResult first = adjustNetwork(context, adjustmentRun, 0);
    ASSERT_TRUE(first.coordinatesWritten);
    EXPECT_EQ(first.previousCoordinatesKept, "");
    const std::string nez = testsupport::readBytes(folder / "net1.NEZ");
    const std::string out = testsupport::readBytes(folder / "net1.OUT");
    ASSERT_NE(nez, "");

    shell.pumps = 0;
    shell.cancelAfterPumps = 1;
    const RunResult cancelled = adjustNetwork(context, adjustmentRun, 0);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.coordinatesWritten);
    EXPECT_EQ(testsupport::readBytes(folder / "net1.NEZ"), nez);
    EXPECT_EQ(testsupport::readBytes(folder / "net1.OUT"), out);
    const std::string kept = (folder / "net1.NEZ").string() + " and " +
                             (folder / "net1.OUT").string() +
                             " are kept as the previous run left them: this run wrote no new "
                             "coordinates.";
    EXPECT_EQ(cancelled.previousCoordinatesKept, kept);
    EXPECT_NE(testsupport::readBytes(folder / "net1.ERR").find(kept), std::string::npos);
}

// The project asks for its points in a coordinate file it does not name:
// both runs stop before reading anything, with a box (the desktop program's
// message) and the same text in the error report.
TEST_F(Driver, ACoordinateFileWithoutANameStopsTheRun) {
    projectVars.includeRawData = 1;
    projectVars.horizAdjust = 1;
    projectVars.wrtToCrd = 1;
    projectVars.crdFileName.clear();
    const std::string message = "No output coordinate file name has been specified";
    for (const bool adjustment : {true, false}) {
        SCOPED_TRACE(adjustment ? "adjustment" : "preprocessing");
        shell.boxes.clear();
        const RunResult r =
            adjustment ? adjustNetwork(context, adjustmentRun, 0) : preprocessNetwork(context);
        EXPECT_FALSE(r.reachedEnd);
        EXPECT_EQ(boxTexts(), std::vector<std::string>{message});
        EXPECT_NE(testsupport::readBytes(folder / "net1.ERR").find(message), std::string::npos);
    }
}
