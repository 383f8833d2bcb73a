// A 3D project whose only input is a .GPS file: its vectors are read, its
// C line becomes a control point (once), and the vector ends become
// stations.

#include "model/program_lists.hpp"
#include "model/reader_std_errs.hpp"
#include "platform/shell_services.hpp"
#include "run/processing_driver.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr int utmGrid = 4;
constexpr int grs80Code = 9;

class GpsProject : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = setActiveShell(&shell);
        projectVars.setDefaults();
        projectVars.projectFileName = (folder / "gps.prj").string();
        projectVars.geodeticModel = 1;
        projectVars.gridSystem = utmGrid;
        projectVars.gridZone = 18;
        projectVars.ellipsoid = grs80Code;
        projectVars.geoidModel = 0;
        projectVars.geoidHt = -30.0;
        projectVars.HorizUnits = 0;
        projectVars.includeRawData = 0;
        projectVars.includeGPSVectors = 1;
        projectVars.gpsFileFmtType = 0;
        projectVars.GPSUnits = 0;
        projectVars.pGPSFileName = "site.gps\n";
        std::filesystem::copy_file(std::string(TARNWELL_FIXTURES) + "/input/gps/site.gps",
                                   folder / "site.gps");
        resetProgramLists();
    }
    void TearDown() override {
        resetProgramLists();
        setActiveShell(previous_);
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"gps-project"};
    RecordingShell shell;
    RunContext context{shell};

private:
    ShellServices* previous_ = nullptr;
};

int coordinateRecordsOf(std::string_view name) {
    int count = 0;
    rawRec r;
    rawDataList.seek2(0);
    while (rawDataList.getNext2(r) == 0)
        count += r.kind == rawCoord && sameName(fixedText(r.pointName), name) ? 1 : 0;
    return count;
}

} // namespace

// BASE is 45 N, 75 W at ellipsoidal height 98.4 m; on UTM zone 18 (GRS 80)
// PROJ 9.1.1 puts it at E 500000.000000, N 4982950.400107
// (tests/fixtures/input/gps/utm_control.txt). Its orthometric height is
// 98.4 - (-30) with the project's geoid separation of -30 m, and the 3D
// station holds the ellipsoidal height again. Appended twice, its standard
// errors would come out as 0.005 / sqrt(2).
TEST_F(GpsProject, TheControlLineBecomesControlOnce) {
    ASSERT_EQ(loadProjectInputs(context), 0) << testing::PrintToString(shell.boxTexts());
    EXPECT_EQ(gpsVectorList.count(), 3);
    EXPECT_EQ(coordinateRecordsOf("BASE"), 1);

    stationRec base;
    ASSERT_GE(controlStationList.find("BASE", base), 0);
    EXPECT_NEAR(base.easting, 500000.000000, 1e-4);
    EXPECT_NEAR(base.northing, 4982950.400107, 1e-4);
    EXPECT_NEAR(base.elevation, 98.4, 1e-4);
    EXPECT_DOUBLE_EQ(base.stdErrE, 0.005);
    EXPECT_DOUBLE_EQ(base.stdErrN, 0.005);
    EXPECT_DOUBLE_EQ(base.stdErrZ, 0.008);
    ASSERT_GE(stationList.find("BASE", base), 0);
    EXPECT_EQ(base.description, "brass disk");

    for (const char* end : {"N1", "N2"}) {
        stationRec station;
        EXPECT_GE(stationList.find(end, station), 0) << end;
    }
}

// Control from a 2D project's GPS files is not read: the 2D road reads no
// vectors.
TEST_F(GpsProject, The2DModelTakesNoGpsControl) {
    projectVars.geodeticModel = 0;
    projectVars.gridSystem = 0;
    ASSERT_EQ(loadProjectInputs(context), 0);
    EXPECT_EQ(coordinateRecordsOf("BASE"), 0);
    EXPECT_TRUE(gpsXyzControlArray.empty());
    EXPECT_EQ(gpsVectorList.count(), 0);
}

TEST_F(GpsProject, AMalformedGpsFileStopsTheLoading) {
    testsupport::writeBytes(folder / "site.gps", "C BASE 1 2 x\r\n");
    EXPECT_EQ(loadProjectInputs(context), 1);
    EXPECT_EQ(shell.boxTexts(),
              (std::vector<std::string>{(folder / "site.gps").string() +
                                            ", line 1: a C line needs numbers after its name",
                                        "error loading GPS vector file"}));
}

// A project whose GPS files are vector text files: each is converted into
// the run's temporary folder and its vectors are read (the same vectors as
// site.gps, standard errors and correlations as the text file holds them).
TEST_F(GpsProject, ConvertedVectorFilesAreReadFromTheTemporaryFolder) {
    std::filesystem::create_directory(folder / "run");
    context.temporaryFolder = (folder / "run").string();
    testsupport::writeBytes(folder / "site.tvf",
                            "VPP,BASE N1 -512.345678 412.000123 -88.123456 0.005 0.006 0.007 "
                            "0.1 0 0\r\n"
                            "VPP,N1 N2 301 -99.5 210.25 0.004 0.004 0.004 0 0 0\r\n"
                            "VPP,N2 BASE 211.345678 -312.500123 -122.126544 0.004 0.005 0.006 "
                            "0.2 -0.1 0.3\r\n");
    projectVars.gpsFileFmtType = 3;
    projectVars.pGPSFileName = "site.tvf\n";
    ASSERT_EQ(loadProjectInputs(context), 0) << testing::PrintToString(shell.boxTexts());
    EXPECT_EQ(gpsVectorList.count(), 3);
    EXPECT_TRUE(std::filesystem::exists(folder / "run" / "site.GPS"));
    EXPECT_FALSE(std::filesystem::exists(folder / "site.GPS"));
}
