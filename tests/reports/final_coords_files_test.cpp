// The final coordinate files of a run: every .NEZ layout and the .OUT point
// lines byte for byte against the hand-built files of
// fixtures/reports/final_coordinates (make_final_coordinates.py renders
// them with Python's %-formatting from the layouts written out there), the
// 3D values in feet, the geocentric choice in a local system, progress and
// a file that cannot be created.

#include "final_coords_support.hpp"
#include "reports/final_coordinates.hpp"
#include "reports/report_header.hpp"
#include "run_files_fixture.hpp"

#include <filesystem>

namespace {

const std::filesystem::path fixtures =
    std::filesystem::path(TARNWELL_FIXTURES) / "reports" / "final_coordinates";

std::string fixture(const std::string& name) {
    return testsupport::readBytes(fixtures / name);
}

using finalcoords::pointOf;

class FinalCoordsFiles : public RunFiles {
protected:
    void SetUp() override {
        RunFiles::SetUp();
        closeRptFile(); // the driver closes the report files first
        closeErrFile();
        globalVars& s = projectVars;
        s.neOutPrec = 3;
        s.zOutPrec = 2;
        s.coordPrec = 4;
        s.distPrec = 3;
        s.nullElev = "-99999999.0";
        s.NEDisplayType = 0;
        s.gridSystem = gridLocal;
        s.wrtToCrd = 0;
    }

    // The points of make_final_coordinates.py, with an azimuth dummy point
    // that is never written.
    static void fill2D() {
        fixedPointList2D.append(pointOf<coordRec>("A", "CP", "control A", 1000.0, 2000.0, 50.125,
                                                  -2.0, -2.0, -3.0, ptFixed));
        fixedPointList2D.append(
            pointOf<coordRec>("AZ1", "", "", 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, ptAzimuthDummy));
        pointList2D.append(pointOf<coordRec>("C", "IRON", "iron pin", 1050.4216, 1430.1549, 101.2,
                                             0.0123, 0.0045, -1.0, ptUnknown));
        pointList2D.append(pointOf<coordRec>("D", "", "", 880.6, 1210.33, notComputed, 0.01, 0.02,
                                             0.0, ptUnknown));
        pointList2D.append(pointOf<coordRec>("E", "MONUMENT", " with blanks ", -12.3456, 7.5, -3.25,
                                             1.5, 0.25, 0.125, ptSideshot));
    }

    std::string nez() { return testsupport::readBytes(folder / "site.NEZ"); }
    std::string out() { return testsupport::readBytes(folder / "site.OUT"); }

    // What writeOutHeader writes with the settings in force.
    std::string outHeader(int adjusted) {
        StagedOutput header((folder / "header.txt").string());
        writeOutHeader(header.create(), adjusted);
        EXPECT_TRUE(header.commit());
        return testsupport::readBytes(folder / "header.txt");
    }
};

TEST_F(FinalCoordsFiles, EveryNezLayoutByteForByte) {
    fill2D();
    for (int layout = 0; layout <= 16; ++layout) {
        SCOPED_TRACE(layout);
        projectVars.asciiNEZType = layout;
        writeFinalCoords(RunContext(shell), 1);
        char name[32];
        std::snprintf(name, sizeof name, "layout_%02d.NEZ", layout);
        EXPECT_EQ(nez(), fixture(name));
    }
}

TEST_F(FinalCoordsFiles, OutListsThePointsUnderItsHeaderAndIsShown) {
    fill2D();
    writeFinalCoords(RunContext(shell), 1);
    EXPECT_EQ(out(), outHeader(1) + fixture("points.OUT"));
    ASSERT_FALSE(shell.shownReports.empty());
    EXPECT_EQ(shell.shownReports.back(),
              std::make_pair(projectOutputPath(".OUT"), ReportKind::output));
    EXPECT_EQ(shell.messages.back(), "Writing final coordinates.");
}

TEST_F(FinalCoordsFiles, UnadjustedRunDiffersOnlyInTheOutTitle) {
    fill2D();
    writeFinalCoords(RunContext(shell), 0);
    EXPECT_EQ(nez(), fixture("layout_00.NEZ"));
    EXPECT_EQ(out(), outHeader(0) + fixture("points.OUT"));
    EXPECT_NE(outHeader(0).find("UNADJUSTED COORDINATES"), std::string::npos);
}

TEST_F(FinalCoordsFiles, GeocentricLayoutInALocalSystemFallsBackToLayoutZero) {
    fill2D();
    projectVars.asciiNEZType = 17;
    writeFinalCoords(RunContext(shell), 1);
    EXPECT_EQ(projectVars.asciiNEZType, 0);
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text,
              "A local coordinate system project cannot use the geocentric XYZ ASCII output "
              "option.");
    EXPECT_EQ(nez(), fixture("layout_00.NEZ"));
}

// A "none" standard error (-1) is a marker: in feet it must not become
// -3.28 and print as a fixed (empty) value.
TEST_F(FinalCoordsFiles, ThreeDInFeetAboveTheGeoidWithMarkersUnscaled) {
    projectVars.HorizUnits = 1;
    projectVars.asciiNEZType = 16;
    stationRec f =
        pointOf<stationRec>("F", "CP", "fixed", 100.0, 200.0, 10.0, -2.0, -2.0, -2.0, ptFixed);
    f.geoidSep = -5.0;
    stationRec g =
        pointOf<stationRec>("G", "GPS", "new", 150.0, 250.0, 12.0, 0.003, -1.0, 0.006, ptUnknown);
    g.geoidSep = -3.0;
    fixedStationList.append(f);
    stationList.append(g);
    writeFinalCoords3D(RunContext(shell), 1);
    EXPECT_EQ(nez(), fixture("site3d_16.NEZ"));
}

// Fault mended: the geocentric choice wrote a 3D project's grid values as
// layout 0. Its records carry the earth-centred X, Y, Z in metres
// ("%12.3f" with neOutPrec 3) in layout 0's form, whatever the unit.
TEST_F(FinalCoordsFiles, ThreeDGeocentricLayoutWritesEarthCentredCoordinates) {
    projectVars.HorizUnits = 1;
    projectVars.asciiNEZType = 17;
    stationRec g =
        pointOf<stationRec>("G", "GPS", "new", 150.0, 250.0, 12.0, 0.003, 0.004, 0.006, ptUnknown);
    g.ecefX = 738575.65314;
    g.ecefY = -4663211.8769;
    g.ecefZ = 4077985.5;
    stationList.append(g);
    writeFinalCoords3D(RunContext(shell), 1);
    EXPECT_EQ(nez(), "G         ,  738575.653,-4663211.877, 4077985.500, GPS,new\r\n");
    EXPECT_NE(out().find("  492.125"), std::string::npos) << "the .OUT keeps the grid, in feet";
}

// The bar runs from 0 to 100 over the main list (not to 200).
TEST_F(FinalCoordsFiles, ProgressBarSpansTheMainListOnce) {
    fill2D();
    writeFinalCoords(RunContext(shell), 1);
    EXPECT_EQ(shell.percents, (std::vector<int>{0, 33, 66}));
}

TEST_F(FinalCoordsFiles, AFileThatCannotBeCreatedIsNamedAndNothingIsWritten) {
    fill2D();
    projectVars.projectFileName = (folder / "missing" / "site.prj").string();
    writeFinalCoords(RunContext(shell), 1);
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text, "error opening " + (folder / "missing" / "site.NEZ").string() +
                                       ": No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
    EXPECT_TRUE(shell.shownReports.empty());
}

} // namespace
