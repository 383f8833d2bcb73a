// The closures step of a run: the closure file read record by record, the
// settings carried between definitions and between runs, the problems it
// meets going to the error report and a message box while reading goes on,
// and a GPS loop from vectors put into the list directly.

#include "reports/run_files_fixture.hpp"
#include "run/closure_step.hpp"
#include "support/gps_vector_list.hpp"

#include <fstream>

namespace {

class ClosureStep : public RunFiles {
protected:
    void SetUp() override {
        RunFiles::SetUp();
        resetClosureSettings();
        projectVars.distPrec = 3;
        projectVars.directionPrec = 1;
        projectVars.directionType = 1;
    }
    void TearDown() override {
        resetClosureSettings();
        RunFiles::TearDown();
    }
    void writeClosureFile(const std::string& bytes) {
        std::ofstream(folder / "loops.cls", std::ios::binary) << bytes;
        projectVars.pClosureFileName = "loops.cls";
    }

    RunContext context{shell};
};

TEST_F(ClosureStep, NoClosureFileNamedIsReported) {
    computeClosures(context);
    EXPECT_EQ(shell.boxTexts(),
              (std::vector<std::string>{"'Preprocessing/Compute Traverse Closures' option chosen.\n"
                                        "But no closure file has been specified"}));
    const auto err = crlfLines(errors());
    EXPECT_EQ(std::vector<std::string>(err.end() - 2, err.end()),
              (std::vector<std::string>{"'Preprocessing/Compute Traverse Closures' option chosen.",
                                        "But no closure file has been specified"}));
}

TEST_F(ClosureStep, GpsLoopFromTheVectorList) {
    // G1-G2 added, G3-G2 subtracted, G3-G1 added:
    // X = 10 - 4 - 6 = 0, Y = 20 - 5 - 15 = 0, Z = 30 - 31 + 1 = 0 exactly; perimeter
    // |(10,20,30)| + |(4,5,31)| + |(-6,-15,1)| = 37.416574 + 31.654384 + 16.186414 = 85.257372.
    testsupport::addGpsVector("G1", "G2", 10.0, 20.0, 30.0);
    testsupport::addGpsVector("G3", "G2", 4.0, 5.0, 31.0);
    testsupport::addGpsVector("G3", "G1", -6.0, -15.0, 1.0);
    // The last line has no line end; its TRAV_END still counts.
    writeClosureFile("TRAV_TYPE GPS_LOOP\r\nTRAV_LIST g1,G2 , g3\r\n"
                     "TRAV_LIST G1\nTRAV_END");
    EXPECT_TRUE(computeClosures(context));
    EXPECT_TRUE(shell.boxTexts().empty());
    const std::vector<std::string> listing = {
        "",
        "",
        "Traverse Closures",
        "=================",
        "",
        "",
        "",
        "GPS Loop Points:",
        "G1-G3,G1",
        "",
        "GPS Loop Closure;",
        "",
        "  Misclosure, X:    0.000   Y:    0.000   Z:    0.000",
        "  Closure error:     0.000   Perimeter:    85.257",
        "  Precision: 1:Exact",
        ""};
    EXPECT_EQ(crlfLines(report()), listing);
    EXPECT_NE(errors().find("  Precision: 1:Exact\r\n"), std::string::npos);
}

// A damaged record stops the step before any closure is computed: read past,
// it left a definition with names the user did not list.
TEST_F(ClosureStep, ADamagedRecordStopsTheStepBeforeAnyClosure) {
    testsupport::addGpsVector("G1", "G2", 10.0, 20.0, 30.0);
    writeClosureFile("TRAV_TYPE GPS_LOOP\r\nTRAV_LIST G1,G2,G1\r\nTRAV_END\r\nsomething else\r\n");
    EXPECT_FALSE(computeClosures(context));
    const std::string refusal =
        "Error parsing record: SOMETHING ELSE\r\nFile: " + (folder / "loops.cls").string() +
        ", line 4: The keyword is missing.";
    EXPECT_EQ(shell.boxTexts(), std::vector<std::string>{refusal});
    EXPECT_NE(errors().find(refusal + "\r\n"), std::string::npos);
    EXPECT_EQ(report().find("GPS Loop Points:"), std::string::npos);
}

TEST_F(ClosureStep, ARangeToTheEndTakesTheProjectsPointsUpToTheHighestName) {
    for (const char* name : {"1", "3", "4", "5", "A2"}) {
        coordRec p;
        setPointName(p.name, name);
        pointList2D.append(p);
    }
    coordRec fixed;
    setPointName(fixed.name, "9");
    fixedPointList2D.append(fixed);
    // The highest name without prefix is 9 (A2 has one); 6 to 8 are not
    // points of the project.
    writeClosureFile("TRAV_TYPE GPS_LOOP\r\nTRAV_LIST 3-,1\r\nTRAV_END\r\n");
    computeClosures(context);
    const auto lines = crlfLines(report());
    const auto heading = std::find(lines.begin(), lines.end(), "GPS Loop Points:");
    ASSERT_NE(heading, lines.end());
    EXPECT_EQ(*(heading + 1), "3-5,9,1");
}

TEST_F(ClosureStep, SettingsCarryOverButEachRunStartsWithoutAngleClosure) {
    testsupport::addGpsVector("A", "B", 1.0, 0.0, 0.0);
    testsupport::addGpsVector("B", "C", 0.0, 1.0, 0.0);
    testsupport::addGpsVector("C", "A", -1.0, -1.0, 0.0);
    writeClosureFile("ANG_CLOSURE ON\r\nVERT_CLOSURE ON\r\nTRAV_TYPE GPS_LOOP\r\nTRAV_END\r\n");
    computeClosures(context);
    writeClosureFile("TRAV_LIST A,B,C,A\r\nTRAV_END\r\nTRAV_TYPE PT_TO_PT\r\n"
                     "TRAV_LIST A,B\r\nTRAV_END\r\n");
    restartFiles();
    computeClosures(context);
    const auto lines = crlfLines(report());
    // The loop is still a GPS loop; the traverse after it has angle closure
    // off and vertical closure on from the run before.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  Precision: 1:Exact"), lines.end());
    const auto options =
        std::find(lines.begin(), lines.end(), "Traverse starting and ending on different points;");
    ASSERT_NE(options, lines.end());
    EXPECT_EQ(*(options + 1), "Do not compute angle closure.");
    EXPECT_EQ(*(options + 2), "Compute vertical closure.");
    EXPECT_EQ(shell.boxTexts().back(), "Not enough points to compute closure.");
}

} // namespace
