// The final coordinate files of a run: every .NEZ layout and the .OUT point
// lines byte for byte against the hand-built files of
// fixtures/reports/final_coordinates (make_final_coordinates.py renders
// them with Python's %-formatting from the layouts written out there), the
// 3D values in feet, the geocentric choice in a local system, progress and
// a file that cannot be created.

#include "final_coords_support.hpp"
#include "geodetic/state_plane_83.hpp"
#include "model/program_lists.hpp"
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

// Fault mended: a number wider than its field lost its last digits (the
// fields were printed "%12.12s" and "%7.7s"). The texts below are the
// values written out with the decimals asked, by hand.
TEST_F(FinalCoordsFiles, NoFieldCutsANumber) {
    struct Row {
        const char* name;
        int layout, neOutPrec;
        double Z, stdErr;
        const char* expected;
    };
    const Row rows[] = {
        {"geocentric Z, 5 decimals, north", 17, 5, 3620425.790152, 0.004,
         "G         ,738575.65314,-4663211.87690,3620425.79015, GPS,new\r\n"},
        {"geocentric Z, 5 decimals, south", 17, 5, -3620425.790152, 0.004,
         "G         ,738575.65314,-4663211.87690,-3620425.79015, GPS,new\r\n"},
        {"standard errors wider than 7", 16, 5, 4077985.5, 12.3456789,
         "G         ,738575.65314,-4663211.87690,4077985.50000,12.34568,12.34568,12.34568, "
         "GPS,new\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        resetProgramLists();
        projectVars.asciiNEZType = row.layout;
        projectVars.neOutPrec = row.neOutPrec;
        projectVars.zOutPrec = row.neOutPrec;
        stationRec g = pointOf<stationRec>("G", "GPS", "new", 150.0, 250.0, 12.0, row.stdErr,
                                           row.stdErr, row.stdErr, ptUnknown);
        g.ecefX = 738575.65314;
        g.ecefY = -4663211.8769;
        g.ecefZ = row.Z;
        if (row.layout == 16) {
            g.northing = 738575.65314;
            g.easting = -4663211.8769;
            g.elevation = row.Z;
        }
        stationList.append(g);
        writeFinalCoords3D(RunContext(shell), 1);
        EXPECT_EQ(nez(), row.expected);
    }
}

// Fault mended: the geocentric choice in a 2D project on a projected system
// silently wrote layout 0. Its records carry the earth-centred X, Y, Z in
// metres from the grid position and elevation; the expected values are
// PROJ's (cs2cs from the zone's projection to +proj=geocent): UTM 18 on
// GRS 80 in metres, and State Plane 1983 zone 3104 (Lambert, west
// longitudes) in US survey feet.
TEST_F(FinalCoordsFiles, TwoDGeocentricLayoutWritesEarthCentredCoordinates) {
    struct Row {
        const char* name;
        int gridSystem, zone, units;
        double northing, easting, elevation;
        double X, Y, Z;
    };
    const Row rows[] = {
        {"UTM 18, metres", gridUtm, 18, 0, 4982000.0, 680000.0, 50.0, 1342848.8123, -4316014.1474,
         4484917.8249},
        {"State Plane 1983 3104, US feet", gridStatePlane83, 3104, 1, 200000.0, 1000000.0, 100.0,
         1339049.9722, -4652405.6947, 4138557.1885},
    };
    init83ZoneConstants();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        resetProgramLists();
        globalVars& s = projectVars;
        s.asciiNEZType = 17;
        s.gridSystem = row.gridSystem;
        s.gridZone = row.zone;
        s.ellipsoid = 9;
        s.HorizUnits = row.units;
        s.ZUnits = row.units;
        s.geoidModel = 0;
        s.geoidHt = 0.0;
        pointList2D.append(pointOf<coordRec>("P", "CP", "pin", row.northing, row.easting,
                                             row.elevation, 0.01, 0.01, 0.02, ptUnknown));
        writeFinalCoords(RunContext(shell), 1);
        EXPECT_EQ(projectVars.asciiNEZType, 17);
        const std::string record = nez();
        ASSERT_EQ(record.rfind("P         ,", 0), 0u) << record;
        double X = 0, Y = 0, Z = 0;
        ASSERT_EQ(std::sscanf(record.c_str() + 11, "%lf,%lf,%lf", &X, &Y, &Z), 3) << record;
        EXPECT_NEAR(X, row.X, 0.001);
        EXPECT_NEAR(Y, row.Y, 0.001);
        EXPECT_NEAR(Z, row.Z, 0.001);
    }
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
