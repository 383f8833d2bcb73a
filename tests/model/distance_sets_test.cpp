#include "model/azimuth_sets.hpp"
#include "model/distance_sets.hpp"
#include "model/progress.hpp"
#include "platform/shell_services.hpp"
#include "support/angles.hpp"
#include "support/raw_list_builder.hpp"

#include <gtest/gtest.h>

#include <cmath>

using namespace testsupport;

namespace {

class DistanceSets : public RawListTest {};

distanceObs2D line2D(int index) {
    distanceObs2D line;
    EXPECT_EQ(distanceList2D.getAt(index, line), 0);
    return line;
}

distanceObs line3D(int index) {
    distanceObs line;
    EXPECT_EQ(distanceList.getAt(index, line), 0);
    return line;
}

void expectEnds(const char* from, const char* to, std::string_view actualFrom,
                std::string_view actualTo) {
    EXPECT_EQ(actualFrom, from);
    EXPECT_EQ(actualTo, to);
}

rawRec withSlopeSight(rawRec record, double slopeDistance, double zenith_rad) {
    record.distance = slopeDistance;
    record.zenithOrVertDiff = zenith_rad;
    return record;
}

} // namespace

TEST_F(DistanceSets, SightsBothWaysMergeIntoOneLine2D) {
    appendRaw({withSight(setupRecord("A", "B"), 100.000, 0.003, 1.20, 0.004),
               withSight(foresightRecord("C"), 50.0, 0.002), // no height difference
               setupRecord("B", "C"),                        // no sight
               withSight(foresightRecord("A"), 100.004, 0.005, -1.22, 0.006)});
    readerStdErrs[seTargetCentering] = 0.002;
    readerStdErrs[seInstrumentCentering] = 0.001;
    readerStdErrs[seInstrumentHeight] = 0.0015;
    readerStdErrs[seRodHeight] = 0.0025;
    projectVars.hDistTol = 0.003;
    projectVars.vDistTol = 0.015;
    std::string message = "untouched";
    EXPECT_EQ(buildDistanceObs2D(message), passDone);
    EXPECT_EQ(message, "untouched");

    ASSERT_EQ(distanceList2D.count(), 2);
    const distanceObs2D ab = line2D(0);
    expectEnds("A", "B", fixedText(ab.from), fixedText(ab.to));
    EXPECT_NEAR(ab.distance, (100.000 + 100.004) / 2, 1e-12);
    // B -> A of -1.22 is +1.22 from A to B.
    EXPECT_NEAR(ab.vertDiff, (1.20 + 1.22) / 2, 1e-12);
    // sqrt(tc^2 + ic^2 + (sum of distance errors / n / sqrt(n))^2), n = 2
    EXPECT_NEAR(ab.stdErrDist,
                std::sqrt(0.002 * 0.002 + 0.001 * 0.001 + std::pow(0.008 / 2 / std::sqrt(2.0), 2)),
                1e-12);
    // sqrt(HI^2 + rod^2 + (sum of height errors / m / sqrt(m))^2), m = 2
    EXPECT_NEAR(
        ab.stdErrVert,
        std::sqrt(0.0015 * 0.0015 + 0.0025 * 0.0025 + std::pow(0.010 / 2 / std::sqrt(2.0), 2)),
        1e-12);
    EXPECT_EQ(ab.vertType, 0);
    EXPECT_EQ(ab.gridFactor, 1.0);
    EXPECT_EQ(ab.elevFactor, 1.0);
    EXPECT_EQ(ab.status, 0);

    const distanceObs2D ac = line2D(1);
    expectEnds("A", "C", fixedText(ac.from), fixedText(ac.to));
    EXPECT_EQ(ac.distance, 50.0);
    EXPECT_EQ(ac.vertDiff, notComputed);
    EXPECT_EQ(ac.stdErrVert, 0.0);
    EXPECT_EQ(ac.vertType, -1);
    EXPECT_NEAR(ac.stdErrDist, std::sqrt(0.002 * 0.002 + 0.001 * 0.001 + 0.002 * 0.002), 1e-12);

    // Distances 0.004 apart (tolerance 0.003); heights 1.20 and 1.22 by size
    // 0.02 apart (tolerance 0.015).
    EXPECT_EQ(warnings(), "Horizontal Distance from A to B exceeds tolerance:\r\n"
                          "  Low: 100.000,  High: 100.004,  Diff: 0.004\r\n\r\n"
                          "Vertical Distance from A to B exceeds tolerance:\r\n"
                          "  Low: 1.200,  High: 1.220,  Diff: 0.020\r\n\r\n");
}

TEST_F(DistanceSets, SpreadsWithinToleranceWriteNothing) {
    appendRaw({withSight(setupRecord("A", "B"), 100.000, 0.003, 1.20, 0.004),
               withSight(foresightRecord("B"), 100.001, 0.003, 1.21, 0.004)});
    std::string message;
    buildDistanceObs2D(message); // default tolerances 0.02 and 0.03
    EXPECT_EQ(distanceList2D.count(), 1);
    EXPECT_EQ(warnings(), "");
}

TEST_F(DistanceSets, HeightErrorAveragesOnlyTheSightsThatCarryAHeight2D) {
    appendRaw({withSight(setupRecord("A", "B"), 100.0, 0.002, 1.20, 0.004),
               withSight(foresightRecord("B"), 100.0, 0.002), // distance only
               withSight(foresightRecord("B"), 100.0, 0.002)});
    std::string message;
    buildDistanceObs2D(message);
    // One height difference of error 0.004 in the mean: 0.004 / 1 / sqrt(1).
    EXPECT_NEAR(line2D(0).stdErrVert, 0.004, 1e-15);
    EXPECT_NEAR(line2D(0).stdErrDist, 0.002 / std::sqrt(3.0), 1e-15);
}

// A standard-error record met while one line is scanned to the end of the data
// must not change the errors of a line met before it; each sight takes the
// centring errors in force at its own record.
TEST_F(DistanceSets, StdErrRecordsMetByOneLineDoNotLeakIntoTheNext) {
    rawRec centring = stdErrRecord();
    centring.stErrTrgtCentering = 0.004;
    appendRaw({withSight(setupRecord("A", "B"), 100.000, 0.003),             // tc 0.002
               withSight(setupRecord("C", "D"), 80.0, 0.004),                // tc 0.002
               centring, withSight(setupRecord("B", "A"), 100.002, 0.003)}); // tc 0.004
    readerStdErrs[seTargetCentering] = 0.002;
    std::string message;
    buildDistanceObs2D(message);
    ASSERT_EQ(distanceList2D.count(), 2);
    // A-B: mean tc (0.002 + 0.004) / 2, distance errors 0.006 / 2 / sqrt(2).
    EXPECT_NEAR(line2D(0).stdErrDist, std::hypot(0.003, 0.006 / 2 / std::sqrt(2.0)), 1e-15);
    // C-D: tc 0.002 and one distance error 0.004.
    EXPECT_NEAR(line2D(1).stdErrDist, std::hypot(0.002, 0.004), 1e-15);
    EXPECT_EQ(readerStdErrs[seTargetCentering], 0.004) << "the pass itself applies the record";
}

TEST_F(DistanceSets, LineToItselfStopsTheBuildAfterThePass) {
    appendRaw(
        {withSlopeSight(withSight(foresightRecord("X"), 10.0, 0.001), 123.4567, radiansOf(88, 30)),
         withSight(setupRecord("P", "p"), 20.0, 0.001),
         withSight(foresightRecord("Q"), 30.0, 0.001)});
    std::string message;
    EXPECT_EQ(buildDistanceObs2D(message), passStopped);
    EXPECT_EQ(message, "Error processing distance; P to p");
    ASSERT_EQ(distanceList2D.count(), 1) << "the pass goes on after the bad line";
    expectEnds("P", "Q", fixedText(line2D(0).from), fixedText(line2D(0).to));
    EXPECT_EQ(warnings(),
              "Foresight record with no instrument setup record:\r\n"
              "  FS: X  Slope Distance:  123.457  Vertical Angle: 088-30'00.0\" \r\n\r\n"
              "Invalid distance from P to p:\r\n\r\n");
    EXPECT_EQ(addDistanceObs2D("P", "p", 0), lineRefused);
    EXPECT_EQ(addDistanceObs2D("P", "Q", 3), lineRefused) << "past the end";
}

TEST_F(DistanceSets, SpreadsComparedAndShownInProjectUnits3D) {
    projectVars.HorizUnits = 1; // US survey feet; the raw list holds metres
    projectVars.hDistTol = 0.03;
    projectVars.vDistTol = 1.0;
    appendRaw({withHeights(withSight(setupRecord("A", "B"), 100.000, 0.0, 2.00, 0.0), 1.5, 1.6),
               withHeights(withSight(foresightRecord("C"), 60.0, 0.0, 0.5, 0.0), 0, 1.7),
               withSight(foresightRecord("D"), 70.0, 0.0, 0.3, 0.0), // no target height
               withHeights(withSight(setupRecord("B", "A"), 100.010, 0.0, -2.04, 0.0), 1.4, 1.5)});
    std::string message;
    EXPECT_EQ(buildDistanceObs3D(message), passDone);
    ASSERT_EQ(distanceList.count(), 2);
    const distanceObs ab = line3D(0);
    expectEnds("A", "B", fixedText(ab.from), fixedText(ab.to));
    EXPECT_NEAR(ab.meanDist, 100.005, 1e-12);
    EXPECT_NEAR(ab.meanHeightDiff, (2.00 + 2.04) / 2, 1e-12);
    EXPECT_EQ(ab.reducedDist, notComputed);
    EXPECT_EQ(ab.stdErr, 0.0);
    const distanceObs ac = line3D(1);
    expectEnds("A", "C", fixedText(ac.from), fixedText(ac.to));
    EXPECT_EQ(ac.meanDist, 60.0);
    EXPECT_EQ(ac.meanHeightDiff, 0.5);

    ASSERT_EQ(verticalList.count(), 2);
    verticalObs v;
    verticalList.getAt(0, v);
    expectEnds("B", "A", fixedText(v.to), fixedText(v.from));
    EXPECT_EQ(v.zenith, notComputed);
    EXPECT_EQ(v.stdErr, 0.0);
    EXPECT_EQ(isPairInVerticals3D("b", "a"), 1);
    EXPECT_EQ(isPairInDistances3D("c", "A"), 1);
    EXPECT_EQ(isPairInDistances3D("A", "D"), 0);

    // 0.010 m x 3.2808333333 = 0.0328 ft over the 0.03 ft tolerance; values in
    // feet: 100 m = 328.0833 ft, 100.010 m = 328.1161 ft.
    EXPECT_EQ(warnings(), "Horizontal Distance from A to B exceeds tolerance:\r\n"
                          "  Low: 328.083,  High: 328.116,  Diff: 0.033\r\n\r\n");
}

// A sight with a distance but no height difference must not put the unset
// value into the mean height difference of the line.
TEST_F(DistanceSets, HeightMeanSkipsSightsWithoutHeightDifference3D) {
    appendRaw({withHeights(withSight(setupRecord("A", "B"), 100.0, 0.0, 2.00, 0.0), 1.5, 1.6),
               withHeights(withSight(foresightRecord("B"), 100.002, 0.0), 0, 1.6),
               withHeights(withSight(setupRecord("E", "F"), 50.0, 0.0), 1.5, 1.6)});
    std::string message;
    buildDistanceObs3D(message);
    EXPECT_NEAR(line3D(0).meanDist, 100.001, 1e-12);
    EXPECT_EQ(line3D(0).meanHeightDiff, 2.00);
    EXPECT_EQ(line3D(1).meanHeightDiff, notComputed);
    EXPECT_EQ(warnings(), "");
}

TEST_F(DistanceSets, ForesightBeforeAnySetupGivesNoLine3D) {
    appendRaw({withSlopeSight(withHeights(withSight(foresightRecord("X"), 10.0, 0.0), 0, 1.5), 10.5,
                              radiansOf(90)),
               withHeights(withSight(setupRecord("A", "B"), 20.0, 0.0), 1.5, 1.5)});
    std::string message;
    EXPECT_EQ(buildDistanceObs3D(message), passDone);
    EXPECT_EQ(distanceList.count(), 1);
    EXPECT_EQ(warnings(), "Foresight record with no instrument setup record:\r\n"
                          "  FS: X  Slope Distance:   10.500  Vertical Angle: 090-00'00.0\" "
                          "\r\n\r\n");
}

TEST_F(DistanceSets, ZenithOnlyLinesGetVerticalRecordsWhenEverySightHasHeights3D) {
    rawRec zenithAB = withHeights(setupRecord("A", "B"), 1.5, 1.6);
    zenithAB.zenithOrVertDiff = radiansOf(89);
    rawRec zenithAC = withHeights(foresightRecord("C"), 0, 1.7);
    zenithAC.zenithOrVertDiff = radiansOf(91);
    rawRec zenithCA = foresightRecord("A"); // no target height: the line C-A has no vertical
    zenithCA.zenithOrVertDiff = radiansOf(90);
    rawRec zenithCD = withHeights(foresightRecord("D"), 0, 0.0); // target height 0: passed over
    zenithCD.zenithOrVertDiff = radiansOf(90);
    rawRec withDistance =
        withHeights(withSight(setupRecord("E", "F"), 50.0, 0.0, 1.0, 0.0), 1.5, 1.5);
    withDistance.zenithOrVertDiff = radiansOf(88);
    appendRaw({zenithAB, zenithAC, withHeights(setupRecord("C", "X"), 1.5, 1.5), zenithCA, zenithCD,
               withDistance});
    std::string message;
    ASSERT_EQ(buildDistanceObs3D(message), passDone);
    EXPECT_EQ(buildVerticalObs3D(), passDone);
    ASSERT_EQ(verticalList.count(), 2);
    verticalObs v;
    verticalList.getAt(0, v);
    expectEnds("F", "E", fixedText(v.to), fixedText(v.from)); // from the distance pass
    verticalList.getAt(1, v);
    expectEnds("B", "A", fixedText(v.to), fixedText(v.from));
    EXPECT_EQ(addVerticalObs3D("A", "C", 1), lineRefused);
    EXPECT_EQ(verticalList.count(), 2);
}

TEST_F(DistanceSets, AzimuthRecordsBothWaysMergeWithTheErrorsInForce) {
    rawRec azimuthError4 = stdErrRecord();
    azimuthError4.stErrAz = 4.0;
    appendRaw({azimuthRecord("A", "B", 0.5), azimuthError4, azimuthRecord("B", "A", 0.5 + pi)});
    readerStdErrs[seAzimuth] = 2.0;
    std::string message;
    buildDistanceObs2D(message);
    readerStdErrs[seAzimuth] = 2.0;
    buildDistanceObs3D(message);
    ASSERT_EQ(azimuthList2D.count(), 1);
    azimuthObs az2D, az3D;
    azimuthList2D.getAt(0, az2D);
    azimuthList.getAt(0, az3D);
    for (const azimuthObs& az : {az2D, az3D}) {
        expectEnds("A", "B", fixedText(az.from), fixedText(az.to));
        EXPECT_NEAR(az.azimuth, 0.5, 1e-12); // (0.5 + (0.5 + pi - pi)) / 2
        EXPECT_EQ(az.convergence, 0.0);
        EXPECT_NEAR(az.stdErr, std::sqrt(2.0 * 2.0 + 4.0 * 4.0) / 2, 1e-12);
    }
    EXPECT_EQ(azimuthList.count(), 1);
    EXPECT_EQ(isPairInAzimuths2D("b", "a"), 1);
    EXPECT_EQ(isPairInAzimuths3D("A", "C"), 0);
}

// Directions either side of north must average to north; their arithmetic
// mean points south.
TEST_F(DistanceSets, AzimuthsEitherSideOfNorthAverageToNorth) {
    // 0.01 from N1 to N2, and pi - 0.01 from N2 to N1, which is 2pi - 0.01 from N1.
    appendRaw({azimuthRecord("N1", "N2", 0.01), azimuthRecord("N2", "N1", pi - 0.01),
               azimuthRecord("S1", "S2", 2 * pi - 0.03), azimuthRecord("S1", "S2", 2 * pi - 0.01),
               azimuthRecord("S1", "S2", 0.01)});
    std::string message;
    buildDistanceObs2D(message);
    ASSERT_EQ(azimuthList2D.count(), 2);
    azimuthObs az;
    azimuthList2D.getAt(0, az);
    EXPECT_NEAR(std::remainder(az.azimuth, 2 * pi), 0.0, 1e-12);
    EXPECT_GE(az.azimuth, 0.0);
    EXPECT_LT(az.azimuth, 2 * pi);
    azimuthList2D.getAt(1, az);
    // -0.03, -0.01 and 0.01 about north: mean -0.01, that is 2pi - 0.01.
    EXPECT_NEAR(az.azimuth, 2 * pi - 0.01, 1e-12);
    EXPECT_EQ(addAzimuthObs2D("N1", "N2", 5), 1) << "past the end";
}

TEST_F(DistanceSets, PassProgressAndCancel) {
    appendRaw(
        {withSight(setupRecord("A", "B"), 10.0, 0.0), withSight(foresightRecord("C"), 10.0, 0.0),
         withSight(foresightRecord("D"), 10.0, 0.0), withSight(foresightRecord("E"), 10.0, 0.0)});
    RecordingShell shell;
    ShellServices* previous = setActiveShell(&shell);
    std::string message;
    EXPECT_EQ(buildDistanceObs2D(message), passDone);
    EXPECT_EQ(shell.percents, (std::vector<int>{0, 0, 25, 50, 75, 0}));
    EXPECT_EQ(distanceList2D.count(), 4);

    resetProgramLists();
    appendRaw({withSight(setupRecord("A", "B"), 10.0, 0.0),
               withSight(foresightRecord("C"), 10.0, 0.0),
               withSight(foresightRecord("D"), 10.0, 0.0)});
    shell.percents.clear();
    shell.pumps = 0;
    shell.cancelAfterPumps = 2; // the second record asks to stop
    EXPECT_EQ(buildDistanceObs3D(message), passStopped);
    EXPECT_EQ(message, "The user aborted processing.");
    EXPECT_EQ(shell.percents, (std::vector<int>{0, 0, 33}));
    shell.pumps = 0;
    EXPECT_EQ(buildVerticalObs3D(), passStopped);
    setActiveShell(previous);
}
