#include "rw5_test_support.hpp"

#include "support/angles.hpp"

namespace {

using namespace rw5test;
using testsupport::radiansOf;

using Rw5Control = Rw5ReaderTest;

TEST_F(Rw5Control, WithoutAnyControlTheFirstSetupIsAssumed) {
    ASSERT_EQ(read("no_control.rw5"), 0);
    ASSERT_EQ(controlPointList2D.count(), 1);
    coordRec start;
    ASSERT_GE(controlPointList2D.find("1", start), 0);
    EXPECT_DOUBLE_EQ(start.northing, 10000.0);
    EXPECT_DOUBLE_EQ(start.easting, 10000.0);
    EXPECT_DOUBLE_EQ(start.elevation, 100.0);
    EXPECT_DOUBLE_EQ(start.stdErrE, 0.01); // the project's stErrX and stErrY
    EXPECT_DOUBLE_EQ(start.stdErrN, 0.01);
    EXPECT_EQ(start.pointType, ptWeightedControl);
    EXPECT_EQ(start.vertType, vtFixedElevation);
    ASSERT_EQ(azimuthList2D.count(), 1);
    azimuthObs azimuth;
    azimuthList2D.getAt(0, azimuth);
    EXPECT_EQ(nameOf(azimuth.from), "1");
    EXPECT_EQ(nameOf(azimuth.to), "2");
    EXPECT_NEAR(azimuth.azimuth, radiansOf(30), 1e-12);
    EXPECT_DOUBLE_EQ(azimuth.stdErr, 5.0); // stErrAz in force
    EXPECT_EQ(azimuth.status, 0);
}

TEST_F(Rw5Control, ControlFromElsewhereIsLeftAlone) {
    projectVars.supplamentalNE = 1;
    ASSERT_EQ(read("no_control.rw5"), 0);
    EXPECT_EQ(controlPointList2D.count(), 0);
    EXPECT_EQ(azimuthList2D.count(), 0);

    projectVars.supplamentalNE = 0;
    ASSERT_EQ(read(std::vector<std::string>{"start_at_stored_point.rw5", "no_control.rw5"}), 0);
    EXPECT_EQ(controlPointList2D.count(), 0); // the raw data has coordinate records
}

TEST_F(Rw5Control, OccupiedPointsWithCoordinatesAndTheirBacksightAzimuth) {
    ASSERT_EQ(read("occupied_control.rw5"), 0);
    coordRec point;
    ASSERT_GE(controlPointList2D.find("1", point), 0);
    EXPECT_DOUBLE_EQ(point.northing, 5000.0);
    EXPECT_DOUBLE_EQ(point.easting, 6000.0);
    EXPECT_DOUBLE_EQ(point.elevation, 50.0);
    EXPECT_DOUBLE_EQ(point.stdErrZ, 0.02);
    EXPECT_EQ(point.vertType, vtWeightedElevation);
    EXPECT_EQ(point.description, "base");
    ASSERT_EQ(azimuthList2D.count(), 1);
    azimuthObs azimuth;
    azimuthList2D.getAt(0, azimuth);
    EXPECT_EQ(nameOf(azimuth.to), "2");
    EXPECT_NEAR(azimuth.azimuth, radiansOf(45), 1e-12);
}

TEST_F(Rw5Control, FirstBacksightAzimuthNamesBothPoints) {
    azimuthObs azimuth;
    ASSERT_EQ(readRw5FirstBkAzimuth(fixture("first_backsight.rw5") + "\n", azimuth), 0);
    EXPECT_EQ(nameOf(azimuth.from), "5");
    EXPECT_EQ(nameOf(azimuth.to), "6");
    EXPECT_NEAR(azimuth.azimuth, radiansOf(123, 45), 1e-12);
    EXPECT_DOUBLE_EQ(azimuth.stdErr, readerStdErrs[seAzimuth]);
    EXPECT_EQ(azimuth.status, 0);

    EXPECT_EQ(readRw5FirstBkAzimuth(fixture("start_at_stored_point.rw5") + "\n", azimuth), 1);
    EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(Rw5Control, FirstBacksightAzimuthStopsAtAFileItCannotOpen) {
    azimuthObs azimuth;
    const std::string list = fixture("missing.rw5") + "\n" + fixture("first_backsight.rw5") + "\n";
    EXPECT_EQ(readRw5FirstBkAzimuth(list, azimuth), 1);
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text,
              "Error opening " + fixture("missing.rw5") + ": No such file or directory");
}

TEST_F(Rw5Control, BacksightWithoutAzimuthTokenGivesZero) {
    testsupport::writeBytes(folder / "bk.rw5", "BK,OPA,BPB,BS,BC0.0000\n");
    azimuthObs azimuth;
    ASSERT_EQ(readRw5FirstBkAzimuth((folder / "bk.rw5").string() + "\n", azimuth), 0);
    EXPECT_DOUBLE_EQ(azimuth.azimuth, 0.0);
}

} // namespace
