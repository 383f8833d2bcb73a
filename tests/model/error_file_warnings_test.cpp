#include "model/error_file_warnings.hpp"
#include "output/report_lines.hpp"
#include "support/angles.hpp"
#include "support/comma_locale.hpp"
#include "support/project_vars_guard.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using testsupport::gradsToRadians;
using testsupport::pi;
using testsupport::radiansOf;

namespace {

// Captures what the warnings write to the report and the error report.
class Warnings : public ::testing::Test {
protected:
    void SetUp() override {
        rptFile = ::open((folder / "w.RPT").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
        errFile = ::open((folder / "w.ERR").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    }
    void TearDown() override {
        for (int* handle : {&rptFile, &errFile}) {
            if (*handle > 0)
                ::close(*handle);
            *handle = 0;
        }
    }
    // The error report's text, after checking the report holds the same.
    std::string written() {
        const std::string err = testsupport::readBytes(folder / "w.ERR");
        EXPECT_EQ(testsupport::readBytes(folder / "w.RPT"), err);
        return err;
    }

    testsupport::ProjectVarsGuard guard;
    testsupport::TempFolder folder{"warnings"};
};

} // namespace

TEST_F(Warnings, AngleSpreadIsMeasuredAcrossNorth) {
    warnAngleSpread("  1", " 2", "3", radiansOf(359, 59, 50), radiansOf(0, 0, 10));
    EXPECT_EQ(written(), "Horizontal Angle spread exceeds tolerance:\r\n"
                         "  IP: 1,  BS: 2,  FS: 3\r\n"
                         "  Low: 000-00'10.0\" ,  High: 359-59'50.0\" ,  Diff: 000-00'20.0\" \r\n"
                         "\r\n");
}

TEST_F(Warnings, AngleSpreadAcrossNorthTheOtherWay) {
    warnAngleSpread("1", "2", "3", radiansOf(0, 0, 5), radiansOf(359, 59, 58));
    EXPECT_NE(written().find("Diff: 000-00'07.0\""), std::string::npos);
}

TEST_F(Warnings, SetupNamesArePrintedAsPassed) {
    warnNoBacksight(" 10", "20", "30");
    warnNoValidAngle("A", "B", "C");
    EXPECT_EQ(written(), "Warning: Could not find appropriate backsight:\r\n"
                         "  IP:  10,  BS: 20,  FS: 30\r\n"
                         "\r\n"
                         "Warning: No valid angle found for:\r\n"
                         "  IP: A,  BS: B,  FS: C\r\n"
                         "\r\n");
}

TEST_F(Warnings, DistanceTolerancesStripNamesAndNumbers) {
    warnHorizDistTolerance("  5", " 6", 100.0256, 100.0011);
    warnVertDistTolerance("5", "6", 1.5, 1.25);
    warnMarkToMarkDistTolerance("5", "6", 2.0, 1.0);
    warnInvalidDistance("  7", "8");
    EXPECT_EQ(written(), "Horizontal Distance from 5 to 6 exceeds tolerance:\r\n"
                         "  Low: 100.001,  High: 100.026,  Diff: 0.025\r\n\r\n"
                         "Vertical Distance from 5 to 6 exceeds tolerance:\r\n"
                         "  Low: 1.250,  High: 1.500,  Diff: 0.250\r\n\r\n"
                         "Mark to mark distance from 5 to 6 exceeds tolerance:\r\n"
                         "  Low: 1.000,  High: 2.000,  Diff: 1.000\r\n\r\n"
                         "Invalid distance from 7 to 8:\r\n\r\n");
}

TEST_F(Warnings, VerticalAngleDifferenceIsSigned) {
    warnMarkToMarkVertAngleTolerance("1", "2", radiansOf(90, 0, 10), radiansOf(90, 0, 4));
    EXPECT_NE(written().find("  Low: 090-00'04.0\" ,  High: 090-00'10.0\" ,  Diff: 000-00'06.0\" "),
              std::string::npos);
}

TEST_F(Warnings, ForesightWithoutSetup) {
    warnForesightNoSetup("9", 123.4567, radiansOf(88, 30));
    EXPECT_EQ(written(),
              "Foresight record with no instrument setup record:\r\n"
              "  FS: 9  Slope Distance:  123.457  Vertical Angle: 088-30'00.0\" \r\n\r\n");
}

TEST_F(Warnings, CoordinateTolerances) {
    warnNETolerance(" 100", 5000.125, 1000.5, 5000.1, 1000.0);
    warnZTolerance("100", 25.1234, 25.0);
    EXPECT_EQ(written(), "NE Values for 100 exceeds tolerance:\r\n"
                         "  Low X: 5000.100,  High X: 5000.125,  Diff: 0.025\r\n"
                         "  Low Y: 1000.000,  High Y: 1000.500,  Diff: 0.500\r\n\r\n"
                         "Z Values for 100 exceeds tolerance:\r\n"
                         "  Low Z: 25.000,  High Z: 25.123,  Diff: 0.123\r\n\r\n");
}

TEST_F(Warnings, UnsetElevationPrintsEmpty) {
    warnZTolerance("100", 25.0, -999999999.0);
    EXPECT_EQ(written(), "Z Values for 100 exceeds tolerance:\r\n"
                         "  Low Z: ,  High Z: 25.000,  Diff: \r\n\r\n");
}

TEST_F(Warnings, MetreValuesShownInProjectUnits) {
    projectVars.HorizUnits = 1;
    // 1 m = 3.2808333333 US survey feet; 0.3048006096 m = 1 US survey foot
    warnNEToleranceUnits("P", 1.0, 0.3048006096012192, 0.0, 0.0);
    warnZToleranceUnits("P", 0.3048006096012192, -999999999.0);
    EXPECT_EQ(written(), "NE Values for P exceeds tolerance:\r\n"
                         "  Low X: 0.000,  High X: 3.281,  Diff: 3.281\r\n"
                         "  Low Y: 0.000,  High Y: 1.000,  Diff: 1.000\r\n\r\n"
                         "Z Values for P exceeds tolerance:\r\n"
                         "  Low Z: ,  High Z: 1.000,  Diff: \r\n\r\n");
}

TEST_F(Warnings, GeoidElevationFactorAndMultipleFixed) {
    warnGeoidSeparation("G1");
    warnElevFactorData("A", "B");
    warnMultipleFixed("C");
    EXPECT_EQ(
        written(),
        "Could not read geoid separation from grid file for Point G1\r\n\r\n"
        "Warning: Insufficient data fo compute elevation factor for point: B\r\n"
        "  Elevation of A used to compute elevation factor of line A -> B\r\n\r\n"
        "  Point: C appeared multiple times at least once as a floating or fixed point.\r\n\r\n");
}

TEST_F(Warnings, OnlyTheErrorReportWhenTheReportIsClosed) {
    ::close(rptFile);
    rptFile = 0;
    warnInvalidDistance("1", "2");
    EXPECT_EQ(testsupport::readBytes(folder / "w.ERR"), "Invalid distance from 1 to 2:\r\n\r\n");
    EXPECT_EQ(testsupport::readBytes(folder / "w.RPT"), "");
}

TEST_F(Warnings, SameBytesUnderACommaLocale) {
    testsupport::CommaLocale comma;
    TARNWELL_REQUIRE_COMMA(comma);
    warnNETolerance("100", 5000.125, 1000.5, 5000.1, 1000.0);
    EXPECT_NE(written().find("  Low X: 5000.100,  High X: 5000.125,  Diff: 0.025\r\n"),
              std::string::npos);
}
