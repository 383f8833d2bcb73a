#include "input/level_file_reader.hpp"
#include "input/level_observations.hpp"
#include "input/level_test_project.hpp"

#include <gtest/gtest.h>

#include <cmath>

using leveltest::levelFixture;
using leveltest::pointNamed;

TEST(LevelDiffStdErr, FollowsTheSetupFormula) {
    struct Case {
        int n;
        double c_sec, r, D, expected;
    };
    // sigma = D sqrt(2n ((r/100)^2 + (c/206264.806...)^2)), worked by hand:
    const Case cases[] = {
        {1, 0.0, 100.0, 1.0, std::sqrt(2.0)}, // sqrt(2 x 1 x 1)
        {2, 0.0, 0.0001, 50.0, 1e-4},         // 50 sqrt(4 x 1e-12) = 50 x 2e-6
        // c = 4e-5 rad, r/100 = 3e-5: sqrt(9e-10 + 16e-10) = 5e-5; 50 x sqrt(4) x 5e-5
        {2, 8.250592249883855, 0.003, 50.0, 5e-3},
        {0, 3.0, 0.0001, 50.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_NEAR(levelDiffStdErr(c.n, c.c_sec, c.r, c.D), c.expected, 1e-15);
    }
}

TEST(LevelDiffMean, WeighsByInverseVarianceAndFallsBackToThePlainMean) {
    // 1.000 (sigma 1), 1.006 (sigma sqrt 2), 1.003 (sigma 1): weights 1, 0.5, 1;
    // (1.000 + 0.503 + 1.003) / 2.5 = 1.0024; sigma 1 / sqrt(2.5).
    levelDiffMean mean;
    mean.add(1.000, 1.0);
    mean.add(1.006, std::sqrt(2.0));
    mean.add(1.003, 1.0);
    EXPECT_NEAR(mean.mean(), 1.0024, 1e-12);
    EXPECT_NEAR(mean.stdErr(), 0.6324555320336759, 1e-12);
    levelDiffMean unweighted;
    unweighted.add(2.0, 0.0);
    unweighted.add(4.0, 0.3);
    EXPECT_DOUBLE_EQ(unweighted.mean(), 3.0);
    EXPECT_DOUBLE_EQ(unweighted.stdErr(), 0.15 / std::sqrt(2.0));
}

namespace {

// Levelling errors chosen so that sigma(n) = sqrt(n): D 1, r/100 = 1/sqrt 2, c 0.
class LevelReduction : public leveltest::LevelProject {
protected:
    void SetUp() override {
        LevelProject::SetUp();
        projectVars.diffLevDistBSFS = 1.0;
        projectVars.diffLevRodRead = 100.0 / std::sqrt(2.0);
        projectVars.diffLevCollimation = 0.0;
    }

    distanceObs2D lineBetween(const std::string& from, const std::string& to) {
        distanceObs2D line;
        EXPECT_GE(distanceList2D.find(from, to, line), 0) << from << " " << to;
        return line;
    }
    void expectLine(const std::string& from, const std::string& to, double diff, double stdErr) {
        SCOPED_TRACE(from + " -> " + to);
        const distanceObs2D line = lineBetween(from, to);
        EXPECT_EQ(fixedText(line.from), from);
        EXPECT_NEAR(line.vertDiff, diff, 1e-9);
        EXPECT_NEAR(line.stdErrVert, stdErr, 1e-12);
        EXPECT_EQ(line.vertType, 0);
        EXPECT_EQ(line.distance, notComputed);
    }
};

} // namespace

TEST_F(LevelReduction, ARunChainsUnnamedTurningPointsAndHangsSideShots) {
    // SR 1: HI 101.5. Unnamed TP: E 100.7, HI 101.9 (one setup counted).
    // TP 2 (wire means 1.0 and 1.1): E 100.8, 1 -> 2 = +0.8 over 2 setups.
    // LV 5: 101.8 - 2.0 - 100.8 = -1.0. ER 3 (mean 0.5): 101.8 - 0.5 - 100.8 = +0.5.
    ASSERT_EQ(readLevFile2D(rptFile, levelFixture("run.lev"), 0), levelReadOk);
    ASSERT_EQ(distanceList2D.count(), 3);
    expectLine("1", "2", 0.8, std::sqrt(2.0));
    expectLine("2", "5", -1.0, 1.0);
    expectLine("2", "3", 0.5, 1.0);
    const coordRec benchmark = pointNamed(pointList2D, "1");
    EXPECT_EQ(benchmark.vertType, vtWeightedElevation);
    EXPECT_DOUBLE_EQ(benchmark.elevation, 100.0);
    EXPECT_DOUBLE_EQ(benchmark.stdErrZ, 0.02);
    EXPECT_EQ(pointNamed(pointList2D, "5").description, "side");
    EXPECT_EQ(pointNamed(pointList2D, "3").vertType, vtFreeElevation);
    EXPECT_EQ(pointList2D.count(), 4);
}

TEST_F(LevelReduction, RepeatedLinesCombineAsAWeightedMean) {
    // Rows A->B 1.000 (1 setup), B->A -1.006 (2 setups), A->B 1.003 (1 setup):
    // weighted mean 1.0024 with sigma 1/sqrt(2.5) (see LevelDiffMean).
    writeFile("twice.lev", "SR,PNA,BS1.000,FS,EL50.000\n"
                           "TP,PNB,BS1.000,FS0.000\n"
                           "TP,PN,BS0.494,FS1.500\n"
                           "ER,PNA,BS,FS1.000\n"
                           "SR,PNA,BS1.003,FS,EL50.000\n"
                           "ER,PNB,BS,FS0.000\n");
    ASSERT_EQ(readLevFile2D(rptFile, "twice.lev", 0), levelReadOk);
    ASSERT_EQ(distanceList2D.count(), 1);
    expectLine("A", "B", 1.0024, 0.6324555320336759);
}

TEST_F(LevelReduction, ALineFiledAgainCombinesInItsOwnDirectionWhateverTheLetterCase) {
    distanceList2D.append(leveltest::heightDiff2D("A", "B", 1.000, 1.0));
    // The same line as "a" -> "b": the names differ only in case, so it is
    // the same direction (the mean 1.001 keeps its sign).
    addLevelDiff2D("a", "", "b", "", 1.002, 1.0);
    expectLine("A", "B", 1.001, 1.0 / std::sqrt(2.0));
    // Reversed: B -> A -1.004 is A -> B +1.004; weights 2 and 1.
    addLevelDiff2D("B", "", "A", "", -1.004, 1.0);
    expectLine("A", "B", (2 * 1.001 + 1.004) / 3, 1.0 / std::sqrt(3.0));
    EXPECT_EQ(distanceList2D.count(), 1);
}

TEST_F(LevelReduction, ADistanceWithoutHeightDifferenceTakesTheLevelledOne) {
    distanceObs2D horizontal;
    setPointName(horizontal.from, "P");
    setPointName(horizontal.to, "Q");
    horizontal.distance = 100.0;
    horizontal.stdErrDist = 0.005;
    distanceList2D.append(horizontal);
    pointList2D.append(leveltest::point2D("P", vtFreeElevation, notComputed));
    pointList2D.append(leveltest::point2D("Q", vtNoVertical, notComputed));
    addLevelDiff2D("Q", "", "P", "", 0.5, 0.01);
    const distanceObs2D line = lineBetween("P", "Q");
    EXPECT_DOUBLE_EQ(line.vertDiff, -0.5);
    EXPECT_DOUBLE_EQ(line.stdErrVert, 0.01);
    EXPECT_EQ(line.vertType, 0);
    EXPECT_DOUBLE_EQ(line.distance, 100.0);
    EXPECT_EQ(pointNamed(pointList2D, "Q").vertType, vtFreeElevation);
}

TEST_F(LevelReduction, AFixedPointIsNotFiledAgainAsAPointToAdjust) {
    fixedPointList2D.append(leveltest::point2D("F", vtFixedElevation, 10.0));
    addLevelDiff2D("F", "", "G", "new", 1.0, 0.01);
    EXPECT_EQ(pointList2D.indexOf("F"), -1);
    EXPECT_EQ(pointNamed(pointList2D, "G").description, "new");
    addLevelBenchmark2D("F", "", 99.0);
    EXPECT_DOUBLE_EQ(pointNamed(fixedPointList2D, "F").elevation, 10.0);
}

TEST_F(LevelReduction, BenchmarksOverridePointsButNotWeightedBenchmarks) {
    pointList2D.append(leveltest::point2D("W", vtWeightedElevation, 20.0, 0.05));
    pointList2D.append(leveltest::point2D("U", vtFreeElevation, 30.0));
    projectVars.stErrZ = 0.0;
    addLevelBenchmark2D("W", "", 21.0);
    addLevelBenchmark2D("U", "", 31.0);
    addLevelBenchmark2D("N", "new bm", 41.0);
    EXPECT_DOUBLE_EQ(pointNamed(pointList2D, "W").elevation, 20.0);
    const coordRec u = pointNamed(pointList2D, "U");
    EXPECT_EQ(u.vertType, vtFixedElevation) << "no standard error makes a fixed benchmark";
    EXPECT_DOUBLE_EQ(u.elevation, 31.0);
    const coordRec n = pointNamed(pointList2D, "N");
    EXPECT_EQ(n.vertType, vtFixedElevation);
    EXPECT_EQ(n.description, "new bm");
}

TEST_F(LevelReduction, ASideShotAfterAnEndOfRunHangsFromTheEndPoint) {
    // SR A 10, HI 11; ER B: 11 - 0.5 - 10 = +0.5, B at 10.5; LV C from B:
    // 11 - 2.0 - 10.5 = -1.5 (not 11 - 2.0 - 10, the elevation of A).
    writeFile("end.lev", "SR,PNA,BS1.0,FS,EL10\nER,PNB,BS,FS0.5\nLV,PNC,BS,FS2.0\n");
    ASSERT_EQ(readLevFile2D(rptFile, "end.lev", 0), levelReadOk);
    expectLine("A", "B", 0.5, 1.0);
    expectLine("B", "C", -1.5, 1.0);
}

TEST_F(LevelReduction, TrigonometricSetupsAverageTheirSightingGroups) {
    // Setup 1: backsights to BM1 w -0.200, -0.220 (mean -0.21), rod 1.5;
    // foresights to T1 w 0.400, 0.420 (mean 0.41): BM1 -> T1 = -0.21 + 1.5 -
    // 0.41 - 1.5 = -0.62, first foresight: 1 setup.
    // Setup 2: backsight to T1 w -0.3 with rod 1.5; rod 2.0; foresight to E
    // w -5: T1 -> E = -0.3 + 1.5 + 5 - 2.0 = 4.2, counted as setup 3 (each
    // foresight counts twice).
    ASSERT_EQ(readTrigLevelFile(rptFile, levelFixture("setups.tlv"), 0), levelReadOk);
    ASSERT_EQ(distanceList2D.count(), 2);
    expectLine("BM1", "T1", -0.62, 1.0);
    expectLine("T1", "E", 4.2, std::sqrt(3.0));
    const coordRec bm = pointNamed(pointList2D, "BM1");
    EXPECT_EQ(bm.vertType, vtWeightedElevation);
    EXPECT_DOUBLE_EQ(bm.elevation, 100.0);
    EXPECT_EQ(trigLevelList.count(), 0);
}

TEST_F(LevelReduction, ASightingGroupWithoutVerticalValuesFormsNoDifference) {
    writeFile("novalue.tlv", "BM,PNA,EL5\nBS,PNA,HD10\nFS,PNB,VD0.1\nBS,PNB,VD0.1\nFS,PNC\n");
    ASSERT_EQ(readTrigLevelFile(rptFile, "novalue.tlv", 0), levelReadOk);
    EXPECT_EQ(distanceList2D.count(), 0);
    const auto errors = leveltest::crlfLines(errorText());
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0], "Level sightings of A have no vertical value: no height difference is "
                         "formed.");
    EXPECT_EQ(errors[1], "Level sightings of C have no vertical value: no height difference is "
                         "formed.");
}

namespace {

stationRec station(const std::string& name, double geoidSep) {
    stationRec s;
    setPointName(s.name, name);
    s.geoidSep = geoidSep;
    return s;
}

} // namespace

TEST_F(LevelReduction, ThreeDimensionalRunsFileMetreObservationsBetweenStations) {
    stationList.append(station("A", -30.0));
    stationList.append(station("B", -30.5));
    stationList.append(station("C", notComputed));
    fixedStationList.append(station("D", -31.0));
    projectVars.levelUnits = 1; // US survey feet
    // SR A 100, HI 101. TP X (no station): E 100.5, HI 102.0, setups 1.
    // TP B: E 101, A -> B = +1.0 over 1 + 2 setups; HI 102.2.
    // LV Z (no station): not filed, reported. LV C: 102.2 - 0.7 - 101 = +0.5, 1 setup.
    // ER D: 102.2 - 2.2 - 101 = -1.0 over 0 + 2 setups.
    writeFile("run3d.lev", "SR,PNA,BS1.0,FS,EL100\n"
                           "TP,PNX,BS1.5,FS0.5\n"
                           "TP,PNB,BS1.2,FS1.0\n"
                           "LV,PNZ,BS,FS0.2\n"
                           "LV,PNC,BS,FS0.7\n"
                           "ER,PND,BS,FS2.2\n");
    ASSERT_EQ(readLevFile3D("run3d.lev"), levelReadOk);
    const double ft = 0.3048006096012192;
    struct Expected {
        const char* from;
        const char* to;
        double diff, stdErr;
    };
    const Expected expected[] = {{"A", "B", 1.0 * ft, std::sqrt(3.0) * ft},
                                 {"B", "C", 0.5 * ft, 1.0 * ft},
                                 {"B", "D", -1.0 * ft, std::sqrt(2.0) * ft}};
    ASSERT_EQ(levelList.count(), 3);
    for (int i = 0; i < 3; ++i) {
        levelObs obs;
        levelList.getAt(i, obs);
        SCOPED_TRACE(i);
        EXPECT_EQ(fixedText(obs.from), expected[i].from);
        EXPECT_EQ(fixedText(obs.to), expected[i].to);
        EXPECT_NEAR(obs.orthometricDiff, expected[i].diff, 1e-12);
        EXPECT_NEAR(obs.stdErr, expected[i].stdErr, 1e-12);
    }
    EXPECT_NE(reportText().find("Unadjusted Level Report"), std::string::npos);
    EXPECT_NE(errorText().find("Level difference B to Z not used"), std::string::npos);

    // Ellipsoidal = orthometric + N(to) - N(from); with C's separation
    // unknown the two differences are taken as equal.
    updateLevelObsElevations();
    const double ellipsoidal[] = {1.0 * ft - 0.5, 0.5 * ft, -1.0 * ft - 0.5};
    for (int i = 0; i < 3; ++i) {
        levelObs obs;
        levelList.getAt(i, obs);
        EXPECT_NEAR(obs.ellipsoidalDiff, ellipsoidal[i], 1e-12) << i;
    }
}
