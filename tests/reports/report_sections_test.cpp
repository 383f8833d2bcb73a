// The small report sections: statistics against published chi-square
// quantiles, the notes, the grid tables and the two lookups.

#include "run_files_fixture.hpp"

#include "engine/statistical_distributions.hpp"
#include "model/angle_math.hpp"
#include "model/settings/global_vars.hpp"
#include "reports/report_sections.hpp"

// Chi-square quantiles, 95 % two-sided, from the NIST/SEMATECH e-Handbook of
// Statistical Methods, section 1.3.6.7.4 (Critical Values of the Chi-Square
// Distribution): 10 dof: 3.247 and 20.483; 4 dof: 0.484 and 11.143.
TEST_F(RunFiles, StatisticsBlockWithTheChiSquareTest) {
    projectVars.confidenceInterval = 95.0;
    obsCount = 14;
    unknownCount = 4;
    writeRptStatistics(rptFile, 1.44, 3);
    const std::vector<std::string> expected = {
        "",
        "Statistics",
        "==========",
        "",
        " Solution converged in 3 iterations",
        " Degrees of freedom:10",
        " Reference variance:1.44",
        " Standard error unit Weight: +/-1.20",
        " Passed the Chi-Square test at the 95.00 significance level",
        " 3.247 <= 14.400 <= 20.483",
    };
    EXPECT_EQ(crlfLines(report()), expected);

    restartFiles();
    obsCount = 8; // 4 dof; 4 x 3.0 = 12.0 lies above 11.143
    writeRptStatistics(rptFile, 3.0, 2);
    const std::vector<std::string> lines = crlfLines(report());
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[8], " Failed the Chi-Square test at the 95.00 significance level");
    EXPECT_EQ(lines[9], " 0.484 <= 12.000 <= 11.143");
}

TEST_F(RunFiles, ATestValueOnABoundPasses) {
    projectVars.confidenceInterval = 95.0;
    obsCount = 12;
    unknownCount = 4; // 8 dof: a power of two, so variance x dof gives the bound back exactly
    double upper = 0.0;
    double lower = 0.0;
    chiSquareBounds(8, &upper, &lower, 95.0);
    for (const double bound : {lower, upper}) {
        SCOPED_TRACE(bound);
        restartFiles();
        ASSERT_EQ(8 * (bound / 8), bound);
        writeRptStatistics(rptFile, bound / 8, 1);
        EXPECT_EQ(crlfLines(report()).at(8),
                  " Passed the Chi-Square test at the 95.00 significance level");
    }
}

TEST_F(RunFiles, NotesOfTheDriverAndOfBlunderDetection) {
    EXPECT_EQ(writeRptZeroDofNote(), 0);
    writeRptElevFactorAbort();
    writeErrReweightCount(4);
    EXPECT_EQ(writeRptBlunderNote(), 0);
    writeRptBlunderFloatNote();
    EXPECT_EQ(report(), "\r\n Zero degrees of freedom. No Horizontal Adjustment performed.\r\n"
                        " Only sideshots reduced.\r\n"
                        "\r\nUnable to compute elevation factor. Least squares adjustment "
                        "aborted.\r\n\r\n");
    EXPECT_EQ(errors(), "Number of reweighting iterations: 4.\r\n\r\n"
                        "\r\nThe blunder is most likely in the measurement containing the \r\n"
                        "largest residual and standard residual.\r\n\r\n"
                        "\r\nThe blunder is most likely in the measurement containing the \r\n"
                        "largest residual and standard residual. The observation marked \r\n"
                        "with ** is the observation that floated.\r\n"
                        "It is also most likely the measurement containing the blunder.\r\n\r\n");
}

TEST_F(RunFiles, GridTables) {
    projectVars.distPrec = 3;
    projectVars.directionPrec = 1;
    writeRptGridDistances(rptFile);
    writeRptGridAngles(rptFile);
    EXPECT_EQ(report(), "\r\n\r\n\r\n\r\n") << "two empty lines stand for each empty table";

    restartFiles();
    distanceObs2D d;
    setPointName(d.from, "A");
    setPointName(d.to, "B");
    d.distance = 304.8076;
    d.gridFactor = 0.9996;
    d.elevFactor = 0.99999;
    distanceList2D.append(d);
    angleObs2D a;
    setPointName(a.backsight, "D");
    setPointName(a.instrument, "A");
    setPointName(a.foresight, "B");
    a.angle = 90.5 * angle::pi / 180.0;
    a.stdErr = 2.5;
    a.arcToChord = -1.25 / angle::secondsPerRadian;
    angleList2D.append(a);
    projectVars.angleType = 0;
    writeRptGridDistances(rptFile);
    writeRptGridAngles(rptFile);
    // 0.9996 x 0.99999 = 0.999590004.
    const std::vector<std::string> expected = {
        "",
        "",
        "Grid Distances:    1 Observations",
        " From Sta.   To Sta.       Grid Dist.  Grid Factor  Z Factor   Combined Factor",
        " A             B             304.808     0.99960000  0.99999000  0.99959000",
        "",
        "",
        "",
        "Grid Horizontal Angles:    1 Observations",
        " BS Sta.   Occ. Sta.   FS Sta.          Angle       StErr (Sec.)  t-T",
        " D            A           B           090-30'00.0\"      2.5         -1.2",
        "",
    };
    EXPECT_EQ(crlfLines(report()), expected);
}

TEST(ReportLookups, FixedPointsAndZoneNames) {
    resetProgramLists();
    coordRec dummy;
    dummy.pointType = ptAzimuthDummy;
    fixedPointList2D.append(dummy);
    EXPECT_EQ(countFixedPoints(), 0) << "azimuth dummies are no fixed points";
    coordRec fixed;
    fixed.pointType = ptFixed;
    fixedPointList2D.append(fixed);
    EXPECT_EQ(countFixedPoints(), 1);
    stationRec station;
    station.pointType = ptFixed;
    fixedStationList.append(station);
    station.pointType = ptAzimuthDummy;
    fixedStationList.append(station);
    EXPECT_EQ(countFixedPoints3D(), 1);
    resetProgramLists();

    const std::vector<std::string> names = {"Alabama East - 0101", "Alabama West - 0102",
                                            "Wyoming West - 4904"};
    EXPECT_EQ(zoneNameIndexIn(names, 102), 1);
    EXPECT_EQ(zoneNameIndexIn(names, 4904), 2);
    EXPECT_EQ(zoneNameIndexIn(names, 9999), 3) << "an unknown code gives the list's length";
    EXPECT_EQ(zoneNameIndex(gridUserDefined, 101), 0);
    EXPECT_EQ(zoneNameIndex(gridStatePlane83, 101), 0) << "Alabama East - 0101 comes first";
    EXPECT_EQ(zoneNameIndex(gridStatePlane83, 9999), 124);
    EXPECT_EQ(zoneNameIndex(gridStatePlane27, 4904), 129) << "Wyoming West, last of the 130";
}
